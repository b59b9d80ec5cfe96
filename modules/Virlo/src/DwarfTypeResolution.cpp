#include "DwarfTypeResolution.h"

#include <algorithm>

#include "ArrayExpansion.h"
#include "DwarfTables.h"
#include "VirloParserDwarf.h"

std::set<uint64_t> structuresInProgress;

void ExpandArrayElements(const std::vector<uint64_t>& counts, const SymbolRecord& record,
                         const std::string& name, uint64_t elementSize,
                         std::vector<ArrayElement>& intermediates,
                         std::vector<ArrayElement>& leaves) {
    // Row-major: a count's stride is the element size times every count
    // after it.
    std::vector<uint64_t> strides(counts.size());
    uint64_t stride = elementSize;
    for (size_t i = counts.size(); i-- > 0;) {
        strides[i] = stride;
        stride *= counts[i];
    }

    std::vector<ArrayElement> level{ArrayElement{name, 0, record.size}};
    for (size_t i = 0; i < counts.size(); ++i) {
        std::vector<ArrayElement> next;
        for (const ArrayElement& parent : level) {
            for (uint64_t j = 0; j < counts[i]; ++j) {
                next.push_back(ArrayElement{parent.name + "[" + std::to_string(j) + "]",
                                            parent.offset + j * strides[i], strides[i]});
            }
        }
        intermediates.insert(intermediates.end(), level.begin(), level.end());
        level = std::move(next);
    }
    leaves.insert(leaves.end(), level.begin(), level.end());
}

namespace {

// Counts one step of a walk for as long as it runs.
class WalkStep {
public:
    explicit WalkStep(unsigned& depth) : depth_(depth) { ++depth_; }
    ~WalkStep() { --depth_; }
    WalkStep(const WalkStep&) = delete;
    WalkStep& operator=(const WalkStep&) = delete;

private:
    unsigned& depth_;
};

// Marks a structure as being walked for as long as its members are.
class StructureInProgress {
public:
    explicit StructureInProgress(uint64_t offset) : offset_(offset) {
        structuresInProgress.insert(offset_);
    }
    ~StructureInProgress() { structuresInProgress.erase(offset_); }
    StructureInProgress(const StructureInProgress&) = delete;
    StructureInProgress& operator=(const StructureInProgress&) = delete;

private:
    uint64_t offset_;
};

// Marks an array as having its element type walked for as long as that
// walk runs.
class ArrayInProgress {
public:
    ArrayInProgress(std::map<uint64_t, bool>& arrays, uint64_t offset)
        : arrays_(arrays), offset_(offset) {
        arrays_.emplace(offset_, false);
    }
    ~ArrayInProgress() { arrays_.erase(offset_); }
    ArrayInProgress(const ArrayInProgress&) = delete;
    ArrayInProgress& operator=(const ArrayInProgress&) = delete;

private:
    std::map<uint64_t, bool>& arrays_;
    uint64_t offset_;
};

bool HoldsIndex(const std::string& name) {
    return name.find('[') != std::string::npos && name.find(']') != std::string::npos;
}

}  // namespace

void VirloParserDwarf::ResolveDwarfSymbols() {
    const SymbolCacheMap listed = ReadNmSymbolLines();
    budget_ = ExpansionBudget();
    pending_.clear();
    lastStored_ = pending_.end();
    for (const auto& [listedName, listedRecord] : listed) {
        QualifiedNameSplitter splitter(listedName);
        const std::string key = splitter.IsQualified() ? splitter.CurrentToken() : listedName;
        const auto candidates = entriesByName.equal_range(key);
        if (candidates.first == candidates.second) continue;
        const DwarfEntry* chosen = candidates.first->second;
        for (auto it = candidates.first; it != candidates.second; ++it) {
            if (it->second->depth == 1) {
                chosen = it->second;
                break;
            }
        }
        const SymbolRecord record(listedRecord->address - imageBase, listedRecord->size, 0, 0, 0);
        ResolveDie(chosen, chosen->name, record, splitter);
        if (!budget_.Passed().empty()) {
            pending_.clear();
            lastStored_ = pending_.end();
            ReportSymbolsLeftOut(listedName, budget_.Passed());
            return;
        }
        CommitPending();
    }
}

