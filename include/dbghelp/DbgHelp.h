#ifndef DBGHELP_DBGHELP_H
#define DBGHELP_DBGHELP_H

/*
 * The part of the debug-help interface that reads PDB files: symbol
 * enumeration and type queries. Signatures, structures and constants follow
 * the published interface, so code written against it runs unchanged on
 * either side.
 *
 * Scalar widths are those of 64-bit Windows, not of LP64: DWORD and ULONG are
 * 32 bits wide here (Linux "unsigned long" is 64). WCHAR is the 16-bit UTF-16
 * code unit of the interface's wide texts (TI_GET_SYMNAME); Linux wchar_t is
 * 32 bits and must not be used for it.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

typedef int BOOL;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef uint64_t ULONG64;
typedef uint64_t DWORD64;
typedef char CHAR;
typedef char16_t WCHAR; /* one UTF-16 code unit */
typedef void* HANDLE;
typedef void* PVOID;
typedef const char* PCSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

/* One calling convention on x86-64. */
#define CALLBACK
#define WINAPI

/* Symbol options (SymGetOptions / SymSetOptions). */
#define SYMOPT_CASE_INSENSITIVE 0x00000001u
#define SYMOPT_UNDNAME 0x00000002u
#define SYMOPT_DEFERRED_LOADS 0x00000004u
#define SYMOPT_DEBUG 0x80000000u

/* What one enumerated symbol is. */
typedef struct _SYMBOL_INFO {
    ULONG SizeOfStruct;
    ULONG TypeIndex; /* the symbol's type, for SymGetTypeInfo */
    ULONG64 Reserved[2];
    ULONG Index;
    ULONG Size;
    ULONG64 ModBase;
    ULONG Flags;
    ULONG64 Value;
    ULONG64 Address; /* module base + the symbol's relative address */
    ULONG Register;
    ULONG Scope;
    ULONG Tag; /* enum SymTagEnum */
    ULONG NameLen;
    ULONG MaxNameLen;
    CHAR Name[1]; /* NUL-terminated, NameLen characters */
} SYMBOL_INFO, *PSYMBOL_INFO;

/* TI_FINDCHILDREN: the caller sizes the block for Count children. */
typedef struct _TI_FINDCHILDREN_PARAMS {
    ULONG Count;
    ULONG Start;
    ULONG ChildId[1];
} TI_FINDCHILDREN_PARAMS;

/* Extra data for SymLoadModuleEx; accepted and not needed for PDB files. */
typedef struct _MODLOAD_DATA {
    DWORD ssize;
    DWORD ssig;
    PVOID data;
    DWORD size;
    DWORD flags;
} MODLOAD_DATA, *PMODLOAD_DATA;

/* SymGetTypeInfo requests, with the type of the value each one fills. */
typedef enum _IMAGEHLP_SYMBOL_TYPE_INFO {
    TI_GET_SYMTAG = 0,         /* DWORD, enum SymTagEnum */
    TI_GET_SYMNAME = 1,        /* WCHAR*, allocated; release with free() */
    TI_GET_LENGTH = 2,         /* ULONG64: bytes; bits for a bit-field member */
    TI_GET_TYPE = 3,           /* DWORD */
    TI_GET_TYPEID = 4,         /* DWORD */
    TI_GET_BASETYPE = 5,       /* DWORD, enum BasicType */
    TI_GET_ARRAYINDEXTYPEID = 6,
    TI_FINDCHILDREN = 7,       /* TI_FINDCHILDREN_PARAMS */
    TI_GET_DATAKIND = 8,       /* DWORD, enum DataKind */
    TI_GET_ADDRESSOFFSET = 9,
    TI_GET_OFFSET = 10,        /* DWORD, offset of a member in its structure */
    TI_GET_VALUE = 11,
    TI_GET_COUNT = 12,
    TI_GET_CHILDRENCOUNT = 13, /* DWORD */
    TI_GET_BITPOSITION = 14,   /* DWORD */
    TI_GET_VIRTUALBASECLASS = 15,
    TI_GET_VIRTUALTABLESHAPEID = 16,
    TI_GET_VIRTUALBASEPOINTEROFFSET = 17,
    TI_GET_CLASSPARENTID = 18,
    TI_GET_NESTED = 19,
    TI_GET_SYMINDEX = 20,
    TI_GET_LEXICALPARENT = 21,
    TI_GET_ADDRESS = 22,       /* ULONG64, module base + relative address */
    TI_GET_THISADJUST = 23,
    TI_GET_UDTKIND = 24,
    TI_IS_EQUIV_TO = 25,
    TI_GET_CALLING_CONVENTION = 26,
    TI_IS_CLOSE_EQUIV_TO = 27,
    TI_GTIEX_REQS_VALID = 28,
    TI_GET_VIRTUALBASEOFFSET = 29,
    TI_GET_VIRTUALBASEDISPINDEX = 30,
    TI_GET_IS_REFERENCE = 31,
    TI_GET_INDIRECTVIRTUALBASECLASS = 32,
    TI_GET_VIRTUALBASETABLETYPE = 33,
    TI_GET_OBJECTPOINTERTYPE = 34,
    IMAGEHLP_SYMBOL_TYPE_INFO_MAX
} IMAGEHLP_SYMBOL_TYPE_INFO;

