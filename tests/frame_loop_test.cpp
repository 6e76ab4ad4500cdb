// The frame steps every mission shares, on plain rectangles and the virtual
// clock, and the blit write-back the rules go on from.
#include "virtual_platform.h"
#include "framework/display.h"
#include "framework/mission_core.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Keys {
    Uint8 state[SDLK_LAST] = {};
    Keys(const std::vector<SDLKey>& held)
    {
        for (SDLKey key : held)
            state[key] = 1;
    }
};

SDL_Rect at(int x, int y)
{
    return SDL_Rect{Sint16(x), Sint16(y), 0, 0};
}

struct BoxCase {
    int x, y; // the object's top-left corner
    bool inside;
};

class HeliBox : public testing::TestWithParam<BoxCase> {};

// The helicopter drawn at (100, 300): the zone is 100 < x < 240, 315 < y < 370.
TEST_P(HeliBox, IsStrictOnEverySide)
{
    const BoxCase& c = GetParam();
    EXPECT_EQ(inHeliBox(at(100, 300), at(c.x, c.y)), c.inside) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Borders, HeliBox,
                         testing::Values(BoxCase{100, 340, false}, BoxCase{101, 340, true},
                                         BoxCase{239, 340, true}, BoxCase{240, 340, false},
                                         BoxCase{150, 315, false}, BoxCase{150, 316, true},
                                         BoxCase{150, 369, true}, BoxCase{150, 370, false}));

TEST(HeliHit, StartProtectionKeepsTheHelicopterAlive)
{
    MissionCore core;
    core.heli = at(100, 300);
    heliHitStep(core, at(150, 340));
    EXPECT_FALSE(core.missionOver);
    core.startProtection = false;
    heliHitStep(core, at(150, 340));
    EXPECT_TRUE(core.missionOver);
}

struct MoveCase {
    std::vector<SDLKey> keys;
    int fromX, fromY;
    int firstX, firstY;  // after one step of 8
    int secondX, secondY; // after another, keys still held
};

class HeliMove : public testing::TestWithParam<MoveCase> {};

// Each bound is tested before the move, so the helicopter overshoots by up to
// frameStep - 1 and then stays put while the key is held.
TEST_P(HeliMove, TestsBoundsBeforeMoving)
{
    const MoveCase& c = GetParam();
    Keys keys(c.keys);
    int x = c.fromX, y = c.fromY;
    heliMoveStep(x, y, keys.state, 8);
    EXPECT_EQ(x, c.firstX);
    EXPECT_EQ(y, c.firstY);
    heliMoveStep(x, y, keys.state, 8);
    EXPECT_EQ(x, c.secondX);
    EXPECT_EQ(y, c.secondY);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, HeliMove,
    testing::Values(MoveCase{{SDLK_UP}, 100, 1, 100, -7, 100, -7},
                    MoveCase{{SDLK_UP}, 100, 0, 100, 0, 100, 0},
                    MoveCase{{SDLK_DOWN}, 100, 677, 100, 685, 100, 685},
                    MoveCase{{SDLK_RIGHT}, 873, 300, 881, 300, 881, 300},
                    MoveCase{{SDLK_LEFT}, 1, 300, -7, 300, -7, 300},
                    MoveCase{{SDLK_UP, SDLK_RIGHT}, 100, 300, 108, 292, 116, 284},
                    MoveCase{{SDLK_DOWN, SDLK_LEFT}, 100, 300, 92, 308, 84, 316},
                    MoveCase{{SDLK_UP, SDLK_DOWN}, 100, 300, 100, 300, 100, 300}));

struct LaunchCase {
    int projectileX;
    bool launches;
};

class Launch : public testing::TestWithParam<LaunchCase> {};

TEST_P(Launch, OnlyOnceTheProjectileIsOffScreen)
{
    SDL_Rect heli = at(200, 100);
    SDL_Rect projectile = at(GetParam().projectileX, 400);
    launchStep(projectile, heli, Keys({SDLK_SPACE}).state);
    if (GetParam().launches) {
        EXPECT_EQ(projectile.x, 340);
        EXPECT_EQ(projectile.y, 170);
    } else {
        EXPECT_EQ(projectile.x, GetParam().projectileX);
        EXPECT_EQ(projectile.y, 400);
    }
}

INSTANTIATE_TEST_SUITE_P(Edge, Launch,
                         testing::Values(LaunchCase{1023, false}, LaunchCase{1024, true},
                                         LaunchCase{1030, true}));

