#include "ValueColumn.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "BitFieldReaders.h"

namespace {

constexpr size_t kValueWidth = 24;

std::string Column(std::string text) {
    if (text.size() < kValueWidth) text.append(kValueWidth - text.size(), ' ');
    text += ';';
    return text;
}

std::string Signed(int64_t value) { return std::to_string(value); }
std::string Unsigned(uint64_t value) { return std::to_string(value); }

// C's general format: fixed or exponent notation, trailing zeros dropped.
std::string General(double value, int significantDigits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", significantDigits, value);
    return text;
}

// Bytes read for a type that has a value; 0 when nothing is read.
uint64_t ValueSize(const SymbolRecord& record) {
    switch (record.typeCode) {
    case SymbolType_s8: case SymbolType_u8: case SymbolType_bool: return 1;
    case SymbolType_s16: case SymbolType_u16: return 2;
    case SymbolType_s32: case SymbolType_u32: case SymbolType_float32: return 4;
    case SymbolType_s64: case SymbolType_u64: case SymbolType_float64: return 8;
    case SymbolType_Enumeration:
        return record.size == 1 || record.size == 2 || record.size == 4 || record.size == 8
                   ? record.size : 0;
    default: return 0;
    }
}

bool HasValue(uint32_t typeCode) {
    return (typeCode >= SymbolType_s8 && typeCode <= SymbolType_float64) ||
           typeCode == SymbolType_Enumeration || typeCode == SymbolType_bool;
}

std::string ReadValue(const SymbolRecord& record, const void* at, uint32_t bitOrder) {
    const uint8_t offset = record.bitOffset;
    const uint8_t length = record.bitLength;
    switch (record.typeCode) {
    case SymbolType_s8: return Signed(ReadBitFieldS8(at, offset, length, bitOrder));
    case SymbolType_u8: return Unsigned(ReadBitFieldU8(at, offset, length, bitOrder));
    case SymbolType_s16: return Signed(ReadBitFieldS16(at, offset, length, bitOrder));
    case SymbolType_u16: return Unsigned(ReadBitFieldU16(at, offset, length, bitOrder));
    case SymbolType_s32: return Signed(ReadBitFieldS32(at, offset, length, bitOrder));
    case SymbolType_u32: return Unsigned(ReadBitFieldU32(at, offset, length, bitOrder));
    case SymbolType_s64: return Signed(ReadBitFieldS64(at, offset, length, bitOrder));
    case SymbolType_u64: return Unsigned(ReadBitFieldU64(at, offset, length, bitOrder));
    case SymbolType_float32: {
        float value;
        std::memcpy(&value, at, sizeof value);
        return General(value, 9);
    }
    case SymbolType_float64: {
        double value;
        std::memcpy(&value, at, sizeof value);
        return General(value, 17);
    }
    case SymbolType_bool: return Unsigned(*static_cast<const uint8_t*>(at));
    case SymbolType_Enumeration:
        switch (record.size) {
        case 1: return Signed(ReadBitFieldS8(at, offset, length, bitOrder));
        case 2: return Signed(ReadBitFieldS16(at, offset, length, bitOrder));
        case 4: return Signed(ReadBitFieldS32(at, offset, length, bitOrder));
        case 8: return Signed(ReadBitFieldS64(at, offset, length, bitOrder));
        default: return "0";
        }
    default: return std::string();
    }
}

}  // namespace

std::string FormatValueColumn(const SymbolCacheMap::value_type& entry, uint64_t imageAddress,
                              uint32_t bitOrder, ReadableMemory& memory) {
    const SymbolRecord& record = *entry.second;
    if (!HasValue(record.typeCode)) return Column(std::string());
    if (imageAddress == 0) return Column("0");

    const uint64_t at = imageAddress + record.address;
    if (!memory.Contains(at, ValueSize(record))) {
        std::fprintf(stderr, "Exception while reading %s: abs-addr: %016" PRIX64 ", rel-addr: %" PRIx64 "\n",
                     entry.first.c_str(), at, record.address);
        return Column(std::string());
    }
    return Column(ReadValue(record, reinterpret_cast<const void*>(at), bitOrder));
}
