// Whole rescue missions on the virtual clock: an autopilot that plays to 30
// rescues, and an idle player who loses the first animal that lands.
#include "virtual_platform.h"
#include "missions/rescue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using rescue::Mission;

// Far more frames than either mission needs; a run that gets here is stuck.
constexpr int frameLimit = 40000;

struct Keys {
    bool up, down, left, right, space;
};

void holdKeys(const Keys& keys)
{
    fake::hold(SDLK_UP, keys.up);
    fake::hold(SDLK_DOWN, keys.down);
    fake::hold(SDLK_LEFT, keys.left);
    fake::hold(SDLK_RIGHT, keys.right);
    fake::hold(SDLK_SPACE, keys.space);
}

bool inCatchZone(const SDL_Rect& animal, int x, int y)
{
    return animal.x < x && x < animal.x + 65 && animal.y < y && y < animal.y + 35;
}

// The animal most in need of a parachute: still falling, catchable now and
// lowest on the screen.
int mostUrgentAnimal(const Mission& mission)
{
    int chosen = -1;
    for (int n = 0; n < rescue::herdSize; ++n) {
        const SDL_Rect& animal = mission.animal[n];
        bool catchable = animal.y < 768 && animal.x < 1023 &&
                         rescue::isParked(mission.openParachute[n]);
        if (catchable && (chosen < 0 || animal.y > mission.animal[chosen].y))
            chosen = n;
    }
    return chosen;
}

// How deep a helicopter at (x, y) sits in the way of shots: those in flight
// and those a fighter with its shot parked may fire. Shots come from the
// right at 5 px a frame; the margins leave time to climb or dive away.
int lineOfFireDepth(const Squadron& squadron, int x, int y)
{
    y = y < 0 ? 0 : y; // drawn, and so tested, at the top edge
    int depth = 0;
    for (int n = 0; n < squadronSize; ++n) {
        const SDL_Rect& shot = squadron.shot[n];
        bool flying = shot.x < parkedX;
        int shotX = flying ? shot.x : squadron.fighter[n].x;
        int shotY = flying ? shot.y : squadron.fighter[n].y + 45;
        if (x - 13 < shotX && shotX < x + 270)
            depth += std::max(0, std::min(shotY - (y + 7), y + 78 - shotY));
    }
    return depth;
}

// Sets the keys for the next frame. The parachute leaves from where the
// helicopter was drawn and is tested for a catch before anything moves, so it
// is launched when that spot lies in the animal's catch zone. Of its nine
// moves the helicopter takes the one least in the shots' way, and among those
// the one closest to putting the parachute in the middle of the zone.
void autopilot(const Mission& mission)
{
    const MissionCore& core = mission.core;
    int n = mostUrgentAnimal(mission);
    int targetX = core.heliX, targetY = core.heliY;
    bool launch = false;
    if (n >= 0) {
        const SDL_Rect& animal = mission.animal[n];
        targetX = animal.x + 32 - gunOffsetX;
        targetY = animal.y + 17 - gunOffsetY;
        launch = core.projectile.x > 1023 &&
                 inCatchZone(animal, core.heli.x + gunOffsetX, core.heli.y + gunOffsetY);
    }
    int step = core.frameStep;
    Keys best{false, false, false, false, launch};
    int bestCost = -1;
    for (int h = -1; h <= 1; ++h)
        for (int v = -1; v <= 1; ++v) {
            int x = core.heliX + h * step;
            int y = core.heliY + v * step;
            int cost = std::abs(targetX - x) + std::abs(targetY - y);
            cost += 1000 * lineOfFireDepth(mission.squadron, x, y);
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                best = {v < 0, v > 0, h < 0, h > 0, launch};
            }
        }
    holdKeys(best);
}

// Never launches; at the top of the screen the helicopter is out of most
// fighters' lines.
void idleAtTheTop(const Mission&)
{
    holdKeys({true, false, false, false, false});
}

int landedAnimal(const Mission& mission)
{
    for (int n = 0; n < rescue::herdSize; ++n)
        if (rescue::landedUncaught(mission.animal[n], mission.openParachute[n]))
            return n;
    return -1;
}

// Runs a mission from set-up to its end, letting the player pick the keys
// before each frame; the seed is the virtual time the mission starts at.
template <typename Player>
int playMission(Mission& mission, int startTick, Player player)
{
    fake::reset(startTick);
    // Should a rescue end without space held, the win screen still ends.
    fake::pressAt(startTick + 1000000, SDLK_SPACE);
    rescue::setUp(mission, startTick);
    int frames = 0;
    while (!mission.core.missionOver && frames < frameLimit) {
        player(mission);
        rescue::frame(mission);
        ++frames;
    }
    return frames;
}

TEST(RescueScenario, AutopilotRescuesThirtyAndWins)
{
    Mission mission;
    int frames = playMission(mission, 1234, autopilot);
    EXPECT_LT(frames, frameLimit);
    EXPECT_TRUE(mission.core.missionWon);
    EXPECT_EQ(mission.rescuedCount, rescue::rescuesToWin);
    ASSERT_FALSE(fake::sleeps().empty());
    EXPECT_EQ(fake::sleeps()[0], 1000);
    rescue::tearDown(mission);
}

TEST(RescueScenario, IdlePlayerLosesByAnUncaughtLanding)
{
    Mission mission;
    int frames = playMission(mission, 4321, idleAtTheTop);
    EXPECT_LT(frames, frameLimit);
    EXPECT_FALSE(mission.core.missionWon);
    EXPECT_EQ(mission.rescuedCount, 0);
    EXPECT_GE(landedAnimal(mission), 0);
    rescue::tearDown(mission);
}

} // namespace
