/* A sample vECU: a vehicle that speeds up while its brake is released and
 * slows down while it is pressed, with an engine that warms up. The FMU
 * runtime calls InitEcu when the master enters initialisation and Task10ms
 * every 10 ms of simulated time. */

double vehicleSpeed = 0.0;       /* m/s, output (km/h through fmi_scaling.json) */
double acceleration = 1.5;       /* m/s^2 while driving, input */
int tickCount = 0;               /* runs of the 10 ms task, output */
_Bool brakeActive = 0;           /* input */
float engineTemperature = 20.0f; /* degrees Celsius, output */

static const double kBrakeDeceleration = 6.0;
static const double kPeriod = 0.01;

void InitEcu(void) {
    vehicleSpeed = 13.9;
    tickCount = 0;
    engineTemperature = 20.0f;
}

void Task10ms(void) {
    vehicleSpeed += (brakeActive ? -kBrakeDeceleration : acceleration) * kPeriod;
    if (vehicleSpeed < 0.0) vehicleSpeed = 0.0;
    engineTemperature += (90.0f - engineTemperature) * 0.02f;
    ++tickCount;
}
