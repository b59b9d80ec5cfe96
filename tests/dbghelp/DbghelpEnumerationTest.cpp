// SymEnumSymbols: which symbols, at which addresses, with which types.

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <set>

#include "DbghelpTestSupport.h"

using namespace dbghelp_test;
using pdb_reference::PdbUtilDump;

namespace {

// The size the type has by the reference dump.
uint64_t ReferenceSize(const PdbUtilDump& dump, uint32_t type) {
    type = dump.Resolve(type);
    if (type < 0x1000) return pdb_reference::SimpleTypeSize(type).value_or(~0ull);
    const auto* record = dump.Type(type);
    if (record == nullptr) return ~0ull;
    if (record->kind == "LF_POINTER") return record->pointerSize;
    if (record->kind == "LF_ENUM") return ReferenceSize(dump, record->underlying);
    return record->size;
}

// Mask semantics written independently: '*' any run, '?' one character.
bool ReferenceMatch(const std::string& name, const std::string& mask) {
    std::string pattern;
    for (char c : mask) {
        if (c == '*') pattern += ".*";
        else if (c == '?') pattern += '.';
        else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') pattern += c;
        else pattern += std::string("\\") + c;
    }
    return std::regex_match(name, std::regex(pattern));
}

std::multiset<std::string> Names(const std::vector<Enumerated>& symbols) {
    std::multiset<std::string> names;
    for (const Enumerated& symbol : symbols) names.insert(symbol.name);
    return names;
}

}  // namespace

TEST(DbghelpEnumeration, EveryDataSymbolOfThePdbComesAtItsAddressWithItsType) {
    Session session;
    const PdbUtilDump& dump = TypesDump();
    std::multimap<std::string, Enumerated> data;
    for (const Enumerated& symbol : session.Enumerate())
        if (symbol.tag == SymTagData) data.emplace(symbol.name, symbol);
    ASSERT_EQ(data.size(), dump.data.size());

    for (const auto& reference : dump.data) {
        const uint64_t address = session.Base() + dump.Rva(reference.segment, reference.offset);
        const auto range = data.equal_range(reference.name);
        const auto found = std::find_if(range.first, range.second,
                                        [address](const auto& entry) { return entry.second.address == address; });
        ASSERT_NE(found, range.second) << reference.name;
        const Enumerated& symbol = found->second;
        EXPECT_EQ(symbol.typeIndex, dump.Resolve(reference.type)) << reference.name;
        EXPECT_EQ(symbol.size, ReferenceSize(dump, reference.type)) << reference.name;
        EXPECT_EQ(session.Ulong64(symbol.typeIndex, TI_GET_LENGTH).value_or(~0ull), symbol.size) << reference.name;
    }
}

TEST(DbghelpEnumeration, FunctionsComeAtTheirAddressWithAFunctionType) {
    Session session;
    const PdbUtilDump& dump = TypesDump();
    std::map<std::string, Enumerated> functions;
    for (const Enumerated& symbol : session.Enumerate())
        if (symbol.tag == SymTagFunction) functions.emplace(symbol.name, symbol);

    size_t referenceFunctions = 0;
    for (const auto& reference : dump.publics) {
        if (!reference.function) continue;
        ++referenceFunctions;
        // Publics carry decorated C++ names; the functions of the fixtures
        // with undecorated names are the C ones.
        const auto found = functions.find(reference.name);
        if (reference.name.find('?') == 0) continue;
        ASSERT_NE(found, functions.end()) << reference.name;
        EXPECT_EQ(found->second.address, session.Base() + dump.Rva(reference.segment, reference.offset));
        EXPECT_EQ(session.Dword(found->second.typeIndex, TI_GET_SYMTAG), DWORD{SymTagFunctionType});
        EXPECT_GT(found->second.size, 0u) << reference.name;
    }
    EXPECT_EQ(functions.size(), referenceFunctions);
    EXPECT_EQ(functions.count("Step"), 1u);
    EXPECT_EQ(functions.count("ReadCounter"), 1u);
}

