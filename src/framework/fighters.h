#pragma once
// The enemy squadron both missions fly against: three fighters crossing from
// right to left, each firing one shot at a time at a level helicopter.
#include "mission_core.h"

constexpr int squadronSize = 3;

struct Squadron {
    SDL_Rect fighter[squadronSize];
    SDL_Rect shot[squadronSize]; // shot n belongs to fighter n
};

// Random start heights (1 to 678) for anything that flies in from the right.
int randomHeight();

// Start positions, drawing the random numbers fighter by fighter, x then y.
void startSquadron(Squadron& squadron);

// Per-fighter steps; shots at x >= 1024 are parked.
void fireStep(const SDL_Rect& fighter, SDL_Rect& shot, const SDL_Rect& heli);
void fighterMoveStep(SDL_Rect& fighter, int frameStep);
// Flies a plane left at k tenths of frameStep; once its x is 0 or less it comes
// back in at the right edge at a new random height.
void flyLeftStep(SDL_Rect& plane, int frameStep, int k, int (*newHeight)());
void shotMoveStep(SDL_Rect& shot, int frameStep);

// The same steps for fighters 1, 2, 3 in turn.
void shotHitSteps(MissionCore& core, const Squadron& squadron);
void fireSteps(Squadron& squadron, const SDL_Rect& heli);
void fighterMoveSteps(Squadron& squadron, int frameStep);
void shotMoveSteps(Squadron& squadron, int frameStep);
void drawSquadron(Squadron& squadron, SDL_Surface* fighterSprite, SDL_Surface* shotSprite,
                  SDL_Surface* display);
