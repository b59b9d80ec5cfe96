// Stand-in for the outside XCP slave library. It writes every call it gets,
// with what it was given, as one line each to PellanCalls.txt beside itself
// (a test copies it into the resource folder as Pellan.so), reads the memory
// ranges it was handed as a slave would, and logs once through the logger.
// Built three times; the second build lacks StepPellan, as a library with a
// missing export would, and the third fails in TerminatePellan.

#include <dlfcn.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "PellanInterface.h"
#include "PellanRecord.h"

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The memory map received at InitPellan, read again at every step.
std::vector<SymbolRecord> memoryRanges;

std::string RecordPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&RecordPath), &info) == 0 || info.dli_fname == nullptr)
        return harness::kPellanRecordName;
    const std::string self = info.dli_fname;
    return self.substr(0, self.find_last_of('/') + 1) + harness::kPellanRecordName;
}

void Record(const std::string& line) {
    std::FILE* file = std::fopen(RecordPath().c_str(), "a");
    if (file == nullptr) return;
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

template <typename T>
T Load(uint64_t address) {
    T value;
    std::memcpy(&value, reinterpret_cast<const void*>(static_cast<uintptr_t>(address)), sizeof value);
    return value;
}

// The value at a range's address, read as its type says.
std::string ValueAt(const SymbolRecord& range) {
    switch (range.typeCode) {
        case SymbolType_s8: return std::to_string(Load<int8_t>(range.address));
        case SymbolType_u8: return std::to_string(Load<uint8_t>(range.address));
        case SymbolType_s16: return std::to_string(Load<int16_t>(range.address));
        case SymbolType_u16: return std::to_string(Load<uint16_t>(range.address));
        case SymbolType_s32: return std::to_string(Load<int32_t>(range.address));
        case SymbolType_u32: return std::to_string(Load<uint32_t>(range.address));
        case SymbolType_s64: return std::to_string(Load<int64_t>(range.address));
        case SymbolType_u64: return std::to_string(Load<uint64_t>(range.address));
        case SymbolType_float32: return Format("%.9g", Load<float>(range.address));
        case SymbolType_float64: return Format("%.17g", Load<double>(range.address));
        case SymbolType_bool: return std::to_string(Load<uint8_t>(range.address));
        default: return "?";
    }
}

}  // namespace

STANDIN_EXPORT void InitPellan(PellanConfig config) {
    Record(Format("InitPellan instanceName=%s loggingOn=%d reserved=%" PRIu64 " vEcuModule=0x%" PRIxPTR,
                  config.instanceName, config.loggingOn ? 1 : 0, config.reserved,
                  reinterpret_cast<uintptr_t>(config.vEcuModule)));
    for (const SymbolRecord& range : config.memoryRanges)
        Record(Format("range 0x%" PRIx64 " %" PRIu64 " %u %u %u = ", range.address, range.size,
                      range.typeCode, range.bitOffset, range.bitLength) +
               ValueAt(range));
    for (const std::string& line : config.xcpConfigLines) Record("line " + line);
    // The slave knows no component environment of the master's.
    config.logger(nullptr, config.instanceName, fmi2OK, "log",
                  "Pellan: %zu memory ranges, %zu configuration lines", config.memoryRanges.size(),
                  config.xcpConfigLines.size());
    memoryRanges = config.memoryRanges;
}

#ifndef STANDIN_PELLAN_WITHOUT_STEP
STANDIN_EXPORT void StepPellan(double currentCommunicationPoint, double communicationStepSize) {
    std::string line = Format("StepPellan %.17g %.17g =", currentCommunicationPoint, communicationStepSize);
    for (const SymbolRecord& range : memoryRanges) line += " " + ValueAt(range);
    Record(line);
}
static_assert(std::is_same_v<decltype(&StepPellan), StepPellanFn>);
#endif

STANDIN_EXPORT void TerminatePellan() {
    Record("TerminatePellan");
    memoryRanges.clear();
#ifdef STANDIN_PELLAN_FAILING_STOP
    throw std::runtime_error("the slave cannot stop");
#endif
}

static_assert(std::is_same_v<decltype(&InitPellan), InitPellanFn>);
static_assert(std::is_same_v<decltype(&TerminatePellan), TerminatePellanFn>);
