#pragma once
// Data files are opened by the game itself before SDL or SDL_ttf read them, so
// that a failure names its own cause on every SDL and a FIFO, a device or a
// directory in data/ is refused at once instead of blocking the game.
#include <SDL.h>

// A read stream over the regular file at path, closed by whoever consumes it;
// null with SDL's error text saying why when there is none.
SDL_RWops* openDataFile(const char* path);
