#include "InitialDataValue.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "BitField.h"
#include "UnalignedMemory.h"

namespace {

// Parses the text with one conversion followed by "%n"; true only when the
// conversion succeeded and consumed the whole text, so an integer text that
// is followed by anything else (a fraction, a unit) is refused, not cut.
template <typename T>
bool ParseWhole(const std::string& text, const char* format, T* value) {
    int consumed = -1;
    const int converted = std::sscanf(text.c_str(), format, value, &consumed);
    return converted == 1 && consumed >= 0 && static_cast<std::size_t>(consumed) == text.size();
}

bool Parse(const std::string& text, int8_t& value) { return ParseWhole(text, "%hhd%n", &value); }
bool Parse(const std::string& text, uint8_t& value) { return ParseWhole(text, "%hhu%n", &value); }
bool Parse(const std::string& text, int16_t& value) { return ParseWhole(text, "%hd%n", &value); }
bool Parse(const std::string& text, uint16_t& value) { return ParseWhole(text, "%hu%n", &value); }
// Both 32-bit conversions keep the 32-bit width of the value texts' format.
bool Parse(const std::string& text, int32_t& value) { return ParseWhole(text, "%d%n", &value); }
bool Parse(const std::string& text, uint32_t& value) { return ParseWhole(text, "%u%n", &value); }
bool Parse(const std::string& text, float& value) { return ParseWhole(text, "%f%n", &value); }
bool Parse(const std::string& text, double& value) { return ParseWhole(text, "%lf%n", &value); }
bool Parse(const std::string& text, int64_t& value) {
    long long parsed = 0;
    if (!ParseWhole(text, "%lld%n", &parsed)) return false;
    value = parsed;
    return true;
}
bool Parse(const std::string& text, uint64_t& value) {
    unsigned long long parsed = 0;
    if (!ParseWhole(text, "%llu%n", &parsed)) return false;
    value = parsed;
    return true;
}

template <typename T>
bool WriteFloating(uint64_t address, const std::string& text) {
    T value;
    if (!Parse(text, value)) return false;
    StoreUnaligned(address, value);
    return true;
}

template <typename T>
using InsertBitField = T (*)(T base, uint8_t bitOffset, uint8_t bitWidth, T field, uint32_t packingOrder);

template <typename T>
bool WriteInteger(uint64_t address, const SymbolRecord& record, const std::string& text,
                  uint32_t packingOrder, InsertBitField<T> insert) {
    T value;
    if (!Parse(text, value)) return false;
    if (record.bitOffset != 0 || record.bitLength != 0)
        value = insert(LoadUnaligned<T>(address), record.bitOffset, record.bitLength, value, packingOrder);
    StoreUnaligned(address, value);
    return true;
}

bool EqualsIgnoringCase(const std::string& text, const char* word) {
    return text.size() == std::strlen(word) && strncasecmp(text.c_str(), word, text.size()) == 0;
}

bool WriteBoolean(uint64_t address, const std::string& text) {
    if (text.empty()) return false;
    // Numbers and the words true and false store their truth: keeping the
    // character code would turn the text "0" into 0x30, which reads as true.
    double number = 0;
    uint8_t stored = 0;
    if (Parse(text, number))
        stored = number != 0.0 ? 1 : 0;
    else if (EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "false"))
        stored = EqualsIgnoringCase(text, "true") ? 1 : 0;
    else
        stored = static_cast<uint8_t>(text[0]);  // any other form: its first character's code
    StoreUnaligned(address, stored);
    return true;
}

}  // namespace

