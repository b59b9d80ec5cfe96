#ifndef DBGHELP_STREAM_CONTENT_CHECKS_H
#define DBGHELP_STREAM_CONTENT_CHECKS_H

#include <string>

namespace llvm::pdb {
class PDBFile;
}

namespace dbghelp {

// Checks of sizes inside the streams that LLVM's reader allocates by before
// it checks them. Both run on a file whose container has passed
// CheckMsfLayout and whose fixed streams are not nil, before the stream is
// opened through LLVM; false, with the reason, when LLVM must not read the
// stream. Damage that LLVM's own bounded reads refuse is left to them.

// The PDB information stream: its named stream map's hash table.
bool CheckNamedStreamMap(const llvm::pdb::PDBFile& file, std::string& reason);

// The type stream: the record count its header declares (LLVM sizes its type
// table by it), and its hash stream, which must not be nil, with the hash
// table in it.
bool CheckTypeStream(const llvm::pdb::PDBFile& file, std::string& reason);

}  // namespace dbghelp

#endif
