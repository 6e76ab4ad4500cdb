#pragma once
// Missions played headless on the virtual clock: frame by frame for the tests,
// and recorded demos, which replay an input script from a fixed start time and
// log what happened, so that a changed rule shows up as a changed log.
#include "virtual_platform.h"
#include "framework/screens.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <istream>
#include <string>
#include <vector>

// A mission started the way the menu starts it: the start tick is read, then
// the mission sets itself up and seeds rand() from the clock. setUpTimeMs
// pretends that much of the mission's time went by during set-up.
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

// Puts every enemy where it neither fires at nor drops on a helicopter at its
// start height, nor meets a parked projectile.
void keepEnemiesAway(shootdown::Mission& mission);
void keepEnemiesAway(rescue::Mission& mission);

// A mission one frame in, so that frameStep is 8, with the enemies out of the
// way; a test then places what it needs.
template <class Mission>
struct ArrangedMission : HeadlessMission<Mission> {
    explicit ArrangedMission(int setUpTimeMs = 0) : HeadlessMission<Mission>(10000, setUpTimeMs)
    {
        this->runFrame();
        keepEnemiesAway(this->mission);
    }
};

// "x,y", to compare and print positions.
std::string where(const SDL_Rect& rect);
std::string where(int x, int y);

SDL_Rect rectAt(int x, int y);

// The numbers rand() draws after srand(seed), to predict what the game draws.
std::vector<int> randSequence(unsigned seed, int count);

struct DemoEvent {
    int atMs; // after the start
    std::string action; // press, release or quit
    SDLKey key;
};

struct Demo {
    std::string mission; // shootdown or rescue
    int startMs = 0; // the clock at the start, which seeds the mission
    int frameMs = 16;
    std::vector<DemoEvent> events;
};

// One item a line, '#' starts a comment:
//   mission shootdown|rescue
//   start <ms>                the clock when the menu starts the mission
//   frame <ms>                the length of every frame
//   <ms> press|release <key>  up, down, left, right, space or escape
//   <ms> quit                 a quit request
// Event times count from the start. A line it cannot read throws
// std::runtime_error naming the line.
Demo readDemo(std::istream& script);

// Plays the demo to the mission's end and returns its log: the state after
// every 60th frame and after the last one, then the end screen's sleeps.
std::string playDemo(const Demo& demo);