InitialValueKind InitialValueKindOf(const SymbolRecord& record) {
    switch (record.typeCode) {
        case SymbolType_s8: case SymbolType_u8: case SymbolType_s16: case SymbolType_u16:
        case SymbolType_s32: case SymbolType_u32: case SymbolType_s64: case SymbolType_u64:
            return InitialValueKind::integer;
        case SymbolType_float32: case SymbolType_float64:
            return InitialValueKind::floating;
        case SymbolType_bool:
            return InitialValueKind::boolean;
        case SymbolType_Enumeration:
            return record.size == 1 || record.size == 2 || record.size == 4 || record.size == 8
                       ? InitialValueKind::integer
                       : InitialValueKind::unknownEnumerationSize;
        case SymbolType_Unknown: case SymbolType_Void: case SymbolType_Pointer: case SymbolType_Array:
        case SymbolType_UserDefinedType: case SymbolType_Function:
            return InitialValueKind::noValue;
        default:
            return InitialValueKind::unknownType;
    }
}

uint64_t InitialValueWidth(const SymbolRecord& record) {
    switch (record.typeCode) {
        case SymbolType_s8: case SymbolType_u8: case SymbolType_bool: return 1;
        case SymbolType_s16: case SymbolType_u16: return 2;
        case SymbolType_s32: case SymbolType_u32: case SymbolType_float32: return 4;
        case SymbolType_s64: case SymbolType_u64: case SymbolType_float64: return 8;
        case SymbolType_Enumeration:
            return InitialValueKindOf(record) == InitialValueKind::integer ? record.size : 0;
        default: return 0;
    }
}

bool ReadDatasetRecordText(const std::string& text, SymbolRecord& record) {
    void* address = nullptr;
    unsigned long long size = 0;
    int typeCode = 0;
    signed char bitOffset = 0;
    signed char bitLength = 0;
    int consumed = -1;
    const int converted = std::sscanf(text.c_str(), "%p %llu %i %hhi %hhi%n", &address, &size, &typeCode,
                                      &bitOffset, &bitLength, &consumed);
    if (converted != 5 || consumed < 0 || static_cast<std::size_t>(consumed) != text.size()) return false;
    record = SymbolRecord(reinterpret_cast<uint64_t>(address), size, static_cast<uint32_t>(typeCode),
                          static_cast<uint8_t>(bitOffset), static_cast<uint8_t>(bitLength));
    return true;
}

bool WriteInitialValue(uint64_t address, const SymbolRecord& record, const std::string& value,
                       uint32_t packingOrder) {
    switch (record.typeCode) {
        case SymbolType_s8: return WriteInteger<int8_t>(address, record, value, packingOrder, InsertBitField_s8);
        case SymbolType_u8: return WriteInteger<uint8_t>(address, record, value, packingOrder, InsertBitField_u8);
        case SymbolType_s16: return WriteInteger<int16_t>(address, record, value, packingOrder, InsertBitField_s16);
        case SymbolType_u16: return WriteInteger<uint16_t>(address, record, value, packingOrder, InsertBitField_u16);
        case SymbolType_s32: return WriteInteger<int32_t>(address, record, value, packingOrder, InsertBitField_s32);
        case SymbolType_u32: return WriteInteger<uint32_t>(address, record, value, packingOrder, InsertBitField_u32);
        case SymbolType_s64: return WriteInteger<int64_t>(address, record, value, packingOrder, InsertBitField_s64);
        case SymbolType_u64: return WriteInteger<uint64_t>(address, record, value, packingOrder, InsertBitField_u64);
        case SymbolType_float32: return WriteFloating<float>(address, value);
        case SymbolType_float64: return WriteFloating<double>(address, value);
        case SymbolType_bool: return WriteBoolean(address, value);
        case SymbolType_Enumeration:
            switch (record.size) {
                case 1: return WriteInteger<int8_t>(address, record, value, packingOrder, InsertBitField_s8);
                case 2: return WriteInteger<int16_t>(address, record, value, packingOrder, InsertBitField_s16);
                case 4: return WriteInteger<int32_t>(address, record, value, packingOrder, InsertBitField_s32);
                case 8: return WriteInteger<int64_t>(address, record, value, packingOrder, InsertBitField_s64);
                default: return false;
            }
        default: return false;
    }
}
