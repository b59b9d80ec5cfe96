#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "LoggingInstance.h"
#include "ScalingFile.h"
#include "ScalingRecord.h"
#include "platform/Module.h"

namespace {

using ambrel_test::LoggingInstance;
using Table = std::map<double, double>;
using Coefficients = std::vector<double>;

const std::string kCannotOpen = "Cannot open file 'resources/fmi_scaling.json'";
const std::string kFailedToParse = "Failed to parse 'resources/fmi_scaling.json'.\nerror: ";

// An entry with the three identifying members and whatever else is given.
std::string Entry(const std::string& address, const std::string& members = "",
                  const std::string& symbol = "s") {
    std::string text = R"({"symbol": ")" + symbol + R"(", "causality": "outputs", "address": )" + address;
    if (!members.empty()) text += ", " + members;
    return text + "}";
}

class ScalingFile : public ::testing::Test {
protected:
    // Reads the given file text; base 0, so keys are the offsets themselves.
    void Read(const std::string& text) {
        folder.Write("fmi_scaling.json", text);
        ReadScalingFile(logging.instance, folder.path(), "inst");
    }

    std::map<uint64_t, ScalingRecord>& scalings() { return logging.instance.scalings; }
    const ScalingRecord& At(uint64_t key) { return scalings().at(key); }

    // Exactly one warning, and it is the parse failure.
    void ExpectParseFailure() {
        ASSERT_EQ(logging.messages.size(), 1u);
        const auto& message = logging.messages[0];
        EXPECT_EQ(message.status, fmi2Warning);
        EXPECT_EQ(message.category, "warning");
        EXPECT_EQ(message.instanceName, "inst");
        ASSERT_EQ(message.text.compare(0, kFailedToParse.size(), kFailedToParse), 0) << message.text;
        EXPECT_GT(message.text.size(), kFailedToParse.size()) << "the library's message is missing";
    }

    harness::ResourceFolder folder;
    LoggingInstance logging{"inst"};
};

TEST_F(ScalingFile, MissingFileWarnsOnceAndKeepsTheMap) {
    scalings()[7].symbol = "earlier";
    ReadScalingFile(logging.instance, folder.path(), "inst");
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_EQ(logging.messages[0].text, kCannotOpen);
    EXPECT_EQ(logging.messages[0].status, fmi2Warning);
    EXPECT_EQ(logging.messages[0].category, "warning");
    ASSERT_EQ(scalings().size(), 1u);
    EXPECT_EQ(At(7).symbol, "earlier");
}

TEST_F(ScalingFile, FolderInPlaceOfTheFileCannotBeOpened) {
    std::filesystem::create_directory(folder.path() + "fmi_scaling.json");
    ReadScalingFile(logging.instance, folder.path(), "inst");
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_EQ(logging.messages[0].text, kCannotOpen);
}

TEST_F(ScalingFile, EmptyOrBrokenTextWarnsWithTheParserMessage) {
    Read("");
    ExpectParseFailure();
    EXPECT_TRUE(scalings().empty());

    logging.messages.clear();
    Read("[" + Entry(R"("10")", R"("LINEAR": [2.0, 1.0])") + ",");
    ExpectParseFailure();
    EXPECT_TRUE(scalings().empty());
}

TEST_F(ScalingFile, FolderWithoutTrailingSeparatorIsJoinedAsAPath) {
    folder.Write("fmi_scaling.json", "[" + Entry(R"("10")") + "]");
    std::string path = folder.path();
    path.pop_back();
    ReadScalingFile(logging.instance, path, "inst");
    EXPECT_TRUE(logging.messages.empty());
    EXPECT_EQ(scalings().count(0x10), 1u);
}

TEST_F(ScalingFile, LinearEntryWithOptionalMembers) {
    Read(R"([{"symbol": "speed", "causality": "inputs", "address": "1a0", "cm_name": "CM_SPEED",
              "enlarge_type": true, "LINEAR": [2.0, 1.0], "comment": 5}])");
    EXPECT_TRUE(logging.messages.empty());
    const ScalingRecord& record = At(0x1a0);
    EXPECT_EQ(record.symbol, "speed");
    EXPECT_EQ(record.causality, "inputs");
    EXPECT_EQ(record.cmName, "CM_SPEED");
    EXPECT_TRUE(record.enlargeType);
    EXPECT_EQ(record.kind, CompuMethodKind_LINEAR);
    EXPECT_EQ(std::any_cast<Coefficients>(record.conversionData), (Coefficients{2.0, 1.0}));
}