// From where the helicopter was drawn, not from the position being steered.
TEST(Launch, StartsFromTheDrawnHelicopter)
{
    fake::reset();
    fake::hold(SDLK_SPACE);
    MissionCore core;
    core.heliX = 500;
    core.heliY = 20;
    core.heli = at(200, 100);
    inputStep(core);
    EXPECT_EQ(core.projectile.x, 340);
    EXPECT_EQ(core.projectile.y, 170);
    EXPECT_FALSE(core.missionOver);
}

TEST(Launch, NeedsSpace)
{
    SDL_Rect projectile = at(parkedX, parkedY);
    launchStep(projectile, at(200, 100), Keys({SDLK_UP}).state);
    EXPECT_EQ(projectile.x, parkedX);
}

struct FlightCase {
    int k, frameStep, fromX, toX;
};

class Flight : public testing::TestWithParam<FlightCase> {};

TEST_P(Flight, MovesByTruncatedSpeedUnlessParked)
{
    const FlightCase& c = GetParam();
    MissionCore core;
    core.frameStep = c.frameStep;
    core.projectile = at(c.fromX, 200);
    projectileFlight(core, c.k);
    EXPECT_EQ(core.projectile.x, c.toX);
}

INSTANTIATE_TEST_SUITE_P(Speeds, Flight,
                         testing::Values(FlightCase{7, 8, 500, 505}, FlightCase{10, 8, 500, 508},
                                         FlightCase{7, 1, 500, 500}, FlightCase{10, 1, 500, 501},
                                         FlightCase{7, 8, 1023, 1028},
                                         FlightCase{7, 8, 1024, 1024},
                                         FlightCase{10, 8, 1200, 1200}));

class FrameStep : public testing::TestWithParam<std::pair<int, int>> {};

// Half the frame's length in milliseconds, truncated.
TEST_P(FrameStep, IsHalfTheFrameLengthTruncated)
{
    fake::reset(700);
    MissionCore core;
    EXPECT_EQ(core.frameStep, 0) << "nothing moves in the first frame";
    frameStart(core);
    fake::advance(GetParam().first);
    frameEnd(core);
    EXPECT_EQ(core.frameStep, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Lengths, FrameStep,
                         testing::Values(std::pair{1, 0}, std::pair{2, 1}, std::pair{3, 1},
                                         std::pair{16, 8}, std::pair{17, 8}));

TEST(FrameStep, MissionTimeCountsFromTheStartTick)
{
    fake::reset(6200);
    MissionCore core;
    core.startTick = 1200;
    frameStart(core);
    EXPECT_EQ(core.missionTime, 5000);
    EXPECT_EQ(core.frameStartTick, 6200);
}

// Coordinates are 16 bits wide and wrap; amounts are computed in int first.
TEST(MoveBy, StoresSixteenBits)
{
    Sint16 x = 1000;
    moveBy(x, -1003);
    EXPECT_EQ(x, -3);
    x = 32767;
    moveBy(x, 1);
    EXPECT_EQ(x, -32768);
    x = -32768;
    moveBy(x, 65536 + 5);
    EXPECT_EQ(x, -32763);
}

// The rules go on from the rectangle SDL writes back after a blit.
class BlitWriteBack : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        startVideo();
        display = setGameDisplayMode();
    }
    void SetUp() override { sprite = SDL_CreateRGBSurface(0, 20, 10, 16, 0, 0, 0, 0); }
    void TearDown() override { SDL_FreeSurface(sprite); }

    SDL_Rect drawn(int x, int y)
    {
        SDL_Rect rect = at(x, y);
        drawAt(sprite, rect, display);
        return rect;
    }

    static SDL_Surface* display;
    SDL_Surface* sprite = nullptr;
};

SDL_Surface* BlitWriteBack::display = nullptr;

TEST_F(BlitWriteBack, NegativeCoordinatesBecomeZero)
{
    SDL_Rect left = drawn(-5, 3);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.w, 15);
    EXPECT_EQ(left.h, 10);
    SDL_Rect top = drawn(1020, -4);
    EXPECT_EQ(top.x, 1020);
    EXPECT_EQ(top.y, 0);
    EXPECT_EQ(top.w, 4);
    EXPECT_EQ(top.h, 6);
}

// A parked object stays parked however often it is drawn.
TEST_F(BlitWriteBack, FullyOffScreenKeepsItsPlace)
{
    SDL_Rect parked = drawn(parkedX, parkedY);
    EXPECT_EQ(parked.x, parkedX);
    EXPECT_EQ(parked.y, parkedY);
    EXPECT_EQ(parked.w, 0);
    EXPECT_EQ(parked.h, 0);
    SDL_Rect beyondLeft = drawn(-30, 3);
    EXPECT_EQ(beyondLeft.x, 0) << "SDL moves it onto the edge even so";
    EXPECT_EQ(beyondLeft.w, 0);
    EXPECT_EQ(beyondLeft.h, 0);
}

} // namespace
