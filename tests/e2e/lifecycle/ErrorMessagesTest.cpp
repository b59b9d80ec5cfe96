// Every call that fails says why, once, whatever the logging flag says.

#include <filesystem>

#include "LifecycleFixture.h"

namespace {

struct ErrorMessagesTest : LifecycleFixture {
    // Exactly one message was sent since the last check, an error with the
    // given text.
    void ExpectOneError(fmi2Status status, const std::string& message) {
        EXPECT_EQ(status, fmi2Error) << message;
        ASSERT_EQ(log.messages().size(), 1u) << log.text();
        EXPECT_EQ(log.messages()[0].status, fmi2Error);
        EXPECT_EQ(log.messages()[0].category, "error");
        EXPECT_EQ(log.messages()[0].message, message);
        log.clear();
    }

    int Errors() const {
        int errors = 0;
        for (const harness::LoggedMessage& message : log.messages()) errors += message.status == fmi2Error;
        return errors;
    }
};

}  // namespace

TEST_F(ErrorMessagesTest, WithLoggingOffEveryRefusedCallSaysWhyOnce) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
    log.clear();
    ExpectOneError(fmu.fmi2DoStep(c, 0.0, 0.0, fmi2True), "fmi2DoStep communicationStepSize must be > 0");
    ExpectOneError(fmu.fmi2CancelStep(c), "fmi2CancelStep not supported");

    // Value reference 6 names nothing: the whole call fails before any
    // value is read or written.
    const fmi2ValueReference references[] = {kStepCount, 6};
    fmi2Real reals[2] = {-1.0, -1.0};
    fmi2Integer integers[2] = {-1, -1};
    fmi2Boolean booleans[2] = {-1, -1};
    fmi2String strings[2] = {"a", "b"};
    ExpectOneError(fmu.fmi2GetReal(c, references, 2, reals), "fmi2GetReal: Unknown value reference 6.");
    ExpectOneError(fmu.fmi2GetInteger(c, references, 2, integers), "fmi2GetInteger: Unknown value reference 6.");
    ExpectOneError(fmu.fmi2GetBoolean(c, references, 2, booleans), "fmi2GetBoolean: Unknown value reference 6.");
    ExpectOneError(fmu.fmi2SetReal(c, references, 2, reals), "fmi2SetReal: Unknown value reference 6.");
    ExpectOneError(fmu.fmi2SetInteger(c, references, 2, integers), "fmi2SetInteger: Unknown value reference 6.");
    ExpectOneError(fmu.fmi2SetBoolean(c, references, 2, booleans), "fmi2SetBoolean: Unknown value reference 6.");
    // The FMU has no string variables at all.
    ExpectOneError(fmu.fmi2GetString(c, references, 1, strings), "fmi2GetString: Unknown value reference 2.");
    ExpectOneError(fmu.fmi2SetString(c, references, 1, strings), "fmi2SetString: Unknown value reference 2.");
    const fmi2ValueReference zero = 0;
    ExpectOneError(fmu.fmi2SetInteger(c, &zero, 1, integers), "fmi2SetInteger: Unknown value reference 0.");
    EXPECT_EQ(reals[0], -1.0);
    EXPECT_EQ(integers[0], -1);
    EXPECT_EQ(booleans[0], -1);
    EXPECT_STREQ(strings[0], "a");
    EXPECT_EQ(Integer(c, kStepCount), 0);
    EXPECT_EQ(fmu.fmi2GetString(c, references, 0, strings), fmi2OK);
    EXPECT_TRUE(log.messages().empty()) << log.text();

    ASSERT_EQ(fmu.fmi2Terminate(c), fmi2OK);
    ExpectOneError(fmu.fmi2DoStep(c, 0.0, 0.01, fmi2True),
                   "fmi2DoStep called in the state 'terminated'; it is accepted only in the state 'step "
                   "mode', so nothing was done.");
    fmu.fmi2FreeInstance(c);
    EXPECT_TRUE(log.messages().empty()) << log.text();
}

TEST_F(ErrorMessagesTest, AFailedInstantiationGivesNullAndOneReason) {
    LayOut();
    const std::string path = folder.path();
    std::filesystem::create_directories(path + "folder/resources.txt");
    folder.Write("unwritable/resources.txt", "fmiVariables\n    0x1000 8 10 0 0\n");
    folder.Write("empty/resources.txt", "");
    // Without its library the variable's offset would be taken as an address.
    folder.Write("nolibrary/resources.txt", "vEcuDll\n    \nfmiVariables\n    0x1000 8 10 0 0\n");
    const std::pair<std::string, std::string> refused[] = {
        {"http://example.com/resources",
         "fmi2Instantiate: The resource location 'http://example.com/resources' is not a folder of this "
         "machine."},
        {"file://server/share",
         "fmi2Instantiate: The resource location 'file://server/share' is not a folder of this machine."},
        {folder.uri() + "%00/x",
         "fmi2Instantiate: The resource location '" + folder.uri() + "%00/x' is not a folder of this machine."},
        {folder.uri() + "missing",
         "fmi2Instantiate: Cannot open file '" + path + "missing/resources.txt': No such file or directory"},
        {folder.uri() + "folder",
         "fmi2Instantiate: Cannot open file '" + path + "folder/resources.txt': Is a directory"},
        {folder.uri() + "nolibrary", "'resources/resources.txt' line 1 is empty! Dll name expected."},
    };
    for (const auto& [location, message] : refused) {
        log.clear();
        EXPECT_EQ(Instantiate(location, fmi2False), nullptr) << location;
        ASSERT_EQ(log.messages().size(), 1u) << log.text();
        EXPECT_EQ(log.messages()[0].message, message);
    }
    EXPECT_FALSE(folder.Exists("vecu-started.txt"));

    log.clear();
    EXPECT_EQ(fmu.fmi2Instantiate("ecu", fmi2ModelExchange, "{lifecycle}", folder.uri().c_str(), log.callbacks(),
                                  fmi2False, fmi2False),
              nullptr);
    EXPECT_EQ(log.text(), "fmi2Instantiate: Only FMU-type Co-Simulation is supported. Type = 0.\n");

    // Page 1 is never mapped, so the variable cannot be made writable.
    log.clear();
    EXPECT_EQ(Instantiate(folder.uri() + "unwritable", fmi2False), nullptr);
    EXPECT_EQ(Errors(), 1) << log.text();
    EXPECT_EQ(log.count("fmi2Instantiate: Cannot make the memory of the variables writable: Cannot allocate memory"),
              1)
        << log.text();

    // An empty configuration works, but says that it configures nothing.
    log.clear();
    fmi2Component c = Instantiate(folder.uri() + "empty", fmi2False);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(Errors(), 0) << log.text();
    EXPECT_EQ(log.count("fmi2Instantiate: '" + path + "empty/resources.txt' is empty: it configures nothing."), 1);
    fmu.fmi2FreeInstance(c);
}