TEST(DbghelpEnumeration, FileStaticsOfOneNameComeOncePerAddress) {
    Session session;
    const PdbUtilDump& dump = TypesDump();
    const auto references = dump.FindAllData("s_shared");
    ASSERT_EQ(references.size(), 2u);
    const auto symbols = session.Enumerate("s_shared");
    ASSERT_EQ(symbols.size(), 2u);
    std::set<uint64_t> expected, reported;
    for (const auto* reference : references)
        expected.insert(session.Base() + dump.Rva(reference->segment, reference->offset));
    for (const Enumerated& symbol : symbols) reported.insert(symbol.address);
    EXPECT_EQ(reported, expected);
}

TEST(DbghelpEnumeration, MaskSelectsNamesWithWildcards) {
    Session session;
    const auto all = session.Enumerate();
    for (const std::string mask : {"*", "g_int", "g_?int", "g_*int*", "s_shared*", "*_pointer", "g_c*r", "?",
                                   "g_*_*", "nothing*", ""}) {
        std::multiset<std::string> expected;
        for (const Enumerated& symbol : all)
            if (ReferenceMatch(symbol.name, mask)) expected.insert(symbol.name);
        EXPECT_EQ(Names(session.Enumerate(mask.c_str())), expected) << "mask " << mask;
    }
    EXPECT_EQ(Names(session.Enumerate(nullptr)), Names(all));
}

TEST(DbghelpEnumeration, LetterCaseCountsUnlessTheOptionSaysOtherwise) {
    Session session;
    EXPECT_TRUE(session.Enumerate("G_INT").empty());
    const DWORD saved = SymGetOptions();
    SymSetOptions(saved | SYMOPT_CASE_INSENSITIVE);
    EXPECT_EQ(Names(session.Enumerate("G_INT")), std::multiset<std::string>{"g_int"});
    SymSetOptions(saved);
}

TEST(DbghelpEnumeration, CallbackEndsTheEnumeration) {
    Session session;
    int calls = 0;
    EXPECT_TRUE(SymEnumSymbols(
        session.Process(), session.Base(), "*",
        [](PSYMBOL_INFO, ULONG, PVOID context) -> BOOL {
            ++*static_cast<int*>(context);
            return FALSE;
        },
        &calls));
    EXPECT_EQ(calls, 1);
}

TEST(DbghelpEnumeration, SymbolInfoIsCompleteAndItsNameTerminated) {
    Session session;
    bool checked = false;
    SymEnumSymbols(
        session.Process(), session.Base(), "g_ullong",
        [](PSYMBOL_INFO info, ULONG size, PVOID context) -> BOOL {
            EXPECT_EQ(info->SizeOfStruct, sizeof(SYMBOL_INFO));
            EXPECT_EQ(info->NameLen, 8u);
            EXPECT_GE(info->MaxNameLen, info->NameLen + 1);
            EXPECT_STREQ(info->Name, "g_ullong");
            EXPECT_EQ(info->Size, 8u);
            EXPECT_EQ(size, 8u);
            EXPECT_EQ(info->Tag, ULONG{SymTagData});
            *static_cast<bool*>(context) = true;
            return TRUE;
        },
        &checked);
    EXPECT_TRUE(checked);
}

TEST(DbghelpEnumeration, UnknownModuleOrMissingCallbackFails) {
    Session session;
    const auto callback = [](PSYMBOL_INFO, ULONG, PVOID) -> BOOL { return TRUE; };
    EXPECT_FALSE(SymEnumSymbols(session.Process(), session.Base() + 0x1000, "*", callback, nullptr));
    EXPECT_FALSE(SymEnumSymbols(session.Process(), session.Base(), "*", nullptr, nullptr));
    EXPECT_FALSE(SymEnumSymbols(reinterpret_cast<HANDLE>(0x5), session.Base(), "*", callback, nullptr));
}
