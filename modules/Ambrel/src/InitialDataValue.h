#ifndef AMBREL_INITIAL_DATA_VALUE_H
#define AMBREL_INITIAL_DATA_VALUE_H

// One calibration value of a dataset written into ECU memory: the value
// text parsed with the format of the record's type and stored at the
// absolute address, integers into their bit field where the record has one.

#include <cstdint>
#include <string>

#include "SymbolRecord.h"

// What becomes of a value, by the record's type code.
enum class InitialValueKind {
    integer,                     // s8 .. u64 and enumerations of size 1, 2, 4, 8
    floating,                    // float32, float64 (bit fields ignored)
    boolean,                     // bool: the text's first character code
    noValue,                     // Unknown, Void, Pointer, Array, User-Defined Type, Function
    unknownEnumerationSize,      // an enumeration of another size
    unknownType,                 // a type code above 17
};

InitialValueKind InitialValueKindOf(const SymbolRecord& record);

// Bytes that a value of the record's type occupies (0 for kinds without a
// value).
uint64_t InitialValueWidth(const SymbolRecord& record);

// Reads a dataset entry's name as a symbol record "address size type
// bitOffset bitLength"; false unless the text holds all five fields and
// nothing else.
bool ReadDatasetRecordText(const std::string& text, SymbolRecord& record);

// Parses the value text with the format of the record's type and stores it at
// the address; false (nothing written) when the text does not parse
// completely. Only for records of the integer, floating and boolean kinds.
bool WriteInitialValue(uint64_t address, const SymbolRecord& record, const std::string& value,
                       uint32_t packingOrder);

#endif
