#pragma once
// What a mission loads at set-up and releases at teardown: its display, fonts,
// static texts and sprites, described by the mission's own tables.
#include "screens.h"
#include "sprites.h"
#include "text.h"

constexpr int maxMissionSprites = 9;
constexpr int maxMissionTexts = 6;

struct MissionTables {
    const TextLine* texts; // rendered once, in this order
    int textCount;
    const SpriteFile* sprites; // loaded in this order
    int spriteCount;
    const int* keyed; // sprites whose white is transparent, keyed in this order
    int keyedCount;
    Uint32 keyFlags;
};

struct MissionArt {
    SDL_Surface* display = nullptr;
    MissionFonts fonts;
    SDL_Surface* sprites[maxMissionSprites] = {};
    SDL_Surface* texts[maxMissionTexts] = {};
};

// Starts the video, sets the display mode again, opens the fonts, renders the
// texts and loads and keys the sprites; any failure ends the game.
void loadMissionArt(MissionArt& art, const MissionTables& tables);
void releaseMissionArt(MissionArt& art);

// Draws a static text at its table position.
void drawTextLine(const MissionArt& art, const MissionTables& tables, int text);
// A static text with its table position, for the win screen.
TextAt placedText(const MissionArt& art, const MissionTables& tables, int text);

// Gives a rectangle the size of the sprite it shows.
void sizeFromSprite(SDL_Rect& rect, const SDL_Surface* sprite);
