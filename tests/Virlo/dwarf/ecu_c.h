/* Types and globals of the C fixture vECU. Also read by the C++ layout
   program, so it stays valid C++. */
#ifndef DWARF_FIXTURE_ECU_C_H
#define DWARF_FIXTURE_ECU_C_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum { MODE_OFF, MODE_ON, MODE_AUTO } Mode;

typedef struct {
    int y;
    unsigned char b : 3;
    unsigned char c : 5;
    short tail;
} Inner;

typedef struct {
    int x;
    Inner inner;
    short grid[2][3];
    unsigned int bf : 7;
    unsigned int wide : 20;
    signed int neg : 5;
    long l;
    double d;
    Inner inners[2];
    Mode mode;
    int* p;
    unsigned long long big : 40;
    bool flag;
} Outer;

union Overlay {
    int asInt;
    float asFloat;
};

typedef struct {
    int a;
    union Overlay un;
    int after;
} Holder;

typedef int Row[3];

/* Complete only in the second compilation unit (ecu_c_opaque.h); this
   unit sees a declaration. */
struct Opaque;

extern char v_char;
extern signed char v_schar;
extern unsigned char v_uchar;
extern short v_short;
extern unsigned short v_ushort;
extern int v_int;
extern unsigned int v_uint;
extern long v_long;
extern unsigned long v_ulong;
extern long long v_llong;
extern unsigned long long v_ullong;
extern float v_float;
extern double v_double;
extern long double v_ldouble;
extern bool v_bool;
extern int8_t v_i8;
extern uint8_t v_u8;
extern int16_t v_i16;
extern uint16_t v_u16;
extern int32_t v_i32;
extern uint32_t v_u32;
extern int64_t v_i64;
extern uint64_t v_u64;
extern Mode mode;
extern int* ptr;
extern Outer outer;
extern Outer outers[2];
extern int matrix[2][3][4];
extern union Overlay overlay;
extern Holder holder;
extern Row rows[2];
extern const volatile int cv;
extern struct Opaque* opaqueRef;

int function(int x);

#ifdef __cplusplus
}
#endif

#endif
