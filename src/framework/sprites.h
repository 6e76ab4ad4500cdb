#pragma once
// Sprites: loaded from data/ in each mission's own order, kept in the
// display's pixel format, with pure white as the transparent colour.
#include <SDL.h>

#include <string>

struct SpriteFile {
    const char* name; // as the failure message names it
    const char* path;
};

// Why a surface cannot be drawn as a sprite ("has a 4-bit picture without a
// palette"), or nothing when it can. SDL's BMP loader takes some damaged
// headers at face value and returns surfaces that crash the first conversion
// or blit.
std::string spriteFault(const SDL_Surface& surface);

// Reads one sprite from a bitmap stream, which it closes, and puts it in the
// display's format; null with SDL's error text saying why, naming the file by
// path, when it cannot be drawn.
SDL_Surface* readSprite(SDL_RWops* stream, const char* path);

// Loads every sprite of the table in order into sprites[0 .. count-1], each in
// the display's format; the first that cannot be loaded, or loads broken, ends
// the game with its message.
void loadSprites(const SpriteFile* files, int count, SDL_Surface** sprites);

// Makes pure white transparent in each listed sprite, in the listed order.
void keyOutWhite(SDL_Surface* const* sprites, const int* keyed, int count, Uint32 keyFlags);
