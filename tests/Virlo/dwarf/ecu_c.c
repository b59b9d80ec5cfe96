#include "ecu_c.h"

char v_char = 1;
signed char v_schar = 2;
unsigned char v_uchar = 3;
short v_short = 4;
unsigned short v_ushort = 5;
int v_int = 6;
unsigned int v_uint = 7;
long v_long = 8;
unsigned long v_ulong = 9;
long long v_llong = 10;
unsigned long long v_ullong = 11;
float v_float = 12.0f;
double v_double = 13.0;
long double v_ldouble = 14.0L;
bool v_bool = true;
int8_t v_i8;
uint8_t v_u8;
int16_t v_i16;
uint16_t v_u16;
int32_t v_i32;
uint32_t v_u32;
int64_t v_i64;
uint64_t v_u64;
Mode mode = MODE_AUTO;
int* ptr = &v_int;
Outer outer;
Outer outers[2];
int matrix[2][3][4];
union Overlay overlay;
Holder holder;
Row rows[2];
const volatile int cv = 3;

struct Opaque* opaqueRef;

static int file_static = 5;

int function(int x) {
    static int calls;
    ++calls;
    {
        int local = x + calls;
        return local + file_static;
    }
}
