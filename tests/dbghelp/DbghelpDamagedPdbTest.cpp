// PDBs whose sizes and counts promise more than the file holds: each field
// that LLVM's reader would allocate by or index with unchecked, pushed past
// the file (or a stream it reads made nil) in a copy of the fixture PDB. The module loads without symbols
// and says why, in one line.

#include <fstream>
#include <functional>
#include <iterator>

#include "DbghelpTestSupport.h"

using namespace dbghelp_test;
namespace fs = std::filesystem;

namespace {

// The bytes of a PDB, with the places of the fields the damage goes to.
class PdbBytes {
public:
    explicit PdbBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    void Write(const std::string& path) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes_.data(), bytes_.size());
    }

    uint32_t U32(size_t offset) const {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes_[offset + i]);
        return value;
    }
    void SetU32(size_t offset, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>(value >> (8 * i));
    }

    uint32_t BlockSize() const { return U32(32); }
    uint64_t FileBlocks() const { return bytes_.size() / BlockSize(); }
    // The superblock's block count.
    size_t BlockCountField() const { return 40; }
    // The stream directory; the fixture's fits in its first block.
    size_t Directory() const { return size_t{U32(size_t{U32(52)} * BlockSize())} * BlockSize(); }
    size_t StreamSizeField(uint32_t stream) const { return Directory() + 4 + 4 * size_t{stream}; }
    // Where a stream's first block begins.
    size_t StreamStart(uint32_t stream) const {
        const uint32_t streams = U32(Directory());
        size_t list = Directory() + 4 + 4 * size_t{streams};
        for (uint32_t earlier = 0; earlier < stream; ++earlier) {
            const uint32_t size = U32(StreamSizeField(earlier));
            if (size != UINT32_MAX) list += 4 * ((size + BlockSize() - 1) / BlockSize());
        }
        return size_t{U32(list)} * BlockSize();
    }

private:
    std::vector<char> bytes_;
};

constexpr uint32_t kInfoStream = 1;
constexpr uint32_t kTypeStream = 2;
constexpr size_t kInfoHeaderBytes = 28;
constexpr size_t kTypeIndexEndField = 12;
constexpr size_t kTypeRecordBytesField = 16;

struct Damage {
    const char* what;
    // Damages the bytes and gives the reason the load must report.
    std::function<std::string(PdbBytes&)> apply;
};

const Damage kDamages[] = {
    {"more blocks than the file holds",
     [](PdbBytes& pdb) {
         pdb.SetU32(pdb.BlockCountField(), 4000000);
         return "the superblock declares 4000000 blocks, the file holds " + std::to_string(pdb.FileBlocks());
     }},
    {"a stream larger than the file",
     [](PdbBytes& pdb) {
         pdb.SetU32(pdb.StreamSizeField(kTypeStream), 0x7FFFFFFF);
         return std::string("stream 2 of 2147483647 bytes exceeds the file");
     }},
    // A nil (deleted) stream has no blocks; LLVM would read it as 4 GiB.
    {"a nil type stream",
     [](PdbBytes& pdb) {
         pdb.SetU32(pdb.StreamSizeField(kTypeStream), UINT32_MAX);
         return std::string("the type stream (stream 2) is nil");
     }},
    {"more type records than their bytes hold",
     [](PdbBytes& pdb) {
         const size_t header = pdb.StreamStart(kTypeStream);
         pdb.SetU32(header + kTypeIndexEndField, 0xFFFFFFF0);
         return "the type stream declares type indices 4096 to 4294967280 in " +
                std::to_string(pdb.U32(header + kTypeRecordBytesField)) + " bytes of records";
     }},
    {"a named stream map entry beyond its capacity",
     [](PdbBytes& pdb) {
         const size_t names = pdb.StreamStart(kInfoStream) + kInfoHeaderBytes;
         const size_t table = names + 4 + pdb.U32(names);
         const uint32_t capacity = pdb.U32(table + 4);
         pdb.SetU32(table + 12, 1u << 31);  // the first word of the present buckets
         return "the named stream map: the hash table marks present bucket 31 beyond its capacity of " +
                std::to_string(capacity);
     }},
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.what; }

class DbghelpDamagedPdb : public ::testing::TestWithParam<Damage> {};

TEST_P(DbghelpDamagedPdb, LoadsWithoutSymbolsAndSaysWhy) {
    TempFolder folder;
    fs::copy_file(FixturePath("types.dll"), folder.File("types.dll"));
    PdbBytes pdb(FixturePath("types.pdb"));
    const std::string reason = GetParam().apply(pdb);
    pdb.Write(folder.File("types.pdb"));

    const DWORD saved = SymGetOptions();
    SymSetOptions(saved | SYMOPT_DEBUG);
    testing::internal::CaptureStderr();
    Session session(folder.File("types.dll"));
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    SymSetOptions(saved);

    EXPECT_NE(session.Base(), 0u);
    EXPECT_TRUE(session.Enumerate().empty());
    EXPECT_EQ(diagnostics, "dbghelp: types: no symbols: " + folder.File("types.pdb") + " is damaged: " + reason + "\n");
}

INSTANTIATE_TEST_SUITE_P(Fields, DbghelpDamagedPdb, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                             std::string name = info.param.what;
                             for (char& c : name)
                                 if (c == ' ') c = '_';
                             return name;
                         });

}  // namespace
