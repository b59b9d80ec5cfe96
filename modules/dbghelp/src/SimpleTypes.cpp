#include "SimpleTypes.h"

#include "dbghelp/DbgHelp.h"

namespace dbghelp {

using llvm::codeview::SimpleTypeKind;
using llvm::codeview::SimpleTypeMode;

bool DescribeSimpleKind(SimpleTypeKind kind, SimpleTypeFacts& facts) {
    switch (kind) {
    case SimpleTypeKind::Void: facts = {btVoid, 0}; return true;
    case SimpleTypeKind::NotTranslated: facts = {btNoType, 0}; return true;
    case SimpleTypeKind::HResult: facts = {btHresult, 4}; return true;
    // Plain and signed char are both characters; unsigned char is a small
    // unsigned integer.
    case SimpleTypeKind::NarrowCharacter:
    case SimpleTypeKind::SignedCharacter: facts = {btChar, 1}; return true;
    case SimpleTypeKind::UnsignedCharacter: facts = {btUInt, 1}; return true;
    case SimpleTypeKind::WideCharacter: facts = {btWChar, 2}; return true;
    case SimpleTypeKind::Character16: facts = {btChar16, 2}; return true;
    case SimpleTypeKind::Character32: facts = {btChar32, 4}; return true;
    case SimpleTypeKind::SByte: facts = {btInt, 1}; return true;
    case SimpleTypeKind::Byte: facts = {btUInt, 1}; return true;
    case SimpleTypeKind::Int16Short:
    case SimpleTypeKind::Int16: facts = {btInt, 2}; return true;
    case SimpleTypeKind::UInt16Short:
    case SimpleTypeKind::UInt16: facts = {btUInt, 2}; return true;
    // "long" keeps a basic type of its own.
    case SimpleTypeKind::Int32Long: facts = {btLong, 4}; return true;
    case SimpleTypeKind::UInt32Long: facts = {btULong, 4}; return true;
    case SimpleTypeKind::Int32: facts = {btInt, 4}; return true;
    case SimpleTypeKind::UInt32: facts = {btUInt, 4}; return true;
    case SimpleTypeKind::Int64Quad:
    case SimpleTypeKind::Int64: facts = {btInt, 8}; return true;
    case SimpleTypeKind::UInt64Quad:
    case SimpleTypeKind::UInt64: facts = {btUInt, 8}; return true;
    case SimpleTypeKind::Int128Oct:
    case SimpleTypeKind::Int128: facts = {btInt, 16}; return true;
    case SimpleTypeKind::UInt128Oct:
    case SimpleTypeKind::UInt128: facts = {btUInt, 16}; return true;
    case SimpleTypeKind::Float16: facts = {btFloat, 2}; return true;
    case SimpleTypeKind::Float32:
    case SimpleTypeKind::Float32PartialPrecision: facts = {btFloat, 4}; return true;
    case SimpleTypeKind::Float48: facts = {btFloat, 6}; return true;
    case SimpleTypeKind::Float64: facts = {btFloat, 8}; return true;
    case SimpleTypeKind::Float80: facts = {btFloat, 10}; return true;
    case SimpleTypeKind::Float128: facts = {btFloat, 16}; return true;
    case SimpleTypeKind::Complex16: facts = {btComplex, 4}; return true;
    case SimpleTypeKind::Complex32:
    case SimpleTypeKind::Complex32PartialPrecision: facts = {btComplex, 8}; return true;
    case SimpleTypeKind::Complex48: facts = {btComplex, 12}; return true;
    case SimpleTypeKind::Complex64: facts = {btComplex, 16}; return true;
    case SimpleTypeKind::Complex80: facts = {btComplex, 20}; return true;
    case SimpleTypeKind::Complex128: facts = {btComplex, 32}; return true;
    case SimpleTypeKind::Boolean8: facts = {btBool, 1}; return true;
    case SimpleTypeKind::Boolean16: facts = {btBool, 2}; return true;
    case SimpleTypeKind::Boolean32: facts = {btBool, 4}; return true;
    case SimpleTypeKind::Boolean64: facts = {btBool, 8}; return true;
    case SimpleTypeKind::Boolean128: facts = {btBool, 16}; return true;
    case SimpleTypeKind::None: break;
    }
    // char8_t has no name in this LLVM's enumeration.
    if (static_cast<uint32_t>(kind) == 0x7c) {
        facts = {btChar8, 1};
        return true;
    }
    return false;
}

uint64_t SimplePointerLength(SimpleTypeMode mode) {
    switch (mode) {
    case SimpleTypeMode::Direct: return 0;
    case SimpleTypeMode::NearPointer: return 2;
    case SimpleTypeMode::FarPointer:
    case SimpleTypeMode::HugePointer:
    case SimpleTypeMode::NearPointer32: return 4;
    case SimpleTypeMode::FarPointer32: return 6;
    case SimpleTypeMode::NearPointer64: return 8;
    case SimpleTypeMode::NearPointer128: return 16;
    }
    return 0;
}

}  // namespace dbghelp