TEST_F(ScalingFile, AddressFormsFollowTheUnsignedHexConversion) {
    Read("[" + Entry(R"("0x1A0")", "", "prefixed") + "," + Entry(R"(" \t0X2b0zz")", "", "padded") + "," +
         Entry(R"("zz")", "", "no digits") + "," + Entry(R"("-1")", "", "negative") + "," +
         Entry(R"("1ffffffffffffffffff")", "", "too large") + "]");
    EXPECT_TRUE(logging.messages.empty());
    EXPECT_EQ(At(0x1a0).symbol, "prefixed");
    EXPECT_EQ(At(0x2b0).symbol, "padded");
    EXPECT_EQ(At(0).symbol, "no digits");
    // "-1" negates in unsigned arithmetic and "too large" saturates: both
    // land on the largest value, and the later entry wins.
    EXPECT_EQ(At(UINT64_MAX).symbol, "too large");
    EXPECT_EQ(scalings().size(), 4u);
}

TEST_F(ScalingFile, KeyIsTheModuleLoadAddressPlusTheOffset) {
    platform::ModuleHandle module = platform::LoadModule("libm.so.6");
    ASSERT_NE(module, nullptr);
    logging.instance.vEcuModule = module;
    const uint64_t base = platform::ModuleBaseAddress(module);
    Read("[" + Entry(R"("1a0")", "", "a") + "," + Entry(R"("0x1A0")", "", "b") + "," +
         Entry(R"("ffffffffffffffff")", "", "wraps") + "]");
    logging.instance.vEcuModule = nullptr;
    platform::FreeModule(module);

    ASSERT_NE(base, reinterpret_cast<uint64_t>(module)) << "the handle is no load address here";
    ASSERT_EQ(scalings().size(), 2u);
    EXPECT_EQ(At(base + 0x1a0).symbol, "b");
    EXPECT_EQ(At(base - 1).symbol, "wraps");
}

TEST_F(ScalingFile, LaterEntryReplacesTheEarlierOneCompletely) {
    Read("[" + Entry(R"("20")", R"("cm_name": "first", "enlarge_type": true, "TAB_INTP": [[0.0, 1.0]])", "one") +
         "," + Entry(R"("0x20")", R"("LINEAR": [3.0, 4.0])", "two") + "]");
    const ScalingRecord& record = At(0x20);
    EXPECT_EQ(record.symbol, "two");
    EXPECT_EQ(record.cmName, "");
    EXPECT_FALSE(record.enlargeType);
    EXPECT_EQ(record.kind, CompuMethodKind_LINEAR);
    EXPECT_EQ(std::any_cast<Coefficients>(record.conversionData), (Coefficients{3.0, 4.0}));
}

TEST_F(ScalingFile, TopLevelObjectIsVisitedByMemberName) {
    // "b" sorts after "a", so its entry is stored last and wins.
    Read(R"({"b": )" + Entry(R"("30")", "", "from b") + R"(, "a": )" + Entry(R"("30")", "", "from a") + "}");
    EXPECT_EQ(At(0x30).symbol, "from b");
}

