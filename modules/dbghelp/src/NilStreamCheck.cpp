#include "NilStreamCheck.h"

#include <llvm/DebugInfo/PDB/Native/DbiModuleDescriptor.h>
#include <llvm/DebugInfo/PDB/Native/PDBFile.h>
#include <llvm/DebugInfo/PDB/Native/RawConstants.h>

namespace dbghelp {

bool CheckStreamNotNil(const llvm::pdb::PDBFile& file, uint32_t index, const std::string& what,
                       std::string& reason) {
    if (index >= file.getNumStreams() || file.getStreamByteSize(index) != kNilStreamSize) return true;
    reason = what + " (stream " + std::to_string(index) + ") is nil";
    return false;
}

bool CheckFixedStreamsNotNil(const llvm::pdb::PDBFile& file, std::string& reason) {
    return CheckStreamNotNil(file, llvm::pdb::StreamPDB, "the PDB information stream", reason) &&
           CheckStreamNotNil(file, llvm::pdb::StreamTPI, "the type stream", reason) &&
           CheckStreamNotNil(file, llvm::pdb::StreamDBI, "the debug information stream", reason);
}

bool CheckSymbolStreamsNotNil(const llvm::pdb::PDBFile& file, uint32_t symbolRecordStream,
                              const std::vector<llvm::pdb::DbiModuleDescriptor>& modules, std::string& reason) {
    if (!CheckStreamNotNil(file, symbolRecordStream, "the symbol record stream", reason)) return false;
    for (size_t index = 0; index < modules.size(); ++index) {
        // A module without symbols has no stream at all, which is sound.
        const uint16_t stream = modules[index].getModuleStreamIndex();
        if (stream == llvm::pdb::kInvalidStreamIndex) continue;
        if (!CheckStreamNotNil(file, stream, "the stream of module " + std::to_string(index), reason)) return false;
    }
    return true;
}

}  // namespace dbghelp
