#include "ScalingFile.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "FmiInternalState.h"
#include "ScalingRecord.h"

namespace {

using nlohmann::json;

// A coefficient list or table row counts only when every element is a
// number written with a fraction or an exponent; an integer literal such
// as 2 makes the whole list invalid. A primitive value is its own single
// element here, as the library iterates it.
bool AllFloatingPoint(const json& value) {
    for (const json& element : value) {
        if (!element.is_number_float()) return false;
    }
    return true;
}

// The coefficients of a LINEAR or RAT_FUNC entry, or nothing when the entry
// has to be dropped. A value that passes the element test but is no array
// makes the library raise its type error, which ends the reading.
std::optional<std::vector<double>> ReadCoefficients(const json& value, size_t count) {
    if (!AllFloatingPoint(value)) return std::nullopt;
    auto coefficients = value.get<std::vector<double>>();
    if (coefficients.size() != count) return std::nullopt;
    return coefficients;
}

// A table from raw to physical values, or nothing when a row is not a pair
// of floating-point numbers. A raw value that repeats keeps its last row.
std::optional<std::map<double, double>> ReadTable(const json& rows) {
    for (const json& row : rows) {
        if (!row.is_array() || row.size() != 2 || !AllFloatingPoint(row)) return std::nullopt;
    }
    std::map<double, double> table;
    for (const json& row : rows) {
        table[row[0].get<double>()] = row[1].get<double>();
    }
    return table;
}

bool HasArray(const json& entry, const char* key) {
    return entry.contains(key) && entry.at(key).is_array();
}

// Settles the conversion of one entry by the first key that applies;
// false when the entry is to be dropped (a dropped conversion never falls
// back to a later key).
bool ReadConversion(const json& entry, ScalingRecord& record) {
    if (HasArray(entry, "RAT_FUNC")) {
        record.kind = CompuMethodKind_RAT_FUNC;
        auto coefficients = ReadCoefficients(entry.at("RAT_FUNC"), 6);
        if (!coefficients) return false;
        record.conversionData = std::move(*coefficients);
    } else if (entry.contains("IDENTICAL")) {
        record.kind = CompuMethodKind_IDENTICAL;  // its value is not read
    } else if (entry.contains("LINEAR")) {
        record.kind = CompuMethodKind_LINEAR;
        auto coefficients = ReadCoefficients(entry.at("LINEAR"), 2);
        if (!coefficients) return false;
        record.conversionData = std::move(*coefficients);
    } else if (HasArray(entry, "TAB_NOINTP")) {
        record.kind = CompuMethodKind_TAB_NOINTP;
        auto table = ReadTable(entry.at("TAB_NOINTP"));
        if (!table) return false;
        record.conversionData = std::move(*table);
    } else if (HasArray(entry, "TAB_INTP")) {
        record.kind = CompuMethodKind_TAB_INTP;
        auto table = ReadTable(entry.at("TAB_INTP"));
        if (!table) return false;
        record.conversionData = std::move(*table);
    }
    return true;
}

// Hexadecimal text with the C library's unsigned conversion: white space,
// a sign and a 0x prefix are accepted, the digits end at the first other
// character, and a value beyond 64 bits saturates.
uint64_t ParseAddressOffset(const std::string& text) {
    return std::strtoull(text.c_str(), nullptr, 16);
}

// Adds the entry's record to the scalings; entries without the keys that
// identify a variable, or with an unusable conversion, are left out.
void ReadEntry(const json& entry, uint64_t base, std::map<uint64_t, ScalingRecord>& scalings) {
    if (!entry.contains("symbol") || !entry.contains("causality") || !entry.contains("address")) return;

    ScalingRecord record;
    record.symbol = entry.at("symbol").get<std::string>();
    record.causality = entry.at("causality").get<std::string>();
    if (entry.contains("enlarge_type")) record.enlargeType = entry.at("enlarge_type").get<bool>();
    if (entry.contains("cm_name")) record.cmName = entry.at("cm_name").get<std::string>();
    if (!ReadConversion(entry, record)) return;

    // Unsigned arithmetic: an offset beyond the address space wraps.
    uint64_t key = ParseAddressOffset(entry.at("address").get<std::string>()) + base;
    scalings.insert_or_assign(key, std::move(record));
}

}  // namespace

void ReadScalingFile(FmiInternalState& instance, std::string folder, const std::string& instanceName) {
    // Entries are stored as they are read: a failure keeps the ones before
    // it, and nothing that goes wrong here may end the instantiation.
    try {
        const std::filesystem::path path = std::filesystem::path(folder) / "fmi_scaling.json";
        std::error_code error;
        std::ifstream file;
        // A folder of that name opens on this platform but cannot be read as a file.
        if (!std::filesystem::is_directory(path, error)) file.open(path);
        if (!file.is_open()) {
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "Cannot open file 'resources/fmi_scaling.json'");
            return;
        }

        json document;
        file >> document;  // one value; what follows it is not examined
        file.close();
        if (!document.is_array() && !document.is_object()) return;
        const uint64_t base = VecuModuleBase(instance);
        for (const json& entry : document) {
            ReadEntry(entry, base, instance.scalings);
        }
    } catch (const std::exception& exception) {
        instance.Log(instanceName, LogCategory_warning, "warning",
                     "Failed to parse 'resources/fmi_scaling.json'.\nerror: %s", exception.what());
    }
}
