#include "PatternMemory.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace {

// Destroyed when the library is unloaded, before PCRE2 is.
struct ReleaseAtUnload {
    ~ReleaseAtUnload() { ReleaseUnusedPatternMemory(); }
} releaseAtUnload;

}  // namespace

void ReleaseUnusedPatternMemory() { pcre2_jit_free_unused_memory(nullptr); }
