// Recorded demos: tests/demos/<name>.demo replayed, its log compared with <name>.expected.
// After a deliberate change to the rules, HELI_UPDATE_DEMOS=1 writes the logs
// instead; review their difference before committing it.
#include "demo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

std::string contents(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

class RecordedDemo : public ::testing::TestWithParam<const char*> {};

// Both fly about, shoot and leave; a replay shows that no mission leaves state behind.
TEST_P(RecordedDemo, ReplaysAsRecorded)
{
    const std::string path = std::string(HELI_SOURCE_DIR) + "/tests/demos/" + GetParam();
    const std::string script = contents(path + ".demo");
    const std::string log = playDemo(script);
    EXPECT_EQ(playDemo(script), log);
    if (const char* update = std::getenv("HELI_UPDATE_DEMOS"); update && std::string(update) == "1") {
        std::ofstream(path + ".expected") << log;
        GTEST_SKIP() << "recorded " << path << ".expected";
    }
    EXPECT_EQ(log, contents(path + ".expected")) << "record a missing log with HELI_UPDATE_DEMOS=1";
}

INSTANTIATE_TEST_SUITE_P(Demos, RecordedDemo, ::testing::Values("shootdown", "rescue"));

TEST(DemoScript, ALineThatCannotBeReadIsRefusedByNumber)
{
    for (const char* bad : {"start 16 17", "100 press tab", "100 hop", "soon press up", "mission x"}) {
        try {
            playDemo(std::string("mission rescue # fine\n") + bad + "\n");
            ADD_FAILURE() << bad << " was read";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "line 2: " + std::string(bad));
        }
    }
}

} // namespace
