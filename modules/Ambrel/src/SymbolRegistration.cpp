#include "SymbolRegistration.h"

#include <cinttypes>

#include "FmiInternalState.h"
#include "SymbolAccessTypes.h"
#include "SymbolRecordText.h"
#include "VirloBinding.h"
#include "platform/MemoryProtection.h"

namespace {

// The record an fmiVariables entry names: written out as text, or looked up
// by the name before the entry's first blank (what follows the blank is not
// used, whatever it holds). False when the name is not found.
bool ResolveVariable(const std::string& entry, SymbolRecord& record) {
    if (IsSymbolRecordText(entry)) {
        record = ReadSymbolRecordText(entry);
        return true;
    }
    const SymbolRecord* found = CallGetVirlo(entry.substr(0, entry.find(' ')));
    if (found == nullptr) return false;
    record = *found;  // the library's record lives only until its cache is cleared
    return true;
}

// The accessor of one record, or null where its type has none.
SymbolAccessPtr MakeAccessor(const SymbolRecord& record, uint32_t packingOrder) {
    const uint64_t a = record.address;
    const uint8_t offset = record.bitOffset;
    const uint8_t width = record.bitLength;
    switch (record.typeCode) {
        case SymbolType_s8: return MakeSymbolAccess_s8(a, offset, width, packingOrder);
        case SymbolType_u8: return MakeSymbolAccess_u8(a, offset, width, packingOrder);
        case SymbolType_s16: return MakeSymbolAccess_s16(a, offset, width, packingOrder);
        case SymbolType_u16: return MakeSymbolAccess_u16(a, offset, width, packingOrder);
        case SymbolType_s32: return MakeSymbolAccess_s32(a, offset, width, packingOrder);
        case SymbolType_u32: return MakeSymbolAccess_u32(a, offset, width, packingOrder);
        case SymbolType_s64: return MakeSymbolAccess_s64(a, offset, width, packingOrder);
        case SymbolType_u64: return MakeSymbolAccess_u64(a, offset, width, packingOrder);
        case SymbolType_float32: return MakeSymbolAccess_f32(a);
        case SymbolType_float64: return MakeSymbolAccess_f64(a);
        case SymbolType_bool: return MakeSymbolAccess_bool(a);
        case SymbolType_Enumeration:
            switch (record.size) {
                case 1: return MakeSymbolAccess_s8(a, offset, width, packingOrder);
                case 2: return MakeSymbolAccess_s16(a, offset, width, packingOrder);
                case 4: return MakeSymbolAccess_s32(a, offset, width, packingOrder);
                case 8: return MakeSymbolAccess_s64(a, offset, width, packingOrder);
                default: return nullptr;
            }
        default: return nullptr;
    }
}

// For a record that got no accessor: a type code beyond the known ones or
// an enumeration of an odd size is reported on its own; the kinds without
// a value (Unknown, Void, Pointer, Array, User-Defined Type, Function) fail
// only by the final count.
bool IsUnknownType(const SymbolRecord& record) {
    return record.typeCode > SymbolType_bool || record.typeCode == SymbolType_Enumeration;
}

}  // namespace

void RegisterSymbols(FmiInternalState& instance) {
    RegisterVariableSymbols(instance);
    RegisterTaskSymbols(instance);
    RegisterEepromSymbols(instance);
}

void RegisterVariableSymbols(FmiInternalState& instance) {
    const uint64_t base = VecuModuleBase(instance);
    for (size_t i = 0; i < instance.variableNames.size(); ++i) {
        const std::string& entry = instance.variableNames[i];
        SymbolRecord record;
        if (!ResolveVariable(entry, record)) {
            // Value references count only resolved entries, so a master that
            // goes by the file's order reads its neighbour's value. An empty
            // entry has been reported by the section reader already.
            if (entry.empty()) continue;
            instance.Log(instance.instanceName, LogCategory_warning, "warning",
                         "fmi2Instantiate: Variable '%s' of 'resources/resources.txt' line %d names no "
                         "known symbol and is skipped; the variables after it moved down one value "
                         "reference.",
                         entry.c_str(), static_cast<int>(instance.variableLines[i]));
            continue;
        }
        record.address += base;
        instance.memoryRanges.push_back(record);
    }
}

uint32_t UnprotectMemoryRanges(FmiInternalState& instance) {
    uint32_t result = 0;
    for (const SymbolRecord& range : instance.memoryRanges) {
        if (range.size == 0) continue;
        const int error =
            platform::SetMemoryProtection(range.address, range.size, platform::ProtectionReadWriteExecute);
        if (error != 0) result = static_cast<uint32_t>(error);
    }
    return result;
}

int32_t CreateSymbolAccessors(FmiInternalState& instance, const std::string& instanceName) {
    for (const SymbolRecord& record : instance.memoryRanges) {
        SymbolAccessPtr accessor = MakeAccessor(record, instance.bitfieldPackingOrder);
        if (accessor != nullptr) {
            instance.variables.push_back(std::move(accessor));
        } else if (IsUnknownType(record)) {
            // The whole address: cutting it to 32 bits would name another place.
            instance.Log(instanceName, LogCategory_error, "error",
                         "fmi2Instantiate: Unknown symbol type for index %" PRIx64 ".", record.address);
        }
    }
    instance.nullAccess = MakeSymbolAccess_null(0);
    if (instance.variables.size() == instance.memoryRanges.size()) return 0;
    instance.Log(instanceName, LogCategory_error, "error",
                 "fmi2Instantiate: The number of symbols deviates from the expected number.");
    return 3;
}
