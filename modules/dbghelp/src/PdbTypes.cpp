#include "PdbTypes.h"

#include <unordered_set>

#include <llvm/DebugInfo/CodeView/CVTypeVisitor.h>
#include <llvm/DebugInfo/CodeView/LazyRandomTypeCollection.h>
#include <llvm/DebugInfo/CodeView/TypeDeserializer.h>
#include <llvm/DebugInfo/CodeView/TypeRecord.h>
#include <llvm/DebugInfo/CodeView/TypeVisitorCallbacks.h>

#include "SimpleTypes.h"
#include "dbghelp/DbgHelp.h"

namespace dbghelp {

using namespace llvm::codeview;

namespace {

// Chains of modifiers and continuations are short; a longer one only comes
// from a damaged file and must not loop forever.
constexpr int kMaxChain = 64;

// Reads a record of a known kind; false (error consumed) when it is damaged.
template <typename RecordType>
bool Deserialize(CVType& record, RecordType& result) {
    if (auto error = TypeDeserializer::deserializeAs(record, result)) {
        llvm::consumeError(std::move(error));
        return false;
    }
    return true;
}

// The members of one field-list record, and where the list continues.
class FieldCollector : public TypeVisitorCallbacks {
public:
    struct Field {
        bool isStatic;
        TypeIndex type;
        uint64_t offset;
        std::string name;
    };
    std::vector<Field> fields;
    TypeIndex continuation;

