// The rescue mission's rules: drops, catches, falls, landings and the win,
// first on the single steps and then inside whole frames.
#include "virtual_platform.h"
#include "framework/screens.h"
#include "missions/rescue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

using rescue::Mission;

SDL_Rect at(int x, int y)
{
    return {Sint16(x), Sint16(y), 0, 0};
}

const SDL_Rect parked = at(parkedX, parkedY);

bool samePlace(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y;
}

// ---- Single steps -------------------------------------------------------

struct CatchCase {
    const char* what;
    SDL_Rect animal, parachute, openParachute;
    bool caught;
};

class RescueCatchZone : public testing::TestWithParam<CatchCase> {};

TEST_P(RescueCatchZone, CatchesOnlyStrictlyInsideWithTheOpenParachuteParked)
{
    CatchCase c = GetParam();
    SCOPED_TRACE(c.what);
    SDL_Rect parachute = c.parachute;
    SDL_Rect openParachute = c.openParachute;
    int rescued = 7;
    EXPECT_EQ(rescue::catchTest(c.animal, openParachute, parachute, rescued), c.caught);
    EXPECT_EQ(rescued, c.caught ? 8 : 7);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, RescueCatchZone,
    testing::Values(CatchCase{"left edge", at(500, 300), at(500, 310), parked, false},
                    CatchCase{"inside left edge", at(500, 300), at(501, 310), parked, true},
                    CatchCase{"inside right edge", at(500, 300), at(564, 310), parked, true},
                    CatchCase{"right edge", at(500, 300), at(565, 310), parked, false},
                    CatchCase{"top edge", at(500, 300), at(530, 300), parked, false},
                    CatchCase{"inside top edge", at(500, 300), at(530, 301), parked, true},
                    CatchCase{"inside bottom edge", at(500, 300), at(530, 334), parked, true},
                    CatchCase{"bottom edge", at(500, 300), at(530, 335), parked, false},
                    // Near the corner the parked position lies inside the zone.
                    CatchCase{"parachute x parked", at(1000, 750), at(1024, 760), parked, false},
                    CatchCase{"parachute y parked", at(1000, 750), at(1010, 768), parked, false},
                    CatchCase{"resting beyond the edge", at(1000, 750), at(1027, 760), parked,
                              true},
                    CatchCase{"open parachute parked in x only", at(500, 300), at(530, 310),
                              at(1024, 700), false},
                    CatchCase{"open parachute parked in y only", at(500, 300), at(530, 310),
                              at(500, 768), false},
                    CatchCase{"open parachute falling", at(500, 300), at(530, 310),
                              at(500, 270), false}));

struct DropCase {
    int missionTime, animalY, timer;
    bool dropped;
};

class RescueDrop : public testing::TestWithParam<DropCase> {};

TEST_P(RescueDrop, NeedsTheTimerStrictlyPassedAndTheAnimalOnTheGround)
{
    DropCase c = GetParam();
    SDL_Rect animal = at(300, c.animalY);
    int timer = c.timer;
    rescue::dropStep(animal, at(400, 120), timer, c.missionTime);
    if (c.dropped) {
        EXPECT_TRUE(samePlace(animal, at(550, 170)));
        EXPECT_EQ(timer, c.timer + 2000);
    } else {
        EXPECT_TRUE(samePlace(animal, at(300, c.animalY)));
        EXPECT_EQ(timer, c.timer);
    }
}

INSTANTIATE_TEST_SUITE_P(Timing, RescueDrop,
                         testing::Values(DropCase{2000, 768, 0, false},
                                         DropCase{2001, 768, 0, true},
                                         DropCase{3000, 768, 1000, false},
                                         DropCase{3001, 768, 1000, true},
                                         DropCase{9000, 767, 0, false},
                                         DropCase{9000, 769, 0, true}));

TEST(RescueBomberMove, CrossesZeroThenComesBackAtARandomBomberHeight)
{
    SDL_Rect bomber = at(1, 100);
    rescue::bomberMoveStep(bomber, 8);
    EXPECT_EQ(bomber.x, -1);
    for (int x : {-1, 0}) {
        bomber = at(x, 100);
        std::srand(77);
        int expectedY = std::rand() % 300 + 1;
        std::srand(77);
        rescue::bomberMoveStep(bomber, 8);
        EXPECT_TRUE(samePlace(bomber, at(1024, expectedY))) << "from x " << x;
    }
}

