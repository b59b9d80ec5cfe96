// Parameter sweeps reset or re-instantiate the FMU thousands of times in one
// process: each run must give back all it took, memory, descriptors and
// mappings alike, the symbol library's compiled patterns included. CTest
// runs the test in a process of its own, so what it measures is its own.

#include <dirent.h>
#include <unistd.h>

#include <fstream>

#include "LifecycleFixture.h"

namespace {

// What the process holds at one moment.
struct ProcessResources {
    long residentKiB = 0;
    int descriptors = 0;
    int mappings = 0;
    // Adjacent mappings of the same kind merge, so their size is counted.
    unsigned long long writableExecutableKiB = 0;
};

ProcessResources Measure() {
    ProcessResources held;
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages >> pages;
    held.residentKiB = pages * (sysconf(_SC_PAGESIZE) / 1024);
    if (DIR* descriptors = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(descriptors))
            if (entry->d_name[0] != '.') ++held.descriptors;
        closedir(descriptors);
    }
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        ++held.mappings;
        unsigned long long start = 0, end = 0;
        char permissions[5] = {};
        if (std::sscanf(line.c_str(), "%llx-%llx %4s", &start, &end, permissions) == 3 &&
            std::string(permissions, 3) == "rwx")
            held.writableExecutableKiB += (end - start) / 1024;
    }
    return held;
}

// The sanitizer's allocator keeps freed memory in quarantine and maps more
// of its own as it goes, so resident size and mapping count say nothing
// there; it also makes each cycle slower.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kAllocatorFootprintMeaningful = false;
constexpr int kCycles = 100;
#else
constexpr bool kAllocatorFootprintMeaningful = true;
constexpr int kCycles = 1000;
#endif
constexpr int kWarmUpCycles = 5;

struct FlatnessTest : LifecycleFixture {
    FlatnessTest() {
        LayOut();
        // A variable named by symbol: each run loads the symbol library,
        // which compiles its row pattern to read the table.
        folder.Copy(VIRLO_LIBRARY, "Virlo.so");
        folder.Write("RawSymbolDetails.txt", Address("vehicleSpeed") + ";8;float64;0;0;0;vehicleSpeed\n");
        folder.Write("resources.txt", "vEcuDll\n    ecu.so\nfmiVariables\n    vehicleSpeed\n");
        folder.Write("fmi_scaling.json", "[]");
    }

    // What repeating the cycle adds after a few warm-up rounds, which may
    // leave the C library's one-off bookkeeping behind.
    template <typename Cycle>
    void ExpectFlat(const char* what, Cycle cycle) {
        for (int round = 0; round < kWarmUpCycles; ++round) cycle();
        const ProcessResources before = Measure();
        for (int round = 0; round < kCycles; ++round) cycle();
        const ProcessResources after = Measure();
        if (kAllocatorFootprintMeaningful) {
            EXPECT_LE(after.residentKiB - before.residentKiB, 512) << what;
            EXPECT_LE(after.mappings - before.mappings, 2) << what;
        }
        EXPECT_EQ(after.descriptors, before.descriptors) << what;
        EXPECT_EQ(after.writableExecutableKiB, before.writableExecutableKiB) << what;
    }
};

}  // namespace

TEST_F(FlatnessTest, ResetAndInstantiateLoopsRunInFlatResources) {
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr) << log.text();
    ExpectFlat("fmi2Reset", [&] { ASSERT_EQ(fmu.fmi2Reset(c), fmi2OK) << log.text(); });
    // The last run still found its variable through the symbol library.
    EXPECT_EQ(Real(c, kVehicleSpeed), 12.5);
    fmu.fmi2FreeInstance(c);

    ExpectFlat("fmi2Instantiate and fmi2FreeInstance", [&] {
        fmi2Component instance = Instantiate(folder.uri(), fmi2False);
        ASSERT_NE(instance, nullptr) << log.text();
        fmu.fmi2FreeInstance(instance);
    });
    // Not one run had anything to report.
    EXPECT_EQ(log.text(), "");
}
