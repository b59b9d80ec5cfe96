#ifndef TESTS_PDB_UTIL_DUMP_H
#define TESTS_PDB_UTIL_DUMP_H

// What llvm-pdbutil's text dump ("dump -globals -publics -types
// -section-headers") says about a PDB: the independent reference the PDB
// readers are checked against.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pdb_reference {

struct DataSymbol {
    bool fileStatic = false;  // S_LDATA32; else S_GDATA32
    std::string name;
    uint32_t type = 0;
    uint16_t segment = 0;
    uint32_t offset = 0;
};

struct PublicSymbol {
    std::string name;
    bool function = false;
    uint16_t segment = 0;
    uint32_t offset = 0;
};

struct Member {
    bool isStatic = false;
    std::string name;
    uint32_t type = 0;
    uint64_t offset = 0;
};

// One record of the type stream; which fields mean something depends on kind.
struct TypeRecord {
    std::string kind;  // "LF_STRUCTURE", "LF_ARRAY", ...
    std::string name;
    uint64_t size = 0;           // sizeof of a structure or union, bytes of an array
    uint32_t fieldList = 0;      // tag records
    uint32_t fullDeclaration = 0;  // forward references: where the dump resolves them
    uint32_t referent = 0;       // modifiers and pointers
    uint32_t elementType = 0;    // arrays
    uint32_t underlying = 0;     // enums; bit fields: the field's type
    uint32_t bitOffset = 0;      // bit fields
    uint32_t bitCount = 0;
    uint32_t pointerSize = 0;    // pointers
    std::vector<Member> members; // field lists
};

class PdbUtilDump {
public:
    // Reads the dump file; throws std::runtime_error when it cannot.
    static PdbUtilDump Read(const std::string& path);

    std::vector<uint32_t> sectionAddresses;  // section 1 first
    std::vector<DataSymbol> data;
    std::vector<PublicSymbol> publics;
    std::map<uint32_t, TypeRecord> types;

    uint32_t Rva(uint16_t segment, uint32_t offset) const;
    const DataSymbol* FindData(const std::string& name) const;
    std::vector<const DataSymbol*> FindAllData(const std::string& name) const;
    const PublicSymbol* FindPublic(const std::string& name) const;
    const TypeRecord* Type(uint32_t index) const;
    // Sees through modifiers and forward references; a bit field gives the
    // type of the field.
    uint32_t Resolve(uint32_t index) const;
    // Members of a structure or union (after Resolve), continuations joined.
    std::vector<Member> MembersOf(uint32_t index) const;
};

// Size and pointer size of the built-in types (indices below 0x1000) that
// the fixtures use; nullopt for others.
std::optional<uint64_t> SimpleTypeSize(uint32_t index);

}  // namespace pdb_reference

#endif