TEST(RescueGround, StartsAt768)
{
    EXPECT_FALSE(rescue::landedUncaught(at(500, 767), parked));
    EXPECT_TRUE(rescue::landedUncaught(at(500, 768), parked));
}

// ---- Whole frames -------------------------------------------------------

constexpr int startTick = 40000;

// A mission set up on the virtual clock, with the fighters held far from the
// helicopter's line and the bombers at known places.
class RescueFrame : public testing::Test {
protected:
    Mission mission;

    void SetUp() override
    {
        fake::reset(startTick);
        rescue::setUp(mission, startTick);
        for (SDL_Rect& fighter : mission.squadron.fighter)
            fighter = at(1000, 678);
        mission.bomber[0] = at(600, 100);
        mission.bomber[1] = at(800, 200);
        mission.core.frameStep = 8;
    }

    void TearDown() override { rescue::tearDown(mission); }

    // Runs one frame starting at the given mission time.
    void frameAt(int missionTime)
    {
        fake::advance(startTick + missionTime - fake::now());
        rescue::frame(mission);
    }

    void keepTimersBack()
    {
        mission.dropTimer[0] = mission.dropTimer[1] = 1000000;
    }

    // Animal n caught earlier: its open parachute hangs 30 above it.
    void caughtAnimal(int n, int x, int y)
    {
        mission.animal[n] = at(x, y);
        mission.openParachute[n] = at(x, y - 30);
    }
};

TEST(RescueSetUp, DrawsBomberPlacesAfterTheFightersAndParksTheHerd)
{
    std::srand(startTick);
    for (int draw = 0; draw < 2 * squadronSize; ++draw)
        std::rand();
    SDL_Rect expected[rescue::herdSize];
    for (SDL_Rect& bomber : expected) {
        int x = std::rand() % 700 + 200;
        bomber = at(x, std::rand() % 300 + 1);
    }
    Mission mission;
    fake::reset(startTick);
    rescue::setUp(mission, startTick);
    for (int n = 0; n < rescue::herdSize; ++n) {
        EXPECT_TRUE(samePlace(mission.bomber[n], expected[n])) << "bomber " << n;
        EXPECT_TRUE(samePlace(mission.animal[n], parked));
        EXPECT_TRUE(samePlace(mission.openParachute[n], parked));
    }
    EXPECT_EQ(mission.dropTimer[0], 0);
    EXPECT_EQ(mission.dropTimer[1], 1000);
    rescue::tearDown(mission);
}

TEST_F(RescueFrame, AnimalsDropAfterTwoAndThreeSecondsEachOnItsOwnTimer)
{
    int firstDrop[rescue::herdSize] = {-1, -1};
    while (firstDrop[1] < 0) {
        int missionTime = fake::now() - startTick;
        SDL_Rect bomberBefore[rescue::herdSize] = {mission.bomber[0], mission.bomber[1]};
        rescue::frame(mission);
        for (int n = 0; n < rescue::herdSize; ++n) {
            if (firstDrop[n] >= 0 || mission.animal[n].y > 767)
                continue;
            firstDrop[n] = missionTime;
            // Dropped before the bomber moved on, and fell the same frame.
            EXPECT_TRUE(samePlace(mission.animal[n], at(bomberBefore[n].x + 150,
                                                         bomberBefore[n].y + 51)));
            EXPECT_EQ(mission.bomber[n].x, bomberBefore[n].x - 2);
        }
    }
    EXPECT_EQ(firstDrop[0], 2016); // 2000 is not yet over 2000
    EXPECT_EQ(firstDrop[1], 3008);
    EXPECT_EQ(mission.dropTimer[0], 2000);
    EXPECT_EQ(mission.dropTimer[1], 3000);
}

struct SpeedCase {
    int frameStep, parachute, bomber, fall;
};

class RescueSpeeds : public RescueFrame, public testing::WithParamInterface<SpeedCase> {};

