// SymGetTypeInfo, request by request, checked against the reference dump.

#include <map>
#include <set>

#include "DbghelpTestSupport.h"

using namespace dbghelp_test;
using pdb_reference::PdbUtilDump;

namespace {

constexpr ULONG kFirstMemberId = 0x80000000u;

Enumerated Find(const Session& session, const std::string& name) {
    const auto symbols = session.Enumerate(name.c_str());
    EXPECT_EQ(symbols.size(), 1u) << name;
    return symbols.empty() ? Enumerated{} : symbols.front();
}

// The child of a structure with the given name.
ULONG ChildNamed(const Session& session, ULONG type, const std::string& name) {
    for (ULONG child : session.Children(type))
        if (session.Name(child) == U16(name)) return child;
    ADD_FAILURE() << "no member " << name;
    return 0;
}

uint32_t ExpectedTag(const PdbUtilDump& dump, uint32_t type) {
    if (type < 0x1000) return (type & 0x700) != 0 ? SymTagPointerType : SymTagBaseType;
    const std::string kind = dump.Type(type)->kind;
    if (kind == "LF_STRUCTURE" || kind == "LF_CLASS" || kind == "LF_UNION") return SymTagUDT;
    if (kind == "LF_ARRAY") return SymTagArrayType;
    if (kind == "LF_POINTER") return SymTagPointerType;
    if (kind == "LF_ENUM") return SymTagEnum;
    return SymTagNull;
}

uint64_t ExpectedLength(const PdbUtilDump& dump, uint32_t type) {
    if (type < 0x1000) return pdb_reference::SimpleTypeSize(type).value_or(~0ull);
    const auto* record = dump.Type(type);
    if (record->kind == "LF_POINTER") return record->pointerSize;
    if (record->kind == "LF_ENUM") return ExpectedLength(dump, record->underlying);
    return record->size;
}

// Compares everything the library says about a type (and, through members
// and elements, the types inside it) with the reference.
class TypeComparison {
public:
    TypeComparison(const Session& session, const PdbUtilDump& dump) : session_(session), dump_(dump) {}

