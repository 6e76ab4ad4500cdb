#include "fatal.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>

void fatalError(const char* message)
{
    std::fputs(message, stdout);
    std::fputs(SDL_GetError(), stdout);
    std::fflush(stdout);
    std::exit(1);
}