TEST_F(ScalingFile, ScalarTopLevelAndNonObjectElementsGiveNoEntries) {
    for (const char* text : {"null", "5", "2.5", "\"text\"", "true", "[1, \"a\", null, [1.0], {}]"}) {
        Read(text);
        EXPECT_TRUE(scalings().empty()) << text;
    }
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(ScalingFile, TextAfterTheFirstValueIsNotExamined) {
    Read("[" + Entry(R"("40")") + "]\r\n} this is not json");
    EXPECT_TRUE(logging.messages.empty());
    EXPECT_EQ(At(0x40).kind, CompuMethodKind_NONE);
}

TEST_F(ScalingFile, EntryWithoutAnIdentifyingMemberIsDroppedSilently) {
    Read(R"([{"symbol": "s", "causality": "outputs", "LINEAR": [1.0, 0.0]},
             {"symbol": "s", "address": "1"}, {"causality": "outputs", "address": "2"},
             {"Symbol": "s", "causality": "outputs", "address": "3"}])");
    EXPECT_TRUE(logging.messages.empty());
    EXPECT_TRUE(scalings().empty());
}

TEST_F(ScalingFile, EntryWithoutConversionKeyConvertsNothing) {
    Read("[" + Entry(R"("50")") + "," + Entry(R"("51")", R"("TAB_INTP": 1.0, "RAT_FUNC": null)") + "]");
    EXPECT_EQ(At(0x50).kind, CompuMethodKind_NONE);
    EXPECT_FALSE(At(0x50).conversionData.has_value());
    EXPECT_EQ(At(0x51).kind, CompuMethodKind_NONE);
}

TEST_F(ScalingFile, ConversionKeysAreTakenInTheirFixedOrder) {
    Read("[" + Entry(R"("1")", R"("LINEAR": [2.0, 1.0], "IDENTICAL": null)") + "," +
         Entry(R"("2")", R"("IDENTICAL": 0, "RAT_FUNC": [0.0, 1.0, 0.0, 0.0, 0.0, 1.0])") + "," +
         Entry(R"("3")", R"("RAT_FUNC": "no array", "LINEAR": [1.0, 0.0])") + "," +
         Entry(R"("4")", R"("TAB_INTP": [[0.0, 1.0]], "TAB_NOINTP": [[2.0, 3.0]])") + "," +
         Entry(R"("5")", R"("TAB_INTP": [[0.0, 1.0]], "LINEAR": [5.0, 6.0])") + "," +
         Entry(R"("6")", R"("TAB_NOINTP": {"a": 1.0}, "TAB_INTP": [])") + "]");
    EXPECT_TRUE(logging.messages.empty());
    EXPECT_EQ(At(1).kind, CompuMethodKind_IDENTICAL);
    EXPECT_EQ(At(2).kind, CompuMethodKind_RAT_FUNC);
    EXPECT_EQ(std::any_cast<Coefficients>(At(2).conversionData),
              (Coefficients{0.0, 1.0, 0.0, 0.0, 0.0, 1.0}));
    EXPECT_EQ(At(3).kind, CompuMethodKind_LINEAR);
    EXPECT_EQ(At(4).kind, CompuMethodKind_TAB_NOINTP);
    EXPECT_EQ(std::any_cast<Table>(At(4).conversionData), (Table{{2.0, 3.0}}));
    EXPECT_EQ(At(5).kind, CompuMethodKind_LINEAR);
    EXPECT_EQ(At(6).kind, CompuMethodKind_TAB_INTP);
    EXPECT_TRUE(std::any_cast<Table>(At(6).conversionData).empty());
}

