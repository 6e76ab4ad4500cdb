#pragma once
// The font engine under the game's texts: SDL_ttf in the native game, FreeType
// itself in the web build, where there is no SDL_ttf. Both draw a text alike,
// pixel for pixel: solid, at 72 dpi, hinted, with the font's kerning.
#include <SDL.h>

struct Font;

// A glyph's reach from the pen and its advance, in pixels, as SDL_ttf measures them.
struct GlyphBox {
    int minX, maxX, minY, maxY, advance;
};

// False, with SDL's error text saying why, when the engine cannot start.
bool startFontEngine();
// The stream, which it closes, read as a font at a point size; null with SDL's
// error text saying why when it cannot be.
Font* openFontStream(SDL_RWops* stream, int pointSize);
void closeFont(Font* font);
// The line's height in pixels: ascent, descent and the baseline's row.
int fontHeight(Font* font);
// False when the font cannot give the glyph.
bool glyphBox(Font* font, Uint16 letter, GlyphBox& box);
// The text as an 8-bit surface one line high: index 1 the colour, index 0
// the colour key around it. Null, with SDL's error text, for an empty text
// or one that cannot be drawn.
SDL_Surface* renderSolid(Font* font, const char* text, SDL_Color colour);