TEST_P(RescueSpeeds, AreTruncatedTenthsOfTheFrameStep)
{
    SpeedCase c = GetParam();
    mission.core.frameStep = c.frameStep;
    caughtAnimal(0, 500, 400);
    mission.core.projectile = at(300, 500);
    SDL_Rect bomber = mission.bomber[1];
    frameAt(100);
    EXPECT_EQ(mission.core.projectile.x, 300 + c.parachute);
    EXPECT_EQ(mission.bomber[1].x, bomber.x - c.bomber);
    EXPECT_EQ(mission.animal[0].y, 400 + c.fall);
    EXPECT_EQ(mission.openParachute[0].y, 370 + c.fall);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, RescueSpeeds,
                         testing::Values(SpeedCase{3, 3, 0, 0}, SpeedCase{4, 4, 1, 0},
                                         SpeedCase{5, 5, 1, 1}, SpeedCase{8, 8, 2, 1},
                                         SpeedCase{10, 10, 3, 2}));

TEST_F(RescueFrame, AnimalOneIsCaughtFirstAndOnlyOnceAFrame)
{
    mission.animal[0] = mission.animal[1] = at(500, 300);
    mission.core.projectile = at(520, 310);
    frameAt(100);
    EXPECT_EQ(mission.rescuedCount, 1);
    EXPECT_TRUE(samePlace(mission.openParachute[0], at(500, 271)));
    EXPECT_TRUE(samePlace(mission.openParachute[1], parked));
    // Parked at x and so neither flown on nor caught again.
    EXPECT_TRUE(samePlace(mission.core.projectile, at(parkedX, 310)));
}

TEST_F(RescueFrame, ParachuteLeavesWhereTheHelicopterWasDrawnAndCatchesAtOnce)
{
    // Drawn at (100, 300) by set-up; the keys move it only after the launch.
    mission.animal[1] = at(180, 340);
    for (SDLKey key : {SDLK_SPACE, SDLK_RIGHT, SDLK_DOWN})
        fake::hold(key);
    frameAt(100);
    EXPECT_EQ(mission.rescuedCount, 1);
    EXPECT_TRUE(samePlace(mission.core.projectile, at(parkedX, 370)));
    EXPECT_TRUE(samePlace(mission.core.heli, at(108, 308)));
}

// Caught at 767, the animal touches the ground with its parachute above it.
// Whether it may stay there for a frame depends on its drop timer.
class RescueCaughtLanding : public RescueFrame, public testing::WithParamInterface<bool> {};

TEST_P(RescueCaughtLanding, IsDroppedAgainBeforeTheNextLandingTestOrLoses)
{
    bool timerDue = GetParam();
    keepTimersBack();
    if (timerDue)
        mission.dropTimer[0] = 0;
    caughtAnimal(0, 500, 767);
    frameAt(2100);
    ASSERT_EQ(mission.animal[0].y, 768);
    ASSERT_FALSE(mission.core.missionOver);
    frameAt(2116);
    EXPECT_EQ(mission.core.missionOver, !timerDue);
    SDL_Rect expected = timerDue ? at(mission.bomber[0].x + 152, 151) : at(500, 768);
    EXPECT_TRUE(samePlace(mission.animal[0], expected));
    EXPECT_EQ(mission.openParachute[0].y, 739);
}

INSTANTIATE_TEST_SUITE_P(DropTimer, RescueCaughtLanding, testing::Bool());

TEST_F(RescueFrame, AnimalWithItsOpenParachuteStillFallingCannotBeCaught)
{
    keepTimersBack();
    mission.animal[0] = at(500, 300);
    mission.openParachute[0] = at(300, 760);
    mission.core.projectile = at(520, 310);
    frameAt(100);
    EXPECT_EQ(mission.rescuedCount, 0);
    EXPECT_EQ(mission.openParachute[0].y, 761);
    // Falling alone, it reaches the ground and parks on the next frame.
    for (int frames = 0; frames < 7; ++frames)
        frameAt(116 + 16 * frames);
    EXPECT_TRUE(samePlace(mission.openParachute[0], at(300, 768)));
    mission.core.projectile = at(520, 320);
    frameAt(300);
    EXPECT_TRUE(rescue::isParked(mission.openParachute[0]));
    EXPECT_EQ(mission.rescuedCount, 0);
    frameAt(316);
    EXPECT_EQ(mission.rescuedCount, 1);
}

