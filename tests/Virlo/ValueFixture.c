/* A stand-in vECU whose variables the SymbolDetails writer reads in place:
 * one of each value type, enumerations of one and four bytes, and bit
 * fields in units of one and four bytes. */
#include <stdbool.h>
#include <stdint.h>

int8_t fixtureS8 = -5;
uint8_t fixtureU8 = 200;
int16_t fixtureS16 = -1234;
uint16_t fixtureU16 = 60000;
int32_t fixtureS32 = -123456789;
uint32_t fixtureU32 = 4000000000u;
int64_t fixtureS64 = -1234567890123456789LL;
uint64_t fixtureU64 = 18000000000000000000ULL;
float fixtureF32 = 0.1f;
double fixtureF64 = 0.1;
bool fixtureBool = true;

enum __attribute__((packed)) SmallMode { SmallModeLow = -1, SmallModeHigh = 100 };
enum Mode { ModeOff = -70000, ModeOn = 70000 };
enum SmallMode fixtureSmallMode = SmallModeLow;
enum Mode fixtureMode = ModeOn;

/* gcc on x86-64 allocates bit fields from the least significant bit of
 * their unit: in a 32-bit unit low takes bits 0-2, mid bits 3-7 and high
 * bits 8-14; in a byte, a takes bits 0-1 and b bits 2-5. */
struct Flags {
    unsigned int low : 3;
    signed int mid : 5;
    unsigned int high : 7;
};
struct Flags fixtureFlags = {5, -3, 100};

struct ByteFlags {
    uint8_t a : 2;
    int8_t b : 4;
};
struct ByteFlags fixtureByteFlags = {2, -6};

int32_t fixtureArray[4] = {1, 2, 3, 4};

/* Lets a test change the fields through the compiler's own bit-field code. */
void SetFixtureFlags(unsigned low, int mid, unsigned high) {
    fixtureFlags.low = low;
    fixtureFlags.mid = mid;
    fixtureFlags.high = high;
}
