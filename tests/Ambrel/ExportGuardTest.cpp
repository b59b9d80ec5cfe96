#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "ExportGuard.h"
#include "FmuHarness.h"

namespace {

struct ExportGuardTest : ::testing::Test {
    harness::MessageLog log;
    FmiInternalState instance;

    ExportGuardTest() {
        instance.instanceName = "ecu";
        instance.callbackFunctions = log.callbacks();
    }
};

}  // namespace

TEST_F(ExportGuardTest, EscapingExceptionsBecomeReportedErrors) {
    EXPECT_EQ(GuardedCall(&instance, "fmi2DoStep",
                          [](FmiInternalState&) -> fmi2Status { throw std::runtime_error("50% %s%n"); }),
              fmi2Error);
    EXPECT_EQ(GuardedCall(&instance, "fmi2Reset",
                          [](FmiInternalState&) -> fmi2Status { throw std::bad_alloc(); }),
              fmi2Error);
    EXPECT_EQ(GuardedCall(&instance, "fmi2Terminate", [](FmiInternalState&) -> fmi2Status { throw 7; }),
              fmi2Error);
    ASSERT_EQ(log.messages().size(), 3u);
    EXPECT_EQ(log.messages()[0].message, "fmi2DoStep failed: 50% %s%n");
    EXPECT_EQ(log.messages()[0].status, fmi2Error);
    EXPECT_EQ(log.messages()[0].category, "error");
    EXPECT_EQ(log.messages()[0].instanceName, "ecu");
    EXPECT_EQ(log.messages()[1].message, "fmi2Reset failed: std::bad_alloc");
    EXPECT_EQ(log.messages()[2].message, "fmi2Terminate failed: unknown exception");
}

TEST_F(ExportGuardTest, BodyStatusPassesAndNullComponentsAreRefused) {
    int calls = 0;
    auto body = [&](FmiInternalState&) {
        ++calls;
        return fmi2OK;
    };
    EXPECT_EQ(GuardedCall(&instance, "fmi2Reset", body), fmi2OK);
    EXPECT_EQ(GuardedCall(nullptr, "fmi2Reset", body), fmi2Error);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(log.messages().empty());
}
