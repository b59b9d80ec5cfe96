// The exports of Virlo.so. Strings cross by value: caller and library share
// one C++ runtime and heap, and the library destroys its copies.

#include <cstdio>
#include <string>
#include <type_traits>

#include "ActiveParser.h"
#include "LibraryLock.h"
#include "PatternMemory.h"
#include "SelectParser.h"
#include "SymbolRecord.h"
#include "VirloExport.h"
#include "VirloInterface.h"
#include "VirloParser.h"
#include "WidePathToUtf8.h"

namespace {

VirloParser* CurrentParser() { return SelectParser(ActiveParserInstance(), std::string(), nullptr); }

}  // namespace

// Holds the library lock from here to TerminateVirlo, whatever the outcome.
VIRLO_EXPORT uint32_t InitVirlo(std::string path, std::string dbghelpPath) {
    const int lockError = EnterLibraryLock();
    if (lockError != 0) return static_cast<uint32_t>(lockError);

    uint32_t status = ParserStatus_Success;
    VirloParser* parser = SelectParser(ActiveParserInstance(), path, &status);
    if (parser == nullptr) return status;

    const int result = parser->Init(path, dbghelpPath);
    if (result != ParserStatus_Success) {
        std::fputs("Could not initialize VirloParser.\n", stderr);
        return static_cast<uint32_t>(result);
    }
    parser->ClearCache();
    return ParserStatus_Success;
}

VIRLO_EXPORT uint32_t CacheVirlo(std::string mask) {
    VirloParser* parser = CurrentParser();
    return parser != nullptr ? static_cast<uint32_t>(parser->Cache(mask)) : 0;
}

VIRLO_EXPORT const SymbolRecord* GetVirlo(std::string name) {
    VirloParser* parser = CurrentParser();
    return parser != nullptr ? parser->FindSymbol(name) : nullptr;
}

VIRLO_EXPORT void ClearVirloCache() {
    if (VirloParser* parser = CurrentParser()) parser->ClearCache();
}

VIRLO_EXPORT uint32_t WriteVirloToFile(const wchar_t* path, uint32_t /*unused*/, uint64_t imageAddress,
                                       uint32_t addressWidth, uint32_t bitOrder) {
    VirloParser* parser = CurrentParser();
    const std::string utf8Path = WidePathToUtf8(path);
    if (parser == nullptr) return ParserStatus_NoActiveParser;
    return static_cast<uint32_t>(parser->WriteToFile(utf8Path, imageAddress, addressWidth, bitOrder));
}

// Only the thread that holds the lock ends a use of the library; without the
// lock nothing happens. The lock and the memory of the use's patterns are
// released even when the parser's Terminate raises an error.
VIRLO_EXPORT void TerminateVirlo(bool replaceFile) {
    if (!HoldsLibraryLock()) return;
    struct ReleaseOnExit {
        ~ReleaseOnExit() {
            ReleaseUnusedPatternMemory();
            ReleaseLibraryLock();
        }
    } release;
    if (VirloParser* parser = CurrentParser()) parser->Terminate(replaceFile);
}

// The callers bind these through the function types of the shared interface.
static_assert(std::is_same_v<decltype(&InitVirlo), InitVirloFn>);
static_assert(std::is_same_v<decltype(&CacheVirlo), CacheVirloFn>);
static_assert(std::is_same_v<decltype(&GetVirlo), GetVirloFn>);
static_assert(std::is_same_v<decltype(&ClearVirloCache), ClearVirloCacheFn>);
static_assert(std::is_same_v<decltype(&WriteVirloToFile), WriteVirloToFileFn>);
static_assert(std::is_same_v<decltype(&TerminateVirlo), TerminateVirloFn>);
