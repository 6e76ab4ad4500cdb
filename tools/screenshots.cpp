// Takes the README's pictures from the real game: the real rules and the real
// drawing, played by simple pilots on a virtual clock with SDL's dummy video
// driver. `screenshots OUTDIR`, run from the folder that holds data/, writes
// menu.bmp, shoot-down.bmp, shoot-down-won.bmp and rescue.bmp. The clock
// starts at fixed times, so every run takes the same pictures.

#include "framework/platform_scripted.h"
#include "menu/menu.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

std::string outDir;

void save(SDL_Surface* display, const char* name)
{
    const std::string path = outDir + "/" + name + ".bmp";
    if (SDL_SaveBMP(display, path.c_str()) != 0) {
        std::fprintf(stderr, "screenshots: cannot write %s: %s\n", path.c_str(), SDL_GetError());
        std::exit(1);
    }
}

void holdArrows(int dx, int dy)
{
    scripted::hold(SDLK_LEFT, dx < 0);
    scripted::hold(SDLK_RIGHT, dx > 0);
    scripted::hold(SDLK_UP, dy < 0);
    scripted::hold(SDLK_DOWN, dy > 0);
}

int sign(int v) { return (v > 0) - (v < 0); }

// How many of the next frames a helicopter flying straight up (-1), level (0)
// or down (1) stays clear of the shots and the egg, with a few pixels to
// spare. Planes are moved by hand: the game's own step would draw a new
// height from rand() for one that leaves the screen, and change what follows.
int clearFrames(const shootdown::Mission& mission, int direction)
{
    constexpr int lookAhead = 24, step = 8, spare = 6;
    SDL_Rect heli = mission.core.heli, bomber = mission.bomber, egg = mission.egg;
    Squadron squadron = mission.squadron;
    for (int t = 1; t <= lookAhead; ++t) {
        if ((direction < 0 && heli.y > 0) || (direction > 0 && heli.y < heliMaxY))
            heli.y = Sint16(heli.y + direction * step);
        fireSteps(squadron, heli);
        shootdown::eggDropStep(egg, bomber, heli);
        for (SDL_Rect& fighter : squadron.fighter)
            fighter.x = Sint16(fighter.x > 0 ? fighter.x - 3 : fighter.x);
        bomber.x = Sint16(bomber.x > 0 ? bomber.x - 2 : bomber.x);
        shotMoveSteps(squadron, step);
        shootdown::eggFallStep(egg, step);
        const SDL_Rect wide{Sint16(heli.x - spare), Sint16(heli.y - spare), 0, 0};
        const auto threatens = [&](const SDL_Rect& r) {
            return inHeliBox(wide, r) && r.x < heli.x + 140 + spare && r.y < heli.y + 70 + spare;
        };
        if (threatens(egg) || std::any_of(squadron.shot, squadron.shot + squadronSize, threatens))
            return t;
    }
    return lookAhead + 1;
}

// Lines the gun up with the middle of the nearest target ahead, firing when
// level with it, unless staying clear of the shots asks for another move.
void shootDownPilot(const shootdown::Mission& mission)
{
    const MissionCore& core = mission.core;
    const SDL_Rect* target = nullptr;
    for (const SDL_Rect* plane : {&mission.squadron.fighter[0], &mission.squadron.fighter[1],
                                  &mission.squadron.fighter[2], &mission.bomber})
        if (plane->x > core.heliX + 200 && plane->x < 1024 && (!target || plane->x < target->x))
            target = plane;
    const int wantedY = target ? target->y + 45 - gunOffsetY : core.heliY;
    int best = 0, bestClear = -1, bestMiss = 0;
    for (int direction : {0, -1, 1}) {
        const int clear = clearFrames(mission, direction);
        const int miss = std::abs(core.heliY + direction * core.frameStep - wantedY);
        if (clear > bestClear || (clear == bestClear && miss < bestMiss)) {
            best = direction;
            bestClear = clear;
            bestMiss = miss;
        }
    }
    holdArrows(0, best);
    scripted::hold(SDLK_SPACE, target && std::abs(core.heliY - wantedY) < 10);
}

