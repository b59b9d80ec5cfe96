/* A small vECU for the registration tests: variables of every storage type
   at known symbols, and one constant that starts out read-only. */
#include <stdbool.h>
#include <stdint.h>

int8_t fixtureS8 = -5;
uint16_t fixtureU16 = 0xBEEF;
int32_t fixtureS32 = -123456;
double fixtureF64 = 2.5;
float fixtureF32 = 0.5f;
bool fixtureBool = true;
const uint32_t fixtureConstant = 0x12345678u;
