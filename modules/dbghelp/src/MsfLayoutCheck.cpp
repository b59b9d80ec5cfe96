#include "MsfLayoutCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include <llvm/DebugInfo/MSF/MSFCommon.h>

#include "NilStreamCheck.h"

namespace dbghelp {
namespace {

using llvm::msf::SuperBlock;

// Little-endian, at an offset the caller has checked.
uint32_t ReadU32(const uint8_t* bytes, uint64_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + i];
    return value;
}

uint64_t BlocksFor(uint64_t bytes, uint32_t blockSize) { return (bytes + blockSize - 1) / blockSize; }

std::string Count(uint64_t value) { return std::to_string(value); }

// The superblock's fields that place everything else.
struct Container {
    uint32_t blockSize = 0;
    uint32_t blockCount = 0;
};

bool CheckSuperBlock(llvm::ArrayRef<uint8_t> file, Container& container, std::string& reason) {
    if (file.size() < sizeof(SuperBlock)) {
        reason = "the file is shorter than an MSF superblock";
        return false;
    }
    if (std::memcmp(file.data(), llvm::msf::Magic, sizeof(llvm::msf::Magic)) != 0) {
        reason = "the MSF signature is missing";
        return false;
    }
    container.blockSize = ReadU32(file.data(), offsetof(SuperBlock, BlockSize));
    if (!llvm::msf::isValidBlockSize(container.blockSize)) {
        reason = "unsupported block size " + Count(container.blockSize);
        return false;
    }
    container.blockCount = ReadU32(file.data(), offsetof(SuperBlock, NumBlocks));
    const uint64_t fileBlocks = file.size() / container.blockSize;
    if (container.blockCount > fileBlocks) {
        reason = "the superblock declares " + Count(container.blockCount) + " blocks, the file holds " +
                 Count(fileBlocks);
        return false;
    }
    const uint32_t freeBlockMap = ReadU32(file.data(), offsetof(SuperBlock, FreeBlockMapBlock));
    if ((freeBlockMap != 1 && freeBlockMap != 2) || freeBlockMap >= container.blockCount) {
        reason = "the free block map lies at block " + Count(freeBlockMap) + " of " + Count(container.blockCount);
        return false;
    }
    return true;
}

// The directory's bytes, gathered from the blocks its block map names.
bool ReadDirectory(llvm::ArrayRef<uint8_t> file, const Container& container, std::vector<uint8_t>& directory,
                   std::string& reason) {
    const uint32_t directoryBytes = ReadU32(file.data(), offsetof(SuperBlock, NumDirectoryBytes));
    const uint32_t blockMap = ReadU32(file.data(), offsetof(SuperBlock, BlockMapAddr));
    if (blockMap == 0 || blockMap >= container.blockCount) {
        reason = "the stream directory's block map lies at block " + Count(blockMap) + " of " +
                 Count(container.blockCount);
        return false;
    }
    // The block map is one block of block numbers.
    const uint64_t directoryBlocks = BlocksFor(directoryBytes, container.blockSize);
    if (directoryBytes % sizeof(uint32_t) != 0 || directoryBytes > file.size() ||
        directoryBlocks > container.blockSize / sizeof(uint32_t)) {
        reason = "a stream directory of " + Count(directoryBytes) + " bytes does not fit the file";
        return false;
    }
    const uint64_t mapOffset = static_cast<uint64_t>(blockMap) * container.blockSize;
    directory.reserve(directoryBytes);
    for (uint64_t index = 0; index < directoryBlocks; ++index) {
        const uint32_t block = ReadU32(file.data(), mapOffset + index * sizeof(uint32_t));
        if (block >= container.blockCount) {
            reason = "the stream directory names block " + Count(block) + ", the file has " +
                     Count(container.blockCount) + " blocks";
            return false;
        }
        const uint8_t* data = file.data() + static_cast<uint64_t>(block) * container.blockSize;
        const size_t take = std::min<size_t>(container.blockSize, directoryBytes - directory.size());
        directory.insert(directory.end(), data, data + take);
    }
    return true;
}

bool CheckStreams(const std::vector<uint8_t>& directory, uint64_t fileLength, const Container& container,
                  std::string& reason) {
    if (directory.size() < sizeof(uint32_t)) {
        reason = "the stream directory holds no stream count";
        return false;
    }
    const uint32_t streamCount = ReadU32(directory.data(), 0);
    uint64_t position = sizeof(uint32_t) * (1 + static_cast<uint64_t>(streamCount));
    if (position > directory.size()) {
        reason = "the stream directory is too short for " + Count(streamCount) + " streams";
        return false;
    }
    for (uint32_t stream = 0; stream < streamCount; ++stream) {
        const uint32_t size = ReadU32(directory.data(), sizeof(uint32_t) * (1 + static_cast<uint64_t>(stream)));
        if (size == kNilStreamSize) continue;
        if (size > fileLength) {
            reason = "stream " + Count(stream) + " of " + Count(size) + " bytes exceeds the file";
            return false;
        }
        const uint64_t blocks = BlocksFor(size, container.blockSize);
        if (position + blocks * sizeof(uint32_t) > directory.size()) {
            reason = "the stream directory is too short for the blocks of stream " + Count(stream);
            return false;
        }
        for (uint64_t index = 0; index < blocks; ++index, position += sizeof(uint32_t)) {
            const uint32_t block = ReadU32(directory.data(), position);
            if (block >= container.blockCount) {
                reason = "stream " + Count(stream) + " names block " + Count(block) + ", the file has " +
                         Count(container.blockCount) + " blocks";
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool CheckMsfLayout(llvm::ArrayRef<uint8_t> file, std::string& reason) {
    Container container;
    std::vector<uint8_t> directory;
    return CheckSuperBlock(file, container, reason) && ReadDirectory(file, container, directory, reason) &&
           CheckStreams(directory, file.size(), container, reason);
}

}  // namespace dbghelp
