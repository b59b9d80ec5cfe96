/* A vECU with one variable per way a scaling meets the FMI calls. The
 * runtime finds them by the offsets that nm reports for this library. */
#include <stdint.h>

double speedOut = 3.0;     /* outputs, LINEAR */
double torqueIn = 0.0;     /* inputs, LINEAR */
float pressureParam = 0.0f; /* parameters, RAT_FUNC */
int32_t countOut = -3;     /* outputs, LINEAR with a fractional slope */
uint8_t gearOut = 1;       /* outputs, TAB_NOINTP */
int16_t levelIn = 0;       /* inputs, TAB_INTP */
double plainValue = 2.5;   /* not scaled */
double tempIn = 0.0;       /* inputs, TAB_INTP falling */
