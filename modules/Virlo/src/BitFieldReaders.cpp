#include "BitFieldReaders.h"

#include <cstring>
#include <type_traits>

#include "SymbolRecord.h"

namespace {

template <typename Value>
Value ReadBitField(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    using Unsigned = std::make_unsigned_t<Value>;
    constexpr unsigned width = sizeof(Value) * 8;

    Unsigned stored;
    std::memcpy(&stored, unit, sizeof stored);
    if (bitOffset == 0 && bitLength == 0) return static_cast<Value>(stored);

    // Lowest bit of the field, counted from the least significant bit.
    const unsigned position = bitOrder == BitfieldPackingOrder_LeftToRight
                                  ? (width - bitOffset - bitLength) % 256u
                                  : bitOffset;
    if (bitLength == 0 || position >= width) return 0;
    const unsigned length = bitLength < width - position ? bitLength : width - position;

    // Move the field to the top of the unit, then down to bit 0; the signed
    // readers shift arithmetically, which extends the sign.
    const Unsigned atTop = static_cast<Unsigned>(stored << (width - length - position));
    return static_cast<Value>(static_cast<Value>(atTop) >> (width - length));
}

}  // namespace

int8_t ReadBitFieldS8(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<int8_t>(unit, bitOffset, bitLength, bitOrder);
}
uint8_t ReadBitFieldU8(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<uint8_t>(unit, bitOffset, bitLength, bitOrder);
}
int16_t ReadBitFieldS16(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<int16_t>(unit, bitOffset, bitLength, bitOrder);
}
uint16_t ReadBitFieldU16(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<uint16_t>(unit, bitOffset, bitLength, bitOrder);
}
int32_t ReadBitFieldS32(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<int32_t>(unit, bitOffset, bitLength, bitOrder);
}
uint32_t ReadBitFieldU32(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<uint32_t>(unit, bitOffset, bitLength, bitOrder);
}
int64_t ReadBitFieldS64(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<int64_t>(unit, bitOffset, bitLength, bitOrder);
}
uint64_t ReadBitFieldU64(const void* unit, uint8_t bitOffset, uint8_t bitLength, uint32_t bitOrder) {
    return ReadBitField<uint64_t>(unit, bitOffset, bitLength, bitOrder);
}