    void Compare(ULONG id, uint32_t referenceType, const std::string& path) {
        referenceType = dump_.Resolve(referenceType);
        SCOPED_TRACE(path);
        EXPECT_EQ(id, referenceType);
        EXPECT_EQ(session_.Dword(id, TI_GET_SYMTAG), DWORD{ExpectedTag(dump_, referenceType)});
        EXPECT_EQ(session_.Ulong64(id, TI_GET_LENGTH), ExpectedLength(dump_, referenceType));
        if (!compared_.insert(referenceType).second) return;

        if (referenceType < 0x1000) {
            if ((referenceType & 0x700) != 0) {
                EXPECT_EQ(session_.Dword(id, TI_GET_TYPEID), DWORD{referenceType & 0xFF});
            }
            return;
        }
        const auto* record = dump_.Type(referenceType);
        if (record->kind == "LF_ARRAY") {
            EXPECT_EQ(session_.Dword(id, TI_GET_TYPEID), DWORD{dump_.Resolve(record->elementType)});
            Compare(session_.Dword(id, TI_GET_TYPEID).value_or(0), record->elementType, path + "[]");
        } else if (record->kind == "LF_POINTER") {
            EXPECT_EQ(session_.Dword(id, TI_GET_TYPEID), DWORD{dump_.Resolve(record->referent)});
        } else if (record->kind == "LF_ENUM") {
            EXPECT_EQ(session_.Dword(id, TI_GET_TYPEID), DWORD{record->underlying});
        } else {
            EXPECT_EQ(session_.Name(id), U16(record->name));
            CompareMembers(id, referenceType, record->name, path);
        }
    }

private:
    void CompareMembers(ULONG id, uint32_t referenceType, const std::string& owner, const std::string& path) {
        const auto members = dump_.MembersOf(referenceType);
        const auto children = session_.Children(id);
        EXPECT_EQ(session_.Dword(id, TI_GET_CHILDRENCOUNT), DWORD(members.size()));
        ASSERT_EQ(children.size(), members.size());
        for (size_t index = 0; index < members.size(); ++index) {
            const auto& member = members[index];
            const ULONG child = children[index];
            const std::string memberPath = path + "." + member.name;
            SCOPED_TRACE(memberPath);
            EXPECT_GE(child, kFirstMemberId);
            EXPECT_EQ(session_.Dword(child, TI_GET_SYMTAG), DWORD{SymTagData});
            EXPECT_EQ(session_.Name(child), U16(member.name));
            EXPECT_EQ(session_.Dword(child, TI_GET_TYPEID), DWORD{dump_.Resolve(member.type)});
            const auto* bitField = dump_.Type(member.type);
            if (bitField != nullptr && bitField->kind == "LF_BITFIELD") {
                EXPECT_EQ(session_.Dword(child, TI_GET_BITPOSITION), DWORD{bitField->bitOffset});
                EXPECT_EQ(session_.Ulong64(child, TI_GET_LENGTH), ULONG64{bitField->bitCount});
            } else {
                EXPECT_FALSE(session_.Dword(child, TI_GET_BITPOSITION).has_value());
                EXPECT_FALSE(session_.Ulong64(child, TI_GET_LENGTH).has_value());
            }
            if (member.isStatic) {
                EXPECT_EQ(session_.Dword(child, TI_GET_DATAKIND), DWORD{DataIsStaticMember});
                EXPECT_FALSE(session_.Dword(child, TI_GET_OFFSET).has_value());
                const auto* storage = dump_.FindData(owner + "::" + member.name);
                ASSERT_NE(storage, nullptr);
                EXPECT_EQ(session_.Ulong64(child, TI_GET_ADDRESS),
                          session_.Base() + dump_.Rva(storage->segment, storage->offset));
            } else {
                EXPECT_EQ(session_.Dword(child, TI_GET_DATAKIND), DWORD{DataIsMember});
                EXPECT_EQ(session_.Dword(child, TI_GET_OFFSET), DWORD(member.offset));
                EXPECT_FALSE(session_.Ulong64(child, TI_GET_ADDRESS).has_value());
            }
            Compare(session_.Dword(child, TI_GET_TYPEID).value_or(0), member.type, memberPath);
        }
    }

    const Session& session_;
    const PdbUtilDump& dump_;
    std::set<uint32_t> compared_;
};

}  // namespace

TEST(DbghelpTypeInfo, EveryTypeReachedFromTheGlobalsMatchesTheReference) {
    Session session;
    const PdbUtilDump& dump = TypesDump();
    TypeComparison comparison(session, dump);
    std::map<std::string, ULONG> types;
    for (const Enumerated& symbol : session.Enumerate())
        if (symbol.tag == SymTagData) types[symbol.name] = symbol.typeIndex;
    for (const auto& reference : dump.data) comparison.Compare(types.at(reference.name), reference.type, reference.name);
}

TEST(DbghelpTypeInfo, BaseTypesHaveTheirBasicTypeAndLength) {
    Session session;
    const std::map<std::string, std::pair<DWORD, ULONG64>> expected = {
        {"g_char", {btChar, 1}},       {"g_schar", {btChar, 1}},     {"g_uchar", {btUInt, 1}},
        {"g_short", {btInt, 2}},       {"g_ushort", {btUInt, 2}},    {"g_int", {btInt, 4}},
        {"g_uint", {btUInt, 4}},       {"g_long", {btLong, 4}},      {"g_ulong", {btULong, 4}},
        {"g_llong", {btInt, 8}},       {"g_ullong", {btUInt, 8}},    {"g_float", {btFloat, 4}},
        {"g_double", {btFloat, 8}},    {"g_ldouble", {btFloat, 8}},  {"g_bool", {btBool, 1}},
        {"g_wchar", {btWChar, 2}},     {"g_char16", {btChar16, 2}},  {"g_char32", {btChar32, 4}},
        {"g_cpp_bool", {btBool, 1}},   {"g_const", {btInt, 4}},      {"g_volatile", {btUInt, 2}},
    };
    for (const auto& [name, facts] : expected) {
        const Enumerated symbol = Find(session, name);
        EXPECT_EQ(session.Dword(symbol.typeIndex, TI_GET_SYMTAG), DWORD{SymTagBaseType}) << name;
        EXPECT_EQ(session.Dword(symbol.typeIndex, TI_GET_BASETYPE), facts.first) << name;
        EXPECT_EQ(session.Ulong64(symbol.typeIndex, TI_GET_LENGTH), facts.second) << name;
        // Base types have no name, no children and no further type.
        EXPECT_FALSE(session.Name(symbol.typeIndex).has_value()) << name;
        EXPECT_FALSE(session.Dword(symbol.typeIndex, TI_GET_CHILDRENCOUNT).has_value()) << name;
        EXPECT_FALSE(session.Dword(symbol.typeIndex, TI_GET_TYPEID).has_value()) << name;
    }
}