void VirloParserDwarf::CommitPending() {
    // Both maps are ordered by name, so the place after the last record
    // moved is usually right for the next.
    auto hint = SymbolCache.end();
    while (!pending_.empty()) {
        auto node = pending_.extract(pending_.begin());
        const auto placed = SymbolCache.insert(hint, std::move(node));
        // An insertion that meets a record of the same name leaves the node
        // as it was: its record replaces that one.
        if (!node.empty()) placed->second = std::move(node.mapped());
        hint = std::next(placed);
    }
    lastStored_ = pending_.end();
}

void VirloParserDwarf::FindType(const std::string& name, uint64_t& size, uint32_t& typeCode) const {
    const auto found = pending_.find(name);
    if (found == pending_.end()) {
        typeCode = SymbolType_Unknown;
        return;
    }
    size = found->second->size;
    typeCode = found->second->typeCode;
}

void VirloParserDwarf::Store(const std::string& name, const SymbolRecord& record) {
    // A walk stores its names mostly in ascending order (members in their
    // order, elements by index), so the place after the last stored name is
    // usually right and saves the search from the root.
    if (!budget_.TakeRecord(name.size())) return;
    const auto hint = lastStored_ == pending_.end() ? lastStored_ : std::next(lastStored_);
    lastStored_ = pending_.insert_or_assign(hint, name, std::make_unique<SymbolRecord>(record));
}

void VirloParserDwarf::WalkType(const DwarfEntry* entry, std::string name,
                                const SymbolRecord& record, QualifiedNameSplitter& splitter) {
    const auto type = entriesByOffset.find(entry->typeRef);
    if (type != entriesByOffset.end()) ResolveDie(type->second, std::move(name), record, splitter);
}

void VirloParserDwarf::ResolveDie(const DwarfEntry* entry, std::string name, SymbolRecord record,
                                  QualifiedNameSplitter& splitter) {
    if (entry == nullptr || walkDepth_ >= kMaxWalkDepth || !budget_.TakeStep()) return;
    const WalkStep step(walkDepth_);

    switch (entry->tag) {
        case DwarfTag_variable:
            if (splitter.IsQualified() && splitter.IsLastToken()) {
                name = splitter.Name();
            } else if (!entry->name.empty()) {
                name = entry->name;
            }
            if (entry->typeRef != 0) WalkType(entry, std::move(name), record, splitter);
            break;
        case DwarfTag_const_type:
        case DwarfTag_volatile_type:
        case DwarfTag_formal_parameter:
            if (entry->typeRef != 0) WalkType(entry, std::move(name), record, splitter);
            break;
        case DwarfTag_typedef:
            WalkType(entry, std::move(name), record, splitter);
            break;
        case DwarfTag_base_type:
            if (entry->byteSize != 0) {
                record.size = entry->byteSize;
                record.typeCode = MapDwarfBaseType(*entry);
                Store(name, record);
            }
            break;
        case DwarfTag_enumeration_type:
            if (entry->byteSize != 0) {
                record.size = entry->byteSize;
                record.typeCode = SymbolType_Enumeration;
                Store(name, record);
            }
            break;
        case DwarfTag_pointer_type:
            record.size = entry->byteSize;
            record.typeCode = SymbolType_Pointer;
            Store(name, record);
            break;
        case DwarfTag_subprogram:
            record.typeCode = SymbolType_Function;
            record.size = entry->byteSize;
            Store(!splitter.IsQualified() || splitter.fullNameRecorded ? name : splitter.Name(),
                  record);
            break;
        case DwarfTag_member:
            ResolveMember(entry, std::move(name), record, splitter);
            break;
        case DwarfTag_structure_type:
        case DwarfTag_class_type:
            ResolveStructure(entry, name, record, splitter);
            break;
        case DwarfTag_array_type:
            ResolveArray(entry, name, record, splitter);
            break;
        case DwarfTag_subrange_type: {
            const uint64_t count = std::max(entry->count, entry->upperBound + 1);
            if (count != 0) arrayDimensions.push_back(count);
            break;
        }
        case DwarfTag_namespace:
            ResolveNamespace(entry, record, splitter);
            break;
        default:
            break;
    }
}

