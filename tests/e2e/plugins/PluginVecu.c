/* A vECU for the plug-in end to end: two periodic tasks that count their
   runs, a variable that the FMU scales, one that a plug-in writes, and one
   that the symbol list knows but the FMU does not expose. */

#include <stdint.h>

double speedRaw = 3.0;
int32_t written;
int32_t fastRuns;
int32_t slowRuns;
int32_t initRuns;
int32_t stopRuns;
int32_t hiddenValue = 7;

void FastTask(void) { ++fastRuns; }
void SlowTask(void) { ++slowRuns; }
void InitTask(void) { ++initRuns; }
void StopTask(void) { ++stopRuns; }
