#ifndef PELLAN_CONFIG_H
#define PELLAN_CONFIG_H

// What the runtime hands the outside XCP slave when it starts it: the ECU's
// memory map, the XcpConfig lines of resources.txt and the means to log.
// The record crosses into a library built elsewhere, by value, so its
// layout is fixed at eleven 8-byte words; both sides share one C++ runtime
// and heap, so the vectors and strings inside travel as they are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "SymbolRecord.h"
#include "fmi2/fmi2FunctionTypes.h"

struct PellanConfig {
    // The instance's logging flag at instantiation.
    bool loggingOn = false;
    // One record per FMU variable, in value-reference order, with the
    // variable's absolute address in this process.
    std::vector<SymbolRecord> memoryRanges;
    // The entries of the XcpConfig section without their indent, in file order.
    std::vector<std::string> xcpConfigLines;
    // The master's logger; the slave has no component environment to pass.
    fmi2CallbackLogger logger = nullptr;
    // Always zero.
    uint64_t reserved = 0;
    // The instance's name; valid as long as the instance lives.
    const char* instanceName = nullptr;
    // Load address of the vECU library (null when it is not loaded): where
    // the offsets of its symbol table start in memory.
    void* vEcuModule = nullptr;
};

static_assert(sizeof(PellanConfig) == 88, "PellanConfig crosses library borders as 88 bytes");
static_assert(alignof(PellanConfig) == 8, "PellanConfig is a record of 8-byte words");
static_assert(offsetof(PellanConfig, loggingOn) == 0, "PellanConfig word 0: loggingOn");
static_assert(offsetof(PellanConfig, memoryRanges) == 8, "PellanConfig words 1-3: memoryRanges");
static_assert(offsetof(PellanConfig, xcpConfigLines) == 32, "PellanConfig words 4-6: xcpConfigLines");
static_assert(offsetof(PellanConfig, logger) == 56, "PellanConfig word 7: logger");
static_assert(offsetof(PellanConfig, reserved) == 64, "PellanConfig word 8: reserved");
static_assert(offsetof(PellanConfig, instanceName) == 72, "PellanConfig word 9: instanceName");
static_assert(offsetof(PellanConfig, vEcuModule) == 80, "PellanConfig word 10: vEcuModule");

#endif
