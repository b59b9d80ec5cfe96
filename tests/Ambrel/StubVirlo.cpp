// Stand-in for the symbol library in unit tests: answers names from a table
// the test fills and counts every call. Built twice; the partial build
// lacks GetVirlo, as a library with a missing export would.

#include <map>
#include <string>

#include "SymbolRecord.h"
#include "StubVirloCalls.h"

namespace {

std::map<std::string, SymbolRecord> records;
variable_test::StubVirloCalls calls;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void StubVirloAdd(const char* name, const SymbolRecord* record) {
    records[name] = *record;
}

__attribute__((visibility("default"))) const variable_test::StubVirloCalls* StubVirloCalls() { return &calls; }

__attribute__((visibility("default"))) void StubVirloReset() {
    records.clear();
    calls = variable_test::StubVirloCalls();
}

__attribute__((visibility("default"))) uint32_t InitVirlo(std::string path, std::string dbghelpPath) {
    ++calls.init;
    calls.initPath = path;
    calls.initDbghelpPath = dbghelpPath;
    return 0;
}

__attribute__((visibility("default"))) uint32_t CacheVirlo(std::string mask) {
    ++calls.cache;
    calls.cacheMask = mask;
    return 0;
}

#ifndef STUB_VIRLO_WITHOUT_GET
__attribute__((visibility("default"))) const SymbolRecord* GetVirlo(std::string name) {
    ++calls.get;
    calls.getName = name;
    const auto found = records.find(name);
    return found == records.end() ? nullptr : &found->second;
}
#endif

__attribute__((visibility("default"))) void ClearVirloCache() { ++calls.clear; }

__attribute__((visibility("default"))) void TerminateVirlo(bool replaceFile) {
    ++calls.terminate;
    calls.terminateFlag = replaceFile;
}

__attribute__((visibility("default"))) uint32_t WriteVirloToFile(const wchar_t*, uint32_t, uint64_t, uint32_t,
                                                                 uint32_t) {
    return 0;
}
}
