/* A vECU for the task tests: bodies count their runs, the trigger keeps
   what it was given and asks for a run every 10 ms. */

#include <stdbool.h>
#include <stdint.h>

int periodicRuns;
int triggeredRuns;
int terminateRuns;
int triggerInput = 42;
const int notCode = 5;

double triggerSawNext;
double triggerSawEnd;
int triggerSawInput;
uint64_t triggerSawSecondInput;

void PeriodicBody(void) { ++periodicRuns; }

void TriggeredBody(void) { ++triggeredRuns; }

void TerminateBody(void) { ++terminateRuns; }

void EventTrigger(double nextActivation, double stepEnd, double* storeNext, bool* run,
                  uint64_t* inputs) {
    triggerSawNext = nextActivation;
    triggerSawEnd = stepEnd;
    triggerSawInput = inputs[0] != 0 ? *(const int*)(uintptr_t)inputs[0] : -1;
    triggerSawSecondInput = inputs[1];
    *storeNext = nextActivation + 0.01;
    *run = true;
}