void VirloParserDwarf::ResolveMember(const DwarfEntry* entry, std::string name,
                                     SymbolRecord record, QualifiedNameSplitter& splitter) {
    if (entry->name.empty()) return;
    if (!splitter.IsQualified() ||
        (splitter.fullNameRecorded && splitter.IsLastToken() && entry->hasMemberOffset)) {
        name += "." + entry->name;
    } else {
        name = splitter.Name();
    }

    if (!splitter.IsQualified() || splitter.IsLastToken()) {
        const auto definition = entriesBySpecification.find(entry->offset);
        if (definition == entriesBySpecification.end()) {
            record.address += entry->memberOffset;
        } else if (record.address == 0 && definition->second->address != 0) {
            // A static data member defined outside its class.
            record.address = definition->second->address - imageBase;
        }
    }

    record.size = 0;
    record.typeCode = SymbolType_Unknown;
    record.bitOffset = entry->bitOffset;
    record.bitLength = entry->bitSize;
    if (entry->typeRef != 0) WalkType(entry, std::move(name), record, splitter);
}

void VirloParserDwarf::ResolveStructure(const DwarfEntry* entry, const std::string& name,
                                        SymbolRecord record, QualifiedNameSplitter& splitter) {
    if (splitter.IsQualified() && !splitter.IsLastToken()) {
        // The symbol names something inside this class.
        const std::string wanted = splitter.NextToken();
        for (const DwarfEntry* child : entry->children) {
            if (child->hasMemberOffset) continue;
            if (child->tag == DwarfTag_variable && !child->hasLinkageName) continue;
            if (child->name != wanted) continue;
            splitter.Advance();
            ResolveDie(child, splitter.CurrentToken(), record, splitter);
            return;
        }
        return;
    }

    if (splitter.IsQualified() && !splitter.fullNameRecorded) {
        record.size = entry->byteSize;
        record.typeCode = SymbolType_UserDefinedType;
        Store(splitter.Name(), record);
        splitter.fullNameRecorded = true;
        if (!HoldsIndex(name)) {
            for (const DwarfEntry* child : entry->children) {
                if (child->hasMemberOffset) ResolveDie(child, splitter.Name(), record, splitter);
            }
        }
    }

    record.size = entry->byteSize;
    record.typeCode = SymbolType_UserDefinedType;
    Store(name, record);
    if (structuresInProgress.count(entry->offset) != 0) return;
    const StructureInProgress inProgress(entry->offset);
    for (const DwarfEntry* child : entry->children) {
        if (child->hasMemberOffset) {
            ResolveDie(child, name, record, splitter);
        } else if (child->tag == DwarfTag_subprogram) {
            SymbolRecord function = record;
            function.typeCode = SymbolType_Function;
            ResolveDie(child, name + "." + child->name, function, splitter);
        }
    }
}

