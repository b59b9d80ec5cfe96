#include "DwarfTables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <unordered_map>

#include "DwarfEntry.h"
#include "SymbolRecord.h"

namespace {

// Codes 1 to 47 in code order, which is alphabetical, so a binary search
// finds the one exact match.
const char* const kAlphabeticalTags[] = {
    "DW_TAG_access_declaration", "DW_TAG_array_type", "DW_TAG_base_type",
    "DW_TAG_catch_block", "DW_TAG_class_type", "DW_TAG_common_block",
    "DW_TAG_common_inclusion", "DW_TAG_compile_unit", "DW_TAG_const_type",
    "DW_TAG_constant", "DW_TAG_entry_point", "DW_TAG_enumeration_type",
    "DW_TAG_enumerator", "DW_TAG_file_type", "DW_TAG_formal_parameter",
    "DW_TAG_friend", "DW_TAG_imported_declaration", "DW_TAG_inheritance",
    "DW_TAG_inlined_subroutine", "DW_TAG_label", "DW_TAG_lexical_block",
    "DW_TAG_member", "DW_TAG_module", "DW_TAG_namelist",
    "DW_TAG_namelist_item", "DW_TAG_packed_type", "DW_TAG_pointer_type",
    "DW_TAG_ptr_to_member_type", "DW_TAG_reference_type", "DW_TAG_set_type",
    "DW_TAG_string_type", "DW_TAG_structure_type", "DW_TAG_subprogram",
    "DW_TAG_subrange_type", "DW_TAG_subroutine_type",
    "DW_TAG_template_type_param", "DW_TAG_template_value_param",
    "DW_TAG_thrown_type", "DW_TAG_try_block", "DW_TAG_typedef",
    "DW_TAG_union_type", "DW_TAG_unspecified_parameters", "DW_TAG_variable",
    "DW_TAG_variant", "DW_TAG_variant_part", "DW_TAG_volatile_type",
    "DW_TAG_with_stmt",
};

// The code of a base-type spelling; the `long` spellings have another code
// when the entry says the type has 8 bytes (a `long` of 8 bytes read as 4
// would show only half of its value).
struct BaseTypeCode {
    uint32_t code;
    uint32_t codeOfEightBytes;
};

// Every spelling appears once, so a lookup gives what trying them in order
// gives.
const std::unordered_map<std::string, BaseTypeCode>& BaseTypeSpellings() {
    constexpr BaseTypeCode s8{SymbolType_s8, SymbolType_s8};
    constexpr BaseTypeCode u8{SymbolType_u8, SymbolType_u8};
    constexpr BaseTypeCode s16{SymbolType_s16, SymbolType_s16};
    constexpr BaseTypeCode u16{SymbolType_u16, SymbolType_u16};
    constexpr BaseTypeCode s32{SymbolType_s32, SymbolType_s32};
    constexpr BaseTypeCode u32{SymbolType_u32, SymbolType_u32};
    constexpr BaseTypeCode signedLong{SymbolType_s32, SymbolType_s64};
    constexpr BaseTypeCode unsignedLong{SymbolType_u32, SymbolType_u64};
    constexpr BaseTypeCode s64{SymbolType_s64, SymbolType_s64};
    constexpr BaseTypeCode u64{SymbolType_u64, SymbolType_u64};
    constexpr BaseTypeCode f32{SymbolType_float32, SymbolType_float32};
    constexpr BaseTypeCode f64{SymbolType_float64, SymbolType_float64};
    constexpr BaseTypeCode boolean{SymbolType_bool, SymbolType_bool};
    static const std::unordered_map<std::string, BaseTypeCode> spellings = {
        {"char", s8},
        {"signed char", s8},
        {"unsigned char", u8},
        {"short", s16},
        {"signed short", s16},
        {"short int", s16},
        {"short signed int", s16},
        {"signed short int", s16},
        {"unsigned short", u16},
        {"short unsigned int", u16},
        {"unsigned short int", u16},
        {"int", s32},
        {"signed int", s32},
        {"unsigned int", u32},
        {"long int", signedLong},
        {"long signed int", signedLong},
        {"signed long int", signedLong},
        {"long", signedLong},
        {"signed long", signedLong},
        {"long unsigned int", unsignedLong},
        {"unsigned long int", unsignedLong},
        {"unsigned long", unsignedLong},
        {"long long int", s64},
        {"long long signed int", s64},
        {"signed long long int", s64},
        {"long long", s64},
        {"signed long long", s64},
        {"long long unsigned int", u64},
        {"unsigned long long int", u64},
        {"unsigned long long", u64},
        {"float", f32},
        {"double", f64},
        {"long double", f64},
        {"long float", f64},
        {"bool", boolean},
        {"_Bool", boolean},
    };
    return spellings;
}

}  // namespace

uint32_t DwarfTagCode(const char* tagName) {
    if (tagName == nullptr) return DwarfTag_none;
    const auto begin = std::begin(kAlphabeticalTags);
    const auto end = std::end(kAlphabeticalTags);
    const auto found = std::lower_bound(
        begin, end, tagName, [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    if (found != end && std::strcmp(*found, tagName) == 0) {
        return static_cast<uint32_t>(found - begin) + 1;
    }
    if (std::strcmp(tagName, "DW_TAG_namespace") == 0) return DwarfTag_namespace;
    return DwarfTag_none;
}

uint32_t MapDwarfBaseType(const DwarfEntry& entry) {
    const auto found = BaseTypeSpellings().find(entry.name);
    if (found == BaseTypeSpellings().end()) {
        std::cout << "Warning: Unhandled base type for symbol with name " << entry.name
                  << std::endl;
        return SymbolType_Unknown;
    }
    return entry.byteSize == 8 ? found->second.codeOfEightBytes : found->second.code;
}

uint8_t BaseTypeSizeFromName(const std::string& typeName) {
    static const struct {
        const char* word;
        uint8_t size;
    } kWords[] = {{"char", 1}, {"short", 2}, {"long long", 8}, {"long", 8}, {"int", 4}};
    for (const auto& word : kWords) {
        if (typeName.find(word.word) != std::string::npos) return word.size;
    }
    return 0;
}
