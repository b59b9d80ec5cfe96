#ifndef DBGHELP_PDB_TYPES_H
#define DBGHELP_PDB_TYPES_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <llvm/ADT/Optional.h>
#include <llvm/DebugInfo/CodeView/CVRecord.h>
#include <llvm/DebugInfo/CodeView/TypeIndex.h>

namespace dbghelp {

// Ids below this are type indices of the type stream (simple or not); from
// it on they name data members of structures, which have no type index of
// their own but are symbols to the caller.
constexpr uint32_t kMemberIdBase = 0x80000000u;

// One data member of a structure, class or union.
struct DataMember {
    std::string name;
    uint32_t type = 0;  // resolved: modifiers, bit field and forward reference seen through
    uint64_t offset = 0;
    bool isStatic = false;
    bool isBitField = false;
    uint32_t bitPosition = 0;
    uint32_t bitLength = 0;
    std::string qualifiedName;  // static members: "Owner::name", the name of their storage
};

// Answers questions about the types of one PDB's type stream. Every query
// first sees through const/volatile modifiers and replaces a forward
// reference of a structure, union or enum by its full declaration, so the
// caller meets each type in its complete form.
class PdbTypes {
public:
    // Indexes the records of the type stream's record array, the first at
    // index 0x1000, up to the first damaged one: the stream's own records
    // say which indices exist, not its header or its hash stream.
    explicit PdbTypes(const llvm::codeview::CVTypeArray& records);

    uint32_t Resolve(uint32_t id);

    bool Tag(uint32_t id, uint32_t& tag);
    // Bytes of a type; bits of a bit-field member; no answer for other members.
    bool Length(uint32_t id, uint64_t& length);
    // Type of a member, pointee of a pointer, element of an array, underlying
    // type of an enum.
    bool TypeId(uint32_t id, uint32_t& typeId);
    bool BaseType(uint32_t id, uint32_t& basicType);
    bool Name(uint32_t id, std::string& name);
    // The member ids of a structure, class or union, in declaration order;
    // null for anything else.
    const std::vector<uint32_t>* Children(uint32_t id);
    const DataMember* Member(uint32_t id) const;

private:
    struct TagFacts {
        uint16_t kind = 0;
        bool forwardRef = false;
        bool hasUniqueName = false;
        std::string name;
        std::string uniqueName;
        llvm::codeview::TypeIndex fieldList;
        llvm::codeview::TypeIndex underlying;  // enums
        uint64_t size = 0;                     // structures, classes, unions
    };

    llvm::Optional<llvm::codeview::CVType> Record(llvm::codeview::TypeIndex index);
    static bool IsTagKind(uint16_t kind);
    bool ReadTag(llvm::codeview::CVType& record, TagFacts& facts);
    llvm::codeview::TypeIndex StripModifiers(llvm::codeview::TypeIndex index);
    uint32_t FullDeclaration(const TagFacts& forward);
    void IndexFullDeclarations();
    std::vector<uint32_t> CollectMembers(const TagFacts& owner);

    std::vector<llvm::codeview::CVType> records_;
    std::vector<DataMember> members_;
    std::unordered_map<uint32_t, std::vector<uint32_t>> children_;
    bool declarationsIndexed_ = false;
    std::unordered_map<std::string, uint32_t> byUniqueName_;
    std::unordered_map<std::string, uint32_t> byName_;
};

}  // namespace dbghelp

#endif
