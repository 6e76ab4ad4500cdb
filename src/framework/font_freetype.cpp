// The web build's font engine: FreeType itself, measuring and placing glyphs
// as SDL_ttf 2.0 does for solid text, so that every text comes out as in the
// native game: sizes at 72 dpi, hinted outlines rendered monochrome, metrics
// rounded to whole pixels, a line of ascent - descent + 1 rows, the font's
// kerning between glyphs.
#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <vector>

struct Font {
    FT_Face face;
    std::vector<FT_Byte> file; // FreeType reads the face from it as long as it is open
    int ascent, height;
};

namespace {

FT_Library engine = nullptr;

// 26.6 fixed point to whole pixels.
int floorPixels(FT_Pos value) { return int((value & -64) / 64); }
int ceilPixels(FT_Pos value) { return int(((value + 63) & -64) / 64); }

std::vector<FT_Byte> readAll(SDL_RWops* stream)
{
    std::vector<FT_Byte> bytes;
    FT_Byte chunk[16384];
    int got;
    while ((got = SDL_RWread(stream, chunk, 1, sizeof chunk)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    SDL_RWclose(stream);
    return bytes;
}

// A glyph's box, and the glyph loaded (hinted) into the face's slot.
bool loadGlyph(Font* font, FT_UInt index, GlyphBox& box)
{
    if (FT_Load_Glyph(font->face, index, FT_LOAD_DEFAULT) != 0)
        return false;
    const FT_Glyph_Metrics& metrics = font->face->glyph->metrics;
    box.minX = floorPixels(metrics.horiBearingX);
    box.maxX = box.minX + ceilPixels(metrics.width);
    box.maxY = floorPixels(metrics.horiBearingY);
    box.minY = box.maxY - ceilPixels(metrics.height);
    box.advance = ceilPixels(metrics.horiAdvance);
    return true;
}

// The pen's shift in whole pixels between two glyphs the font kerns.
int kerning(Font* font, FT_UInt previous, FT_UInt index)
{
    FT_Vector delta{0, 0};
    if (previous && index && FT_HAS_KERNING(font->face))
        FT_Get_Kerning(font->face, previous, index, FT_KERNING_DEFAULT, &delta);
    return int(delta.x >> 6);
}

// The width of the text's surface: from the leftmost reach of a glyph to the
// rightmost reach or advance.
int textWidth(Font* font, const char* text)
{
    int pen = 0, left = 0, right = 0;
    FT_UInt previous = 0;
    for (const char* letter = text; *letter; ++letter) {
        const FT_UInt index = FT_Get_Char_Index(font->face, FT_ULong(Uint8(*letter)));
        GlyphBox box;
        if (!loadGlyph(font, index, box))
            return 0;
        pen += kerning(font, previous, index);
        left = std::min(left, pen + box.minX);
        right = std::max(right, pen + std::max(box.advance, box.maxX));
        pen += box.advance;
        previous = index;
    }
    return right - left;
}

// Ors the glyph in the face's slot, rendered monochrome, into the text at the
// pen; rows and columns outside the text are left out.
bool drawGlyph(Font* font, const GlyphBox& box, int pen, SDL_Surface* text)
{
    FT_GlyphSlot slot = font->face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    // FreeType may report a wider bitmap than the glyph's box.
    const int width = std::min(int(bitmap.width), box.maxX - box.minX);
    const int top = font->ascent - box.maxY;
    for (int row = 0; row < int(bitmap.rows); ++row) {
        const int y = top + row;
        if (y < 0 || y >= text->h)
            continue;
        const FT_Byte* bits = bitmap.buffer + row * bitmap.pitch;
        Uint8* line = static_cast<Uint8*>(text->pixels) + y * text->pitch;
        for (int col = 0; col < width; ++col) {
            const int x = pen + box.minX + col;
            if (x >= 0 && x < text->w && (bits[col / 8] & (0x80 >> (col % 8))))
                line[x] = 1;
        }
    }
    return true;
}

} // namespace

bool startFontEngine()
{
    if (engine)
        return true;
    if (FT_Init_FreeType(&engine) == 0)
        return true;
    engine = nullptr;
    SDL_SetError("Couldn't init FreeType");
    return false;
}

Font* openFontStream(SDL_RWops* stream, int pointSize)
{
    if (!stream) {
        SDL_SetError("No font to read");
        return nullptr;
    }
    Font* font = new Font{nullptr, readAll(stream), 0, 0};
    if (!engine || FT_New_Memory_Face(engine, font->file.data(), FT_Long(font->file.size()), 0, &font->face) != 0) {
        SDL_SetError("Couldn't load font file");
        delete font;
        return nullptr;
    }
    if (!FT_IS_SCALABLE(font->face) || FT_Set_Char_Size(font->face, 0, pointSize * 64, 0, 0) != 0) {
        SDL_SetError("Couldn't set font size");
        closeFont(font);
        return nullptr;
    }
    const FT_Fixed scale = font->face->size->metrics.y_scale;
    font->ascent = ceilPixels(FT_MulFix(font->face->ascender, scale));
    const int descent = ceilPixels(FT_MulFix(font->face->descender, scale));
    font->height = font->ascent - descent + 1; // the baseline's own row
    return font;
}

void closeFont(Font* font)
{
    if (!font)
        return;
    FT_Done_Face(font->face);
    delete font;
}

int fontHeight(Font* font)
{
    return font->height;
}

bool glyphBox(Font* font, Uint16 letter, GlyphBox& box)
{
    return loadGlyph(font, FT_Get_Char_Index(font->face, letter), box);
}

SDL_Surface* renderSolid(Font* font, const char* text, SDL_Color colour)
{
    const int width = textWidth(font, text);
    if (width <= 0) {
        SDL_SetError("Text has zero width");
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, font->height, 8, 0, 0, 0, 0);
    if (!surface)
        return nullptr;
    SDL_Color colours[] = {{Uint8(255 - colour.r), Uint8(255 - colour.g), Uint8(255 - colour.b), 0}, colour};
    SDL_SetColors(surface, colours, 0, 2);
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);
    SDL_FillRect(surface, nullptr, 0);
    int pen = 0;
    FT_UInt previous = 0;
    for (const char* letter = text; *letter; ++letter) {
        const FT_UInt index = FT_Get_Char_Index(font->face, FT_ULong(Uint8(*letter)));
        GlyphBox box;
        if (!loadGlyph(font, index, box)) {
            SDL_FreeSurface(surface);
            SDL_SetError("Couldn't load glyph");
            return nullptr;
        }
        pen += kerning(font, previous, index);
        // The first glyph may reach left of the pen: the text starts where it does.
        if (letter == text && box.minX < 0)
            pen -= box.minX;
        if (!drawGlyph(font, box, pen, surface)) {
            SDL_FreeSurface(surface);
            SDL_SetError("Couldn't render glyph");
            return nullptr;
        }
        pen += box.advance;
        previous = index;
    }
    return surface;
}
