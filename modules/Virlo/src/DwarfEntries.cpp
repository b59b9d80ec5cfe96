#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DieLinePattern.h"
#include "DwarfTables.h"
#include "TrimInPlace.h"
#include "VirloParserDwarf.h"

bool definitionsMerged = false;

namespace {

enum class Attribute {
    bit_offset,
    bit_size,
    byte_size,
    data_bit_offset,
    count,
    data_member_location,
    declaration,
    location,
    low_pc,
    name,
    linkage_name,
    specification,
    type,
    upper_bound,
    other,
};

Attribute AttributeOf(const char* name, size_t length) {
    static const struct {
        const char* name;
        size_t length;
        Attribute attribute;
    } kAttributes[] = {
        {"DW_AT_bit_offset", 16, Attribute::bit_offset},
        {"DW_AT_bit_size", 14, Attribute::bit_size},
        {"DW_AT_byte_size", 15, Attribute::byte_size},
        {"DW_AT_data_bit_offset", 21, Attribute::data_bit_offset},
        {"DW_AT_count", 11, Attribute::count},
        {"DW_AT_data_member_location", 26, Attribute::data_member_location},
        {"DW_AT_declaration", 17, Attribute::declaration},
        {"DW_AT_location", 14, Attribute::location},
        {"DW_AT_low_pc", 12, Attribute::low_pc},
        {"DW_AT_name", 10, Attribute::name},
        {"DW_AT_linkage_name", 18, Attribute::linkage_name},
        {"DW_AT_specification", 19, Attribute::specification},
        {"DW_AT_type", 10, Attribute::type},
        {"DW_AT_upper_bound", 17, Attribute::upper_bound},
    };
    for (const auto& known : kAttributes) {
        if (known.length == length && std::memcmp(known.name, name, length) == 0) {
            return known.attribute;
        }
    }
    return Attribute::other;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

uint64_t Decimal(const char* text) { return std::strtoull(text, nullptr, 10); }
uint64_t Hexadecimal(const char* text) { return std::strtoull(text, nullptr, 16); }

// The value after its last ':', trimmed of the given characters; a value
// without ':' is taken whole.
char* AfterLastColon(char* value, const std::string& trimmed) {
    char* colon = std::strrchr(value, ':');
    return colon == nullptr ? value : TrimInPlace(colon + 1, trimmed);
}

// DW_AT_type: "<0x45>" or "<0x45>, unsigned int".
void ReadTypeAttribute(char* value, DwarfEntry& entry) {
    char* comma = std::strchr(value, ',');
    if (comma == nullptr) {
        entry.typeRef = Hexadecimal(TrimInPlace(value, " \t<>"));
        return;
    }
    char* open = std::strchr(value, '<');
    // Without '<' the value names no entry; a reference read from whatever
    // precedes the comma would point at an unrelated entry.
    if (open == nullptr) return;
    entry.typeText = TrimInPlace(comma, ", ");
    char* close = std::strchr(value, '>');
    *open = '\0';
    if (close != nullptr) *close = '\0';
    entry.typeRef = Hexadecimal(TrimInPlace(open + 1, " \t<>"));
}

// One attribute line: the name runs from "DW_AT_" to the first ':' after
// it, the value is the rest. The line itself stays untouched: the value is
// copied into scratch, which is trimmed and cut.
void ReadAttributeLine(const LineView& line, DwarfEntry& entry, std::string& scratch) {
    const char* at = std::strstr(line.text, "DW_AT_");
    if (at == nullptr) return;
    const char* colon = std::strchr(at, ':');
    if (colon == nullptr) return;  // an attribute without value is no attribute

    // The name starts with "DW_AT_", so only its end needs trimming.
    const char* nameEnd = colon;
    while (nameEnd > at && IsBlank(nameEnd[-1])) --nameEnd;
    const Attribute attribute = AttributeOf(at, static_cast<size_t>(nameEnd - at));
    if (attribute == Attribute::other) return;
    scratch.assign(colon + 1, static_cast<size_t>(line.text + line.length - colon - 1));
    char* value = TrimInPlace(&scratch[0], kBlankCharacters);

    switch (attribute) {
        case Attribute::bit_offset:
            entry.bitOffset = static_cast<uint8_t>(Decimal(value));
            break;
        case Attribute::bit_size:
            entry.bitSize = static_cast<uint8_t>(Decimal(value));
            break;
        case Attribute::byte_size:
            entry.byteSize = Decimal(value);
            break;
        case Attribute::data_bit_offset: {
            const uint64_t bits = Decimal(AfterLastColon(value, " \t()"));
            entry.dataBitOffset = bits;
            entry.memberOffset = bits / 8;
            entry.hasMemberOffset = true;
            entry.byteSize = BaseTypeSizeFromName(entry.typeText);
            entry.bitOffset = static_cast<uint8_t>(bits % 8);
            break;
        }
        case Attribute::count:
            entry.count = Decimal(value);
            break;
        case Attribute::data_member_location:
            entry.memberOffset = Decimal(AfterLastColon(value, " \t()"));
            entry.hasMemberOffset = true;
            break;
        case Attribute::declaration:
            entry.isDeclaration = true;
            break;
        case Attribute::location: {
            char* colonInValue = std::strrchr(value, ':');
            if (colonInValue != nullptr) {
                entry.address = Hexadecimal(TrimInPlace(colonInValue, ": )"));
            }
            break;
        }
        case Attribute::low_pc:
            entry.lowPc = Hexadecimal(value);
            break;
        case Attribute::name:
            entry.name = AfterLastColon(value, kBlankCharacters);
            break;
        case Attribute::linkage_name:
            entry.hasLinkageName = true;
            break;
        case Attribute::specification:
            entry.specificationRef = Hexadecimal(TrimInPlace(value, " \t<>"));
            break;
        case Attribute::type:
            ReadTypeAttribute(value, entry);
            break;
        case Attribute::upper_bound:
            entry.upperBound = Decimal(value);
            break;
        case Attribute::other:
            break;
    }
}

// The header's depth: read as atoi reads it, kept modulo 256. Digits beyond
// the range saturate instead of overflowing.
uint8_t DepthOf(const std::string& digits) {
    return static_cast<uint8_t>(std::strtoll(digits.c_str(), nullptr, 10));
}

// Reads the lines of one block into an entry; true when a header line was
// among them.
bool ReadEntry(const DieBlock& block, DieLinePattern& header, std::string& scratch,
               DwarfEntry& entry) {
    bool headerRead = false;
    for (const LineView& line : block) {
        // The header pattern holds this text; attribute lines, nearly all
        // lines of a block, go without pattern matching.
        if (std::strstr(line.text, "Abbrev Number:") != nullptr &&
            header.Match(line.text, line.length)) {
            entry.depth = DepthOf(header.Group(1));
            entry.offset = Hexadecimal(header.Group(2).c_str());
            entry.tag = DwarfTagCode(header.Group(3).c_str());
            headerRead = true;
        } else {
            ReadAttributeLine(line, entry, scratch);
        }
    }
    return headerRead;
}

// The latest entry of each depth, which is the parent of the next entry one
// level deeper.
class LatestAtDepth {
public:
    // Makes the entry the latest of its depth and gives its parent, or null
    // for a compilation unit and for an entry whose parent level has no
    // entry. Deeper entries met so far belong to earlier siblings and are
    // forgotten, so an entry that skips a level gets no stale parent; a
    // block without a readable header says nothing about the nesting and
    // forgets nothing.
    DwarfEntry* Enter(DwarfEntry* entry, bool nestingKnown) {
        const uint8_t depth = entry->depth;
        latest_[depth] = entry;
        if (nestingKnown) {
            for (size_t d = depth + 1u; d <= deepestSet_; ++d) latest_[d] = nullptr;
            deepestSet_ = depth;
        } else {
            deepestSet_ = std::max<size_t>(deepestSet_, depth);
        }
        return depth == 0 ? nullptr : latest_[depth - 1];
    }

private:
    std::array<DwarfEntry*, 256> latest_{};
    size_t deepestSet_ = 0;  // latest_ is null beyond this depth
};

bool HasMemberLike(const DwarfEntry& parent, const DwarfEntry& entry) {
    for (const DwarfEntry* child : parent.children) {
        if (child->tag == DwarfTag_member && child->name == entry.name &&
            child->memberOffset == entry.memberOffset) {
            return true;
        }
    }
    return false;
}

}  // namespace

void VirloParserDwarf::ParseDwarfEntries() {
    DieLinePattern header(kDieHeaderPattern);
    if (!header.compiled()) return;
    const std::vector<DieBlock> blocks = SplitDieBlocks();

    std::map<std::string, DwarfEntry*> declarationsByKey;
    LatestAtDepth latestAtDepth;
    std::string scratch;

    for (const DieBlock& block : blocks) {
        DwarfEntry read;
        const bool headerRead = ReadEntry(block, header, scratch, read);

        DwarfEntry* entry = nullptr;
        std::string declarationKey;
        if (read.depth == 1 && !read.name.empty() &&
            (read.tag == DwarfTag_structure_type || read.tag == DwarfTag_class_type)) {
            declarationKey = std::to_string(read.tag) + read.name;
            const auto declared = declarationsByKey.find(declarationKey);
            if (!read.isDeclaration && declared != declarationsByKey.end()) {
                // The definition's members are gathered under the earlier
                // declaration. Entries of this unit refer to the definition
                // by its own offset, so that offset leads to the declaration
                // too, which also takes the definition's size.
                definitionsMerged = true;
                entry = declared->second;
                if (entry->byteSize == 0) entry->byteSize = read.byteSize;
                entriesByOffset[read.offset] = entry;
            }
        }
        if (entry == nullptr) {
            ownedEntries_.push_back(std::move(read));
            entry = &ownedEntries_.back();
            if (entry->isDeclaration && !declarationKey.empty()) {
                declarationsByKey.emplace(declarationKey, entry);  // the first one stays
            }
        }

        if (entry->tag == DwarfTag_lexical_block) {
            char text[32];
            std::snprintf(text, sizeof(text), "0x%llx",
                          static_cast<unsigned long long>(entry->lowPc));
            entry->name = text;
        }

        // Offsets grow through a dump, so the new key usually goes last.
        if (entriesByOffset.empty() || entriesByOffset.rbegin()->first < entry->offset) {
            entriesByOffset.emplace_hint(entriesByOffset.end(), entry->offset, entry);
        } else {
            entriesByOffset[entry->offset] = entry;
        }
        if (!entry->name.empty()) entriesByName.emplace(entry->name, entry);
        if (entry->specificationRef != 0) entriesBySpecification[entry->specificationRef] = entry;

        DwarfEntry* parent = latestAtDepth.Enter(entry, headerRead);
        if (parent == nullptr) continue;
        if (definitionsMerged && entry->depth > 1 && HasMemberLike(*parent, *entry)) continue;
        parent->children.push_back(entry);
    }
}
