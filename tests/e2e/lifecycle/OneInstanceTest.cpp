// One live instance per process, whatever thread asks: a second one is
// refused before it touches anything, and instances that come and go on
// changing threads never wait for ever on the symbol library's lock.

#include <dlfcn.h>

#include <atomic>
#include <future>
#include <thread>

#include "LifecycleFixture.h"

namespace {

const char* const kRefusal =
    "fmi2Instantiate: Another instance of this FMU is alive in this process; only one instance at a "
    "time is supported, so fmi2FreeInstance it first.";

// Runs a function on a thread of its own, waits for it, and keeps the
// thread alive until the object goes: a thread that ended may hand its
// identity on to the next one, and the tests need distinct threads.
class LingeringThread {
public:
    template <typename Function>
    explicit LingeringThread(Function function)
        : thread_([this, function] {
              function();
              done_.set_value();
              release_.get_future().wait();
          }) {
        done_.get_future().wait();
    }
    ~LingeringThread() {
        release_.set_value();
        thread_.join();
    }
    LingeringThread(const LingeringThread&) = delete;
    LingeringThread& operator=(const LingeringThread&) = delete;

private:
    std::promise<void> done_;
    std::promise<void> release_;
    std::thread thread_;
};

struct OneInstanceTest : LifecycleFixture {
    OneInstanceTest() {
        LayOut();
        // The symbol library holds its lock from instantiation to termination.
        folder.Copy(VIRLO_LIBRARY, "Virlo.so");
    }

    fmi2Component InstantiateWith(harness::MessageLog& messages) {
        return fmu.fmi2Instantiate("other", fmi2CoSimulation, "{lifecycle}", folder.uri().c_str(),
                                   messages.callbacks(), fmi2False, fmi2False);
    }
};

}  // namespace

TEST_F(OneInstanceTest, ASecondLiveInstanceIsRefusedOnAnyThread) {
    fmi2Component first = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(first, nullptr);
    harness::MessageLog other;
    EXPECT_EQ(InstantiateWith(other), nullptr);
    fmi2Component fromThread = first;
    LingeringThread([&] { fromThread = InstantiateWith(other); });
    EXPECT_EQ(fromThread, nullptr);
    ASSERT_EQ(other.messages().size(), 2u) << other.text();
    for (const harness::LoggedMessage& message : other.messages()) {
        EXPECT_EQ(message.message, kRefusal);
        EXPECT_EQ(message.instanceName, "other");
    }
    // The live instance was left alone: its vECU was loaded once and runs.
    EXPECT_EQ(Run(first, 0.0, 1).back(), std::make_tuple(21.0, 2, 1));
    fmu.fmi2FreeInstance(first);
}

TEST_F(OneInstanceTest, TwoThreadsInstantiatingAtOnceGetOneInstanceAndOneRefusal) {
    for (int round = 0; round < 10; ++round) {
        harness::MessageLog logs[2];
        fmi2Component instances[2] = {nullptr, nullptr};
        std::atomic<int> ready{0};
        auto instantiate = [&](int which) {
            ++ready;
            while (ready.load() < 2) {
            }
            instances[which] = InstantiateWith(logs[which]);
        };
        std::thread a(instantiate, 0), b(instantiate, 1);
        a.join();
        b.join();
        const int winner = instances[0] != nullptr ? 0 : 1;
        ASSERT_NE(instances[winner], nullptr) << round;
        EXPECT_EQ(instances[1 - winner], nullptr) << round;
        EXPECT_EQ(logs[1 - winner].text(), std::string(kRefusal) + "\n") << round;
        fmu.fmi2FreeInstance(instances[winner]);
    }
}

TEST_F(OneInstanceTest, InstancesComeAndGoOnChangingThreads) {
    for (int round = 0; round < 3; ++round) {
        fmi2Component c = nullptr;
        LingeringThread instantiating([&] { c = Instantiate(folder.uri(), fmi2False); });
        ASSERT_NE(c, nullptr) << log.text();
        LingeringThread([&] {
            EXPECT_EQ(Run(c, 0.0, 2).back(), std::make_tuple(21.5, 3, 1));
            EXPECT_EQ(fmu.fmi2Terminate(c), fmi2OK);
            fmu.fmi2FreeInstance(c);
        });
    }

    // While something else keeps the symbol library loaded, the lock of the
    // thread that instantiated stays with it: another thread is refused
    // instead of waiting for ever.
    void* held = dlopen((folder.path() + "Virlo.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(held, nullptr);
    fmi2Component c = nullptr;
    LingeringThread instantiating([&] { c = Instantiate(folder.uri(), fmi2False); });
    ASSERT_NE(c, nullptr) << log.text();
    LingeringThread([&] {
        EXPECT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
        EXPECT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
        EXPECT_EQ(fmu.fmi2Terminate(c), fmi2OK);
        fmu.fmi2FreeInstance(c);
    });
    log.clear();
    LingeringThread([&] { EXPECT_EQ(Instantiate(folder.uri(), fmi2False), nullptr); });
    ASSERT_EQ(log.messages().size(), 1u) << log.text();
    EXPECT_EQ(log.messages()[0].status, fmi2Error);
    EXPECT_EQ(log.messages()[0].message,
              "fmi2Instantiate: The symbol library is still locked by the thread that instantiated the "
              "previous instance, which was terminated on another thread; instantiating here would wait "
              "for ever.");
    // Once the library is gone, so is its lock.
    dlclose(held);
    LingeringThread([&] {
        c = Instantiate(folder.uri(), fmi2False);
        EXPECT_NE(c, nullptr) << log.text();
        fmu.fmi2FreeInstance(c);
    });
}
