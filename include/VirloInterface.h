#ifndef VIRLO_INTERFACE_H
#define VIRLO_INTERFACE_H

// The exports of the symbol library. Strings cross by value: both sides
// share one C++ runtime and heap, and the callee destroys its copy.

#include <cstdint>
#include <string>

#include "SymbolRecord.h"

using InitVirloFn = uint32_t (*)(std::string path, std::string dbghelpPath);
using CacheVirloFn = uint32_t (*)(std::string mask);
using GetVirloFn = const SymbolRecord* (*)(std::string name);
using ClearVirloCacheFn = void (*)();
using TerminateVirloFn = void (*)(bool replaceFile);
using WriteVirloToFileFn = uint32_t (*)(const wchar_t* path, uint32_t unused, uint64_t imageAddress,
                                        uint32_t addressWidth, uint32_t bitOrder);

#endif