TEST(DbghelpTypeInfo, PointersEnumsAndArraysLeadToTheirInnerTypes) {
    Session session;
    const Enumerated pointer = Find(session, "g_int_pointer");
    EXPECT_EQ(session.Dword(pointer.typeIndex, TI_GET_SYMTAG), DWORD{SymTagPointerType});
    EXPECT_EQ(session.Ulong64(pointer.typeIndex, TI_GET_LENGTH), ULONG64{8});
    const DWORD pointee = session.Dword(pointer.typeIndex, TI_GET_TYPEID).value_or(0);
    EXPECT_EQ(session.Dword(pointee, TI_GET_BASETYPE), DWORD{btInt});

    const Enumerated mode = Find(session, "g_mode");
    EXPECT_EQ(session.Dword(mode.typeIndex, TI_GET_SYMTAG), DWORD{SymTagEnum});
    EXPECT_EQ(session.Name(mode.typeIndex), U16("Mode"));
    EXPECT_EQ(session.Ulong64(mode.typeIndex, TI_GET_LENGTH), ULONG64{4});

    // int g_cube[2][2][2]: arrays of arrays, each knowing only its total size.
    const Enumerated cube = Find(session, "g_cube");
    ULONG level = cube.typeIndex;
    for (const ULONG64 length : {32u, 16u, 8u}) {
        EXPECT_EQ(session.Dword(level, TI_GET_SYMTAG), DWORD{SymTagArrayType});
        EXPECT_EQ(session.Ulong64(level, TI_GET_LENGTH), length);
        level = session.Dword(level, TI_GET_TYPEID).value_or(0);
    }
    EXPECT_EQ(session.Dword(level, TI_GET_BASETYPE), DWORD{btInt});
}

TEST(DbghelpTypeInfo, ForwardReferencesAndModifiersAreSeenThrough) {
    Session session;
    const PdbUtilDump& dump = TypesDump();
    // The member refers to Inner by a forward reference; the answer is the
    // full declaration with its members.
    const Enumerated outer = Find(session, "g_outer");
    const ULONG inner = ChildNamed(session, outer.typeIndex, "inner");
    const DWORD innerType = session.Dword(inner, TI_GET_TYPEID).value_or(0);
    const auto* record = dump.Type(innerType);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->name, "Inner");
    EXPECT_EQ(record->fullDeclaration, 0u) << "still the forward reference";
    EXPECT_EQ(session.Children(innerType).size(), 2u);

    // const volatile short: the member's type is short.
    const Enumerated bits = Find(session, "g_bits");
    const ULONG cv = ChildNamed(session, bits.typeIndex, "cv");
    EXPECT_EQ(session.Dword(cv, TI_GET_TYPEID), DWORD{0x11});
    // A const global's type is its plain type.
    EXPECT_EQ(Find(session, "g_const").typeIndex, 0x74u);
}

