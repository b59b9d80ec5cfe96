#include "BitField.h"

#include <cstring>
#include <limits>
#include <type_traits>

namespace {

// The bits of a field that lie inside its storage unit: the lowest of them
// and how many there are (0 when none does).
struct FieldBits {
    unsigned lowest = 0;
    unsigned width = 0;
};

// Works in plain int so that a field reaching past either end of the unit
// is cut there instead of turning into a negative or oversized shift.
FieldBits Locate(int unitBits, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    int low = bitOffset;
    int high = bitOffset + bitWidth;  // one past the field's top bit
    if (packingOrder == 1) {
        high = unitBits - bitOffset;
        low = high - bitWidth;
    }
    if (low < 0) low = 0;
    if (high > unitBits) high = unitBits;
    FieldBits bits;
    if (high > low) {
        bits.lowest = static_cast<unsigned>(low);
        bits.width = static_cast<unsigned>(high - low);
    }
    return bits;
}

uint64_t LowBits(unsigned width) { return width >= 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1; }

template <typename T>
T Extract(const T* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    using U = std::make_unsigned_t<T>;
    T stored;
    std::memcpy(&stored, storage, sizeof stored);  // ECU data need not be aligned
    if (bitOffset == 0 && bitWidth == 0) return stored;

    const FieldBits field = Locate(std::numeric_limits<U>::digits, bitOffset, bitWidth, packingOrder);
    if (field.width == 0) return 0;
    uint64_t bits = (static_cast<uint64_t>(static_cast<U>(stored)) >> field.lowest) & LowBits(field.width);
    // The field's top bit is its sign.
    if (std::is_signed_v<T> && field.width < 64 && ((bits >> (field.width - 1)) & 1) != 0)
        bits |= ~LowBits(field.width);
    return static_cast<T>(static_cast<U>(bits));
}

template <typename T>
T Insert(T base, uint8_t bitOffset, uint8_t bitWidth, T value, uint32_t packingOrder) {
    using U = std::make_unsigned_t<T>;
    if (bitOffset == 0 && bitWidth == 0) return base;

    const FieldBits field = Locate(std::numeric_limits<U>::digits, bitOffset, bitWidth, packingOrder);
    if (field.width == 0) return base;
    const uint64_t mask = LowBits(field.width) << field.lowest;
    const uint64_t kept = static_cast<uint64_t>(static_cast<U>(base)) & ~mask;
    const uint64_t placed = (static_cast<uint64_t>(static_cast<U>(value)) << field.lowest) & mask;
    return static_cast<T>(static_cast<U>(kept | placed));
}

}  // namespace

int8_t ExtractBitField_s8(const int8_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
uint8_t ExtractBitField_u8(const uint8_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
int16_t ExtractBitField_s16(const int16_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
uint16_t ExtractBitField_u16(const uint16_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
int32_t ExtractBitField_s32(const int32_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
uint32_t ExtractBitField_u32(const uint32_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
int64_t ExtractBitField_s64(const int64_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}
uint64_t ExtractBitField_u64(const uint64_t* storage, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder) {
    return Extract(storage, bitOffset, bitWidth, packingOrder);
}

int8_t InsertBitField_s8(int8_t base, uint8_t bitOffset, uint8_t bitWidth, int8_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
uint8_t InsertBitField_u8(uint8_t base, uint8_t bitOffset, uint8_t bitWidth, uint8_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
int16_t InsertBitField_s16(int16_t base, uint8_t bitOffset, uint8_t bitWidth, int16_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
uint16_t InsertBitField_u16(uint16_t base, uint8_t bitOffset, uint8_t bitWidth, uint16_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
int32_t InsertBitField_s32(int32_t base, uint8_t bitOffset, uint8_t bitWidth, int32_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
uint32_t InsertBitField_u32(uint32_t base, uint8_t bitOffset, uint8_t bitWidth, uint32_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
int64_t InsertBitField_s64(int64_t base, uint8_t bitOffset, uint8_t bitWidth, int64_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
uint64_t InsertBitField_u64(uint64_t base, uint8_t bitOffset, uint8_t bitWidth, uint64_t field, uint32_t packingOrder) {
    return Insert(base, bitOffset, bitWidth, field, packingOrder);
}
