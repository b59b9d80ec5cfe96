#ifndef AMBREL_SYMBOL_ACCESS_TYPES_H
#define AMBREL_SYMBOL_ACCESS_TYPES_H

// One accessor class per storage type of an ECU variable. The integer
// classes read and write a bit field where the record has one; bool, float
// and double variables are always whole units.

#include <cstdint>

#include "SymbolAccess.h"

// Integer storage units: Read sign- or zero-extends the field (or whole
// value) into the slot's integer; Write stores the slot's low bits, into the
// field by read-modify-write of the unit when there is a field.
#define AMBREL_INTEGER_SYMBOL_ACCESS(Name)                  \
    struct Name final : SymbolAccess {                      \
        using SymbolAccess::SymbolAccess;                   \
        void Write(SymbolValue& value) override;            \
        SymbolValue Read() override;                        \
        SymbolValueKind ValueKind() override;               \
    };

AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s8)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u8)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s16)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u16)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s32)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u32)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_s64)
AMBREL_INTEGER_SYMBOL_ACCESS(SymbolAccess_u64)
#undef AMBREL_INTEGER_SYMBOL_ACCESS

// A one-byte bool: reads the stored byte as it is (2 stays 2), writes 1 for
// any non-zero integer.
struct SymbolAccess_bool final : SymbolAccess {
    explicit SymbolAccess_bool(uint64_t address_) : SymbolAccess(address_, 0, 0, 0) {}
    void Write(SymbolValue& value) override;
    SymbolValue Read() override;
    SymbolValueKind ValueKind() override;
};

// A float, exchanged as a double: widened on read, narrowed on write.
struct SymbolAccess_f32 final : SymbolAccess {
    explicit SymbolAccess_f32(uint64_t address_) : SymbolAccess(address_, 0, 0, 0) {}
    void Write(SymbolValue& value) override;
    SymbolValue Read() override;
    SymbolValueKind ValueKind() override;
};

struct SymbolAccess_f64 final : SymbolAccess {
    explicit SymbolAccess_f64(uint64_t address_) : SymbolAccess(address_, 0, 0, 0) {}
    void Write(SymbolValue& value) override;
    SymbolValue Read() override;
    SymbolValueKind ValueKind() override;
};

// Stands for a name that resolves to no variable: reads 0, ignores writes.
struct SymbolAccess_null final : SymbolAccess {
    explicit SymbolAccess_null(uint64_t address_) : SymbolAccess(address_, 0, 0, 0) {}
    void Write(SymbolValue& value) override;
    SymbolValue Read() override;
    SymbolValueKind ValueKind() override;
};

SymbolAccessPtr MakeSymbolAccess_s8(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_u8(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_s16(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_u16(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_s32(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_u32(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_s64(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_u64(uint64_t address, uint8_t bitOffset, uint8_t bitWidth, uint32_t packingOrder);
SymbolAccessPtr MakeSymbolAccess_bool(uint64_t address);
SymbolAccessPtr MakeSymbolAccess_f32(uint64_t address);
SymbolAccessPtr MakeSymbolAccess_f64(uint64_t address);
SymbolAccessPtr MakeSymbolAccess_null(uint64_t address);

#endif
