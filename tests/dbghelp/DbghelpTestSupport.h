#ifndef TESTS_DBGHELP_TEST_SUPPORT_H
#define TESTS_DBGHELP_TEST_SUPPORT_H

// A symbol-handler session on a fixture image, and the queries the tests
// make through the library's exported interface.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "PdbUtilDump.h"
#include "dbghelp/DbgHelp.h"

namespace dbghelp_test {

inline std::string FixturePath(const std::string& name) { return std::string(DBGHELP_FIXTURE_DIR) + "/" + name; }

inline const pdb_reference::PdbUtilDump& TypesDump() {
    static const pdb_reference::PdbUtilDump dump =
        pdb_reference::PdbUtilDump::Read(FixturePath("types.pdbutil.txt"));
    return dump;
}

// One enumerated symbol, copied out of the callback.
struct Enumerated {
    std::string name;
    uint64_t address;
    uint32_t typeIndex;
    uint32_t size;
    uint32_t tag;
    uint64_t modBase;
};

// A symbol handler of its own (each session a distinct handle) with the
// image loaded; released at the end.
class Session {
public:
    explicit Session(const std::string& image = FixturePath("types.dll")) {
        static uintptr_t nextHandle = 0x1000;
        process_ = reinterpret_cast<HANDLE>(nextHandle++);
        initialised_ = SymInitialize(process_, nullptr, FALSE) != FALSE;
        if (initialised_) base_ = SymLoadModuleEx(process_, nullptr, image.c_str(), nullptr, 0, 0, nullptr, 0);
    }
    ~Session() {
        if (initialised_) SymCleanup(process_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    HANDLE Process() const { return process_; }
    uint64_t Base() const { return base_; }

    std::vector<Enumerated> Enumerate(const char* mask = "*") const {
        std::vector<Enumerated> symbols;
        SymEnumSymbols(process_, base_, mask, &Collect, &symbols);
        return symbols;
    }

    std::optional<DWORD> Dword(ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO request) const {
        DWORD value = 0xDEADBEEF;
        if (!SymGetTypeInfo(process_, base_, id, request, &value)) return std::nullopt;
        return value;
    }
    std::optional<ULONG64> Ulong64(ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO request) const {
        ULONG64 value = 0xDEADBEEF;
        if (!SymGetTypeInfo(process_, base_, id, request, &value)) return std::nullopt;
        return value;
    }
    // The name as the library hands it out (UTF-16 from malloc), released
    // with free as its callers do.
    std::optional<std::u16string> Name(ULONG id) const {
        WCHAR* name = nullptr;
        if (!SymGetTypeInfo(process_, base_, id, TI_GET_SYMNAME, &name)) return std::nullopt;
        std::u16string text(name);
        std::free(name);
        return text;
    }
    std::vector<ULONG> Children(ULONG id) const {
        const std::optional<DWORD> count = Dword(id, TI_GET_CHILDRENCOUNT);
        if (!count) return {};
        std::vector<ULONG> block(2 + *count + 1, 0);
        auto* params = reinterpret_cast<TI_FINDCHILDREN_PARAMS*>(block.data());
        params->Count = *count;
        if (!SymGetTypeInfo(process_, base_, id, TI_FINDCHILDREN, params)) return {};
        return std::vector<ULONG>(params->ChildId, params->ChildId + *count);
    }

private:
    static BOOL CALLBACK Collect(PSYMBOL_INFO info, ULONG size, PVOID context) {
        static_cast<std::vector<Enumerated>*>(context)->push_back(
            {std::string(info->Name, info->NameLen), info->Address, info->TypeIndex, size, info->Tag, info->ModBase});
        return TRUE;
    }

    HANDLE process_ = nullptr;
    bool initialised_ = false;
    uint64_t base_ = 0;
};

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("dbghelp-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace dbghelp_test

#endif
