#ifndef VIRLO_DWARF_TABLES_H
#define VIRLO_DWARF_TABLES_H

// The lookups that turn the words of a textual DWARF dump into the reader's
// own codes: tag names into DwarfTag codes, base-type names into SymbolType
// codes and type names into byte sizes.

#include <cstdint>
#include <string>

struct DwarfEntry;

// Code of an entry's tag: the DWARF 2 tag names numbered alphabetically from
// 1, then DW_TAG_namespace; 0 for any other name. Not the DW_TAG constants of
// the DWARF standard.
enum DwarfTag : uint32_t {
    DwarfTag_none = 0,
    DwarfTag_access_declaration = 1,
    DwarfTag_array_type = 2,
    DwarfTag_base_type = 3,
    DwarfTag_catch_block = 4,
    DwarfTag_class_type = 5,
    DwarfTag_common_block = 6,
    DwarfTag_common_inclusion = 7,
    DwarfTag_compile_unit = 8,
    DwarfTag_const_type = 9,
    DwarfTag_constant = 10,
    DwarfTag_entry_point = 11,
    DwarfTag_enumeration_type = 12,
    DwarfTag_enumerator = 13,
    DwarfTag_file_type = 14,
    DwarfTag_formal_parameter = 15,
    DwarfTag_friend = 16,
    DwarfTag_imported_declaration = 17,
    DwarfTag_inheritance = 18,
    DwarfTag_inlined_subroutine = 19,
    DwarfTag_label = 20,
    DwarfTag_lexical_block = 21,
    DwarfTag_member = 22,
    DwarfTag_module = 23,
    DwarfTag_namelist = 24,
    DwarfTag_namelist_item = 25,
    DwarfTag_packed_type = 26,
    DwarfTag_pointer_type = 27,
    DwarfTag_ptr_to_member_type = 28,
    DwarfTag_reference_type = 29,
    DwarfTag_set_type = 30,
    DwarfTag_string_type = 31,
    DwarfTag_structure_type = 32,
    DwarfTag_subprogram = 33,
    DwarfTag_subrange_type = 34,
    DwarfTag_subroutine_type = 35,
    DwarfTag_template_type_param = 36,
    DwarfTag_template_value_param = 37,
    DwarfTag_thrown_type = 38,
    DwarfTag_try_block = 39,
    DwarfTag_typedef = 40,
    DwarfTag_union_type = 41,
    DwarfTag_unspecified_parameters = 42,
    DwarfTag_variable = 43,
    DwarfTag_variant = 44,
    DwarfTag_variant_part = 45,
    DwarfTag_volatile_type = 46,
    DwarfTag_with_stmt = 47,
    DwarfTag_namespace = 48,
};

// Exact, case-sensitive lookup of a whole tag name such as
// "DW_TAG_variable"; 0 when the name is not in the table.
uint32_t DwarfTagCode(const char* tagName);

// SymbolType code of a base-type entry, by its name. The `long` spellings
// follow the entry's byte size, since `long` is 4 bytes on some targets and
// 8 on others. Unknown names give 0 after a warning line on standard output.
uint32_t MapDwarfBaseType(const DwarfEntry& entry);

// Byte size guessed from words in a type's name ("char", "short",
// "long long", "long", "int", first found wins); 0 when none occurs.
uint8_t BaseTypeSizeFromName(const std::string& typeName);

#endif
