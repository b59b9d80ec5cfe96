#include "HashTableCheck.h"

namespace dbghelp {
namespace {

// A bucket holds a 32-bit key and a 32-bit value, in memory as in the file.
constexpr uint64_t kBucketBytes = 2 * sizeof(uint32_t);
constexpr uint32_t kBitsPerWord = 32;

std::string Count(uint64_t value) { return std::to_string(value); }

bool Read(llvm::BinaryStreamReader& reader, uint32_t& value) {
    if (auto error = reader.readInteger(value)) {
        llvm::consumeError(std::move(error));
        return false;
    }
    return true;
}

// Reads one bucket bit vector (its word count, then the words); counts its
// set bits, each of which must name a bucket below the capacity.
bool ReadBucketBits(llvm::BinaryStreamReader& reader, uint32_t capacity, const char* which, uint64_t& setBits,
                    std::string& reason) {
    uint32_t words = 0;
    if (!Read(reader, words) || words > reader.bytesRemaining() / sizeof(uint32_t)) {
        reason = std::string("the hash table's ") + which + " bucket vector exceeds its stream";
        return false;
    }
    setBits = 0;
    for (uint64_t index = 0; index < words; ++index) {
        uint32_t word = 0;
        Read(reader, word);
        for (uint32_t bit = 0; bit < kBitsPerWord; ++bit) {
            if ((word & (1u << bit)) == 0) continue;
            const uint64_t bucket = index * kBitsPerWord + bit;
            if (bucket >= capacity) {
                reason = std::string("the hash table marks ") + which + " bucket " + Count(bucket) +
                         " beyond its capacity of " + Count(capacity);
                return false;
            }
            ++setBits;
        }
    }
    return true;
}

}  // namespace

bool CheckHashTable(llvm::BinaryStreamReader& reader, uint64_t fileLength, std::string& reason) {
    uint32_t size = 0;
    uint32_t capacity = 0;
    if (!Read(reader, size) || !Read(reader, capacity)) {
        reason = "the hash table's header exceeds its stream";
        return false;
    }
    if (capacity == 0 || capacity * kBucketBytes > fileLength) {
        reason = "hash table capacity " + Count(capacity) + " exceeds what the file can hold";
        return false;
    }
    // The fill limit of the table's writer: two thirds of the capacity.
    if (size > uint64_t{capacity} * 2 / 3 + 1) {
        reason = "the hash table holds " + Count(size) + " entries in " + Count(capacity) + " buckets";
        return false;
    }
    uint64_t present = 0;
    uint64_t deleted = 0;
    if (!ReadBucketBits(reader, capacity, "present", present, reason) ||
        !ReadBucketBits(reader, capacity, "deleted", deleted, reason))
        return false;
    if (present != size) {
        reason = "the hash table marks " + Count(present) + " buckets present but holds " + Count(size) + " entries";
        return false;
    }
    if (present * kBucketBytes > reader.bytesRemaining()) {
        reason = "the hash table's entries exceed its stream";
        return false;
    }
    if (auto error = reader.skip(present * kBucketBytes)) llvm::consumeError(std::move(error));
    return true;
}

}  // namespace dbghelp
