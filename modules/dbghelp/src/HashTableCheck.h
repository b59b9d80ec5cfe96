#ifndef DBGHELP_HASH_TABLE_CHECK_H
#define DBGHELP_HASH_TABLE_CHECK_H

#include <cstdint>
#include <string>

#include <llvm/Support/BinaryStreamReader.h>

namespace dbghelp {

// Checks a hash table of 32-bit keys and values as a PDB stream stores it
// (entry count, capacity, the present and deleted bucket bit vectors, then
// one key and value per present bucket) and moves the reader past it.
// LLVM's reader allocates the buckets by the capacity it reads and stores
// each entry at the bucket its bit names, unchecked; so a capacity whose
// buckets would take more memory than the file has bytes is refused, as is
// a bit past the capacity. False, with the reason, for a table LLVM must not
// read.
bool CheckHashTable(llvm::BinaryStreamReader& reader, uint64_t fileLength, std::string& reason);

}  // namespace dbghelp

#endif