/* Symbol tags. */
enum SymTagEnum {
    SymTagNull = 0,
    SymTagExe = 1,
    SymTagCompiland = 2,
    SymTagCompilandDetails = 3,
    SymTagCompilandEnv = 4,
    SymTagFunction = 5,
    SymTagBlock = 6,
    SymTagData = 7,
    SymTagAnnotation = 8,
    SymTagLabel = 9,
    SymTagPublicSymbol = 10,
    SymTagUDT = 11,
    SymTagEnum = 12,
    SymTagFunctionType = 13,
    SymTagPointerType = 14,
    SymTagArrayType = 15,
    SymTagBaseType = 16,
    SymTagTypedef = 17,
    SymTagBaseClass = 18,
    SymTagFriend = 19,
    SymTagFunctionArgType = 20,
    SymTagFuncDebugStart = 21,
    SymTagFuncDebugEnd = 22,
    SymTagUsingNamespace = 23,
    SymTagVTableShape = 24,
    SymTagVTable = 25,
    SymTagCustom = 26,
    SymTagThunk = 27,
    SymTagCustomType = 28,
    SymTagManagedType = 29,
    SymTagDimension = 30,
    SymTagMax
};

/* Where a data symbol lives. */
enum DataKind {
    DataIsUnknown = 0,
    DataIsLocal = 1,
    DataIsStaticLocal = 2,
    DataIsParam = 3,
    DataIsObjectPtr = 4,
    DataIsFileStatic = 5,
    DataIsGlobal = 6,
    DataIsMember = 7,
    DataIsStaticMember = 8,
    DataIsConstant = 9
};

/* Basic types (TI_GET_BASETYPE). */
enum BasicType {
    btNoType = 0,
    btVoid = 1,
    btChar = 2,
    btWChar = 3,
    btInt = 6,
    btUInt = 7,
    btFloat = 8,
    btBCD = 9,
    btBool = 10,
    btLong = 13,
    btULong = 14,
    btCurrency = 25,
    btDate = 26,
    btVariant = 27,
    btComplex = 28,
    btBit = 29,
    btBSTR = 30,
    btHresult = 31,
    btChar16 = 32,
    btChar32 = 33,
    btChar8 = 34
};

/* Called once per enumerated symbol; FALSE stops the enumeration. */
typedef BOOL(CALLBACK* PSYM_ENUMERATESYMBOLS_CALLBACK)(PSYMBOL_INFO pSymInfo, ULONG SymbolSize,
                                                       PVOID UserContext);

BOOL WINAPI SymInitialize(HANDLE hProcess, PCSTR UserSearchPath, BOOL fInvadeProcess);
DWORD64 WINAPI SymLoadModuleEx(HANDLE hProcess, HANDLE hFile, PCSTR ImageName, PCSTR ModuleName,
                               DWORD64 BaseOfDll, DWORD DllSize, PMODLOAD_DATA Data, DWORD Flags);
BOOL WINAPI SymEnumSymbols(HANDLE hProcess, ULONG64 BaseOfDll, PCSTR Mask,
                           PSYM_ENUMERATESYMBOLS_CALLBACK EnumSymbolsCallback, PVOID UserContext);
BOOL WINAPI SymGetTypeInfo(HANDLE hProcess, DWORD64 ModBase, ULONG TypeId,
                           IMAGEHLP_SYMBOL_TYPE_INFO GetType, PVOID pInfo);
DWORD WINAPI SymGetOptions(void);
DWORD WINAPI SymSetOptions(DWORD SymOptions);
BOOL WINAPI SymCleanup(HANDLE hProcess);

#ifdef __cplusplus
}

static_assert(sizeof(WCHAR) == 2, "WCHAR is one UTF-16 code unit");
static_assert(sizeof(DWORD) == 4 && sizeof(ULONG) == 4, "DWORD and ULONG are 32 bits wide");
static_assert(sizeof(SYMBOL_INFO) == 88, "SYMBOL_INFO has the published layout");
#endif

#endif
