// What both missions share around their own rules: the start protection and
// start text timed from the menu's start tick, the end screen, the win
// screen's wait, and a clean start every time.
#include "screen_pixels.h"
#include "virtual_platform.h"
#include "framework/display.h"
#include "framework/screens.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <type_traits>

namespace {

struct ShootDown {
    using Mission = shootdown::Mission;
    static constexpr Sint16 startTextX = 300;
    static void setUp(Mission& mission, int startTick) { shootdown::setUp(mission, startTick); }
    static void frame(Mission& mission) { shootdown::frame(mission); }
    static void tearDown(Mission& mission) { shootdown::tearDown(mission); }
    static void run(int startTick) { runShootDownMission(0, nullptr, startTick); }
    static int& count(Mission& mission) { return mission.hitCount; }
    static void endScreen(Mission& mission)
    {
        ::endScreen(mission.core, mission.display, mission.sprites[shootdown::Explosion],
                    mission.texts[shootdown::Verloren]);
    }
    static void expectOwnStateFresh(const Mission& mission)
    {
        EXPECT_EQ(mission.countdown.countdown, 40);
        EXPECT_EQ(mission.countdown.countdownBase, 0);
        EXPECT_EQ(mission.countdown.countdownThreshold, 1000);
        EXPECT_FALSE(mission.explosion.happened);
    }
};

struct Rescue {
    using Mission = rescue::Mission;
    static constexpr Sint16 startTextX = 450;
    static void setUp(Mission& mission, int startTick) { rescue::setUp(mission, startTick); }
    static void frame(Mission& mission) { rescue::frame(mission); }
    static void tearDown(Mission& mission) { rescue::tearDown(mission); }
    static void run(int startTick) { runRescueMission(0, nullptr, startTick); }
    static int& count(Mission& mission) { return mission.rescuedCount; }
    static void endScreen(Mission& mission)
    {
        ::endScreen(mission.core, mission.display, mission.sprites[rescue::Explosion],
                    mission.texts[rescue::Verloren]);
    }
    static void expectOwnStateFresh(const Mission& mission)
    {
        EXPECT_EQ(mission.dropTimer[0], 0);
        EXPECT_EQ(mission.dropTimer[1], 1000);
        for (const SDL_Rect& animal : mission.animal)
            EXPECT_TRUE(rescue::isParked(animal));
    }
};

struct KindName {
    template <class Kind>
    static std::string GetName(int)
    {
        return std::is_same_v<Kind, ShootDown> ? "ShootDown" : "Rescue";
    }
};

template <class Kind>
class MissionScaffold : public testing::Test {
protected:
    void start(int clockMs, int startTick)
    {
        fake::reset(clockMs);
        Kind::setUp(mission, startTick);
        started = true;
    }

    void TearDown() override
    {
        fake::reset();
        if (started)
            Kind::tearDown(mission);
    }

    MissionCore& core() { return mission.core; }

    // Two ordinary frames, then the count is set for the next one; returns
    // the clock at which that frame starts.
    int beforeWinningFrame(int count)
    {
        start(1000, 1000);
        Kind::frame(mission);
        Kind::frame(mission);
        Kind::count(mission) = count;
        return fake::now();
    }

    // The frame, and the end screen if it ended the mission, as a run would.
    void winningFrame()
    {
        Kind::frame(mission);
        if (core().missionOver)
            Kind::endScreen(mission);
    }

    // The win screen's pause and the end screen's, without the short sleeps
    // of the win screen's wait.
    static std::vector<int> pauses()
    {
        std::vector<int> kept;
        std::copy_if(fake::sleeps().begin(), fake::sleeps().end(), std::back_inserter(kept),
                     [](int ms) { return ms >= winScreenPauseMs; });
        return kept;
    }

