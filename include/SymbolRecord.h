#ifndef SYMBOL_RECORD_H
#define SYMBOL_RECORD_H

#include <cstdint>

// Where a symbol lives: an offset from the image's load address plus size,
// type code and bit-field position. Shared by the symbol library and the
// runtime, so the layout (24 bytes) must not change.
struct SymbolRecord {
    uint64_t address = 0;
    uint64_t size = 0;
    uint32_t typeCode = 0;
    uint8_t bitOffset = 0;
    uint8_t bitLength = 0;

    SymbolRecord() = default;
    SymbolRecord(uint64_t address_, uint64_t size_, uint32_t typeCode_, uint8_t bitOffset_,
                 uint8_t bitLength_)
        : address(address_), size(size_), typeCode(typeCode_), bitOffset(bitOffset_),
          bitLength(bitLength_) {}
};
static_assert(sizeof(SymbolRecord) == 24, "SymbolRecord crosses library borders as 24 bytes");

// The type codes of SymbolRecord::typeCode.
enum SymbolType : uint32_t {
    SymbolType_Unknown = 0,
    SymbolType_s8 = 1,
    SymbolType_u8 = 2,
    SymbolType_s16 = 3,
    SymbolType_u16 = 4,
    SymbolType_s32 = 5,
    SymbolType_u32 = 6,
    SymbolType_s64 = 7,
    SymbolType_u64 = 8,
    SymbolType_float32 = 9,
    SymbolType_float64 = 10,
    SymbolType_Void = 11,
    SymbolType_Pointer = 12,
    SymbolType_Array = 13,
    SymbolType_Enumeration = 14,
    SymbolType_UserDefinedType = 15,
    SymbolType_Function = 16,
    SymbolType_bool = 17,
};

// How a bit offset is counted inside its storage unit. Every value other
// than LeftToRight behaves as RightToLeft.
enum BitfieldPackingOrder : uint32_t {
    BitfieldPackingOrder_RightToLeft = 0,  // from the least significant bit
    BitfieldPackingOrder_LeftToRight = 1,  // from the most significant bit
};

#endif
