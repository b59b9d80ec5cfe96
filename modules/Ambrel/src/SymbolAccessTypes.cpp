#include "SymbolAccessTypes.h"

#include "BitField.h"
#include "UnalignedMemory.h"

namespace {

template <typename T>
using ExtractFunction = T (*)(const T*, uint8_t, uint8_t, uint32_t);
template <typename T>
using InsertFunction = T (*)(T, uint8_t, uint8_t, T, uint32_t);

template <typename T>
SymbolValue ReadInteger(const SymbolAccess& access, ExtractFunction<T> extract) {
    SymbolValue value;
    // Converting T to int64_t sign-extends the signed and zero-extends the
    // unsigned types.
    value.integer = static_cast<int64_t>(extract(reinterpret_cast<const T*>(access.address),
                                                 access.bitOffset, access.bitWidth,
                                                 access.packingOrder));
    return value;
}

template <typename T>
void WriteInteger(const SymbolAccess& access, const SymbolValue& value, InsertFunction<T> insert) {
    const T low = static_cast<T>(value.integer);  // the low bits, no range check
    if (access.bitOffset == 0 && access.bitWidth == 0) {
        StoreUnaligned<T>(access.address, low);
        return;
    }
    const T current = LoadUnaligned<T>(access.address);
    StoreUnaligned<T>(access.address, insert(current, access.bitOffset, access.bitWidth, low, access.packingOrder));
}

}  // namespace

#define AMBREL_INTEGER_SYMBOL_ACCESS(Name, T, Extract, Insert)                                  \
    void Name::Write(SymbolValue& value) { WriteInteger<T>(*this, value, Insert); }             \
    SymbolValue Name::Read() { return ReadInteger<T>(*this, Extract); }                         \
    SymbolValueKind Name::ValueKind() { return SymbolValueKind_integer; }                       \
    SymbolAccessPtr Make##Name(uint64_t address, uint8_t bitOffset, uint8_t bitWidth,           \
                               uint32_t packingOrder) {                                         \
        return SymbolAccessPtr(new Name(address, bitOffset, bitWidth, packingOrder));           \
    }

AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s8, int8_t, ExtractBitField_s8, InsertBitField_s8)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u8, uint8_t, ExtractBitField_u8, InsertBitField_u8)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s16, int16_t, ExtractBitField_s16, InsertBitField_s16)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u16, uint16_t, ExtractBitField_u16, InsertBitField_u16)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s32, int32_t, ExtractBitField_s32, InsertBitField_s32)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u32, uint32_t, ExtractBitField_u32, InsertBitField_u32)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s64, int64_t, ExtractBitField_s64, InsertBitField_s64)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u64, uint64_t, ExtractBitField_u64, InsertBitField_u64)
#undef AMBREL_INTEGER_SYMBOL_ACCESS

void SymbolAccess_bool::Write(SymbolValue& value) {
    StoreUnaligned<uint8_t>(address, value.integer != 0 ? 1 : 0);
}
SymbolValue SymbolAccess_bool::Read() { return IntegerSlot(LoadUnaligned<uint8_t>(address)); }
SymbolValueKind SymbolAccess_bool::ValueKind() { return SymbolValueKind_integer; }

void SymbolAccess_f32::Write(SymbolValue& value) { StoreUnaligned<float>(address, static_cast<float>(value.real)); }
SymbolValue SymbolAccess_f32::Read() { return RealSlot(LoadUnaligned<float>(address)); }
SymbolValueKind SymbolAccess_f32::ValueKind() { return SymbolValueKind_real; }

void SymbolAccess_f64::Write(SymbolValue& value) { StoreUnaligned<double>(address, value.real); }
SymbolValue SymbolAccess_f64::Read() { return RealSlot(LoadUnaligned<double>(address)); }
SymbolValueKind SymbolAccess_f64::ValueKind() { return SymbolValueKind_real; }

void SymbolAccess_null::Write(SymbolValue&) {}
SymbolValue SymbolAccess_null::Read() { return IntegerSlot(0); }
SymbolValueKind SymbolAccess_null::ValueKind() { return SymbolValueKind_none; }

SymbolAccessPtr MakeSymbolAccess_bool(uint64_t address) { return SymbolAccessPtr(new SymbolAccess_bool(address)); }
SymbolAccessPtr MakeSymbolAccess_f32(uint64_t address) { return SymbolAccessPtr(new SymbolAccess_f32(address)); }
SymbolAccessPtr MakeSymbolAccess_f64(uint64_t address) { return SymbolAccessPtr(new SymbolAccess_f64(address)); }
SymbolAccessPtr MakeSymbolAccess_null(uint64_t address) { return SymbolAccessPtr(new SymbolAccess_null(address)); }
