/* The structure that only the second compilation unit of the C fixture
   defines. */
#ifndef DWARF_FIXTURE_ECU_C_OPAQUE_H
#define DWARF_FIXTURE_ECU_C_OPAQUE_H

#ifdef __cplusplus
extern "C" {
#endif

struct Opaque {
    int first;
    double second;
    struct Opaque* self;
};

extern struct Opaque opaque;
extern struct Opaque opaques[2];

#ifdef __cplusplus
}
#endif

#endif