    llvm::Error visitKnownMember(CVMemberRecord&, DataMemberRecord& record) override {
        fields.push_back({false, record.getType(), record.getFieldOffset(), record.getName().str()});
        return llvm::Error::success();
    }
    llvm::Error visitKnownMember(CVMemberRecord&, StaticDataMemberRecord& record) override {
        fields.push_back({true, record.getType(), 0, record.getName().str()});
        return llvm::Error::success();
    }
    llvm::Error visitKnownMember(CVMemberRecord&, ListContinuationRecord& record) override {
        continuation = record.getContinuationIndex();
        return llvm::Error::success();
    }
};

std::string DeclarationKey(uint16_t kind, const std::string& name) {
    // class, struct and interface may name one type under different keywords
    const char group = kind == static_cast<uint16_t>(LF_UNION)  ? 'u'
                       : kind == static_cast<uint16_t>(LF_ENUM) ? 'e'
                                                                : 'c';
    return std::string(1, group) + name;
}

}  // namespace

PdbTypes::PdbTypes(const CVTypeArray& records) {
    for (const CVType& record : records) records_.push_back(record);
}

llvm::Optional<CVType> PdbTypes::Record(TypeIndex index) {
    if (index.isSimple() || index.toArrayIndex() >= records_.size()) return llvm::None;
    return records_[index.toArrayIndex()];
}

bool PdbTypes::IsTagKind(uint16_t kind) {
    switch (static_cast<TypeLeafKind>(kind)) {
    case LF_CLASS:
    case LF_STRUCTURE:
    case LF_INTERFACE:
    case LF_UNION:
    case LF_ENUM: return true;
    default: return false;
    }
}

bool PdbTypes::ReadTag(CVType& record, TagFacts& facts) {
    facts = TagFacts();
    facts.kind = static_cast<uint16_t>(record.kind());
    const TagRecord* tag = nullptr;
    ClassRecord classRecord(static_cast<TypeRecordKind>(record.kind()));
    UnionRecord unionRecord(TypeRecordKind::Union);
    EnumRecord enumRecord(TypeRecordKind::Enum);
    switch (record.kind()) {
    case LF_CLASS:
    case LF_STRUCTURE:
    case LF_INTERFACE:
        if (!Deserialize(record, classRecord)) return false;
        tag = &classRecord;
        facts.size = classRecord.getSize();
        break;
    case LF_UNION:
        if (!Deserialize(record, unionRecord)) return false;
        tag = &unionRecord;
        facts.size = unionRecord.getSize();
        break;
    case LF_ENUM:
        if (!Deserialize(record, enumRecord)) return false;
        tag = &enumRecord;
        facts.underlying = enumRecord.getUnderlyingType();
        break;
    default: return false;
    }
    facts.forwardRef = tag->isForwardRef();
    facts.hasUniqueName = tag->hasUniqueName();
    facts.name = tag->getName().str();
    facts.uniqueName = tag->getUniqueName().str();
    facts.fieldList = tag->getFieldList();
    return true;
}

void PdbTypes::IndexFullDeclarations() {
    declarationsIndexed_ = true;
    TypeIndex index(TypeIndex::FirstNonSimpleIndex);
    for (CVType& record : records_) {
        const uint16_t kind = static_cast<uint16_t>(record.kind());
        TagFacts facts;
        if (IsTagKind(kind) && ReadTag(record, facts) && !facts.forwardRef) {
            // The first full declaration of a name wins.
            if (facts.hasUniqueName)
                byUniqueName_.emplace(DeclarationKey(kind, facts.uniqueName), index.getIndex());
            byName_.emplace(DeclarationKey(kind, facts.name), index.getIndex());
        }
        ++index;
    }
}

uint32_t PdbTypes::FullDeclaration(const TagFacts& forward) {
    if (!declarationsIndexed_) IndexFullDeclarations();
    if (forward.hasUniqueName) {
        const auto found = byUniqueName_.find(DeclarationKey(forward.kind, forward.uniqueName));
        if (found != byUniqueName_.end()) return found->second;
    }
    const auto found = byName_.find(DeclarationKey(forward.kind, forward.name));
    return found != byName_.end() ? found->second : 0;
}

TypeIndex PdbTypes::StripModifiers(TypeIndex index) {
    for (int step = 0; step < kMaxChain; ++step) {
        auto record = Record(index);
        if (!record || record->kind() != LF_MODIFIER) return index;
        ModifierRecord modifier(TypeRecordKind::Modifier);
        if (!Deserialize(*record, modifier)) return index;
        index = modifier.getModifiedType();
    }
    return index;
}

uint32_t PdbTypes::Resolve(uint32_t id) {
    if (id >= kMemberIdBase) return id;
    const TypeIndex index = StripModifiers(TypeIndex(id));
    auto record = Record(index);
    if (!record || !IsTagKind(static_cast<uint16_t>(record->kind()))) return index.getIndex();
    TagFacts facts;
    if (!ReadTag(*record, facts) || !facts.forwardRef) return index.getIndex();
    const uint32_t full = FullDeclaration(facts);
    return full != 0 ? full : index.getIndex();
}

const DataMember* PdbTypes::Member(uint32_t id) const {
    if (id < kMemberIdBase || id - kMemberIdBase >= members_.size()) return nullptr;
    return &members_[id - kMemberIdBase];
}

bool PdbTypes::Tag(uint32_t id, uint32_t& tag) {
    id = Resolve(id);
    if (id >= kMemberIdBase) {
        if (Member(id) == nullptr) return false;
        tag = SymTagData;
        return true;
    }
    const TypeIndex index(id);
    if (index.isSimple()) {
        if (index.isNoneType()) return false;
        if (index.getSimpleMode() != SimpleTypeMode::Direct) {
            tag = SymTagPointerType;
            return true;
        }
        SimpleTypeFacts facts;
        if (!DescribeSimpleKind(index.getSimpleKind(), facts)) return false;
        tag = SymTagBaseType;
        return true;
    }
    auto record = Record(index);
    if (!record) return false;
    switch (record->kind()) {
    case LF_POINTER: tag = SymTagPointerType; return true;
    case LF_CLASS:
    case LF_STRUCTURE:
    case LF_INTERFACE:
    case LF_UNION: tag = SymTagUDT; return true;
    case LF_ENUM: tag = SymTagEnum; return true;
    case LF_ARRAY: tag = SymTagArrayType; return true;
    case LF_PROCEDURE:
    case LF_MFUNCTION: tag = SymTagFunctionType; return true;
    default: return false;
    }
}

bool PdbTypes::Length(uint32_t id, uint64_t& length) {
    id = Resolve(id);
    if (id >= kMemberIdBase) {
        const DataMember* member = Member(id);
        if (member == nullptr || !member->isBitField) return false;
        length = member->bitLength;
        return true;
    }
    const TypeIndex index(id);
    if (index.isSimple()) {
        if (index.isNoneType()) return false;
        if (index.getSimpleMode() != SimpleTypeMode::Direct) {
            length = SimplePointerLength(index.getSimpleMode());
            return true;
        }
        SimpleTypeFacts facts;
        if (!DescribeSimpleKind(index.getSimpleKind(), facts)) return false;
        length = facts.length;
        return true;
    }
    auto record = Record(index);
    if (!record) return false;
    switch (record->kind()) {
    case LF_POINTER: {
        PointerRecord pointer(TypeRecordKind::Pointer);
        if (!Deserialize(*record, pointer)) return false;
        length = pointer.getSize();
        return true;
    }
    case LF_ARRAY: {
        ArrayRecord array(TypeRecordKind::Array);
        if (!Deserialize(*record, array)) return false;
        length = array.getSize();
        return true;
    }
    case LF_CLASS:
    case LF_STRUCTURE:
    case LF_INTERFACE:
    case LF_UNION:
    case LF_ENUM: {
        TagFacts facts;
        if (!ReadTag(*record, facts)) return false;
        if (facts.kind == static_cast<uint16_t>(LF_ENUM)) {
            // An enum's underlying type is a built-in integer, never an enum.
            const uint32_t underlying = Resolve(facts.underlying.getIndex());
            return underlying != id && Length(underlying, length);
        }
        length = facts.size;
        return true;
    }
    default: return false;
    }
}

bool PdbTypes::TypeId(uint32_t id, uint32_t& typeId) {
    id = Resolve(id);
    if (id >= kMemberIdBase) {
        const DataMember* member = Member(id);
        if (member == nullptr) return false;
        typeId = member->type;
        return true;
    }
    const TypeIndex index(id);
    if (index.isSimple()) {
        if (index.isNoneType() || index.getSimpleMode() == SimpleTypeMode::Direct) return false;
        typeId = index.makeDirect().getIndex();
        return true;
    }
    auto record = Record(index);
    if (!record) return false;
    switch (record->kind()) {
    case LF_POINTER: {
        PointerRecord pointer(TypeRecordKind::Pointer);
        if (!Deserialize(*record, pointer)) return false;
        typeId = Resolve(pointer.getReferentType().getIndex());
        return true;
    }
    case LF_ARRAY: {
        ArrayRecord array(TypeRecordKind::Array);
        if (!Deserialize(*record, array)) return false;
        typeId = Resolve(array.getElementType().getIndex());
        return true;
    }
    case LF_ENUM: {
        TagFacts facts;
        if (!ReadTag(*record, facts)) return false;
        typeId = Resolve(facts.underlying.getIndex());
        return true;
    }
    default: return false;
    }
}

bool PdbTypes::BaseType(uint32_t id, uint32_t& basicType) {
    id = Resolve(id);
    if (id >= kMemberIdBase) return false;
    const TypeIndex index(id);
    if (!index.isSimple() || index.isNoneType() || index.getSimpleMode() != SimpleTypeMode::Direct)
        return false;
    SimpleTypeFacts facts;
    if (!DescribeSimpleKind(index.getSimpleKind(), facts)) return false;
    basicType = facts.basicType;
    return true;
}

bool PdbTypes::Name(uint32_t id, std::string& name) {
    id = Resolve(id);
    if (id >= kMemberIdBase) {
        const DataMember* member = Member(id);
        if (member == nullptr) return false;
        name = member->name;
        return true;
    }
    auto record = Record(TypeIndex(id));
    if (!record || !IsTagKind(static_cast<uint16_t>(record->kind()))) return false;
    TagFacts facts;
    if (!ReadTag(*record, facts)) return false;
    name = facts.name;
    return true;
}

const std::vector<uint32_t>* PdbTypes::Children(uint32_t id) {
    id = Resolve(id);
    const auto known = children_.find(id);
    if (known != children_.end()) return &known->second;
    if (id >= kMemberIdBase) return nullptr;
    auto record = Record(TypeIndex(id));
    if (!record) return nullptr;
    const auto kind = record->kind();
    if (kind != LF_CLASS && kind != LF_STRUCTURE && kind != LF_INTERFACE && kind != LF_UNION) return nullptr;
    TagFacts facts;
    if (!ReadTag(*record, facts)) return nullptr;
    return &children_.emplace(id, CollectMembers(facts)).first->second;
}

std::vector<uint32_t> PdbTypes::CollectMembers(const TagFacts& owner) {
    std::vector<uint32_t> ids;
    std::unordered_set<uint32_t> visited;
    TypeIndex list = owner.fieldList;
    for (int step = 0; step < kMaxChain && !list.isNoneType() && visited.insert(list.getIndex()).second;
         ++step) {
        auto record = Record(list);
        if (!record || record->kind() != LF_FIELDLIST) break;
        FieldListRecord fieldList(TypeRecordKind::FieldList);
        if (!Deserialize(*record, fieldList)) break;
        FieldCollector collector;
        if (auto error = visitMemberRecordStream(fieldList.Data, collector))
            llvm::consumeError(std::move(error));  // keep the members read before the damage

        for (const FieldCollector::Field& field : collector.fields) {
            DataMember member;
            member.name = field.name;
            member.isStatic = field.isStatic;
            member.offset = field.offset;
            TypeIndex type = StripModifiers(field.type);
            auto typeRecord = Record(type);
            if (typeRecord && typeRecord->kind() == LF_BITFIELD) {
                BitFieldRecord bits(TypeRecordKind::BitField);
                if (Deserialize(*typeRecord, bits)) {
                    member.isBitField = true;
                    member.bitPosition = bits.getBitOffset();
                    member.bitLength = bits.getBitSize();
                    type = bits.getType();
                }
            }
            member.type = Resolve(type.getIndex());
            if (member.isStatic) member.qualifiedName = owner.name + "::" + member.name;
            if (members_.size() >= kMemberIdBase) break;  // id space exhausted
            members_.push_back(std::move(member));
            ids.push_back(kMemberIdBase + static_cast<uint32_t>(members_.size() - 1));
        }
        list = collector.continuation;
    }
    return ids;
}

}  // namespace dbghelp