TEST(DbghelpTypeInfo, BitFieldsOfAnyTypeKeepTheirPosition) {
    Session session;
    const Enumerated bits = Find(session, "g_bits");
    const ULONG f = ChildNamed(session, bits.typeIndex, "f");
    EXPECT_EQ(session.Dword(f, TI_GET_BITPOSITION), DWORD{5});
    EXPECT_EQ(session.Ulong64(f, TI_GET_LENGTH), ULONG64{3});
    EXPECT_EQ(session.Dword(f, TI_GET_OFFSET), DWORD{4});
    const ULONG mode = ChildNamed(session, bits.typeIndex, "mode");
    EXPECT_EQ(session.Ulong64(mode, TI_GET_LENGTH), ULONG64{4});
    EXPECT_EQ(session.Dword(session.Dword(mode, TI_GET_TYPEID).value_or(0), TI_GET_SYMTAG), DWORD{SymTagEnum});
}

TEST(DbghelpTypeInfo, StaticMembersLiveAtTheirOwnAddress) {
    Session session;
    const Enumerated counter = Find(session, "g_counter");
    const ULONG instances = ChildNamed(session, counter.typeIndex, "instances");
    EXPECT_EQ(session.Dword(instances, TI_GET_DATAKIND), DWORD{DataIsStaticMember});
    EXPECT_EQ(session.Ulong64(instances, TI_GET_ADDRESS), Find(session, "Counter::instances").address);

    const ULONG limits = ChildNamed(session, counter.typeIndex, "limits");
    const DWORD limitsType = session.Dword(limits, TI_GET_TYPEID).value_or(0);
    EXPECT_EQ(session.Name(limitsType), U16("Counter::Limits"));
    const ULONG maximum = ChildNamed(session, limitsType, "maximum");
    EXPECT_EQ(session.Ulong64(maximum, TI_GET_ADDRESS), Find(session, "Counter::Limits::maximum").address);
}

TEST(DbghelpTypeInfo, ChildrenAreFilledFromStartUpToCount) {
    Session session;
    const Enumerated bits = Find(session, "g_bits");
    const auto all = session.Children(bits.typeIndex);
    ASSERT_EQ(all.size(), 6u);

    std::vector<ULONG> block(2 + all.size() + 1, 0);
    auto* params = reinterpret_cast<TI_FINDCHILDREN_PARAMS*>(block.data());
    params->Count = static_cast<ULONG>(all.size() + 1);
    EXPECT_FALSE(SymGetTypeInfo(session.Process(), session.Base(), bits.typeIndex, TI_FINDCHILDREN, params));

    params->Count = static_cast<ULONG>(all.size());
    params->Start = 2;
    ASSERT_TRUE(SymGetTypeInfo(session.Process(), session.Base(), bits.typeIndex, TI_FINDCHILDREN, params));
    EXPECT_EQ(params->ChildId[0], 0u);
    EXPECT_EQ(params->ChildId[1], 0u);
    for (size_t index = 2; index < all.size(); ++index) EXPECT_EQ(params->ChildId[index], all[index]);
}

TEST(DbghelpTypeInfo, UnknownIdsAndRequestsGiveNoAnswer) {
    Session session;
    for (const ULONG id : {0u, 0x7FFFFFFFu, 0x10000u, kFirstMemberId + 100000u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(session.Dword(id, TI_GET_SYMTAG).has_value()) << id;
        EXPECT_FALSE(session.Ulong64(id, TI_GET_LENGTH).has_value()) << id;
        EXPECT_FALSE(session.Name(id).has_value()) << id;
    }
    const Enumerated outer = Find(session, "g_outer");
    EXPECT_FALSE(session.Dword(outer.typeIndex, TI_GET_DATAKIND).has_value());
    EXPECT_FALSE(session.Dword(outer.typeIndex, TI_GET_OFFSET).has_value());
    EXPECT_FALSE(session.Dword(outer.typeIndex, TI_GET_VALUE).has_value());
    EXPECT_FALSE(SymGetTypeInfo(session.Process(), session.Base(), outer.typeIndex, TI_GET_LENGTH, nullptr));
    ULONG64 length = 0;
    EXPECT_FALSE(SymGetTypeInfo(session.Process(), session.Base() + 8, outer.typeIndex, TI_GET_LENGTH, &length));
}
