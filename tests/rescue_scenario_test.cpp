// Whole rescue missions on the virtual clock, steered through the keyboard: an
// autopilot that plays to 30 rescues, and an idle player who loses.
#include "demo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

using rescue::Mission;

constexpr int frameLimit = 40000; // far more than either mission needs

// How deep a helicopter at (x, y) sits in the way of shots: those in flight
// and those a fighter with its shot parked may fire. Shots come from the
// right at 5 px a frame; the margins leave time to climb or dive away.
int lineOfFireDepth(const Squadron& squadron, int x, int y)
{
    y = std::max(y, 0); // drawn, and so tested, at the top edge
    int depth = 0;
    for (int n = 0; n < squadronSize; ++n) {
        bool flying = squadron.shot[n].x < parkedX;
        int shotX = flying ? squadron.shot[n].x : squadron.fighter[n].x;
        int shotY = flying ? squadron.shot[n].y : squadron.fighter[n].y + 45;
        if (x - 13 < shotX && shotX < x + 270)
            depth += std::max(0, std::min(shotY - (y + 7), y + 78 - shotY));
    }
    return depth;
}

// Holds the keys for the next frame. The parachute, launched from where the
// helicopter was drawn and tested before anything moves, goes when that spot
// lies in the lowest catchable animal's zone. The helicopter makes the move
// least in the shots' way, and of those the one nearest the zone's middle.
void autopilot(const Mission& mission)
{
    const MissionCore& core = mission.core;
    const SDL_Rect* aim = nullptr;
    for (int n = 0; n < rescue::herdSize; ++n)
        if (const SDL_Rect& animal = mission.animal[n];
            animal.y < 768 && animal.x < 1023 && rescue::isParked(mission.openParachute[n]) &&
            (!aim || animal.y > aim->y))
            aim = &animal;
    int targetX = aim ? aim->x + 32 - gunOffsetX : core.heliX;
    int targetY = aim ? aim->y + 17 - gunOffsetY : core.heliY;
    int gunX = core.heli.x + gunOffsetX, gunY = core.heli.y + gunOffsetY;
    fake::hold(SDLK_SPACE, aim && core.projectile.x > 1023 && aim->x < gunX &&
                               gunX < aim->x + 65 && aim->y < gunY && gunY < aim->y + 35);
    // Moves 0 to 8 (left, still, right; each up, still, down); ties go to the first.
    int best = INT_MAX;
    for (int move = 0; move < 9; ++move) {
        int x = core.heliX + (move / 3 - 1) * core.frameStep;
        int y = core.heliY + (move % 3 - 1) * core.frameStep;
        int cost = std::abs(targetX - x) + std::abs(targetY - y) +
                   1000 * lineOfFireDepth(mission.squadron, x, y);
        best = std::min(best, cost * 9 + move);
    }
    best %= 9;
    fake::hold(SDLK_LEFT, best / 3 == 0);
    fake::hold(SDLK_RIGHT, best / 3 == 2);
    fake::hold(SDLK_UP, best % 3 == 0);
    fake::hold(SDLK_DOWN, best % 3 == 2);
}

// Lets the player hold keys before each frame until the mission ends; the frames.
template <typename Player>
int playToTheEnd(HeadlessMission<Mission>& run, Player player)
{
    // Should a rescue end without space held, the win screen still ends.
    fake::pressAt(fake::now() + 1000000, SDLK_SPACE);
    int frames = 0;
    for (; !run.core().missionOver && frames < frameLimit; ++frames) {
        player(run.mission);
        run.runFrame();
    }
    return frames;
}

TEST(RescueScenario, AutopilotRescuesThirtyAndWins)
{
    HeadlessMission<Mission> run(1234);
    EXPECT_LT(playToTheEnd(run, autopilot), frameLimit);
    EXPECT_TRUE(run.core().missionWon);
    EXPECT_EQ(run.mission.rescuedCount, rescue::rescuesToWin);
}

TEST(RescueScenario, IdlePlayerLosesByAnUncaughtLanding)
{
    HeadlessMission<Mission> run(4321);
    // Never launching, and at the top out of most fighters' lines.
    EXPECT_LT(playToTheEnd(run, [](const Mission&) { fake::hold(SDLK_UP); }), frameLimit);
    EXPECT_FALSE(run.core().missionWon);
    const SDL_Rect *animal = run.mission.animal, *open = run.mission.openParachute;
    EXPECT_TRUE(rescue::landedUncaught(animal[0], open[0]) ||
                rescue::landedUncaught(animal[1], open[1]));
}

} // namespace
