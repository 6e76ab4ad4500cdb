// Fuzz target for a sprite: the game's own path for one bitmap (header check,
// load, sprite checks, display format), then both missions' colour keys, each
// with a blit onto the dummy display, which is set up once per process.
#include "framework/sprites.h"
#include "fuzz_input.h"

namespace {

bool drawSprite(const Uint8* bytes, int size, SDL_Surface* display)
{
    // SDL 2 (under sdl12-compat) has no stream over an empty input, as the
    // game has none for a missing file: refused before reading, as there.
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, size);
    SDL_Surface* sprite = stream ? readSprite(stream, "fuzzed") : nullptr;
    if (!sprite)
        return false;
    const int keyed[] = {0};
    for (Uint32 keyFlags : {Uint32(SDL_SRCCOLORKEY), Uint32(SDL_SRCCOLORKEY | SDL_RLEACCEL)}) {
        keyOutWhite(&sprite, keyed, 1, keyFlags);
        SDL_Rect at{100, 100, 0, 0};
        drawAt(sprite, at, display);
    }
    SDL_FreeSurface(sprite);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    return runFuzzInputs(argc, argv, drawSprite);
}
