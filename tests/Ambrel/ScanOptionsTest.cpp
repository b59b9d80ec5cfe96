#include "ScanOptions.h"

#include <gtest/gtest.h>

namespace {

struct Outputs {
    uint32_t addressWidth = 7;
    uint8_t noDialogs = 7;
    uint32_t packingOrder = 7;
};

Outputs Scan(std::initializer_list<const char*> arguments, uint16_t firstIndex) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    Outputs outputs;
    ScanOptions(list.data(), firstIndex, &outputs.addressWidth, &outputs.noDialogs, &outputs.packingOrder);
    return outputs;
}

TEST(ScanOptions, EachOptionSetsItsOutput) {
    Outputs outputs = Scan({"--no-dialogs", "--left_to_right", "--64bit"}, 0);
    EXPECT_EQ(outputs.noDialogs, 1);
    EXPECT_EQ(outputs.packingOrder, 1u);
    EXPECT_EQ(outputs.addressWidth, 1u);
    outputs = Scan({"--right_to_left", "--32bit"}, 0);
    EXPECT_EQ(outputs.packingOrder, 0u);
    EXPECT_EQ(outputs.addressWidth, 0u);
    EXPECT_EQ(outputs.noDialogs, 7);
}

TEST(ScanOptions, LaterOptionsOverrideEarlierOnes) {
    EXPECT_EQ(Scan({"--64bit", "--32bit"}, 0).addressWidth, 0u);
    EXPECT_EQ(Scan({"--left_to_right", "--right_to_left", "--left_to_right"}, 0).packingOrder, 1u);
}

TEST(ScanOptions, ArgumentsBeforeTheFirstIndexArePassedOver) {
    const Outputs outputs = Scan({"--64bit", "--no-dialogs", "", "--left_to_right"}, 2);
    EXPECT_EQ(outputs.addressWidth, 7u);
    EXPECT_EQ(outputs.noDialogs, 7);
    EXPECT_EQ(outputs.packingOrder, 1u);
}

TEST(ScanOptions, OnlyWholeCaseSensitiveMatchesCount) {
    const Outputs outputs = Scan({"--64BIT", "--no-dialogs=1", "-no-dialogs", "x--32bit", "", "program"}, 0);
    EXPECT_EQ(outputs.addressWidth, 7u);
    EXPECT_EQ(outputs.noDialogs, 7);
    EXPECT_EQ(outputs.packingOrder, 7u);
}

TEST(ScanOptions, FirstIndexBeyondTheListReadsNothingPastIt) {
    // Under AddressSanitizer a read past the terminator would be reported.
    const Outputs outputs = Scan({"--64bit"}, 5);
    EXPECT_EQ(outputs.addressWidth, 7u);
}

TEST(ScanOptions, NullListOrOutputsAreTolerated) {
    ScanOptions(nullptr, 0, nullptr, nullptr, nullptr);
    const char* arguments[] = {"--no-dialogs", "--64bit", "--left_to_right", nullptr};
    uint32_t packingOrder = 0;
    ScanOptions(arguments, 0, nullptr, nullptr, &packingOrder);
    EXPECT_EQ(packingOrder, 1u);
}

}  // namespace
