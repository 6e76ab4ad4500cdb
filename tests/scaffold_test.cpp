// What both missions share around their own rules: the start protection and
// start text timed from the menu's start tick, the end screen, the win
// screen's wait, and a clean start every time.
#include "demo.h"
#include "screen_pixels.h"
#include "framework/display.h"
#include "framework/mission_loop.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace {

template <class Mission>
struct Kind;

template <>
struct Kind<shootdown::Mission> {
    static constexpr const char* name = "ShootDown";
    static constexpr Sint16 startTextX = 300;
    static int& count(shootdown::Mission& mission) { return mission.hitCount; }
    static void expectOwnStateFresh(const shootdown::Mission& mission)
    {
        EXPECT_EQ(mission.countdown.countdown, 40);
        EXPECT_EQ(mission.countdown.countdownBase, 0);
        EXPECT_EQ(mission.countdown.countdownThreshold, 1000);
        EXPECT_FALSE(mission.explosion.happened);
    }
};

template <>
struct Kind<rescue::Mission> {
    static constexpr const char* name = "Rescue";
    static constexpr Sint16 startTextX = 450;
    static int& count(rescue::Mission& mission) { return mission.rescuedCount; }
    static void expectOwnStateFresh(const rescue::Mission& mission)
    {
        EXPECT_EQ(mission.dropTimer[0], 0);
        EXPECT_EQ(mission.dropTimer[1], 1000);
        for (const SDL_Rect& animal : mission.animal)
            EXPECT_TRUE(rescue::isParked(animal));
    }
};

struct KindName {
    template <class Mission>
    static std::string GetName(int) { return Kind<Mission>::name; }
};

// The flip hooks below hold on to the tests' locals.
template <class Mission>
class MissionScaffold : public testing::Test {
protected:
    void TearDown() override { fake::reset(); }
};

using MissionKinds = testing::Types<shootdown::Mission, rescue::Mission>;
TYPED_TEST_SUITE(MissionScaffold, MissionKinds, KindName);

// The menu reads the start tick before the mission sets itself up, so set-up
// time counts: here the mission starts 1500 ms after its start tick. 20 ms
// frames land on 5000 exactly.
TYPED_TEST(MissionScaffold, StartProtectionEndsAtTheFirstFrameAfterFiveSeconds)
{
    HeadlessMission<TypeParam> run(1500, 1500);
    fake::setFrameLength(20);
    while (fake::now() <= 5000) {
        run.runFrame();
        EXPECT_TRUE(run.core().startProtection) << run.core().missionTime;
    }
    ASSERT_EQ(fake::now(), 5020);
    run.runFrame();
    EXPECT_FALSE(run.core().startProtection);
}

TYPED_TEST(MissionScaffold, StartTextShowsOnlyBeforeTwoSeconds)
{
    HeadlessMission<TypeParam> run(1500, 1500);
    fake::setFrameLength(20);
    const SDL_Rect textBox{Kind<TypeParam>::startTextX, 350, 120, 20};
    std::map<int, bool> shown; // by mission time
    fake::onFlip([&](SDL_Surface* screen) {
        shown[run.core().missionTime] = redPixels(screen, textBox) > 0;
    });
    while (fake::now() <= 2020)
        run.runFrame();
    for (auto [ms, expected] : {std::pair{1500, true}, {1980, true}, {2000, false}, {2020, false}})
        EXPECT_EQ(shown.at(ms), expected) << ms;
}

// The end screen draws over the last frame: only the explosion at the
// helicopter and "Verloren" may change it, then it stays for two seconds.
TYPED_TEST(MissionScaffold, EscapeEndsWithTheEndScreen)
{
    fake::reset(1000);
    fake::pressAt(1500, SDLK_ESCAPE);
    std::vector<Uint16> before, after; // the last two flips
    fake::onFlip([&](SDL_Surface* screen) { before = std::exchange(after, copyOf(screen)); });
    runMission<TypeParam>(1000);
    EXPECT_EQ(fake::sleeps(), std::vector<int>{2000});

    SDL_Surface* explosion = SDL_LoadBMP("data/Explosion.bmp");
    ASSERT_NE(explosion, nullptr);
    const SDL_Rect explosionBox{heliStartX + 40, heliStartY, Uint16(explosion->w),
                                Uint16(explosion->h)};
    SDL_FreeSurface(explosion);
    const SDL_Rect textBox{450, 350, 200, 40};
    auto changes = [&](const SDL_Rect& box) {
        int changed = 0;
        for (int y = box.y; y < box.y + box.h; ++y)
            for (int x = box.x; x < box.x + box.w; ++x)
                changed += before[y * screenWidth + x] != after[y * screenWidth + x];
        return changed;
    };
    EXPECT_GT(changes(explosionBox), 100);
    EXPECT_GT(changes(textBox), 50);
    EXPECT_EQ(changes({0, 0, screenWidth, screenHeight}), changes(explosionBox) + changes(textBox))
        << "changed outside the explosion and the text";
}

// 29 is not enough; at 30 the win screen pauses, then waits for space, and a
// quit request during that wait ends the mission as a loss.
TYPED_TEST(MissionScaffold, QuitRequestDuringTheWinScreenLoses)
{
    HeadlessMission<TypeParam> run(1000);
    fake::quitAt(2100); // in the wait of the win screen that opens at 1016
    fake::pressAt(6000, SDLK_SPACE); // ends a wait that missed the quit request
    Kind<TypeParam>::count(run.mission) = 29;
    run.runFrame();
    EXPECT_TRUE(fake::sleeps().empty());
    Kind<TypeParam>::count(run.mission) = 30;
    run.runFrame();
    run.showEndScreen();
    EXPECT_FALSE(run.core().missionWon);
    const std::vector<int>& sleeps = fake::sleeps();
    EXPECT_EQ(std::pair(sleeps.front(), sleeps.back()), std::pair(1000, 2000));
}

TYPED_TEST(MissionScaffold, EveryStartIsAFreshMission)
{
    HeadlessMission<TypeParam> run(1000);
    fake::hold(SDLK_RIGHT);
    fake::hold(SDLK_SPACE);
    for (int n = 0; n < 150; ++n)
        run.runFrame();
    Kind<TypeParam>::count(run.mission) = 12;
    run.core().missionOver = true;
    tearDown(run.mission);

    setUp(run.mission, fake::now());
    const MissionCore& core = run.core();
    EXPECT_EQ(Kind<TypeParam>::count(run.mission), 0);
    EXPECT_EQ(where(core.heliX, core.heliY), where(heliStartX, heliStartY));
    EXPECT_EQ(where(core.heli), where(heliStartX, heliStartY));
    EXPECT_EQ(where(core.projectile), where(parkedX, parkedY));
    EXPECT_TRUE(!core.missionOver && !core.missionWon && core.startProtection);
    Kind<TypeParam>::expectOwnStateFresh(run.mission);

    run.runFrame();
    EXPECT_EQ(core.heliX, heliStartX) << "the first frame has no frameStep to move by";
    run.runFrame();
    EXPECT_EQ(core.heliX, heliStartX + 8);
}

} // namespace
