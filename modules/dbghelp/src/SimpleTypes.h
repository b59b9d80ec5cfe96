#ifndef DBGHELP_SIMPLE_TYPES_H
#define DBGHELP_SIMPLE_TYPES_H

#include <cstdint>

#include <llvm/DebugInfo/CodeView/TypeIndex.h>

namespace dbghelp {

// What a type index below 0x1000 stands for. Such indices name built-in types
// (and pointers to them) without a record in the type stream, so their sizes
// come from this table: an array of them carries only its total size.
struct SimpleTypeFacts {
    uint32_t basicType = 0;  // enum BasicType
    uint64_t length = 0;     // bytes
};

// The built-in type of a simple kind; false for kinds without one.
bool DescribeSimpleKind(llvm::codeview::SimpleTypeKind kind, SimpleTypeFacts& facts);

// Size of a pointer of the given simple mode; 0 for Direct (no pointer).
uint64_t SimplePointerLength(llvm::codeview::SimpleTypeMode mode);

}  // namespace dbghelp

#endif