TEST_F(ScalingFile, ConversionArraysAdmitOnlyFloatingPointNumbersOfTheRightCount) {
    Read("[" + Entry(R"("1")", R"("LINEAR": [2, 1])") + "," + Entry(R"("2")", R"("LINEAR": [2.0])") + "," +
         Entry(R"("3")", R"("LINEAR": [2.0, 1])") + "," + Entry(R"("4")", R"("LINEAR": "2.0")") + "," +
         Entry(R"("5")", R"("LINEAR": [2.0, 1.0, 0.0])") + "," + Entry(R"("6")", R"("LINEAR": [2e0, -1E-1])") +
         "," + Entry(R"("7")", R"("RAT_FUNC": [0.0, 1.0, 0.0, 0.0, 1.0])") + "," +
         Entry(R"("8")", R"("RAT_FUNC": [0.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0])") + "," +
         Entry(R"("9")", R"("RAT_FUNC": [0.0, 1.0, 0.0, 0.0, 0.0, 1])") + "," + Entry(R"("10")", R"("LINEAR": [])") +
         "]");
    EXPECT_TRUE(logging.messages.empty());
    ASSERT_EQ(scalings().size(), 1u);
    EXPECT_EQ(std::any_cast<Coefficients>(At(6).conversionData), (Coefficients{2.0, -0.1}));
}

TEST_F(ScalingFile, DroppedConversionDoesNotFallBackToALaterKey) {
    Read("[" + Entry(R"("1")", R"("RAT_FUNC": [1.0], "IDENTICAL": 0, "LINEAR": [1.0, 0.0])") + "]");
    EXPECT_TRUE(scalings().empty());
}

TEST_F(ScalingFile, TableRowsArePairsOfFloatingPointNumbers) {
    Read("[" + Entry(R"("1")", R"("TAB_INTP": [[0.0, 0.0], [10.0, 100.0]])") + "," +
         Entry(R"("2")", R"("TAB_INTP": [[0.0, 1.0, 2.0]])") + "," + Entry(R"("3")", R"("TAB_INTP": [[0, 1]])") +
         "," + Entry(R"("4")", R"("TAB_NOINTP": [[0.0, 1.0], 5.0])") + "," +
         Entry(R"("5")", R"("TAB_NOINTP": [[0.0]])") + "," +
         Entry(R"("6")", R"("TAB_NOINTP": [[3.0, 1.0], [1.0, 5.0], [1.0, 7.0]])") + "]");
    EXPECT_TRUE(logging.messages.empty());
    ASSERT_EQ(scalings().size(), 2u);
    EXPECT_EQ(At(1).kind, CompuMethodKind_TAB_INTP);
    EXPECT_EQ(std::any_cast<Table>(At(1).conversionData), (Table{{0.0, 0.0}, {10.0, 100.0}}));
    EXPECT_EQ(std::any_cast<Table>(At(6).conversionData), (Table{{1.0, 7.0}, {3.0, 1.0}}));
}

TEST_F(ScalingFile, LibraryTypeErrorEndsTheReadingButKeepsEarlierEntries) {
    const std::vector<std::string> failing = {
        Entry("5"),                                    // address not a string
        Entry(R"("2")", R"("LINEAR": 2.0)"),           // passes the element test, no array
        Entry(R"("2")", R"("LINEAR": null)"),          // likewise
        Entry(R"("2")", R"("enlarge_type": 1)"),       // not a boolean
        Entry(R"("2")", R"("cm_name": 3)"),            // not a string
        R"({"symbol": 1, "causality": "outputs", "address": "2"})",
    };
    for (const std::string& entry : failing) {
        scalings().clear();
        logging.messages.clear();
        Read("[" + Entry(R"("1")", "", "before") + "," + entry + "," + Entry(R"("3")", "", "after") + "]");
        SCOPED_TRACE(entry);
        ExpectParseFailure();
        ASSERT_EQ(scalings().size(), 1u);
        EXPECT_EQ(At(1).symbol, "before");
    }
}

TEST_F(ScalingFile, DroppedEntryIsNotReadFurther) {
    // The conversion drops the entry before its address would be read.
    Read("[" + Entry("5", R"("LINEAR": [2, 1])") + "," + Entry(R"("3")") + "]");
    EXPECT_TRUE(logging.messages.empty());
    ASSERT_EQ(scalings().size(), 1u);
    EXPECT_EQ(scalings().count(3), 1u);
}

}  // namespace
