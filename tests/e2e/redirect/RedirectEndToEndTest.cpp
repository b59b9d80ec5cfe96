#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "RedirectVecuOffsets.h"
#include "ScalarAccess.h"
#include "platform/MemoryProtection.h"

namespace {

// mov rax, imm64; jmp rax.
constexpr size_t kPatchLength = 12;

// Value references, in the order of the fmiVariables section below.
enum : fmi2ValueReference {
    kByName = 1,
    kByText,
    kTwice,
    kSameAddress,
    kOneWord,
    kShortPadded,
    kShortTight,
    kTightNeighbour,
    kGuarded,
};

using Bytes = std::vector<uint8_t>;

struct RedirectEndToEnd : ::testing::Test, harness::ScalarAccess {
    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    harness::ResourceFolder folder;
    // The test's own handle on the vECU that the instance loads: the library
    // stays mapped after fmi2FreeInstance, so its code can be compared.
    void* vecu = nullptr;
    uint64_t base = 0;
    // Lines of resources.txt before the first redirection entry.
    int firstEntryLine = 0;

    RedirectEndToEnd() : ScalarAccess(fmu) {}

    void SetUp() override {
        ASSERT_TRUE(fmu.loaded());
        folder.Copy(REDIRECT_VECU, "redirect_vecu.so");
        folder.Copy(VIRLO_LIBRARY, "Virlo.so");
        folder.Copy(REDIRECT_SYMBOL_TABLE, "RawSymbolDetails.txt");
        vecu = dlopen((folder.path() + "redirect_vecu.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(vecu, nullptr) << dlerror();
        link_map* map = nullptr;
        ASSERT_EQ(dlinfo(vecu, RTLD_DI_LINKMAP, &map), 0);
        base = map->l_addr;
    }

    void TearDown() override {
        if (component != nullptr) fmu.fmi2FreeInstance(component);
        if (vecu != nullptr) dlclose(vecu);
    }

    uint64_t Address(const char* function) const {
        return reinterpret_cast<uint64_t>(dlsym(vecu, function));
    }
    static Bytes CodeAt(uint64_t address, size_t length = kPatchLength) {
        const auto* code = reinterpret_cast<const uint8_t*>(address);
        return Bytes(code, code + length);
    }
    Bytes Code(const char* function) const { return CodeAt(Address(function)); }
    // The function's size as the library's dynamic symbol gives it.
    uint64_t Size(const char* function) const {
        Dl_info info;
        void* symbol = nullptr;
        if (dladdr1(dlsym(vecu, function), &info, &symbol, RTLD_DL_SYMENT) == 0 || symbol == nullptr)
            return 0;
        return static_cast<const ElfW(Sym)*>(symbol)->st_size;
    }
    // The address as the configuration writes it: relative to the vECU.
    std::string TextForm(uint64_t address) const {
        char text[32];
        std::snprintf(text, sizeof text, "0x%" PRIx64, address - base);
        return text;
    }

    // Instantiates with the given RedirectFunctionCalls entries (each
    // without its four blanks).
    void Instantiate(const std::vector<std::string>& redirections) {
        std::string configuration =
            "vEcuDll\n    redirect_vecu.so\n"
            "fmiVariables\n    byNameResult\n    byTextResult\n    twiceResult\n"
            "    sameAddressResult\n    oneWordResult\n    shortPaddedResult\n"
            "    shortTightResult\n    tightNeighbourResult\n    guardedResult\n"
            "Tasks\n    RunCalls 96 0 0 0 -1\n"
            "RedirectFunctionCalls\n";
        firstEntryLine = static_cast<int>(std::count(configuration.begin(), configuration.end(), '\n'));
        for (const std::string& entry : redirections) configuration += "    " + entry + "\n";
        folder.Write("resources.txt", configuration);
        folder.Write("fmi_scaling.json", "[]");  // no conversions
        component = fmu.fmi2Instantiate("redirect", fmi2CoSimulation, "{redirect}", folder.uri().c_str(),
                                        log.callbacks(), fmi2False, fmi2False);
        ASSERT_NE(component, nullptr);
    }

    // Runs RunCalls in the first step.
    void Simulate() {
        ASSERT_EQ(fmu.fmi2SetupExperiment(component, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
        ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
        ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
        ASSERT_EQ(fmu.fmi2DoStep(component, 0.0, 0.01, fmi2True), fmi2OK);
    }

    void Release() {
        ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
        fmu.fmi2FreeInstance(component);
        component = nullptr;
    }
};

// The jump that redirects a function to the replacement.
Bytes JumpTo(uint64_t target) {
    Bytes jump = {0x48, 0xB8};
    for (int i = 0; i < 8; ++i) jump.push_back(static_cast<uint8_t>(target >> (8 * i)));
    jump.push_back(0xFF);
    jump.push_back(0xE0);
    return jump;
}

}  // namespace

TEST_F(RedirectEndToEnd, CallsReachTheReplacementsUntilTheCodeIsWrittenBack) {
    const char* const redirected[] = {"ByName", "ByText", "Twice", "SameAddress", "OneWord", "ShortPadded"};
    std::vector<Bytes> original;
    for (const char* function : redirected) original.push_back(Code(function));
    // ShortPadded is shorter than the jump, which therefore reaches into the
    // alignment fill after it.
    ASSERT_GT(Size("ShortPadded"), 0u);
    ASSERT_LT(Size("ShortPadded"), kPatchLength);

    const std::vector<std::string> entries = {
        "ByName ByNameReplacement",
        std::string(REDIRECT_VECU_ByText) + " " + REDIRECT_VECU_ByTextReplacement,
        "Twice FirstReplacement",
        "Twice SecondReplacement",
        "SameAddress SameAddressAlias",
        "OneWord",
        "",
        "ShortPadded ShortReplacement",
    };
    Instantiate(entries);
    if (HasFatalFailure()) return;
    EXPECT_EQ(log.text(), "'resources/resources.txt' line " + std::to_string(firstEntryLine + 6) +
                              " is empty! Pair(s) of function names expected.\n"
                              "fmi2Instantiate: No replacement named for 'OneWord'; not redirected.\n");
    EXPECT_EQ(Code("ByName"), JumpTo(Address("ByNameReplacement")));
    int protection = platform::ProtectionNone;
    ASSERT_EQ(platform::QueryMemoryProtection(Address("ByName"), &protection), 0);
    EXPECT_EQ(protection, platform::ProtectionRead | platform::ProtectionExecute);

    Simulate();
    if (HasFatalFailure()) return;
    EXPECT_EQ(GetInteger(kByName), 101);
    EXPECT_EQ(GetInteger(kByText), 102);      // called through a pointer
    EXPECT_EQ(GetInteger(kTwice), 113);       // the second pair replaced the first
    EXPECT_EQ(GetInteger(kSameAddress), 4);   // nothing patched
    EXPECT_EQ(GetInteger(kOneWord), 5);       // no replacement named
    EXPECT_EQ(GetInteger(kShortPadded), 106);

    Release();
    if (HasFatalFailure()) return;
    for (size_t i = 0; i < original.size(); ++i)
        EXPECT_EQ(Code(redirected[i]), original[i]) << redirected[i];
    auto byName = reinterpret_cast<int32_t (*)()>(dlsym(vecu, "ByName"));
    EXPECT_EQ(byName(), 1);
}

TEST_F(RedirectEndToEnd, PairsThatWouldBreakCodeAreReportedAndSkipped) {
    // ShortTight is shorter than the jump and TightNeighbour begins where it ends.
    ASSERT_GT(Size("ShortTight"), 0u);
    ASSERT_LT(Size("ShortTight"), kPatchLength);
    ASSERT_EQ(Address("ShortTight") + Size("ShortTight"), Address("TightNeighbour"));
    const Bytes tight = CodeAt(Address("ShortTight"), Size("ShortTight") + kPatchLength);
    const Bytes guarded = Code("Guarded");

    // Code whose protection cannot be changed: a read-only shared mapping
    // of a file may never become writable.
    const int file = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(file, 0);
    const long page = sysconf(_SC_PAGESIZE);
    void* mapping = mmap(nullptr, page, PROT_READ | PROT_EXEC, MAP_SHARED, file, 0);
    close(file);
    ASSERT_NE(mapping, MAP_FAILED);
    const uint64_t unwritable = reinterpret_cast<uint64_t>(mapping);
    const Bytes unwritableCode = CodeAt(unwritable);
    const std::string unwritableText = TextForm(unwritable);

    Instantiate({
        "ShortTight ShortReplacement",
        "Guarded byNameResult",
        unwritableText + " " + REDIRECT_VECU_ByTextReplacement,
    });
    if (HasFatalFailure()) return;
    EXPECT_EQ(log.text(),
              "fmi2Instantiate: 'ShortTight' (" + std::to_string(Size("ShortTight")) +
                  " bytes) is shorter than the 12-byte jump to 'ShortReplacement' and other code "
                  "follows it; not redirected.\n"
                  "fmi2Instantiate: Replacement 'byNameResult' does not lie in code; 'Guarded' not "
                  "redirected.\n"
                  "fmi2Instantiate: Cannot make the code of '" +
                  unwritableText + "' writable to redirect it to '" + REDIRECT_VECU_ByTextReplacement +
                  "': " + std::strerror(EACCES) + "\n");
    EXPECT_EQ(CodeAt(Address("ShortTight"), tight.size()), tight);
    EXPECT_EQ(Code("Guarded"), guarded);
    EXPECT_EQ(CodeAt(unwritable), unwritableCode);

    Simulate();
    if (HasFatalFailure()) return;
    EXPECT_EQ(GetInteger(kShortTight), 6);
    EXPECT_EQ(GetInteger(kTightNeighbour), 7);
    EXPECT_EQ(GetInteger(kGuarded), 9);

    Release();
    munmap(mapping, page);
}

TEST_F(RedirectEndToEnd, PairsThatWouldLoopOrOverlapAreRefusedAndTheCodeComesBackExactly) {
    const char* const functions[] = {"ByName", "Guarded", "Twice", "OneWord", "SameAddress", "ByText",
                                     "ShortPadded", "FirstReplacement", "SecondReplacement"};
    // Far enough to take in a jump written 4 bytes into a function.
    const size_t compared = kPatchLength + 4;
    std::vector<Bytes> original;
    for (const char* function : functions) original.push_back(CodeAt(Address(function), compared));
    const std::string insideByText = TextForm(Address("ByText") + 4);
    const std::string insideShortPadded = TextForm(Address("ShortPadded") + 4);

    Instantiate({
        "ByName Guarded",
        "Guarded ByName",
        "Twice OneWord",
        "OneWord SameAddress",
        "SameAddress Twice",
        std::string(REDIRECT_VECU_ByText) + " " + REDIRECT_VECU_ByTextReplacement,
        insideByText + " " + REDIRECT_VECU_FirstReplacement,
        std::string(REDIRECT_VECU_FirstReplacement) + " " + insideByText,
        std::string(REDIRECT_VECU_SecondReplacement) + " " + insideShortPadded,
        "ShortPadded ShortReplacement",
        "NoSuchFunction ByNameReplacement",
    });
    if (HasFatalFailure()) return;
    // Asserted: a loop left in place would keep the step below from ending.
    ASSERT_EQ(log.text(),
              "fmi2Instantiate: Redirecting 'Guarded' to 'ByName' would make its calls loop for ever "
              "(Guarded -> ByName -> Guarded); not redirected.\n"
              "fmi2Instantiate: Redirecting 'SameAddress' to 'Twice' would make its calls loop for ever "
              "(SameAddress -> Twice -> OneWord -> SameAddress); not redirected.\n"
              "fmi2Instantiate: The jump at '" + insideByText + "' would overlap the jump at '" +
                  REDIRECT_VECU_ByText + "'; not redirected to '" + REDIRECT_VECU_FirstReplacement +
                  "'.\n"
                  "fmi2Instantiate: The replacement '" + insideByText + "' begins inside the jump at '" +
                  REDIRECT_VECU_ByText + "'; '" + REDIRECT_VECU_FirstReplacement + "' not redirected.\n"
                  "fmi2Instantiate: The jump at 'ShortPadded' would cover the beginning of the "
                  "replacement '" +
                  insideShortPadded + "' of '" + REDIRECT_VECU_SecondReplacement +
                  "'; not redirected to 'ShortReplacement'.\n"
                  "fmi2Instantiate: 'NoSuchFunction' names no known symbol; not redirected to "
                  "'ByNameReplacement'.\n");
    EXPECT_EQ(Code("SecondReplacement"), JumpTo(Address("ShortPadded") + 4));  // the first pair stays
    EXPECT_EQ(reinterpret_cast<int32_t (*)()>(dlsym(vecu, "FirstReplacement"))(), 103);  // unpatched

    Simulate();
    if (HasFatalFailure()) return;
    EXPECT_EQ(GetInteger(kByName), 9);  // Guarded answers
    EXPECT_EQ(GetInteger(kGuarded), 9);
    EXPECT_EQ(GetInteger(kTwice), 4);  // through OneWord on to SameAddress
    EXPECT_EQ(GetInteger(kOneWord), 4);
    EXPECT_EQ(GetInteger(kSameAddress), 4);
    EXPECT_EQ(GetInteger(kByText), 102);
    EXPECT_EQ(GetInteger(kShortPadded), 8);

    Release();
    if (HasFatalFailure()) return;
    for (size_t i = 0; i < original.size(); ++i)
        EXPECT_EQ(CodeAt(Address(functions[i]), compared), original[i]) << functions[i];
}
