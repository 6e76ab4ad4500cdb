#pragma once
// What every mission shares: its clock, the helicopter, the player's
// projectile and the flags that end it, with the frame steps that work on them.
#include <SDL.h>

// A speed: frameStep x k / 10, multiplied first and truncated.
inline int speed(int frameStep, int k)
{
    return frameStep * k / 10;
}

// Moves a rectangle coordinate, which is 16 bits wide, by a 32-bit amount.
inline void moveBy(Sint16& coordinate, int amount)
{
    coordinate = Sint16(coordinate + amount);
}

// Where an object that is not in play waits: just off the bottom-right corner.
constexpr Sint16 parkedX = 1024;
constexpr Sint16 parkedY = 768;

constexpr int heliStartX = 100;
constexpr int heliStartY = 300;
// The helicopter's position is tested against these before it moves.
constexpr int heliMaxX = 874;
constexpr int heliMaxY = 678;
// Where the projectile leaves the helicopter.
constexpr int gunOffsetX = 140;
constexpr int gunOffsetY = 70;

constexpr int startProtectionMs = 5000;
constexpr int startTextMs = 2000;

struct MissionCore {
    int startTick = 0;
    int missionTime = 0;
    int frameStartTick = 0;
    int frameStep = 0;
    int heliX = heliStartX; // the position the player steers, never clipped
    int heliY = heliStartY;
    SDL_Rect heli{heliStartX, heliStartY, 0, 0}; // where it was drawn last
    SDL_Rect projectile{parkedX, parkedY, 0, 0};
    bool missionOver = false;
    bool missionWon = false;
    bool startProtection = true;
};

// The helicopter's hit zone, tested on an object's top-left corner; strict on
// every side.
bool inHeliBox(const SDL_Rect& heli, const SDL_Rect& object);

// A hit in the hit zone ends the mission once the start protection is over.
void heliHitStep(MissionCore& core, const SDL_Rect& object);

void frameStart(MissionCore& core);
void inputStep(MissionCore& core);
// The arrow keys: each axis moves by the whole frameStep, bounds tested first.
void heliMoveStep(int& heliX, int& heliY, const Uint8* keys, int frameStep);
// Space launches the projectile once it has left the screen or is parked.
void launchStep(SDL_Rect& projectile, const SDL_Rect& heli, const Uint8* keys);
void startProtectionStep(MissionCore& core);
void projectileFlight(MissionCore& core, int k);
void helicopterCopy(MissionCore& core);
void frameEnd(MissionCore& core);
