#ifndef VIRLO_PATTERN_MEMORY_H
#define VIRLO_PATTERN_MEMORY_H

// What PCRE2 keeps for the library once its patterns are freed.

// Gives back the executable memory that PCRE2's JIT kept from freed
// patterns for reuse. The cache lives inside PCRE2, which goes when the
// library is unloaded; memory left in it then stays mapped in the process
// for good, one block per use of the library. Done when a use of the library
// ends and again when the library is unloaded.
void ReleaseUnusedPatternMemory();

#endif
