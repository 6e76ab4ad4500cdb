#pragma once
// The display: starting SDL's video, the game's one display mode, and blits.
#include <SDL.h>

constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;

// Starts SDL's video subsystem (does nothing when it already runs). Without
// a graphical display it ends the game, unless SDL_VIDEODRIVER chose a driver.
void startVideo();

// Sets 1024 x 768 at 16 bits, full screen and double-buffered.
SDL_Surface* setGameDisplayMode();

// Blits a sprite at its rectangle. SDL writes the clipped rectangle back, and
// the game's rules go on from those written-back positions.
void drawAt(SDL_Surface* sprite, SDL_Rect& at, SDL_Surface* display);

// Blits a text at a fixed position; a text that failed to render is skipped.
void drawText(SDL_Surface* text, Sint16 x, Sint16 y, SDL_Surface* display);
