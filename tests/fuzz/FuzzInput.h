#ifndef TESTS_FUZZ_INPUT_H
#define TESTS_FUZZ_INPUT_H

// What every fuzz target shares: the readers take files, so each input is
// written into a folder that the fuzzing process keeps for itself.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FmuHarness.h"

namespace fuzz {

// The process's folder (ending in '/'), removed when the process ends.
harness::ResourceFolder& Folder();

// Writes the input as the named file of the folder and returns its path.
std::string WriteInput(const std::string& name, const uint8_t* data, size_t size);

}  // namespace fuzz

#endif
