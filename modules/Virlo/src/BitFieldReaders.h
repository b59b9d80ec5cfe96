#ifndef VIRLO_BIT_FIELD_READERS_H
#define VIRLO_BIT_FIELD_READERS_H

#include <cstdint>

// Readers of a value stored in a unit of 8, 16, 32 or 64 bits at the pointer
// (any alignment). With bitOffset and bitLength both 0 the whole unit is the
// value. Otherwise the field is bitLength bits long and bitOffset counts from
// the least significant bit, or from the most significant one when bitOrder is
// BitfieldPackingOrder_LeftToRight. The signed readers sign-extend the field.
//
// A field that reaches beyond the top of its unit is cut there (its missing
// bits do not exist); a field starting beyond the unit, or one of length 0,
// reads as 0.
int8_t ReadBitFieldS8(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
uint8_t ReadBitFieldU8(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
int16_t ReadBitFieldS16(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
uint16_t ReadBitFieldU16(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
int32_t ReadBitFieldS32(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
uint32_t ReadBitFieldU32(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
int64_t ReadBitFieldS64(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);
uint64_t ReadBitFieldU64(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder);

#endif
