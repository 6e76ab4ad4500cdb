#pragma once
// The rescue mission: two bombers drop stegosaurs, and the player's parachutes
// must catch 30 of them before one lands uncaught.
#include "framework/fighters.h"
#include "framework/mission_art.h"

int runRescueMission(int argc, char** argv, int startTick);

namespace rescue {

enum Sprite {
    Background, Heli, En1, En1sh, Bomber, Triceratops, Fallschirm, Explosion, Fallschirm2,
    spriteCount
};
enum Text { Gerettete, StartText, Verloren, Gewonnen, textCount };

constexpr int rescuesToWin = 30;
constexpr int herdSize = 2; // bombers, animals and open parachutes come in pairs

struct Mission : MissionArt {
    static constexpr int explosionSprite = Explosion;
    static constexpr int lostText = Verloren;

    MissionCore core;
    Squadron squadron;
    SDL_Rect bomber[herdSize] = {};
    SDL_Rect animal[herdSize] = {{parkedX, parkedY, 0, 0}, {parkedX, parkedY, 0, 0}};
    SDL_Rect openParachute[herdSize] = {{parkedX, parkedY, 0, 0}, {parkedX, parkedY, 0, 0}};
    int dropTimer[herdSize] = {0, 1000};
    int rescuedCount = 0;

    SDL_Surface* countText = nullptr;
};

void setUp(Mission& mission, int startTick);
void frame(Mission& mission);
void draw(Mission& mission);
void tearDown(Mission& mission);

// The mission's own rules.
bool isParked(const SDL_Rect& openParachute);
// A catch counts the rescue, opens the animal's parachute above it and parks
// the launched one.
bool catchTest(const SDL_Rect& animal, SDL_Rect& openParachute, SDL_Rect& parachute,
               int& rescuedCount);
void dropStep(SDL_Rect& animal, const SDL_Rect& bomber, int& dropTimer, int missionTime);
void bomberMoveStep(SDL_Rect& bomber, int frameStep);
void fallStep(SDL_Rect& animal, int frameStep);
void openParachuteStep(SDL_Rect& openParachute, int frameStep);
bool landedUncaught(const SDL_Rect& animal, const SDL_Rect& openParachute);

} // namespace rescue