class RescueLanding : public RescueFrame, public testing::WithParamInterface<int> {};

TEST_P(RescueLanding, UncaughtAnimalLosesOnlyBetweenTheEdges)
{
    int x = GetParam();
    mission.animal[1] = at(x, 767);
    frameAt(100);
    EXPECT_EQ(mission.animal[1].y, 768);
    EXPECT_EQ(mission.core.missionOver, 200 < x && x < 1023);
}

INSTANTIATE_TEST_SUITE_P(Edges, RescueLanding, testing::Values(200, 201, 1022, 1023));

TEST_F(RescueFrame, DropFromTheRightEdgeStaysOffScreenAndLandsHarmlessly)
{
    keepTimersBack();
    mission.dropTimer[0] = 0;
    mission.bomber[0] = at(1024, 10);
    frameAt(2100);
    EXPECT_TRUE(samePlace(mission.animal[0], at(1174, 61)));
    mission.animal[0].y = 767;
    frameAt(2116);
    EXPECT_FALSE(mission.core.missionOver);
}

// The win screen's pause ends with space pressed while it waits.
class RescueWin : public RescueFrame {
protected:
    void catchTheThirtieth()
    {
        mission.rescuedCount = 29;
        mission.animal[0] = at(500, 300);
        mission.core.projectile = at(520, 310);
        fake::pressAt(startTick + 9000, SDLK_SPACE);
    }

    // The count as drawn on the win screen against the same number rendered
    // afresh by the same font.
    bool countShows(const char* digits)
    {
        SDL_Surface* expected = renderText(mission.fonts.small, digits, missionTextColour);
        SDL_Surface* shown = mission.countText;
        bool same = expected->w == shown->w && expected->h == shown->h;
        for (int row = 0; same && row < shown->h; ++row)
            same = std::memcmp(static_cast<Uint8*>(expected->pixels) + row * expected->pitch,
                               static_cast<Uint8*>(shown->pixels) + row * shown->pitch,
                               size_t(shown->w)) == 0;
        SDL_FreeSurface(expected);
        return same;
    }
};

TEST_F(RescueWin, ThirtiethCatchShowsThirtyAndWaitsForSpace)
{
    catchTheThirtieth();
    frameAt(6000);
    EXPECT_TRUE(mission.core.missionWon);
    EXPECT_EQ(mission.rescuedCount, 30);
    EXPECT_TRUE(countShows("30"));
    EXPECT_EQ(fake::flipCount(), 1);
    ASSERT_GT(fake::sleeps().size(), 1u);
    EXPECT_EQ(fake::sleeps()[0], winScreenPauseMs);
    EXPECT_GE(fake::now(), startTick + 9000);
}

enum class SameFrameEnd { ShotHit, Landing, QuitRequest };

class RescueWinLost : public RescueWin, public testing::WithParamInterface<SameFrameEnd> {};

TEST_P(RescueWinLost, EndsAsALossAfterTheWinScreensPause)
{
    keepTimersBack();
    catchTheThirtieth();
    switch (GetParam()) {
    case SameFrameEnd::ShotHit:
        mission.squadron.shot[0] = at(150, 340);
        break;
    case SameFrameEnd::Landing:
        mission.animal[1] = at(700, 767);
        break;
    case SameFrameEnd::QuitRequest:
        fake::quitAt(startTick + 6000);
        break;
    }
    frameAt(6000);
    endScreen(mission.core, mission.display, mission.sprites[rescue::Explosion],
              mission.texts[rescue::Verloren]);
    EXPECT_EQ(mission.rescuedCount, 30);
    EXPECT_FALSE(mission.core.missionWon);
    EXPECT_EQ(fake::sleeps(), (std::vector<int>{winScreenPauseMs, endScreenPauseMs}));
}

INSTANTIATE_TEST_SUITE_P(Causes, RescueWinLost,
                         testing::Values(SameFrameEnd::ShotHit, SameFrameEnd::Landing,
                                         SameFrameEnd::QuitRequest));

} // namespace
