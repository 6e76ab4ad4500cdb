#include "sprites.h"
#include "data_file.h"
#include "display.h"
#include "fatal.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

bool isBmpDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 ||
           bits == 32;
}

// Ends the game naming the sprite, after SDL's error text was set to the cause.
[[noreturn]] void spriteFailed(const SpriteFile& file)
{
    fatalError(("Can't set " + std::string(file.name) + ": \n").c_str());
}

// Ends the game for a sprite that loaded but cannot be drawn, saying why.
[[noreturn]] void brokenSprite(const SpriteFile& file, SDL_Surface* surface,
                               const std::string& fault)
{
    SDL_FreeSurface(surface);
    SDL_SetError("%s %s", file.path, fault.c_str());
    spriteFailed(file);
}

// Blitting a bitmap in its file's 24-bit format onto the display costs a large
// share of a core every frame; converted once it is nearly free. The
// conversion also gives it the 16-bit look on any display.
SDL_Surface* inDisplayFormat(const SpriteFile& file, SDL_Surface* loaded)
{
    SDL_Surface* converted = inSixteenBitLook(loaded);
    // SDL's reason is copied first: setting the error may overwrite its buffer.
    if (!converted)
        brokenSprite(file, loaded, "cannot take the display's format: " + std::string(SDL_GetError()));
    SDL_FreeSurface(loaded);
    return converted;
}

SDL_Surface* loadSprite(const SpriteFile& file)
{
    SDL_RWops* stream = openDataFile(file.path);
    if (!stream)
        spriteFailed(file);
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (!loaded)
        spriteFailed(file);
    std::string fault = spriteFault(*loaded);
    if (!fault.empty())
        brokenSprite(file, loaded, fault);
    SDL_Surface* sprite = inDisplayFormat(file, loaded);
    fault = spriteFault(*sprite);
    if (!fault.empty())
        brokenSprite(file, sprite, "in the display's format " + fault);
    return sprite;
}

} // namespace

std::string spriteFault(const SDL_Surface& surface)
{
    char fault[96];
    const SDL_PixelFormat& format = *surface.format;
    int bits = format.BitsPerPixel;
    if (surface.w <= 0 || surface.h <= 0)
        std::snprintf(fault, sizeof fault, "has a picture of %d x %d pixels", surface.w, surface.h);
    else if (!isBmpDepth(bits) || format.BytesPerPixel != (bits + 7) / 8)
        std::snprintf(fault, sizeof fault, "has a picture of %d bits (%d bytes) per pixel", bits,
                      format.BytesPerPixel);
    else if (bits <= 8 && !format.palette)
        std::snprintf(fault, sizeof fault, "has a %d-bit picture without a palette", bits);
    else if (surface.pitch < (int64_t(surface.w) * bits + 7) / 8)
        std::snprintf(fault, sizeof fault, "has rows of %d bytes for %d pixels of %d bits",
                      int(surface.pitch), surface.w, bits);
    else
        return {};
    return fault;
}

void loadSprites(const SpriteFile* files, int count, SDL_Surface** sprites)
{
    for (int i = 0; i < count; ++i)
        sprites[i] = loadSprite(files[i]);
}

void keyOutWhite(SDL_Surface* const* sprites, const int* keyed, int count, Uint32 keyFlags)
{
    for (int i = 0; i < count; ++i) {
        SDL_Surface* sprite = sprites[keyed[i]];
        SDL_SetColorKey(sprite, keyFlags, sixteenBitPixel(sprite->format, 255, 255, 255));
    }
}