void VirloParserDwarf::ResolveArray(const DwarfEntry* entry, const std::string& name,
                                    SymbolRecord record, QualifiedNameSplitter& splitter) {
    // Met again while its own element type is walked: the outer walk of this
    // array reports it and leaves its elements out.
    const auto inProgress = arraysInProgress_.find(entry->offset);
    if (inProgress != arraysInProgress_.end()) {
        inProgress->second = true;
        return;
    }

    // Only the counts this array's own subranges leave belong to it. Other
    // children are no part of an array; walking them too would let a file
    // branch the walk at every array.
    const size_t firstCount = arrayDimensions.size();
    for (const DwarfEntry* child : entry->children)
        if (child->tag == DwarfTag_subrange_type) ResolveDie(child, name, record, splitter);
    const std::vector<uint64_t> counts(arrayDimensions.begin() + firstCount,
                                       arrayDimensions.end());
    arrayDimensions.resize(firstCount);
    if (entry->typeRef == 0) return;

    uint64_t elementCount = 1;
    std::string firstElement = name;
    for (const uint64_t count : counts) {
        elementCount *= count;
        firstElement += "[0]";
    }

    // The element type is walked once, for the first element; every other
    // element holds the same records at its own place.
    const ArrayInProgress walking(arraysInProgress_, entry->offset);
    const ExpansionCost before = budget_.Taken();
    WalkType(entry, firstElement, record, splitter);
    if (!budget_.Passed().empty()) return;  // the symbol is left out
    if (arraysInProgress_.at(entry->offset)) {
        KeepArrayWithoutElements(name, firstElement, SymbolRecord(record.address, 0, SymbolType_Array, 0, 0));
        ReportCyclicArray(name);
        return;
    }
    uint64_t elementSize = 0;
    uint32_t elementType = SymbolType_Unknown;
    FindType(firstElement, elementSize, elementType);

    SymbolRecord whole = record;
    whole.size = elementCount * elementSize;
    const ExpansionCost after = budget_.Taken();
    const ExpansionCost first{after.records - before.records, after.characters - before.characters};
    const std::string bound = budget_.BoundPassedBy(ArrayExpansionCost(counts, name.size(), first));
    if (!bound.empty()) {
        KeepArrayWithoutElements(name, firstElement,
                                 SymbolRecord(record.address, whole.size, SymbolType_Array, 0, 0));
        ReportElementsLeftOut(name, bound);
        return;
    }
    const auto below = RecordsBelow(firstElement);

    std::vector<ArrayElement> intermediates;
    std::vector<ArrayElement> leaves;
    ExpandArrayElements(counts, whole, name, elementSize, intermediates, leaves);
    for (const ArrayElement& element : intermediates) {
        Store(element.name, SymbolRecord(record.address + element.offset, element.size,
                                         SymbolType_Array, 0, 0));
    }
    for (size_t index = 0; index < leaves.size(); ++index) {
        const ArrayElement& element = leaves[index];
        Store(element.name,
              SymbolRecord(record.address + element.offset, element.size, elementType, 0, 0));
        // The first element is the one the walk stored records below.
        if (index == 0) continue;
        for (const auto& [suffix, stored] : below) {
            SymbolRecord moved = stored;
            moved.address += element.offset;
            Store(element.name + suffix, moved);
        }
    }
}

void VirloParserDwarf::KeepArrayWithoutElements(const std::string& name,
                                                const std::string& firstElement,
                                                const SymbolRecord& array) {
    pending_.erase(firstElement);
    for (const std::string& prefix : {firstElement + ".", firstElement + "["}) {
        auto entry = pending_.lower_bound(prefix);
        while (entry != pending_.end() && entry->first.compare(0, prefix.size(), prefix) == 0)
            entry = pending_.erase(entry);
    }
    lastStored_ = pending_.end();
    Store(name, array);
}

std::vector<std::pair<std::string, SymbolRecord>> VirloParserDwarf::RecordsBelow(
    const std::string& element) const {
    std::vector<std::pair<std::string, SymbolRecord>> below;
    for (const std::string& prefix : {element + ".", element + "["}) {
        for (auto entry = pending_.lower_bound(prefix);
             entry != pending_.end() && entry->first.compare(0, prefix.size(), prefix) == 0; ++entry)
            below.emplace_back(entry->first.substr(element.size()), *entry->second);
    }
    return below;
}

void VirloParserDwarf::ResolveNamespace(const DwarfEntry* entry, const SymbolRecord& record,
                                        QualifiedNameSplitter& splitter) {
    for (const DwarfEntry* child : entry->children) {
        if (child->name.empty() || child->name != splitter.NextToken()) continue;
        splitter.Advance();
        ResolveDie(child, splitter.CurrentToken(), record, splitter);
    }
}
