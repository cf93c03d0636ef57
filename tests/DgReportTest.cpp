#include "base/DgReport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

using Vo::DgReport;

// What the test handler last received.
struct Received {
    std::string file;
    int line = 0;
    std::string what;
    bool failed = false;
    int calls = 0;
};
Received received;

// A failed check leaves through this exception instead of aborting.
struct Stopped {};

void keep(const char *file, int line, const char *what, bool failed) {
    received = Received{file, line, what, failed, received.calls + 1};
    if (failed) {
        throw Stopped{};
    }
}

// Installs keep for one test and puts the handler it replaced back.
class DgReportTest : public testing::Test {
protected:
    void SetUp() override {
        received = Received{};
        before = DgReport::setHandler(&keep);
    }
    void TearDown() override { EXPECT_EQ(DgReport::setHandler(before), &keep); }

    DgReport::Handler before = nullptr;
};

TEST_F(DgReportTest, ANoteReachesTheInstalledHandlerWithItsPlaceAndGoesOn) {
    DgReport::note("Where.cpp", 42, "something odd");
    EXPECT_EQ(received.file, "Where.cpp");
    EXPECT_EQ(received.line, 42);
    EXPECT_EQ(received.what, "something odd");
    EXPECT_FALSE(received.failed);
    EXPECT_EQ(received.calls, 1);
}

TEST_F(DgReportTest, AFailedCheckReachesTheHandlerAsFailed) {
    EXPECT_THROW(DgReport::fail("Where.cpp", 7, "a rule broken"), Stopped);
    EXPECT_TRUE(received.failed);
    EXPECT_EQ(received.what, "a rule broken");
}

TEST_F(DgReportTest, AnAssertChecksItsConditionOnlyInBuildsWithChecks) {
    int evaluated = 0;
    VO_ASSERT(++evaluated > 0, "never fails");
    EXPECT_EQ(received.calls, 0);
    const int line = __LINE__ + 1;
    const auto broken = [&] { VO_ASSERT(++evaluated < 0, "the rule of this test"); };
    if (!VO_CHECKS) {
        broken();
        EXPECT_EQ(evaluated, 0) << "a build without checks evaluated a condition";
        EXPECT_EQ(received.calls, 0);
        return;
    }
    EXPECT_THROW(broken(), Stopped);
    EXPECT_EQ(evaluated, 2);
    EXPECT_EQ(received.file, __FILE__);
    EXPECT_EQ(received.line, line);
    EXPECT_EQ(received.what, "the rule of this test (++evaluated < 0)");
}

TEST(DgReportDeathTest, TheDefaultHandlerPrintsTheLocatedMessageAndAborts) {
    EXPECT_EQ(DgReport::setHandler(nullptr), nullptr) << "another test left its handler";
    EXPECT_EXIT(DgReport::fail("Where.cpp", 9, "a rule broken"), testing::KilledBySignal(SIGABRT),
                "Where\\.cpp:9: check failed: a rule broken");
}

} // namespace
