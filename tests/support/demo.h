#pragma once
// Missions played headless on the virtual clock: frame by frame for the tests,
// and recorded demos, whose logs show a changed rule as a changed log.
#include "virtual_platform.h"
#include "framework/screens.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

// A mission started as the menu starts it, seeding rand() from the clock;
// setUpTimeMs pretends that much of the mission's time went by in set-up.
template <class Mission>
struct HeadlessMission {
    Mission mission;

    explicit HeadlessMission(int nowMs, int setUpTimeMs = 0)
    {
        fake::reset(nowMs);
        setUp(mission, nowMs - setUpTimeMs);
    }
    ~HeadlessMission() { tearDown(mission); }
    HeadlessMission(const HeadlessMission&) = delete;
    HeadlessMission& operator=(const HeadlessMission&) = delete;

    MissionCore& core() { return mission.core; }
    SDL_Rect* fighters() { return mission.squadron.fighter; }
    SDL_Rect* shots() { return mission.squadron.shot; }
    SDL_Rect& projectile() { return mission.core.projectile; }

    void runFrame() { frame(mission); }
    // The frame that starts once the mission has run for missionTime ms.
    void runFrameAt(int missionTime)
    {
        fake::advance(missionTime - (fake::now() - mission.core.startTick));
        runFrame();
    }
    // How the mission routine closes a mission.
    void showEndScreen()
    {
        endScreen(mission.core, mission.display, mission.sprites[Mission::explosionSprite],
                  mission.texts[Mission::lostText]);
    }
};

// Puts every enemy 300 below the helicopter's start height, out of its fire
// band and egg window, with a band (600 to 690) clear of a parked projectile.
template <class Mission>
void keepEnemiesAway(Mission& mission)
{
    for (int n = 0; n < squadronSize; ++n) {
        mission.squadron.fighter[n] = {1000, 600, 0, 0};
        mission.squadron.shot[n] = {parkedX, parkedY, 0, 0};
    }
    if constexpr (std::is_same_v<Mission, shootdown::Mission>)
        mission.bomber = {1000, 600, 0, 0};
}

// A mission one frame in (so frameStep is 8), the enemies out of the way.
template <class Mission>
struct ArrangedMission : HeadlessMission<Mission> {
    explicit ArrangedMission(int setUpTimeMs = 0) : HeadlessMission<Mission>(10000, setUpTimeMs)
    {
        this->runFrame();
        keepEnemiesAway(this->mission);
    }
};

// "x,y", to compare and print positions.
inline std::string where(int x, int y) { return std::to_string(x) + ',' + std::to_string(y); }
inline std::string where(const SDL_Rect& rect) { return where(rect.x, rect.y); }

inline SDL_Rect rectAt(int x, int y) { return {Sint16(x), Sint16(y), 0, 0}; }

// The numbers rand() draws after srand(seed), to predict what the game draws.
inline std::vector<int> randSequence(unsigned seed, int count)
{
    std::srand(seed);
    std::vector<int> draws(static_cast<size_t>(count));
    for (int& draw : draws)
        draw = std::rand();
    return draws;
}

// Plays a demo script to the mission's end and logs the state after every 60th
// frame and the last, then the end screen's sleeps. A line, after '#' comments,
// is "mission shootdown|rescue", "start <ms>" (the clock at the start) or "<ms>
// press|release up|down|left|right|space|escape" (from the start); frames are
// 16 ms. A line it cannot read throws std::runtime_error naming the line.
std::string playDemo(const std::string& script);
