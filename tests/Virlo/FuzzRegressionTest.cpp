// Inputs that made the symbol readers crash, hang or exhaust memory under
// fuzzing, each read again through the built Virlo.so in a process of its
// own with bounded memory and time: the process must end normally, with the
// diagnostic its reader gives and what the input still holds cached.

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "VirloLibrary.h"

namespace {

using namespace virlo_core_test;

// Far above what a healthy read takes, far below what the damaged inputs
// asked for.
constexpr rlim_t kMemoryBound = rlim_t{1} << 30;
constexpr unsigned kSecondsBound = 60;

// Under AddressSanitizer the address space cannot be limited (its shadow
// memory reserves terabytes of it); the resident size is checked instead.
void BoundThisProcess() {
#ifndef __SANITIZE_ADDRESS__
    const rlimit limit{kMemoryBound, kMemoryBound};
    setrlimit(RLIMIT_AS, &limit);
#endif
    alarm(kSecondsBound);
}

void ExpectResidentSizeWithinBound() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(static_cast<rlim_t>(usage.ru_maxrss) * 1024, kMemoryBound);
}

void ExpectRecord(VirloLibrary& virlo, const std::string& name, uint64_t size, uint32_t type) {
    const SymbolRecord* record = virlo.GetVirlo(name);
    ASSERT_NE(record, nullptr) << name;
    EXPECT_EQ(record->size, size) << name;
    EXPECT_EQ(record->typeCode, type) << name;
}

struct HostileInput {
    const char* file;
    // Beside the image as its ".pdb" companion, or read as a ".die" file.
    bool isPdb;
    // A regular expression that standard error must match.
    const char* diagnostic;
    std::function<void(VirloLibrary&)> expectCached;
};

void PrintTo(const HostileInput& input, std::ostream* out) { *out << input.file; }

const HostileInput kInputs[] = {
    // The module count of the file information exceeds the descriptors:
    // the modules that are there are read.
    {"crash-module-descriptor.min", true, "",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "g_int", 4, SymbolType_s32);
         ExpectRecord(virlo, "Step", 0, SymbolType_Function);
     }},
    {"crash-section-headers.min", true,
     "app: no symbols: .*app\\.pdb is damaged: stream 10 names block 4294967295, the file has 22 blocks",
     [](VirloLibrary& virlo) { EXPECT_EQ(virlo.GetVirlo("g_int"), nullptr); }},
    // Damaged type-index offsets in the hash stream: the types come from the
    // type records themselves.
    {"crash-visitRange.min", true, "",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "g", 4, SymbolType_s32);
         ExpectRecord(virlo, "m[1][2]", 4, SymbolType_s32);
         ExpectRecord(virlo, "points[1].y", 4, SymbolType_s32);
     }},
    {"crash-visitRangeForType-null.min", true, "",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "g_int", 4, SymbolType_s32);
         ExpectRecord(virlo, "g_cube[1][1][1]", 4, SymbolType_s32);
     }},
    // A module descriptor names a nil (deleted) stream, which LLVM would read
    // as 4 GiB without blocks.
    {"crash-nil-module-stream.min", true,
     "app: no symbols: .*app\\.pdb is damaged: the stream of module 1 \\(stream 12\\) is nil",
     [](VirloLibrary& virlo) { EXPECT_EQ(virlo.GetVirlo("g_int"), nullptr); }},
    {"oom-namedstreammap.min", true,
     "app: no symbols: .*app\\.pdb is damaged: the named stream map: hash table capacity 1073741828 "
     "exceeds what the file can hold",
     [](VirloLibrary& virlo) { EXPECT_EQ(virlo.GetVirlo("g_int"), nullptr); }},
    {"stack-overflow-cyclic-array.pdb", true,
     "The element type of the array m leads back to the array; its elements are left out\\.",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "m", 24, SymbolType_Array);
         EXPECT_EQ(virlo.GetVirlo("m[0]"), nullptr);
         ExpectRecord(virlo, "g", 4, SymbolType_s32);
     }},
    {"stack-overflow-fuzzer-found.min", true,
     "The element type of the array g_cube leads back to the array; its elements are left out\\.",
     [](VirloLibrary& virlo) {
         EXPECT_NE(virlo.GetVirlo("g_cube"), nullptr);
         EXPECT_EQ(virlo.GetVirlo("g_cube[0]"), nullptr);
         ExpectRecord(virlo, "g_int", 4, SymbolType_s32);
     }},
    {"cyclic_array.die", false,
     "The element type of the array grid leads back to the array; its elements are left out\\.",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "grid", 0, SymbolType_Array);
         EXPECT_EQ(virlo.GetVirlo("grid[0]"), nullptr);
     }},
    {"huge_array.die", false,
     "The elements of the array buffer would take the file past 4194304 records; they are left out\\.",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "buffer", 4000000001u, SymbolType_Array);
         EXPECT_EQ(virlo.GetVirlo("buffer[0]"), nullptr);
     }},
    // Array entries whose children, beside their subranges, lead through
    // members back to arrays: only the subranges are walked, so the walk
    // stays linear instead of branching at every array.
    {"oom-array-children.die", false, "",
     [](VirloLibrary& virlo) {
         ExpectRecord(virlo, "outer", 88, SymbolType_UserDefinedType);
         ExpectRecord(virlo, "outer.inner", 8, SymbolType_UserDefinedType);
     }},
    // Two-element arrays nested 16 deep through typedefs: all 65,536
    // elements, each at its place.
    {"nested_arrays_16.die", false, "",
     [](VirloLibrary& virlo) {
         std::string last = "v";
         for (int level = 0; level < 16; ++level) last += "[1]";
         ExpectRecord(virlo, last, 1, SymbolType_s8);
         EXPECT_EQ(virlo.GetVirlo(last)->address, 0x4040u + 65535u);
     }},
};

class FuzzRegression : public ::testing::TestWithParam<HostileInput> {};

TEST_P(FuzzRegression, IsReadInBoundedTimeAndMemory) {
    const HostileInput& input = GetParam();
    RunWithFreshVirlo(
        [&input](VirloLibrary& virlo) {
            BoundThisProcess();
            TempFolder folder;
            const std::string companion = folder.File(input.isPdb ? "app.pdb" : "app.die");
            std::filesystem::copy_file(std::string(FUZZ_REGRESSION_DIR) + "/" + input.file, companion);
            std::string path = companion;
            if (input.isPdb) {
                path = folder.File("app.dll");
                std::filesystem::copy_file(VIRLO_PLAIN_IMAGE, path);
            }
            ASSERT_EQ(virlo.InitVirlo(path, VIRLO_DBGHELP_LIBRARY), 0u);
            EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
            input.expectCached(virlo);
            virlo.TerminateVirlo(false);
            ExpectResidentSizeWithinBound();
        },
        input.diagnostic);
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegression, ::testing::ValuesIn(kInputs),
                         [](const ::testing::TestParamInfo<HostileInput>& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
