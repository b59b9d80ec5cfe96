#include "PdbUtilDump.h"

#include <fstream>
#include <regex>
#include <stdexcept>

namespace pdb_reference {
namespace {

uint32_t Hex(const std::string& text) { return static_cast<uint32_t>(std::stoul(text, nullptr, 16)); }

// "<no type>" stands for index 0.
uint32_t TypeIndexText(const std::string& text) { return text.rfind("0x", 0) == 0 ? Hex(text) : 0; }

enum class Section { None, Globals, Publics, Types, Headers };

}  // namespace

PdbUtilDump PdbUtilDump::Read(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read " + path);

    static const std::regex typeHead(R"(^\s*(0x[0-9A-F]+) \| (LF_\w+) \[size = \d+\](?: `(.*)`)?$)");
    static const std::regex dataHead(R"(^\s*\d+ \| (S_GDATA32|S_LDATA32) \[size = \d+\] `(.*)`$)");
    static const std::regex publicHead(R"(^\s*\d+ \| S_PUB32 \[size = \d+\] `(.*)`$)");
    static const std::regex anySymbolHead(R"(^\s*\d+ \| S_\w+ )");
    static const std::regex dataBody(R"(type = (0x[0-9A-F]+).*addr = (\d+):(\d+))");
    static const std::regex publicBody(R"(flags = (.*), addr = (\d+):(\d+))");
    static const std::regex forwardRef(R"(forward ref \(-> (0x[0-9A-F]+)\))");
    static const std::regex sizeOf(R"(sizeof (\d+))");
    static const std::regex fieldList(R"(field list: (0x[0-9A-F]+|<no type>))");
    static const std::regex underlying(R"(underlying type: (0x[0-9A-F]+))");
    static const std::regex referent(R"(referent = (0x[0-9A-F]+))");
    static const std::regex pointerKind(R"(kind = ptr(\d+))");
    static const std::regex arrayBody(R"(size: (\d+), index type: .* element type: (0x[0-9A-F]+))");
    static const std::regex bitFieldBody(R"(type = (0x[0-9A-F]+).*bit offset = (\d+), # bits = (\d+))");
    static const std::regex member(R"(- LF_MEMBER \[name = `(.*)`, Type = (0x[0-9A-F]+).*, offset = (\d+),)");
    static const std::regex staticMember(R"(- LF_STMEMBER \[name = `(.*)`, type = (0x[0-9A-F]+))");
    static const std::regex sectionHead(R"(^\s*SECTION HEADER #(\d+))");
    static const std::regex virtualAddress(R"(^\s*([0-9A-F]+) virtual address)");

    PdbUtilDump dump;
    Section section = Section::None;
    TypeRecord* type = nullptr;
    DataSymbol* data = nullptr;
    PublicSymbol* publicSymbol = nullptr;
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (line.find("Global Symbols") != std::string::npos) section = Section::Globals;
        else if (line.find("Public Symbols") != std::string::npos) section = Section::Publics;
        else if (line.find("Types (TPI Stream)") != std::string::npos) section = Section::Types;
        else if (line.find("Section Headers") != std::string::npos) section = Section::Headers;

        if (section == Section::Types) {
            if (std::regex_search(line, match, typeHead)) {
                type = &dump.types[Hex(match[1])];
                type->kind = match[2];
                type->name = match[3];
                continue;
            }
            if (type == nullptr) continue;
            if (std::regex_search(line, match, forwardRef)) type->fullDeclaration = Hex(match[1]);
            if (std::regex_search(line, match, sizeOf)) type->size = std::stoull(match[1]);
            if (std::regex_search(line, match, fieldList)) type->fieldList = TypeIndexText(match[1]);
            if (std::regex_search(line, match, underlying)) type->underlying = Hex(match[1]);
            if (std::regex_search(line, match, referent)) type->referent = Hex(match[1]);
            if (std::regex_search(line, match, pointerKind)) type->pointerSize = std::stoul(match[1]) / 8;
            if (std::regex_search(line, match, arrayBody)) {
                type->size = std::stoull(match[1]);
                type->elementType = Hex(match[2]);
            }
            if (type->kind == "LF_BITFIELD" && std::regex_search(line, match, bitFieldBody)) {
                type->underlying = Hex(match[1]);
                type->bitOffset = std::stoul(match[2]);
                type->bitCount = std::stoul(match[3]);
            }
            if (std::regex_search(line, match, member))
                type->members.push_back({false, match[1], Hex(match[2]), std::stoull(match[3])});
            if (std::regex_search(line, match, staticMember))
                type->members.push_back({true, match[1], Hex(match[2]), 0});
        } else if (section == Section::Globals) {
            if (std::regex_search(line, match, dataHead)) {
                dump.data.push_back({match[1] == "S_LDATA32", match[2], 0, 0, 0});
                data = &dump.data.back();
            } else if (std::regex_search(line, match, anySymbolHead)) {
                data = nullptr;
            } else if (data != nullptr && std::regex_search(line, match, dataBody)) {
                data->type = Hex(match[1]);
                data->segment = static_cast<uint16_t>(std::stoul(match[2]));
                data->offset = std::stoul(match[3]);
            }
        } else if (section == Section::Publics) {
            if (std::regex_search(line, match, publicHead)) {
                dump.publics.push_back({match[1], false, 0, 0});
                publicSymbol = &dump.publics.back();
            } else if (publicSymbol != nullptr && std::regex_search(line, match, publicBody)) {
                publicSymbol->function = match[1].str().find("function") != std::string::npos;
                publicSymbol->segment = static_cast<uint16_t>(std::stoul(match[2]));
                publicSymbol->offset = std::stoul(match[3]);
            }
        } else if (section == Section::Headers) {
            if (std::regex_search(line, match, sectionHead))
                dump.sectionAddresses.resize(std::stoul(match[1]), 0);
            else if (!dump.sectionAddresses.empty() && std::regex_search(line, match, virtualAddress))
                dump.sectionAddresses.back() = Hex(match[1]);
        }
    }
    return dump;
}

