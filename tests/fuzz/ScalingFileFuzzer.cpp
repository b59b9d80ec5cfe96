// fmi_scaling.json read into an instance, and every record it yields applied
// in both directions to values at and around its own coefficients and rows.

#include <any>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <stdexcept>
#include <vector>

#include "CompuMethod.h"
#include "FmiInternalState.h"
#include "FuzzInput.h"
#include "ScalingFile.h"

namespace {

std::vector<double> Probes(const ScalingRecord& record) {
    std::vector<double> probes{0.0,
                               1.0,
                               -1.0,
                               50.0,
                               1e300,
                               -1e300,
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::nan(""),
                               9223372036854775807.0,
                               -9223372036854775808.0};
    if (const auto* table = std::any_cast<std::map<double, double>>(&record.conversionData)) {
        for (const auto& [raw, physical] : *table) {
            probes.insert(probes.end(), {raw, physical, raw + 0.5, physical - 0.5});
        }
    }
    if (const auto* coefficients = std::any_cast<std::vector<double>>(&record.conversionData)) {
        probes.insert(probes.end(), coefficients->begin(), coefficients->end());
    }
    return probes;
}

// Conversions refuse what they cannot convert with a runtime error; any
// other exception, or a crash, is a finding.
template <typename Convert>
void Apply(Convert convert) {
    try {
        convert();
    } catch (const std::runtime_error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static harness::MessageLog log;
    fuzz::WriteInput("fmi_scaling.json", data, size);
    FmiInternalState instance;
    instance.instanceName = "fuzz";
    instance.callbackFunctions = log.callbacks();
    ReadScalingFile(instance, fuzz::Folder().path(), "fuzz");

    for (const auto& [address, stored] : instance.scalings) {
        ScalingRecord record = stored;
        for (const char* causality : {"outputs", "inputs"}) {
            record.causality = causality;
            for (const double probe : Probes(record)) {
                Apply([&] { ApplyCompuMethod(probe, record); });
                const bool fits = probe >= -9223372036854775808.0 && probe < 9223372036854775808.0;
                const int64_t integer = fits ? static_cast<int64_t>(probe) : 0;
                Apply([&] { ApplyCompuMethodInteger(integer, record); });
            }
        }
    }
    log.clear();
    return 0;
}
