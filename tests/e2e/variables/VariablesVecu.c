/* The vECU of the variable-access tests: one variable per storage type, a
   byte that holds bit fields, records without a value (pointer, array,
   function), a constant that starts out read-only, and getters through
   which the test sees what the ECU code itself sees. */
#include <stdbool.h>
#include <stdint.h>

enum GearMode { GearPark, GearReverse, GearNeutral, GearDrive };

int8_t vS8 = -5;
uint8_t vU8 = 200;
int16_t vS16 = -300;
uint16_t vU16 = 60000;
int32_t vS32 = -70000;
uint32_t vU32 = 0xFFFFFFFFu;
int64_t vS64 = -5000000000LL;
uint64_t vU64 = 0x8000000000000001ULL;
float vF32 = 0.5f;
double vF64 = 2.25;
bool vBool = true;
enum GearMode vEnum = GearNeutral;
uint8_t vFlags = 0xB4; /* 0b10110100 */
int32_t* vPointer = &vS32;
int32_t vArray[4] = {1, 2, 3, 4};
const double vConstant = 1.5;

void vFunction(void) { vArray[0] += 1; }

int32_t GetS32(void) { return vS32; }
/* Read through a volatile pointer so that the compiler cannot fold the
   constant into the code. */
double GetConstant(void) { return *(const volatile double*)&vConstant; }
float GetF32(void) { return vF32; }
