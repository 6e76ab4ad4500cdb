#pragma once
// Sprites: loaded from data/ in each mission's own order, kept in the
// display's pixel format, with pure white as the transparent colour.
#include <SDL.h>

struct SpriteFile {
    const char* name; // as the failure message names it
    const char* path;
};

// Loads every sprite of the table in order into sprites[0 .. count-1]; the
// first that cannot be loaded ends the game with its message.
void loadSprites(const SpriteFile* files, int count, SDL_Surface** sprites);

// Makes pure white transparent in each listed sprite, in the listed order.
void keyOutWhite(SDL_Surface* const* sprites, const int* keyed, int count);
