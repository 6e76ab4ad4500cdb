#include "sprites.h"
#include "fatal.h"

#include <string>

namespace {

// Blitting a bitmap in its file's 24-bit format onto the 16-bit display costs a
// large share of a core every frame; converted once it is nearly free.
SDL_Surface* inDisplayFormat(SDL_Surface* loaded)
{
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    if (!converted)
        return loaded;
    SDL_FreeSurface(loaded);
    return converted;
}

} // namespace

void loadSprites(const SpriteFile* files, int count, SDL_Surface** sprites)
{
    for (int i = 0; i < count; ++i) {
        SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromFile(files[i].path, "rb"), 1);
        if (!loaded)
            fatalError(("Can't set " + std::string(files[i].name) + ": \n").c_str());
        sprites[i] = inDisplayFormat(loaded);
    }
}

// Run-length encoded, a keyed sprite's blit skips its white runs and copies
// the rest a run at a time instead of testing every pixel: the same pixels on
// the display for a fraction of the cost, every frame.
void keyOutWhite(SDL_Surface* const* sprites, const int* keyed, int count)
{
    for (int i = 0; i < count; ++i) {
        SDL_Surface* sprite = sprites[keyed[i]];
        SDL_SetColorKey(sprite, SDL_SRCCOLORKEY | SDL_RLEACCEL,
                        SDL_MapRGB(sprite->format, 255, 255, 255));
    }
}
