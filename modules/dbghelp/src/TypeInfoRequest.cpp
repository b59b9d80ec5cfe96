#include "TypeInfoRequest.h"

#include "WideName.h"

namespace dbghelp {
namespace {

// Each answer is computed before it is stored: the value must not be read
// before the query has filled it.
template <typename Value>
BOOL Store(bool answered, Value value, PVOID info) {
    if (!answered) return FALSE;
    *static_cast<Value*>(info) = value;
    return TRUE;
}

BOOL FindChildren(PdbTypes& types, ULONG id, TI_FINDCHILDREN_PARAMS* params) {
    const std::vector<uint32_t>* children = types.Children(id);
    // The caller sized ChildId for Count entries; more than there are
    // children cannot be filled.
    if (children == nullptr || params->Count > children->size()) return FALSE;
    for (ULONG index = params->Start; index < params->Count; ++index) params->ChildId[index] = (*children)[index];
    return TRUE;
}

}  // namespace

BOOL AnswerTypeInfo(LoadedModule& module, ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO request, PVOID info) {
    if (!module.pdb || info == nullptr) return FALSE;
    PdbTypes& types = module.pdb->Types();
    const DataMember* member = types.Member(id);
    uint32_t value32 = 0;
    uint64_t value64 = 0;

    switch (request) {
    case TI_GET_SYMTAG: {
        const bool answered = types.Tag(id, value32);
        return Store<DWORD>(answered, value32, info);
    }
    case TI_GET_SYMNAME: {
        std::string name;
        if (!types.Name(id, name)) return FALSE;
        WCHAR* wide = AllocateWideName(name);
        return Store<WCHAR*>(wide != nullptr, wide, info);
    }
    case TI_GET_LENGTH: {
        const bool answered = types.Length(id, value64);
        return Store<ULONG64>(answered, value64, info);
    }
    case TI_GET_TYPEID: {
        const bool answered = types.TypeId(id, value32);
        return Store<DWORD>(answered, value32, info);
    }
    case TI_GET_BASETYPE: {
        const bool answered = types.BaseType(id, value32);
        return Store<DWORD>(answered, value32, info);
    }
    case TI_FINDCHILDREN: return FindChildren(types, id, static_cast<TI_FINDCHILDREN_PARAMS*>(info));
    case TI_GET_CHILDRENCOUNT: {
        const std::vector<uint32_t>* children = types.Children(id);
        return Store<DWORD>(children != nullptr, children != nullptr ? static_cast<DWORD>(children->size()) : 0,
                            info);
    }
    case TI_GET_DATAKIND:
        if (member == nullptr) return FALSE;
        return Store<DWORD>(true, member->isStatic ? DataIsStaticMember : DataIsMember, info);
    case TI_GET_OFFSET:
        if (member == nullptr || member->isStatic) return FALSE;
        return Store<DWORD>(true, static_cast<DWORD>(member->offset), info);
    case TI_GET_BITPOSITION:
        if (member == nullptr || !member->isBitField) return FALSE;
        return Store<DWORD>(true, member->bitPosition, info);
    case TI_GET_ADDRESS: {
        uint32_t rva = 0;
        if (member == nullptr || !member->isStatic || !module.pdb->DataAddress(member->qualifiedName, rva))
            return FALSE;
        return Store<ULONG64>(true, module.base + rva, info);
    }
    default: return FALSE;
    }
}

}  // namespace dbghelp
