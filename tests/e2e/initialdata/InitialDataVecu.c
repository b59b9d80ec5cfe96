/* The vECU of the initial-data tests: calibration variables of several
   types, a byte of C bit fields, and getters through which the test sees
   what the ECU code itself sees. */
#include <stdint.h>

enum Gear { GearPark, GearReverse, GearNeutral, GearDrive };

struct Flags {
    uint8_t enable : 1;
    uint8_t mode : 3;
    uint8_t level : 4;
};

uint32_t speedLimit = 1;
int16_t trim = 1;
float gain = 1.0f;
double ratio = 1.0;
enum Gear gear = GearPark;
uint16_t maxTorque = 1;
struct Flags flags = {0, 7, 15};

uint32_t GetSpeedLimit(void) { return speedLimit; }
int32_t GetTrim(void) { return trim; }
float GetGain(void) { return gain; }
double GetRatio(void) { return ratio; }
int32_t GetGear(void) { return (int32_t)gear; }
uint32_t GetMaxTorque(void) { return maxTorque; }
uint32_t GetEnable(void) { return flags.enable; }
uint32_t GetMode(void) { return flags.mode; }
uint32_t GetLevel(void) { return flags.level; }
