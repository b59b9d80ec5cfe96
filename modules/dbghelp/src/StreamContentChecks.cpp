#include "StreamContentChecks.h"

#include <llvm/DebugInfo/CodeView/RecordSerialization.h>
#include <llvm/DebugInfo/MSF/MappedBlockStream.h>
#include <llvm/DebugInfo/PDB/Native/PDBFile.h>
#include <llvm/DebugInfo/PDB/Native/RawConstants.h>
#include <llvm/DebugInfo/PDB/Native/RawTypes.h>

#include "HashTableCheck.h"
#include "NilStreamCheck.h"

namespace dbghelp {
namespace {

using llvm::pdb::PDBFile;

// The stream as a reader; null when the stream does not exist, which LLVM
// reports itself when it opens the stream.
std::unique_ptr<llvm::msf::MappedBlockStream> OpenStream(const PDBFile& file, uint32_t index) {
    auto stream = file.safelyCreateIndexedStream(index);
    if (!stream) {
        llvm::consumeError(stream.takeError());
        return nullptr;
    }
    return std::move(*stream);
}

std::string Count(uint64_t value) { return std::to_string(value); }

// Whether a read failed; its error is dropped, since LLVM's own read of the
// same bytes reports it.
bool Failed(llvm::Error error) {
    const bool failed = static_cast<bool>(error);
    llvm::consumeError(std::move(error));
    return failed;
}

bool CheckTypeHashTable(const PDBFile& file, const llvm::pdb::TpiStreamHeader& header, std::string& reason) {
    if (header.HashAdjBuffer.Length == 0 || header.HashStreamIndex == llvm::pdb::kInvalidStreamIndex) return true;
    auto stream = OpenStream(file, header.HashStreamIndex);
    if (!stream) return true;
    const int32_t offset = header.HashAdjBuffer.Off;
    if (offset < 0 || static_cast<uint64_t>(offset) > stream->getLength()) {
        reason = "the type hash stream's adjuster table lies outside it";
        return false;
    }
    llvm::BinaryStreamReader reader(*stream);
    reader.setOffset(static_cast<uint64_t>(offset));
    if (CheckHashTable(reader, file.getFileSize(), reason)) return true;
    reason = "the type hash stream: " + reason;
    return false;
}

}  // namespace

bool CheckNamedStreamMap(const PDBFile& file, std::string& reason) {
    auto stream = OpenStream(file, llvm::pdb::StreamPDB);
    if (!stream) return true;
    llvm::BinaryStreamReader reader(*stream);
    uint32_t namesBytes = 0;
    if (Failed(reader.skip(sizeof(llvm::pdb::InfoStreamHeader))) || Failed(reader.readInteger(namesBytes)) ||
        Failed(reader.skip(namesBytes)))
        return true;
    if (CheckHashTable(reader, file.getFileSize(), reason)) return true;
    reason = "the named stream map: " + reason;
    return false;
}

bool CheckTypeStream(const PDBFile& file, std::string& reason) {
    auto stream = OpenStream(file, llvm::pdb::StreamTPI);
    if (!stream) return true;
    llvm::BinaryStreamReader reader(*stream);
    const llvm::pdb::TpiStreamHeader* header = nullptr;
    if (Failed(reader.readObject(header))) return true;
    // Every record takes at least its prefix.
    const uint64_t recordBytes = header->TypeRecordBytes;
    if (header->TypeIndexEnd < header->TypeIndexBegin ||
        header->TypeIndexEnd - header->TypeIndexBegin > recordBytes / sizeof(llvm::codeview::RecordPrefix)) {
        reason = "the type stream declares type indices " + Count(header->TypeIndexBegin) + " to " +
                 Count(header->TypeIndexEnd) + " in " + Count(recordBytes) + " bytes of records";
        return false;
    }
    if (header->HashStreamIndex != llvm::pdb::kInvalidStreamIndex &&
        !CheckStreamNotNil(file, header->HashStreamIndex, "the type hash stream", reason))
        return false;
    return CheckTypeHashTable(file, *header, reason);
}

}  // namespace dbghelp
