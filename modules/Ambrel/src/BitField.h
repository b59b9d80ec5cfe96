#ifndef AMBREL_BIT_FIELD_H
#define AMBREL_BIT_FIELD_H

// Bit fields inside integer storage units, one extract/insert pair per
// storage type. A field is given by its bit offset and width and by the
// packing order (0: the offset counts from the least significant bit,
// 1: from the most significant bit; every value other than 1 acts as 0).
// Offset 0 with width 0 means "no bit field": the whole unit is the value.
//
// A field that reaches beyond its unit is cut at the unit's edge and what
// remains is treated as a field of its own; a field with no bit inside the
// unit (width 0, or an offset at or beyond the unit's width) reads 0 and
// leaves the unit unchanged on insert.

#include <cstdint>

// Reads the unit once and returns the field (sign-extended from the field's
// top bit for the signed types), or the whole value.
int8_t ExtractBitField_s8(const int8_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
uint8_t ExtractBitField_u8(const uint8_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
int16_t ExtractBitField_s16(const int16_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
uint16_t ExtractBitField_u16(const uint16_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
int32_t ExtractBitField_s32(const int32_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
uint32_t ExtractBitField_u32(const uint32_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
int64_t ExtractBitField_s64(const int64_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
uint64_t ExtractBitField_u64(const uint64_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);

// Returns base with the field replaced by the low bits of field; touches no
// memory. Without a bit field (offset 0, width 0) base comes back unchanged,
// so a caller writing a whole value stores the new value itself.
int8_t InsertBitField_s8(int8_t base, uint8_t bitOffset, uint8_t bitWidth, int8_t field, uint32_t packingOrder);
uint8_t InsertBitField_u8(uint8_t base, uint8_t bitOffset, uint8_t bitWidth, uint8_t field, uint32_t packingOrder);
int16_t InsertBitField_s16(int16_t base, uint8_t bitOffset, uint8_t bitWidth, int16_t field, uint32_t packingOrder);
uint16_t InsertBitField_u16(uint16_t base, uint8_t bitOffset, uint8_t bitWidth, uint16_t field, uint32_t packingOrder);
int32_t InsertBitField_s32(int32_t base, uint8_t bitOffset, uint8_t bitWidth, int32_t field, uint32_t packingOrder);
uint32_t InsertBitField_u32(uint32_t base, uint8_t bitOffset, uint8_t bitWidth, uint32_t field, uint32_t packingOrder);
int64_t InsertBitField_s64(int64_t base, uint8_t bitOffset, uint8_t bitWidth, int64_t field, uint32_t packingOrder);
uint64_t InsertBitField_u64(uint64_t base, uint8_t bitOffset, uint8_t bitWidth, uint64_t field, uint32_t packingOrder);

#endif
