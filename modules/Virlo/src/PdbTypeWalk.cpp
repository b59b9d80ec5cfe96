// The walk from an enumerated symbol through its type: structures into
// their members, arrays into their elements, each entered into the cache
// under its composed name.

#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "ArrayExpansion.h"
#include "VirloParserPdb.h"

namespace {

// Nested steps of the walk of one symbol; a deeper chain of types comes
// from a damaged file, and the walk ends there.
constexpr unsigned kMaxWalkDepth = 512;

// Type indices of the structures whose members are being expanded right
// now; a structure met again inside itself is entered but not expanded.
std::set<uint32_t>& ExpandingTypes() {
    static std::set<uint32_t> types;
    return types;
}

// Type indices of the arrays whose elements are being walked right now; an
// array met again inside itself is entered but not expanded.
std::set<uint32_t>& ExpandingArrays() {
    static std::set<uint32_t> types;
    return types;
}

// Keeps a type index in one of the sets above for the life of the guard,
// also when the walk ends early.
class ExpansionGuard {
public:
    ExpansionGuard(std::set<uint32_t>& expanding, uint32_t typeIndex) : expanding_(expanding), typeIndex_(typeIndex) {
        expanding_.insert(typeIndex);
    }
    ~ExpansionGuard() { expanding_.erase(typeIndex_); }
    ExpansionGuard(const ExpansionGuard&) = delete;
    ExpansionGuard& operator=(const ExpansionGuard&) = delete;

private:
    std::set<uint32_t>& expanding_;
    uint32_t typeIndex_;
};

// The walk of the symbol being entered: how deep it is, and whether it has
// reported an array left unexpanded (one line per symbol is enough).
struct SymbolWalk {
    unsigned depth = 0;
    bool reported = false;
};

SymbolWalk& CurrentWalk() {
    static SymbolWalk walk;
    return walk;
}

// One step of the walk for as long as it runs; the first step begins the
// walk of a new symbol.
class WalkStep {
public:
    WalkStep() {
        SymbolWalk& walk = CurrentWalk();
        if (walk.depth == 0) walk = SymbolWalk{};
        ++walk.depth;
    }
    ~WalkStep() { --CurrentWalk().depth; }
    WalkStep(const WalkStep&) = delete;
    WalkStep& operator=(const WalkStep&) = delete;
};

template <typename Report>
void ReportOnce(Report report) {
    if (CurrentWalk().reported) return;
    CurrentWalk().reported = true;
    report();
}

void AppendUtf8(std::string& text, char32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-8 of a NUL-terminated UTF-16 text; surrogate pairs are joined, a lone
// surrogate becomes U+FFFD.
std::string WideToUtf8(const WCHAR* wide) {
    std::string text;
    for (const WCHAR* unit = wide; *unit != 0; ++unit) {
        char32_t code = *unit;
        if (code >= 0xD800 && code <= 0xDBFF && unit[1] >= 0xDC00 && unit[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit[1] - 0xDC00);
            ++unit;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(text, code);
    }
    return text;
}

// The name of a type child; empty when it has none. The text the library
// hands back is released here, also when it is empty.
std::string ChildName(VirloParserPdb& parser, ULONG child) {
    WCHAR* wide = nullptr;
    if (!SymGetTypeInfo(parser.process, parser.moduleBase, child, TI_GET_SYMNAME, &wide) || wide == nullptr)
        return std::string();
    std::string name = WideToUtf8(wide);
    std::free(wide);
    return name;
}

DWORD QueryDword(VirloParserPdb& parser, uint32_t id, IMAGEHLP_SYMBOL_TYPE_INFO request) {
    DWORD value = 0;
    SymGetTypeInfo(parser.process, parser.moduleBase, id, request, &value);
    return value;
}

ULONG64 QueryUlong64(VirloParserPdb& parser, uint32_t id, IMAGEHLP_SYMBOL_TYPE_INFO request) {
    ULONG64 value = 0;
    SymGetTypeInfo(parser.process, parser.moduleBase, id, request, &value);
    return value;
}

void WalkData(VirloParserPdb& parser, uint64_t address, const std::string& name, uint32_t dataId,
              uint64_t length) {
    switch (QueryDword(parser, dataId, TI_GET_DATAKIND)) {
    case DataIsLocal:
    case DataIsParam:
    case DataIsObjectPtr:
    case DataIsMember: address += QueryDword(parser, dataId, TI_GET_OFFSET); break;
    case DataIsStaticLocal:
    case DataIsFileStatic:
    case DataIsGlobal:
    case DataIsStaticMember: address = QueryUlong64(parser, dataId, TI_GET_ADDRESS); break;
    default: break;
    }
    // Both stay 0 for a member that is no bit field.
    parser.currentRecord.bitOffset = static_cast<uint8_t>(QueryDword(parser, dataId, TI_GET_BITPOSITION));
    parser.currentRecord.bitLength = static_cast<uint8_t>(length);
    const DWORD type = QueryDword(parser, dataId, TI_GET_TYPEID);
    WalkPdbType(parser, address, name, type, QueryDword(parser, type, TI_GET_SYMTAG));
}

void WalkStructure(VirloParserPdb& parser, uint64_t address, const std::string& name, uint32_t typeIndex) {
    if (ExpandingTypes().count(typeIndex) != 0) return;
    const DWORD count = QueryDword(parser, typeIndex, TI_GET_CHILDRENCOUNT);
    // TI_FINDCHILDREN_PARAMS holds room for one child; the block is sized
    // for all of them, zeroed.
    std::vector<ULONG> block(2 + (count > 0 ? count : 1), 0);
    auto* children = reinterpret_cast<TI_FINDCHILDREN_PARAMS*>(block.data());
    children->Count = count;
    SymGetTypeInfo(parser.process, parser.moduleBase, typeIndex, TI_FINDCHILDREN, children);

    const ExpansionGuard guard(ExpandingTypes(), typeIndex);
    for (DWORD index = 0; index < count; ++index) {
        const ULONG child = children->ChildId[index];
        const std::string childName = ChildName(parser, child);
        if (childName.empty()) continue;
        WalkPdbType(parser, address, name + "." + childName, child, QueryDword(parser, child, TI_GET_SYMTAG));
    }
}

// Enters the elements of the array at address: all dimensions but the last
// as arrays of their own, the last through the element type.
void ExpandLevel(VirloParserPdb& parser, const std::vector<ArrayDimension>& dimensions, size_t level,
                 uint64_t address, const std::string& name, uint32_t elementType, uint32_t elementTag) {
    const ArrayDimension& dimension = dimensions[level];
    const bool innermost = level + 1 == dimensions.size();
    for (uint64_t index = 0; index < dimension.count; ++index) {
        const std::string elementName = name + "[" + std::to_string(index) + "]";
        const uint64_t elementAddress = address + index * dimension.elementLength;
        if (innermost) {
            WalkPdbType(parser, elementAddress, elementName, elementType, elementTag);
        } else {
            parser.Enter(elementName, elementAddress - parser.moduleBase, dimension.elementLength,
                         SymbolType_Array, 0, 0);
            ExpandLevel(parser, dimensions, level + 1, elementAddress, elementName, elementType, elementTag);
        }
    }
}

// Expands the array unless its elements would take the file past a bound
// of its budget; the first element, walked alone, shows what each takes.
void ExpandArray(VirloParserPdb& parser, const std::vector<ArrayDimension>& dimensions, uint64_t address,
                 const std::string& name, uint32_t elementType, uint32_t elementTag) {
    std::vector<uint64_t> counts;
    std::string firstElement = name;
    for (const ArrayDimension& dimension : dimensions) {
        if (dimension.count == 0) return;
        counts.push_back(dimension.count);
        firstElement += "[0]";
    }
    const ExpansionCost before = parser.budget.Taken();
    WalkPdbType(parser, address, firstElement, elementType, elementTag);
    if (!parser.budget.Passed().empty()) return;  // the symbol is left out
    const ExpansionCost after = parser.budget.Taken();
    const ExpansionCost first{after.records - before.records, after.characters - before.characters};
    const std::string bound = parser.budget.BoundPassedBy(ArrayExpansionCost(counts, name.size(), first));
    if (!bound.empty()) {
        parser.RemoveElements(name);
        ReportOnce([&] { ReportElementsLeftOut(name, bound); });
        return;
    }
    ExpandLevel(parser, dimensions, 0, address, name, elementType, elementTag);
}

void WalkArray(VirloParserPdb& parser, uint64_t address, const std::string& name, uint32_t typeIndex,
               uint64_t length) {
    // The outer dimension's record stays when the inner dimensions come
    // through here again under the same name.
    if (parser.SymbolCache.count(name) == 0)
        parser.Enter(name, address - parser.moduleBase, length, SymbolType_Array, 0, 0);
    if (ExpandingArrays().count(typeIndex) != 0) {
        ReportOnce([&] { ReportCyclicArray(name); });
        return;
    }
    const ExpansionGuard guard(ExpandingArrays(), typeIndex);
    const DWORD elementType = QueryDword(parser, typeIndex, TI_GET_TYPEID);
    const DWORD elementTag = QueryDword(parser, elementType, TI_GET_SYMTAG);
    const ULONG64 elementLength = QueryUlong64(parser, elementType, TI_GET_LENGTH);
    if (elementLength == 0) return;
    parser.arrayDimensions.push_back({length / elementLength, elementLength});

    if (elementTag == SymTagArrayType) {
        WalkPdbType(parser, address, name, elementType, elementTag);
        parser.arrayDimensions.clear();
        return;
    }
    // The dimensions are taken out of the parser before the elements are
    // walked: an array inside an element structure collects its own.
    const std::vector<ArrayDimension> dimensions = std::move(parser.arrayDimensions);
    parser.arrayDimensions.clear();
    ExpandArray(parser, dimensions, address, name, elementType, elementTag);
}

}  // namespace

void WalkPdbType(VirloParserPdb& parser, uint64_t address, const std::string& name, uint32_t typeIndex,
                 uint32_t tag) {
    if (CurrentWalk().depth >= kMaxWalkDepth || !parser.budget.TakeStep()) return;
    const WalkStep step;
    const ULONG64 length = QueryUlong64(parser, typeIndex, TI_GET_LENGTH);
    if (tag == SymTagData) {
        WalkData(parser, address, name, typeIndex, length);
        return;
    }
    if (address < parser.moduleBase) return;  // below the base: no place in the image
    const uint64_t offset = address - parser.moduleBase;

    switch (tag) {
    case SymTagUDT:
        parser.Enter(name, offset, length, SymbolType_UserDefinedType, 0, 0);
        WalkStructure(parser, address, name, typeIndex);
        break;
    case SymTagEnum:
        // An enum can be a bit field; its position stays as the member set it.
        parser.Enter(name, offset, length, SymbolType_Enumeration, parser.currentRecord.bitOffset,
                     parser.currentRecord.bitLength);
        break;
    case SymTagFunctionType: parser.Enter(name, offset, length, SymbolType_Function, 0, 0); break;
    case SymTagPointerType:
        // The pointed-to type is not walked: that is where self-referencing
        // structures end.
        parser.Enter(name, offset, length, SymbolType_Pointer, 0, 0);
        break;
    case SymTagArrayType: WalkArray(parser, address, name, typeIndex, length); break;
    case SymTagBaseType:
        parser.Enter(name, offset, length, MapPdbBaseType(QueryDword(parser, typeIndex, TI_GET_BASETYPE), length),
                     parser.currentRecord.bitOffset, parser.currentRecord.bitLength);
        break;
    default: break;
    }
}

SymbolType MapPdbBaseType(uint32_t basicType, uint64_t length) {
    switch (basicType) {
    case btNoType: return SymbolType_Unknown;
    case btVoid: return SymbolType_Void;
    case btChar: return SymbolType_s8;
    case btWChar: return SymbolType_u8;
    case btInt:
    case btLong:
        switch (length) {
        case 1: return SymbolType_s8;
        case 2: return SymbolType_s16;
        case 4: return SymbolType_s32;
        case 8: return SymbolType_s64;
        default: return SymbolType_Unknown;
        }
    case btUInt:
    case btULong:
        switch (length) {
        case 1: return SymbolType_u8;
        case 2: return SymbolType_u16;
        case 4: return SymbolType_u32;
        case 8: return SymbolType_u64;
        default: return SymbolType_Unknown;
        }
    case btFloat:
        switch (length) {
        case 4: return SymbolType_float32;
        case 8: return SymbolType_float64;
        default: return SymbolType_Unknown;
        }
    case btBool: return SymbolType_bool;
    default:
        std::fprintf(stderr, "Unhandled base type %u\n", basicType);
        return SymbolType_Unknown;
    }
}
