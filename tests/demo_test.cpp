// Recorded demos: every script tests/demos/<name>.demo is replayed on the
// virtual clock and its log compared byte for byte with <name>.expected.
// After a deliberate change to the game's rules, run the tests once with
// HELI_UPDATE_DEMOS=1 in the environment: the logs are then written instead of
// compared. Review their difference before committing it.
#include "demo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

std::string demoPath(const std::string& name, const char* extension)
{
    return std::string(HELI_SOURCE_DIR) + "/tests/demos/" + name + extension;
}

Demo readDemoFile(const std::string& name)
{
    std::ifstream script(demoPath(name, ".demo"));
    if (!script)
        throw std::runtime_error("no demo " + name);
    return readDemo(script);
}

class RecordedDemo : public ::testing::TestWithParam<const char*> {};

TEST_P(RecordedDemo, ReplaysAsRecorded)
{
    const std::string log = playDemo(readDemoFile(GetParam()));
    const std::string expectedPath = demoPath(GetParam(), ".expected");
    const char* update = std::getenv("HELI_UPDATE_DEMOS");
    if (update && std::string(update) == "1") {
        std::ofstream(expectedPath) << log;
        GTEST_SKIP() << "recorded " << expectedPath;
    }
    std::ifstream expected(expectedPath);
    ASSERT_TRUE(expected) << expectedPath << " missing; record it with HELI_UPDATE_DEMOS=1";
    std::ostringstream recorded;
    recorded << expected.rdbuf();
    EXPECT_EQ(log, recorded.str());
}

// Both demos fly about, shoot and leave with Escape.
INSTANTIATE_TEST_SUITE_P(Demos, RecordedDemo, ::testing::Values("shootdown", "rescue"));

// Nothing carries over from one mission to the next but what the clock seeds.
TEST(DemoReplay, TheStartTimeAloneDecidesTheOutcome)
{
    Demo demo = readDemoFile("shootdown");
    const std::string first = playDemo(demo);
    EXPECT_EQ(playDemo(demo), first);
    demo.startMs += 1;
    EXPECT_NE(playDemo(demo), first);
}

TEST(DemoReader, RefusesALineItCannotReadNamingIt)
{
    for (const char* bad : {"frame 16 17", "100 press tab", "100 hop", "soon press up"}) {
        std::istringstream script(std::string("mission rescue # fine\n") + bad + "\n");
        try {
            readDemo(script);
            ADD_FAILURE() << bad << " was read";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "line 2: " + std::string(bad));
        }
    }
}

} // namespace