uint32_t PdbUtilDump::Rva(uint16_t segment, uint32_t offset) const {
    if (segment == 0 || segment > sectionAddresses.size()) throw std::out_of_range("no such section");
    return sectionAddresses[segment - 1] + offset;
}

const DataSymbol* PdbUtilDump::FindData(const std::string& name) const {
    for (const DataSymbol& symbol : data)
        if (symbol.name == name) return &symbol;
    return nullptr;
}

std::vector<const DataSymbol*> PdbUtilDump::FindAllData(const std::string& name) const {
    std::vector<const DataSymbol*> found;
    for (const DataSymbol& symbol : data)
        if (symbol.name == name) found.push_back(&symbol);
    return found;
}

const PublicSymbol* PdbUtilDump::FindPublic(const std::string& name) const {
    for (const PublicSymbol& symbol : publics)
        if (symbol.name == name) return &symbol;
    return nullptr;
}

const TypeRecord* PdbUtilDump::Type(uint32_t index) const {
    const auto found = types.find(index);
    return found == types.end() ? nullptr : &found->second;
}

uint32_t PdbUtilDump::Resolve(uint32_t index) const {
    for (;;) {
        const TypeRecord* record = Type(index);
        if (record == nullptr) return index;
        if (record->kind == "LF_MODIFIER") index = record->referent;
        else if (record->kind == "LF_BITFIELD") index = record->underlying;
        else if (record->fullDeclaration != 0) index = record->fullDeclaration;
        else return index;
    }
}

std::vector<Member> PdbUtilDump::MembersOf(uint32_t index) const {
    const TypeRecord* record = Type(Resolve(index));
    if (record == nullptr || record->fieldList == 0) return {};
    const TypeRecord* list = Type(record->fieldList);
    return list != nullptr ? list->members : std::vector<Member>();
}

std::optional<uint64_t> SimpleTypeSize(uint32_t index) {
    if ((index & 0x700) == 0x600) return 8;  // 64-bit pointer to a built-in type
    switch (index) {
    case 0x10: case 0x20: case 0x30: case 0x68: case 0x69: case 0x70: return 1;
    case 0x11: case 0x21: case 0x71: case 0x72: case 0x73: case 0x7a: return 2;
    case 0x12: case 0x22: case 0x40: case 0x74: case 0x75: case 0x7b: return 4;
    case 0x13: case 0x23: case 0x41: case 0x76: case 0x77: return 8;
    default: return std::nullopt;
    }
}

}  // namespace pdb_reference
