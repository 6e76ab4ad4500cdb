// Other ways for the shipped game to ask SDL 1.2 for its display and to show
// its frames, preloaded into it by bench/desktop13.sh (LD_PRELOAD) beside the
// probe, so that each is measured against the game as it is, in turns. The
// way comes from HELI_PRESENT_WAY:
//   software       a software surface: no SDL_HWSURFACE, no SDL_DOUBLEBUF
//   single         a hardware surface without SDL_DOUBLEBUF
//   update-rect    SDL_UpdateRect of the whole display in place of SDL_Flip
//   sixteen-bits   16 bits a pixel in place of the screen's own depth
#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace {

bool way(const char* name)
{
    const char* chosen = std::getenv("HELI_PRESENT_WAY");
    return chosen && std::strcmp(chosen, name) == 0;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

SDL_Surface* SDL_SetVideoMode(int width, int height, int bitsPerPixel, Uint32 flags)
{
    static auto setMode = next<SDL_Surface* (*)(int, int, int, Uint32)>("SDL_SetVideoMode");
    if (way("software"))
        flags &= ~Uint32(SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (way("single"))
        flags &= ~Uint32(SDL_DOUBLEBUF);
    if (way("sixteen-bits"))
        bitsPerPixel = 16;
    return setMode(width, height, bitsPerPixel, flags);
}

int SDL_Flip(SDL_Surface* screen)
{
    static auto flip = next<int (*)(SDL_Surface*)>("SDL_Flip");
    if (!way("update-rect"))
        return flip(screen);
    SDL_UpdateRect(screen, 0, 0, 0, 0);
    return 0;
}

} // extern "C"
