#include "sprites.h"
#include "bitmap_header.h"
#include "data_file.h"
#include "display.h"
#include "fatal.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// Sets SDL's error text to why the file cannot be drawn as a sprite.
SDL_Surface* refusedSprite(const char* path, const std::string& fault)
{
    SDL_SetError("%s %s", path, fault.c_str());
    return nullptr;
}

SDL_Surface* brokenSprite(const char* path, SDL_Surface* surface, const std::string& fault)
{
    SDL_FreeSurface(surface);
    return refusedSprite(path, fault);
}

// Blitting a bitmap in its file's 24-bit format onto the display costs a large
// share of a core every frame; converted once it is nearly free. The
// conversion also gives it the 16-bit look on any display.
SDL_Surface* inDisplayFormat(const char* path, SDL_Surface* loaded)
{
    SDL_Surface* converted = inSixteenBitLook(loaded);
    // SDL's reason is copied first: setting the error may overwrite its buffer.
    if (!converted)
        return brokenSprite(path, loaded, "cannot take the display's format: " + std::string(SDL_GetError()));
    SDL_FreeSurface(loaded);
    return converted;
}

SDL_Surface* loadSprite(const SpriteFile& file)
{
    SDL_RWops* stream = openDataFile(file.path);
    SDL_Surface* sprite = stream ? readSprite(stream, file.path) : nullptr;
    if (!sprite)
        fatalError(("Can't set " + std::string(file.name) + ": \n").c_str());
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
    // A colour mask of more than 8 bits, as a file's masks may be, leaves SDL's
    // blitters shifting by more than a pixel's width.
    else if (format.Rloss > 8 || format.Gloss > 8 || format.Bloss > 8)
        std::snprintf(fault, sizeof fault, "has colour masks %#x, %#x, %#x of more than 8 bits",
                      unsigned(format.Rmask), unsigned(format.Gmask), unsigned(format.Bmask));
    else if (surface.pitch < (int64_t(surface.w) * bits + 7) / 8)
        std::snprintf(fault, sizeof fault, "has rows of %d bytes for %d pixels of %d bits",
                      int(surface.pitch), surface.w, bits);
    else
        return {};
    return fault;
}

SDL_Surface* readSprite(SDL_RWops* stream, const char* path)
{
    const std::string promise = bitmapFileFault(stream);
    if (!promise.empty()) {
        SDL_RWclose(stream);
        return refusedSprite(path, promise);
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (!loaded)
        return nullptr;
    std::string fault = spriteFault(*loaded);
    if (!fault.empty())
        return brokenSprite(path, loaded, fault);
    SDL_Surface* sprite = inDisplayFormat(path, loaded);
    fault = sprite ? spriteFault(*sprite) : "";
    if (!fault.empty())
        return brokenSprite(path, sprite, "in the display's format " + fault);
    return sprite;
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
