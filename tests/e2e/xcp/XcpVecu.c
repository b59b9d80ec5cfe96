/* A vECU for the XCP slave end to end: a 250 ms task counts its runs, the
   other variables keep their initial values for the slave to read. */

#include <stdint.h>

int32_t periodicRuns;
uint16_t calibration = 0x1234;
double gain = 2.5;

void PeriodicBody(void) { ++periodicRuns; }
