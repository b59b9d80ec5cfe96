#ifndef DBGHELP_NIL_STREAM_CHECK_H
#define DBGHELP_NIL_STREAM_CHECK_H

#include <cstdint>
#include <string>
#include <vector>

namespace llvm::pdb {
class DbiModuleDescriptor;
class PDBFile;
}  // namespace llvm::pdb

namespace dbghelp {

// The size the stream directory gives a nil (deleted) stream, which has no
// blocks.
constexpr uint32_t kNilStreamSize = UINT32_MAX;

// LLVM's reader takes a nil stream at that size and reads its first block
// from an empty block list. So no stream that this layer or LLVM opens may
// be nil; each check is false, with the reason, when one is. An index past
// the stream count is left to LLVM, which reports the stream as missing, and
// so are the debug streams the debug information names (section headers,
// frame data): LLVM reads them only when their size is a multiple of their
// record size, which a nil stream's never is.

// The PDB information, type and debug information streams, which are read
// before anything else.
bool CheckFixedStreamsNotNil(const llvm::pdb::PDBFile& file, std::string& reason);

// One stream that an index read from the file names; what says which
// ("the type hash stream").
bool CheckStreamNotNil(const llvm::pdb::PDBFile& file, uint32_t index, const std::string& what,
                       std::string& reason);

// The streams the debug information stream names that this layer reads:
// the symbol records and each module's symbols.
bool CheckSymbolStreamsNotNil(const llvm::pdb::PDBFile& file, uint32_t symbolRecordStream,
                              const std::vector<llvm::pdb::DbiModuleDescriptor>& modules, std::string& reason);

}  // namespace dbghelp

#endif
