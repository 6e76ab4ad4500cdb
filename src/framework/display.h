#pragma once
// The display: starting SDL's video, the game's one display mode, and blits.
#include <SDL.h>

constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;

// Starts SDL's video subsystem (does nothing when it already runs). Without
// a graphical display it ends the game, unless SDL_VIDEODRIVER chose a driver.
void startVideo();

// Sets 1024 x 768, double-buffered, in the screen's own depth so that SDL
// converts nothing at the flip (16 bits where the screen has no deeper colour
// of its own). Full screen, unless the player has put the game in a window.
// The pointer is hidden over it.
SDL_Surface* setGameDisplayMode();

// The game's picture is the one a 16-bit display shows: every colour reduced to
// 5-6-5 bits and widened again the way this SDL widens a 16-bit picture at the
// flip. Both go through SDL's own conversions, since SDL 1.2 and SDL 2 widen
// differently (31 becomes 248 on the one, 255 on the other), once for each
// colour and each layout of pixels: the menu and the counters ask every frame.
Uint32 sixteenBitPixel(SDL_PixelFormat* format, Uint8 red, Uint8 green, Uint8 blue);
// The same as a colour of 8 bits a channel.
SDL_Color sixteenBitColour(SDL_Color colour);
// A copy of a picture in the display's format, in the 16-bit look; null when
// SDL cannot make one.
SDL_Surface* inSixteenBitLook(SDL_Surface* picture);

// A pixel's value in a surface of any depth.
Uint32 pixelAt(const SDL_Surface* surface, int x, int y);

// Blits a sprite at its rectangle. SDL writes the clipped rectangle back, and
// the game's rules go on from those written-back positions.
void drawAt(SDL_Surface* sprite, SDL_Rect& at, SDL_Surface* display);

// Blits a text at a fixed position; a text that failed to render is skipped.
void drawText(SDL_Surface* text, Sint16 x, Sint16 y, SDL_Surface* display);
