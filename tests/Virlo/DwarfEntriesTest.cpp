#include <gtest/gtest.h>

#include "DwarfTables.h"
#include "DwarfTestSupport.h"
#include "TrimInPlace.h"
#include "VirloParserDwarf.h"

namespace {

using dwarftest::TempDieFile;

// A parser holding the entries of the given dump.
struct ParsedDie {
    explicit ParsedDie(const std::string& dump) : file(dump) {
        parser.ReadDieFile(file.path());
        parser.ParseDwarfEntries();
    }
    const DwarfEntry& at(uint64_t offset) const { return *parser.entriesByOffset.at(offset); }
    TempDieFile file;
    VirloParserDwarf parser;
};

const char* const kEnd = " <1><ffff>: Abbrev Number: 0\n";

TEST(TrimInPlace, CutsBothEndsInPlace) {
    char text[] = " \t<0x45>\r\n";
    char* kept = TrimInPlace(text, " \t<>\r\n");
    EXPECT_STREQ(kept, "0x45");
    EXPECT_EQ(kept, text + 3);
    char blanks[] = " \t\v\f ";
    EXPECT_STREQ(TrimInPlace(blanks, kBlankCharacters), "");
    char untouched[] = "a b";
    EXPECT_EQ(TrimInPlace(untouched, kBlankCharacters), untouched);
    EXPECT_STREQ(untouched, "a b");
    EXPECT_EQ(TrimInPlace(nullptr, kBlankCharacters), nullptr);
}

TEST(ParseDwarfEntries, ReadsTheAttributesOfTheTable) {
    ParsedDie die(std::string(
        " <1><2d>: Abbrev Number: 5 (DW_TAG_member)\n"
        "    <2e>   DW_AT_name        : (indirect string, offset: 0x1b): counter\n"
        "    <30>   DW_AT_type        : <0x45>, unsigned int\n"
        "    <31>   DW_AT_bit_size    : 3\n"
        "    <32>   DW_AT_data_bit_offset: 35\n"
        "    <33>   DW_AT_linkage_name: (indirect string, offset: 0): _Z7counter\n"
        "    <34>   DW_AT_decl_line   : 12\n"
        " <1><40>: Abbrev Number: 6 (DW_TAG_variable)\n"
        "    <41>   DW_AT_name        : value\n"
        "    <42>   DW_AT_type        : <0x45>\n"
        "    <43>   DW_AT_location    : 9 byte block: 3 a0 3 0 0 0 0 0 0 \t(DW_OP_addr: 3a0)\n"
        "    <44>   DW_AT_specification: <0x2d>\n"
        "    <45>   DW_AT_declaration : 1\n"
        " <1><50>: Abbrev Number: 7 (DW_TAG_member)\n"
        "    <51>   DW_AT_data_member_location: 2 byte block: 23 8 \t(DW_OP_plus_uconst: 8)\n"
        "    <52>   DW_AT_byte_size   : 4\n"
        "    <53>   DW_AT_bit_offset  : 25\n"
        "    <54>   DW_AT_low_pc      : 0x10f9\n"
        " <1><60>: Abbrev Number: 8 (DW_TAG_subrange_type)\n"
        "    <61>   DW_AT_count       : 5\n"
        "    <62>   DW_AT_upper_bound : 9\n"
        "    <63>   DW_AT_location    : 2 byte block: 91 5c\n") +
        kEnd);

    const DwarfEntry& member = die.at(0x2d);
    EXPECT_EQ(member.tag, DwarfTag_member);
    EXPECT_EQ(member.depth, 1);
    EXPECT_EQ(member.name, "counter");
    EXPECT_EQ(member.typeRef, 0x45u);
    EXPECT_EQ(member.typeText, "unsigned int");
    EXPECT_EQ(member.bitSize, 3);
    EXPECT_EQ(member.dataBitOffset, 35u);
    EXPECT_EQ(member.memberOffset, 4u);
    EXPECT_EQ(member.bitOffset, 3);
    EXPECT_TRUE(member.hasMemberOffset);
    EXPECT_EQ(member.byteSize, 4u);  // from the type's name
    EXPECT_TRUE(member.hasLinkageName);

    const DwarfEntry& variable = die.at(0x40);
    EXPECT_EQ(variable.typeRef, 0x45u);
    EXPECT_TRUE(variable.typeText.empty());
    EXPECT_EQ(variable.address, 0x3a0u);
    EXPECT_EQ(variable.specificationRef, 0x2du);
    EXPECT_TRUE(variable.isDeclaration);
    EXPECT_EQ(die.parser.entriesBySpecification.at(0x2d), &variable);

    const DwarfEntry& located = die.at(0x50);
    EXPECT_EQ(located.memberOffset, 8u);
    EXPECT_TRUE(located.hasMemberOffset);
    EXPECT_EQ(located.byteSize, 4u);
    EXPECT_EQ(located.bitOffset, 25);
    EXPECT_EQ(located.lowPc, 0x10f9u);

    const DwarfEntry& subrange = die.at(0x60);
    EXPECT_EQ(subrange.count, 5u);
    EXPECT_EQ(subrange.upperBound, 9u);
    EXPECT_EQ(subrange.address, 0x91u);  // what follows the last ':'
}

TEST(ParseDwarfEntries, ReadsTheHeader) {
    ParsedDie die(std::string(" <300><0x2D>: Abbrev Number: 5 (DW_TAG_rvalue_reference_type)\n"
                              " <2><30>: Abbrev Number: 5 (DW_TAG_typedef)\n"
                              // The header pattern takes any white space.
                              " <3><31>:  Abbrev Number:\t6  (DW_TAG_const_type)\n") +
                  kEnd);
    const DwarfEntry& first = die.at(0x2d);
    EXPECT_EQ(first.depth, 300 % 256);
    EXPECT_EQ(first.tag, 0u);
    EXPECT_EQ(die.parser.entriesByOffset.count(0x30), 0u);
    EXPECT_EQ(die.at(0x31).tag, DwarfTag_const_type);
    EXPECT_EQ(die.at(0x31).depth, 3);
}

TEST(ParseDwarfEntries, BlockWithoutReadableHeaderGivesAnEntryAtOffsetZero) {
    ParsedDie die(std::string(" <1><2d>: Abbrev Number: 5 (Unknown TAG value: 4106)\n"
                              "    <2e>   DW_AT_name        : strange\n") +
                  kEnd);
    const DwarfEntry& entry = die.at(0);
    EXPECT_EQ(entry.tag, 0u);
    EXPECT_EQ(entry.depth, 0);
    EXPECT_EQ(entry.name, "strange");
}

TEST(ParseDwarfEntries, OverlongGroupsAreCut) {
    const std::string digits(150000, '1');
    ParsedDie die(" <1><" + std::string(150000, 'a') + ">: Abbrev Number: 5 (DW_TAG_" +
                  std::string(150000, 'x') + ")\n" + kEnd + " <" + digits +
                  "><2d>: Abbrev Number: 5 (DW_TAG_variable)\n" + kEnd);
    ASSERT_EQ(die.parser.ownedEntryCount(), 2u);
    // A hexadecimal number that long does not fit: the largest value.
    EXPECT_EQ(die.parser.entriesByOffset.count(UINT64_MAX), 1u);
    EXPECT_EQ(die.at(0x2d).tag, DwarfTag_variable);
    EXPECT_EQ(die.at(0x2d).depth, 255);
}

TEST(ParseDwarfEntries, AttributeLinesThatSayNothingAreIgnored) {
    ParsedDie die(std::string(" <1><2d>: Abbrev Number: 5 (DW_TAG_variable)\n"
                              "    <2e>   DW_AT_type        : <0x45>\n"
                              "    <2f>   DW_AT_name without a colon\n"
                              "    <30>   DW_AT_type        : 0x99, int\n"
                              "    <31>   DW_AT_byte_size\n"
                              "    <32>   DW_AT_producer    : GNU C17\n") +
                  kEnd);
    const DwarfEntry& entry = die.at(0x2d);
    EXPECT_TRUE(entry.name.empty());
    EXPECT_EQ(entry.typeRef, 0x45u);
    EXPECT_TRUE(entry.typeText.empty());
    EXPECT_EQ(entry.byteSize, 0u);
}

TEST(ParseDwarfEntries, DumpEndingInsideABlockLosesThatEntry) {
    ParsedDie die(" <1><2d>: Abbrev Number: 5 (DW_TAG_variable)\n"
                  "    <2e>   DW_AT_name        : kept\n"
                  " <1><40>: Abbrev Number: 5 (DW_TAG_variable)\n"
                  "    <41>   DW_AT_name        : lost\n");
    EXPECT_EQ(die.parser.entriesByOffset.count(0x2d), 1u);
    EXPECT_EQ(die.parser.entriesByOffset.count(0x40), 0u);
    EXPECT_EQ(die.parser.entriesByName.count("lost"), 0u);
}

TEST(ParseDwarfEntries, LexicalBlockIsNamedByItsLowPc) {
    ParsedDie die(std::string(" <2><2d>: Abbrev Number: 5 (DW_TAG_lexical_block)\n"
                              "    <2e>   DW_AT_low_pc      : 0x120\n") +
                  kEnd);
    EXPECT_EQ(die.at(0x2d).name, "0x120");
    EXPECT_EQ(die.parser.entriesByName.count("0x120"), 1u);
}

TEST(ParseDwarfEntries, ChildrenFollowTheDepths) {
    ParsedDie die(" <0><b>: Abbrev Number: 1 (DW_TAG_compile_unit)\n"
                  " <1><c>: Abbrev Number: 2 (DW_TAG_structure_type)\n"
                  " <2><d>: Abbrev Number: 3 (DW_TAG_member)\n"
                  "    <e>   DW_AT_name        : a\n"
                  " <2><f>: Abbrev Number: 3 (DW_TAG_member)\n"
                  "    <10>   DW_AT_name        : b\n"
                  " <2><11>: Abbrev Number: 0\n"
                  " <1><12>: Abbrev Number: 4 (DW_TAG_variable)\n"
                  " <0><20>: Abbrev Number: 1 (DW_TAG_compile_unit)\n"
                  // A level is skipped: the structure of the first unit must
                  // not become this entry's parent.
                  " <2><21>: Abbrev Number: 3 (DW_TAG_member)\n"
                  "    <22>   DW_AT_name        : orphan\n"
                  " <3><23>: Abbrev Number: 3 (DW_TAG_member)\n"
                  " <1><24>: Abbrev Number: 4 (DW_TAG_variable)\n"
                  " <1><25>: Abbrev Number: 0\n");
    const DwarfEntry& unit = die.at(0xb);
    ASSERT_EQ(unit.children.size(), 2u);
    EXPECT_EQ(unit.children[0], &die.at(0xc));
    EXPECT_EQ(unit.children[1], &die.at(0x12));
    const DwarfEntry& structure = die.at(0xc);
    ASSERT_EQ(structure.children.size(), 2u);
    EXPECT_EQ(structure.children[0]->name, "a");
    EXPECT_EQ(structure.children[1]->name, "b");

    // The skipped level leaves the orphan without parent, but it is
    // registered and its own child is attached to it.
    EXPECT_EQ(die.parser.entriesByName.count("orphan"), 1u);
    ASSERT_EQ(die.at(0x21).children.size(), 1u);
    EXPECT_EQ(die.at(0x20).children.size(), 1u);
    EXPECT_EQ(die.at(0x20).children[0], &die.at(0x24));
}

TEST(ParseDwarfEntries, LaterEntryOfTheSameOffsetTakesItsPlace) {
    ParsedDie die(" <1><2d>: Abbrev Number: 5 (DW_TAG_variable)\n"
                  "    <2e>   DW_AT_name        : first\n"
                  " <1><2d>: Abbrev Number: 5 (DW_TAG_variable)\n"
                  "    <2e>   DW_AT_name        : second\n"
                  " <1><3d>: Abbrev Number: 0\n");
    EXPECT_EQ(die.at(0x2d).name, "second");
    EXPECT_EQ(die.parser.ownedEntryCount(), 2u);
    const auto first = die.parser.entriesByName.find("first");
    ASSERT_NE(first, die.parser.entriesByName.end());
    EXPECT_EQ(first->second->name, "first");
}

TEST(ParseDwarfEntries, DefinitionMergesIntoAnEarlierDeclaration) {
    ParsedDie die(" <0><b>: Abbrev Number: 1 (DW_TAG_compile_unit)\n"
                  " <1><c>: Abbrev Number: 2 (DW_TAG_structure_type)\n"
                  "    <d>   DW_AT_name        : Point\n"
                  "    <e>   DW_AT_declaration : 1\n"
                  " <0><100>: Abbrev Number: 1 (DW_TAG_compile_unit)\n"
                  " <1><101>: Abbrev Number: 3 (DW_TAG_structure_type)\n"
                  "    <102>   DW_AT_name        : Point\n"
                  "    <103>   DW_AT_byte_size   : 8\n"
                  " <2><104>: Abbrev Number: 4 (DW_TAG_member)\n"
                  "    <105>   DW_AT_name        : x\n"
                  "    <106>   DW_AT_data_member_location: 0\n"
                  " <2><107>: Abbrev Number: 4 (DW_TAG_member)\n"
                  "    <108>   DW_AT_name        : y\n"
                  "    <109>   DW_AT_data_member_location: 4\n"
                  " <2><10a>: Abbrev Number: 0\n"
                  " <0><200>: Abbrev Number: 1 (DW_TAG_compile_unit)\n"
                  " <1><201>: Abbrev Number: 3 (DW_TAG_structure_type)\n"
                  "    <202>   DW_AT_name        : Point\n"
                  "    <203>   DW_AT_byte_size   : 8\n"
                  " <2><204>: Abbrev Number: 4 (DW_TAG_member)\n"
                  "    <205>   DW_AT_name        : x\n"
                  "    <206>   DW_AT_data_member_location: 0\n"
                  " <2><207>: Abbrev Number: 0\n");
    EXPECT_TRUE(definitionsMerged);
    const DwarfEntry& declaration = die.at(0xc);
    ASSERT_EQ(declaration.children.size(), 2u);
    EXPECT_EQ(declaration.children[0]->name, "x");
    EXPECT_EQ(declaration.children[1]->name, "y");
    // References to either definition reach the merged entry, which takes
    // the definition's size; the repeated member x is not appended again
    // but stays registered.
    EXPECT_EQ(&die.at(0x101), &declaration);
    EXPECT_EQ(&die.at(0x201), &declaration);
    EXPECT_EQ(declaration.byteSize, 8u);
    EXPECT_EQ(die.parser.entriesByOffset.count(0x204), 1u);
    EXPECT_EQ(die.parser.ownedEntryCount(), 7u);
}

}  // namespace
