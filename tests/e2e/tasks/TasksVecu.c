/* A vECU for the task scheduler end to end: every body counts its runs, the
   trigger keeps the times it was given and lets its task run only while the
   trigger input it is given (triggerEnable) is non-zero. */

#include <stdbool.h>
#include <stdint.h>

int32_t enterInitRuns;
int32_t exitInitRuns;
int32_t firstStepRuns;
int32_t periodicRunsBeforeFirstStep = -1;
int32_t periodicRuns;
int32_t limitedRuns;
int32_t triggeredRuns;
int32_t triggerCalls;
int32_t terminateOnceRuns;
int32_t terminateRuns;
int32_t triggerEnable;
double triggerSawNext;
double triggerSawEnd;

void EnterInitBody(void) { ++enterInitRuns; }
void ExitInitBody(void) { ++exitInitRuns; }

void FirstStepBody(void) {
    ++firstStepRuns;
    periodicRunsBeforeFirstStep = periodicRuns;
}

void PeriodicBody(void) { ++periodicRuns; }
void LimitedBody(void) { ++limitedRuns; }
void TriggeredBody(void) { ++triggeredRuns; }
void TerminateOnceBody(void) { ++terminateOnceRuns; }
void TerminateBody(void) { ++terminateRuns; }

/* Asks for the next activation 20 ms on. */
void EventTrigger(double nextActivation, double stepEnd, double* storeNext, bool* run,
                  uint64_t* inputs) {
    const int32_t* enable = (const int32_t*)(uintptr_t)inputs[0];
    ++triggerCalls;
    triggerSawNext = nextActivation;
    triggerSawEnd = stepEnd;
    *run = enable != 0 && *enable != 0;
    *storeNext = nextActivation + 0.02;
}
