// A stand-in debug-help library with a scripted module, for the reader's
// paths that compiled programs do not produce: symbols below the module
// base, members without names, a structure that contains itself, basic
// types outside the reader's table, arrays of zero-length elements, and a
// handler that refuses to start (environment PDB_STUB_REFUSE_INIT).

#include <cstdlib>
#include <cstring>
#include <string>

#include "dbghelp/DbgHelp.h"

#define STUB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr DWORD64 kBase = 0x10000;
DWORD options = 0;

enum : ULONG {
    kInt = 1,
    kChar16 = 2,
    kRecord = 3,
    kEmptyArray = 4,
    kVoid = 5,
    kUnnamed = 100,
    kSelf = 101,
    kWide = 102,
    kLowStatic = 103,
};

struct StubSymbol {
    const char* name;
    DWORD64 address;
    ULONG type;
};
const StubSymbol kSymbols[] = {
    {"low", 0x8000, kInt},
    {"high", 0x10010, kInt},
    {"rec", 0x10020, kRecord},
    {"empty", 0x10040, kEmptyArray},
};

BOOL Name(const char* text, PVOID info) {
    const size_t length = std::strlen(text);
    auto* wide = static_cast<WCHAR*>(std::malloc((length + 1) * sizeof(WCHAR)));
    for (size_t i = 0; i <= length; ++i) wide[i] = static_cast<WCHAR>(text[i]);
    *static_cast<WCHAR**>(info) = wide;
    return TRUE;
}

template <typename Value>
BOOL Put(Value value, PVOID info) {
    *static_cast<Value*>(info) = value;
    return TRUE;
}

}  // namespace

STUB_EXPORT BOOL SymInitialize(HANDLE, PCSTR, BOOL) { return std::getenv("PDB_STUB_REFUSE_INIT") == nullptr; }

STUB_EXPORT DWORD64 SymLoadModuleEx(HANDLE, HANDLE, PCSTR, PCSTR, DWORD64, DWORD, PMODLOAD_DATA, DWORD) {
    return kBase;
}

STUB_EXPORT BOOL SymEnumSymbols(HANDLE, ULONG64 base, PCSTR, PSYM_ENUMERATESYMBOLS_CALLBACK callback, PVOID context) {
    if (base != kBase) return FALSE;
    for (const StubSymbol& symbol : kSymbols) {
        union {
            SYMBOL_INFO info;
            char bytes[sizeof(SYMBOL_INFO) + 64];
        } block{};
        block.info.SizeOfStruct = sizeof(SYMBOL_INFO);
        block.info.TypeIndex = symbol.type;
        block.info.Address = symbol.address;
        block.info.ModBase = kBase;
        block.info.Tag = SymTagData;
        block.info.NameLen = static_cast<ULONG>(std::strlen(symbol.name));
        block.info.MaxNameLen = 64;
        std::strcpy(block.info.Name, symbol.name);
        if (!callback(&block.info, 0, context)) break;
    }
    return TRUE;
}

STUB_EXPORT BOOL SymGetTypeInfo(HANDLE, DWORD64, ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO request, PVOID info) {
    switch (request) {
    case TI_GET_SYMTAG:
        switch (id) {
        case kInt:
        case kChar16:
        case kVoid: return Put<DWORD>(SymTagBaseType, info);
        case kRecord: return Put<DWORD>(SymTagUDT, info);
        case kEmptyArray: return Put<DWORD>(SymTagArrayType, info);
        case kUnnamed:
        case kSelf:
        case kWide:
        case kLowStatic: return Put<DWORD>(SymTagData, info);
        default: return FALSE;
        }
    case TI_GET_LENGTH:
        switch (id) {
        case kInt: return Put<ULONG64>(4, info);
        case kChar16: return Put<ULONG64>(2, info);
        case kRecord: return Put<ULONG64>(16, info);
        case kEmptyArray: return Put<ULONG64>(8, info);
        case kVoid: return Put<ULONG64>(0, info);
        default: return FALSE;
        }
    case TI_GET_BASETYPE:
        switch (id) {
        case kInt: return Put<DWORD>(btInt, info);
        case kChar16: return Put<DWORD>(btChar16, info);
        case kVoid: return Put<DWORD>(btVoid, info);
        default: return FALSE;
        }
    case TI_GET_TYPEID:
        switch (id) {
        case kEmptyArray: return Put<DWORD>(kVoid, info);
        case kUnnamed: return Put<DWORD>(kInt, info);
        case kSelf: return Put<DWORD>(kRecord, info);
        case kWide: return Put<DWORD>(kChar16, info);
        case kLowStatic: return Put<DWORD>(kInt, info);
        default: return FALSE;
        }
    case TI_GET_CHILDRENCOUNT: return id == kRecord ? Put<DWORD>(4, info) : FALSE;
    case TI_FINDCHILDREN: {
        if (id != kRecord) return FALSE;
        auto* children = static_cast<TI_FINDCHILDREN_PARAMS*>(info);
        if (children->Count != 4) return FALSE;
        const ULONG ids[] = {kUnnamed, kSelf, kWide, kLowStatic};
        for (ULONG i = 0; i < 4; ++i) children->ChildId[i] = ids[i];
        return TRUE;
    }
    case TI_GET_SYMNAME:
        switch (id) {
        case kUnnamed: return Name("", info);
        case kSelf: return Name("self", info);
        case kWide: return Name("wide", info);
        case kLowStatic: return Name("lowstatic", info);
        default: return FALSE;
        }
    case TI_GET_DATAKIND: return id == kLowStatic ? Put<DWORD>(DataIsStaticMember, info) : Put<DWORD>(DataIsMember, info);
    case TI_GET_OFFSET:
        switch (id) {
        case kUnnamed: return Put<DWORD>(0, info);
        case kSelf: return Put<DWORD>(8, info);
        case kWide: return Put<DWORD>(4, info);
        default: return FALSE;
        }
    case TI_GET_ADDRESS: return id == kLowStatic ? Put<ULONG64>(0x100, info) : FALSE;
    default: return FALSE;
    }
}

STUB_EXPORT DWORD SymGetOptions(void) { return options; }

#ifndef STUB_WITHOUT_SET_OPTIONS
STUB_EXPORT DWORD SymSetOptions(DWORD value) { return options = value; }
#endif

STUB_EXPORT BOOL SymCleanup(HANDLE) { return TRUE; }
