#pragma once
// The seam between the game and the operating system. Everything the game
// asks of the machine outside SDL's surfaces goes through these calls: the
// game links against the SDL implementation, the tests and the screenshot tool
// against a scripted one with a virtual clock.
#include <SDL.h>

// Milliseconds of wall time since the process started; runs before SDL does.
int tickCount();

// Sleeps for the given milliseconds (the win and end screens' waits).
void sleepMs(int ms);

// Drains every pending event; true when a quit request was among them. Alt+Enter
// among them switches between full screen and a window.
bool drainEvents();

// The keyboard state as of the last drain, indexed by SDLKey; non-zero means held.
const Uint8* keyboardState();

// Shows the finished frame, stretched to the game's frame length where the
// display does not wait by itself.
void flipDisplay(SDL_Surface* display);
