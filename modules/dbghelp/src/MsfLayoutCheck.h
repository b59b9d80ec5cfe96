#ifndef DBGHELP_MSF_LAYOUT_CHECK_H
#define DBGHELP_MSF_LAYOUT_CHECK_H

#include <cstdint>
#include <string>

#include <llvm/ADT/ArrayRef.h>

namespace dbghelp {

// Checks the container of a PDB file, its superblock and stream directory,
// on the file's own bytes. LLVM's reader trusts both: it sizes its free-block
// map by the block count, and a block number near 2^32 passes its range
// check by wrapping. So nothing reaches it until every count and size fits
// in the file and every block named lies inside it. False, with the reason,
// when one does not.
bool CheckMsfLayout(llvm::ArrayRef<uint8_t> file, std::string& reason);

}  // namespace dbghelp

#endif
