#pragma once
// The two screens that close a mission: the win screen that waits for space,
// and the end screen shown for every end that is not a confirmed win.
#include "mission_core.h"

#include <initializer_list>

struct TextAt {
    SDL_Surface* text;
    Sint16 x, y;
};

constexpr int winScreenPauseMs = 1000;
constexpr int endScreenPauseMs = 2000;

// Draws the texts over the unfinished frame, pauses, then waits for space or
// a quit request (Escape does not count here).
void winScreen(MissionCore& core, SDL_Surface* display, std::initializer_list<TextAt> texts);

// The explosion at the helicopter and "Verloren" over the last frame, unless
// the mission was won.
void endScreen(const MissionCore& core, SDL_Surface* display, SDL_Surface* explosion,
               SDL_Surface* lostText);