    typename Kind::Mission mission;
    bool started = false;
};

using MissionKinds = testing::Types<ShootDown, Rescue>;
TYPED_TEST_SUITE(MissionScaffold, MissionKinds, KindName);

// The menu reads the start tick before the mission sets itself up, so set-up
// time counts: here the mission starts 1500 ms after its start tick, and the
// rules are checked against that tick. 20 ms frames land on 5000 exactly.
TYPED_TEST(MissionScaffold, StartProtectionEndsAtTheFirstFrameAfterFiveSeconds)
{
    this->start(1500, 0);
    fake::setFrameLength(20);
    while (fake::now() <= 5000) {
        TypeParam::frame(this->mission);
        EXPECT_TRUE(this->core().startProtection) << this->core().missionTime;
    }
    ASSERT_EQ(fake::now(), 5020);
    TypeParam::frame(this->mission);
    EXPECT_FALSE(this->core().startProtection);
}

TYPED_TEST(MissionScaffold, StartTextShowsOnlyBeforeTwoSeconds)
{
    this->start(1500, 0);
    fake::setFrameLength(20);
    std::map<int, bool> shown; // by the clock at the frame's start
    int frameStart = 0;
    const SDL_Rect textBox{TypeParam::startTextX, 350, 120, 20};
    fake::onFlip([&](SDL_Surface* screen) { shown[frameStart] = redPixels(screen, textBox) > 0; });
    while (fake::now() <= 2020) {
        frameStart = fake::now();
        TypeParam::frame(this->mission);
    }
    EXPECT_TRUE(shown.at(1500));
    EXPECT_TRUE(shown.at(1980));
    EXPECT_FALSE(shown.at(2000));
    EXPECT_FALSE(shown.at(2020));
}

// The end screen draws over the last frame: only the explosion at the
// helicopter and "Verloren" may change it, then it stays for two seconds.
TYPED_TEST(MissionScaffold, EscapeEndsWithTheEndScreen)
{
    fake::reset(1000);
    fake::pressAt(1500, SDLK_ESCAPE);
    std::vector<Uint16> previous, last;
    SDL_Surface* finalScreen = nullptr;
    fake::onFlip([&](SDL_Surface* screen) {
        previous = std::move(last);
        last = copyOf(screen);
        finalScreen = screen;
    });
    TypeParam::run(1000);

    EXPECT_EQ(fake::sleeps(), std::vector<int>{endScreenPauseMs});
    ASSERT_NE(finalScreen, nullptr);
    EXPECT_GT(redPixels(finalScreen, SDL_Rect{450, 350, 120, 30}), 50);

    SDL_Surface* explosion = SDL_LoadBMP("data/Explosion.bmp");
    ASSERT_NE(explosion, nullptr);
    const SDL_Rect explosionBox{heliStartX + 40, heliStartY, Uint16(explosion->w),
                                Uint16(explosion->h)};
    SDL_FreeSurface(explosion);
    const SDL_Rect textBox{450, 350, 200, 40};
    auto inside = [](const SDL_Rect& box, int x, int y) {
        return box.x <= x && x < box.x + box.w && box.y <= y && y < box.y + box.h;
    };
    int explosionChanges = 0, strayChanges = 0;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x) {
            size_t at = size_t(y * screenWidth + x);
            if (previous[at] == last[at])
                continue;
            if (inside(explosionBox, x, y))
                ++explosionChanges;
            else if (!inside(textBox, x, y))
                ++strayChanges;
        }
    EXPECT_GT(explosionChanges, 100);
    EXPECT_EQ(strayChanges, 0);
}

TYPED_TEST(MissionScaffold, WinScreenOpensAtThirtyAndWaitsForSpace)
{
    int frameStart = this->beforeWinningFrame(29);
    this->winningFrame();
    EXPECT_TRUE(this->pauses().empty()) << "29 is not enough";

    TypeParam::count(this->mission) = 30;
    frameStart = fake::now();
    fake::pressAt(frameStart + 1100, SDLK_SPACE);
    int flipsBefore = fake::flipCount();
    this->winningFrame();
    EXPECT_EQ(fake::flipCount(), flipsBefore + 1) << "only the win screen's own";
    EXPECT_EQ(this->pauses(), std::vector<int>{winScreenPauseMs});
    EXPECT_TRUE(this->core().missionWon);
    EXPECT_TRUE(this->core().missionOver);
    EXPECT_GE(fake::now(), frameStart + 1100);
}

TYPED_TEST(MissionScaffold, QuitRequestDuringTheWinScreenLoses)
{
    int frameStart = this->beforeWinningFrame(30);
    fake::quitAt(frameStart + 1100);
    fake::pressAt(frameStart + 5000, SDLK_SPACE); // ends the wait of a win screen that missed it
    this->winningFrame();
    EXPECT_EQ(this->pauses(), (std::vector<int>{winScreenPauseMs, endScreenPauseMs}));
    EXPECT_FALSE(this->core().missionWon);
}

// Escape taken earlier in the same frame has already ended the mission: the
// win screen shows and pauses but does not wait, and it counts as a loss.
TYPED_TEST(MissionScaffold, EscapeInTheWinningFrameLoses)
{
    int frameStart = this->beforeWinningFrame(31);
    fake::pressAt(frameStart, SDLK_ESCAPE);
    this->winningFrame();
    EXPECT_EQ(fake::sleeps(), (std::vector<int>{winScreenPauseMs, endScreenPauseMs}));
    EXPECT_FALSE(this->core().missionWon);
}

TYPED_TEST(MissionScaffold, EveryStartIsAFreshMission)
{
    this->start(1000, 1000);
    fake::hold(SDLK_RIGHT);
    fake::hold(SDLK_SPACE);
    for (int n = 0; n < 150; ++n)
        TypeParam::frame(this->mission);
    TypeParam::count(this->mission) = 12;
    this->core().missionOver = true;
    TypeParam::tearDown(this->mission);

    TypeParam::setUp(this->mission, fake::now());
    const MissionCore& core = this->core();
    EXPECT_EQ(TypeParam::count(this->mission), 0);
    EXPECT_EQ(core.heliX, heliStartX);
    EXPECT_EQ(core.heliY, heliStartY);
    EXPECT_EQ(core.heli.x, heliStartX);
    EXPECT_EQ(core.heli.y, heliStartY);
    EXPECT_EQ(core.projectile.x, parkedX);
    EXPECT_EQ(core.projectile.y, parkedY);
    EXPECT_FALSE(core.missionOver);
    EXPECT_FALSE(core.missionWon);
    EXPECT_TRUE(core.startProtection);
    TypeParam::expectOwnStateFresh(this->mission);

    fake::hold(SDLK_SPACE, false);
    TypeParam::frame(this->mission);
    EXPECT_EQ(core.heliX, heliStartX) << "the first frame has no frameStep to move by";
    TypeParam::frame(this->mission);
    EXPECT_EQ(core.heliX, heliStartX + 8);
}

} // namespace
