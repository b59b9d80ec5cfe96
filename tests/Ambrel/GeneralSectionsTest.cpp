#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "BitfieldPackingOrderSection.h"
#include "EnvironmentVariablesSection.h"
#include "FmiInternalState.h"
#include "FmiVariablesSection.h"
#include "FmuHarness.h"

namespace {

struct GeneralSectionsTest : ::testing::Test {
    harness::MessageLog log;
    harness::ResourceFolder folder;
    FmiInternalState instance;

    GeneralSectionsTest() {
        instance.instanceName = "ecu";
        instance.callbackFunctions = log.callbacks();
    }

    void ExpectOneWarning(const std::string& text) {
        ASSERT_EQ(log.messages().size(), 1u);
        EXPECT_EQ(log.messages()[0].message, text);
        EXPECT_EQ(log.messages()[0].status, fmi2Warning);
        EXPECT_EQ(log.messages()[0].category, "warning");
        EXPECT_EQ(log.messages()[0].instanceName, "ecu");
    }
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(GeneralSectionsTest, VariableEntriesStayWholeAndEmptyOnesKeepTheirPlace) {
    folder.Write("resources.txt", "vEcuDll\n    ecu.so\nfmiVariables\n    a\n    \n    b  \n");
    EXPECT_EQ(ReadFmiVariables(instance, folder.path(), "ecu"), 0);
    EXPECT_EQ(instance.variableNames, (Names{"a", "", "b  "}));
    ExpectOneWarning("'resources/resources.txt' line 4 is empty! Variable name(s) expected.");
}

TEST_F(GeneralSectionsTest, MissingFileIsReportedAndReadsNothing) {
    EXPECT_EQ(ReadFmiVariables(instance, folder.path(), "ecu"), 0);
    EXPECT_EQ(ReadBitfieldPackingOrderSection(instance, folder.path(), "ecu"), 0);
    EXPECT_EQ(ReadEnvironmentVariablesSection(instance, folder.path(), "ecu"), 0);
    EXPECT_TRUE(instance.variableNames.empty());
    EXPECT_EQ(log.count("Cannot open file 'resources/resources.txt'"), 3);
    EXPECT_EQ(log.messages()[0].status, fmi2Error);
}

TEST_F(GeneralSectionsTest, LeftToRightAnywhereSetsThePackingOrder) {
    folder.Write("resources.txt", "bitfield_packing_order\n    right_to_left\n    left_to_right more\n");
    EXPECT_EQ(ReadBitfieldPackingOrderSection(instance, folder.path(), "ecu"), 0);
    EXPECT_EQ(instance.bitfieldPackingOrder, BitfieldPackingOrder_LeftToRight);
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(GeneralSectionsTest, OtherPackingWordsLeaveTheOrder) {
    folder.Write("resources.txt", "bitfield_packing_order\n    \n    Left_To_Right\n    right_to_left\n");
    EXPECT_EQ(ReadBitfieldPackingOrderSection(instance, folder.path(), "ecu"), 0);
    EXPECT_EQ(instance.bitfieldPackingOrder, BitfieldPackingOrder_RightToLeft);
    ExpectOneWarning("'resources/resources.txt' line 1 is empty! File name(s) expected.");
}

TEST_F(GeneralSectionsTest, EnvironmentEntriesAreExpandedAndApplied) {
    setenv("AMBREL_TEST_HOME", "/h", 1);
    unsetenv("AMBREL_TEST_PATH");
    unsetenv("AMBREL_TEST_PLAIN");
    folder.Write("resources.txt",
                 "EnvironmentVariables\n    AMBREL_TEST_PATH=${AMBREL_TEST_HOME}/bin\n    \n"
                 "    AMBREL_TEST_PLAIN=50%\n");
    EXPECT_EQ(ReadEnvironmentVariablesSection(instance, folder.path(), "ecu"), 0);
    EXPECT_STREQ(std::getenv("AMBREL_TEST_PATH"), "/h/bin");
    EXPECT_STREQ(std::getenv("AMBREL_TEST_PLAIN"), "50%");
    ExpectOneWarning(
        "'resources/resources.txt' line 2 is empty! Setting of environment variables expected.");
}

TEST(EnvironmentReferences, ExpandOnlyWellFormedReferences) {
    const std::map<std::string, std::string> variables{
        {"A", "1"}, {"B", "x${A}y"}, {"LOOP", "<${LOOP}>"}, {"P", "${Q}"}, {"Q", "${P}"}};
    auto lookup = [&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found != variables.end() ? found->second.c_str() : nullptr;
    };
    EXPECT_EQ(ExpandEnvironmentReferences("N=plain", lookup), "N=plain");
    EXPECT_EQ(ExpandEnvironmentReferences("N=${A}-${A}", lookup), "N=1-1");
    EXPECT_EQ(ExpandEnvironmentReferences("N=${B}", lookup), "N=x1y");
    EXPECT_EQ(ExpandEnvironmentReferences("N=[${UNSET}]", lookup), "N=[]");
    EXPECT_EQ(ExpandEnvironmentReferences("N=a}b${A}", lookup), "N=a}b1");
    EXPECT_EQ(ExpandEnvironmentReferences("N=}${A", lookup), "N=}${A");
    EXPECT_EQ(ExpandEnvironmentReferences("N=${LOOP}", lookup), "N=<${LOOP}>");
    EXPECT_EQ(ExpandEnvironmentReferences("N=${P}", lookup), "N=${P}");
}

TEST(EnvironmentReferences, TextAndInsertedValuesStayWithinTheLongestSetting) {
    // Each L<k> refers twice to L<k-1>: unbounded, N=${L40} would look up
    // 2^40 values that all expand to nothing.
    std::map<std::string, std::string> variables{{"H", std::string(16379, 'h')}, {"L0", ""}};
    for (int k = 1; k <= 40; ++k) {
        const std::string previous = "${L" + std::to_string(k - 1) + "}";
        variables["L" + std::to_string(k)] = previous + previous;
    }
    auto lookup = [&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found != variables.end() ? found->second.c_str() : nullptr;
    };
    // 9 characters of text and twice 16379 put in: 32767 in all.
    EXPECT_EQ(ExpandEnvironmentReferences("N${H}${H}", lookup), "N" + variables["H"] + variables["H"]);
    EXPECT_EQ(ExpandEnvironmentReferences("NN${H}${H}", lookup), std::nullopt);
    EXPECT_EQ(ExpandEnvironmentReferences("N=" + std::string(32766, 'x'), lookup), std::nullopt);
    EXPECT_EQ(ExpandEnvironmentReferences("N=${L40}", lookup), std::nullopt);
    EXPECT_EQ(ExpandEnvironmentReferences("N=${L3}", lookup), "N=");
}