// Steers the launch point towards where the lowest falling animal will be
// when a parachute launched now reaches it, and launches once it is there.
void rescuePilot(const rescue::Mission& mission)
{
    const MissionCore& core = mission.core;
    const SDL_Rect* aim = nullptr;
    for (const SDL_Rect& animal : mission.animal)
        if (animal.y < 700 && animal.x > 260 && animal.x < 1000 && (!aim || animal.y > aim->y))
            aim = &animal;
    if (!aim) {
        holdArrows(0, 0);
        scripted::hold(SDLK_SPACE, false);
        return;
    }
    const int gap = 60; // between the launch point and the animal
    const int wantedX = aim->x - gap - gunOffsetX;
    const int wantedY = aim->y + 17 + gap / 8 - gunOffsetY;
    holdArrows(sign(wantedX - core.heliX), sign(wantedY - core.heliY));
    scripted::hold(SDLK_SPACE, std::abs(core.heliX - wantedX) < 8 && std::abs(core.heliY - wantedY) < 6);
}

// Whether a plane covers the win screen's texts around (450, 350) to (700, 430).
bool coversWinTexts(const SDL_Rect& plane)
{
    return plane.x < 700 && plane.x + 150 > 440 && plane.y < 440 && plane.y + 90 > 340;
}

// Plays a mission started at startMs frame by frame until it ends or the
// picture taker says it has what it wanted; whether it got that.
template <class Mission, class Pilot, class Camera>
bool play(int startMs, Pilot pilot, Camera camera)
{
    scripted::reset(startMs);
    Mission mission;
    setUp(mission, startMs);
    bool done = false;
    scripted::onFlip([&](SDL_Surface* display) { done = camera(mission, display) || done; });
    while (!mission.core.missionOver && !done) {
        pilot(mission);
        frame(mission);
    }
    scripted::onFlip(nullptr);
    tearDown(mission);
    return done;
}

constexpr int firstStartMs = 7000;
constexpr int lastStartMs = 60000;

int nextStart(int startMs)
{
    if (startMs >= lastStartMs) {
        std::fprintf(stderr, "screenshots: no start up to %d ms gave the picture\n", lastStartMs);
        std::exit(1);
    }
    return startMs + 1000;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    outDir = argv[1];

    // The menu as it first appears; 2 then ends it.
    scripted::reset(0);
    scripted::onFlip([](SDL_Surface* display) {
        save(display, "menu");
        scripted::hold(SDLK_2, true);
    });
    runMenu(argc, argv);

    // The pilots are simple, so some starts end in a loss; the first start
    // that gives the pictures is taken.
    // The win screen's texts go over the last frame drawn, so the planes that
    // must keep clear of them are where that frame showed them.
    SDL_Rect shownPlanes[squadronSize + 1] = {};
    const auto shootDownCamera = [&](const shootdown::Mission& mission, SDL_Surface* display) {
        if (mission.hitCount == 12 && shootdown::explosionShown(mission.explosion, mission.core.frameStartTick))
            save(display, "shoot-down");
        if (mission.hitCount < shootdown::hitsToWin) {
            std::copy(mission.squadron.fighter, mission.squadron.fighter + squadronSize, shownPlanes);
            shownPlanes[squadronSize] = mission.bomber;
            return false;
        }
        scripted::hold(SDLK_SPACE, true);
        if (std::any_of(std::begin(shownPlanes), std::end(shownPlanes), coversWinTexts))
            return false;
        save(display, "shoot-down-won");
        return true;
    };
    int start = firstStartMs;
    while (!play<shootdown::Mission>(start, shootDownPilot, shootDownCamera))
        start = nextStart(start);
    std::printf("shoot-down mission won from start time %d ms\n", start);

    int framesSinceCatch = 0;
    const auto rescueCamera = [&](const rescue::Mission& mission, SDL_Surface* display) {
        if (mission.rescuedCount == 0 || ++framesSinceCatch < 20)
            return false;
        save(display, "rescue");
        return true;
    };
    start = firstStartMs;
    while (!play<rescue::Mission>(start, rescuePilot, rescueCamera)) {
        framesSinceCatch = 0;
        start = nextStart(start);
    }
    std::printf("rescue mission caught an animal from start time %d ms\n", start);
    return 0;
}
