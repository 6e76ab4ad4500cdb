#pragma once
// Fonts and texts: every text of the game is solid (not antialiased) and comes
// from the one font file.
#include "font.h"

constexpr const char* fontPath = "data/RZ4417.ttf";
constexpr int smallFontSize = 18;
constexpr int largeFontSize = 24;

// Starts the font engine; a failure ends the game like any other start-up failure.
void startFonts();
Font* openFont(int pointSize);
// The font file's stream, which it closes, opened at a size; null with SDL's
// error text saying why when it cannot be used.
Font* readFont(SDL_RWops* stream, int pointSize);

// SDL_ttf makes a text's surface as large as the font says, and draws each
// glyph from the pen without clipping on the left: a damaged font has it ask
// for huge surfaces or write before a text's pixels. So the line and every
// glyph the game may draw must fit in a box of a few point sizes, a glyph
// reaching left of the pen by at most a quarter of one.
constexpr int largestExtent(int pointSize) { return 4 * pointSize; }
bool lineFits(int lineHeight, int pointSize);
bool glyphFits(const GlyphBox& glyph, int pointSize);

// In the colour a 16-bit display shows, on any display.
SDL_Surface* renderText(Font* font, const char* text, SDL_Color colour);

// A text rendered once and drawn in every frame, moved into the display's
// pixel format with its transparent colour run-length encoded: the same pixels
// on screen for a small part of the blit. Needs the display mode set; a text
// that cannot be converted stays as rendered.
SDL_Surface* readyToDraw(SDL_Surface* text);

// Renders a number into a fresh surface and releases the one it replaces.
void renderCounter(SDL_Surface*& counter, Font* font, int value, SDL_Color colour);

// A text the mission renders once at set-up and draws at a fixed place.
struct TextLine {
    const char* text;
    bool large; // the large font; otherwise the small one
    Sint16 x, y;
};

struct MissionFonts {
    Font* small = nullptr;
    Font* large = nullptr;
};

constexpr SDL_Color missionTextColour{255, 0, 0, 0};

MissionFonts openMissionFonts();
void closeMissionFonts(MissionFonts& fonts);

// Renders a mission's static texts in table order into texts[0 .. count-1].
void renderTextLines(const TextLine* lines, int count, const MissionFonts& fonts,
                     SDL_Surface** texts);
void freeSurfaces(SDL_Surface** surfaces, int count);
