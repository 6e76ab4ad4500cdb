#include "text.h"
#include "data_file.h"
#include "display.h"
#include "fatal.h"

#include <cstdio>

void startFonts()
{
    if (!startFontEngine())
        fatalError("Can't init TTF: \n");
}

bool lineFits(int lineHeight, int pointSize)
{
    return lineHeight > 0 && lineHeight <= largestExtent(pointSize);
}

bool glyphFits(const GlyphBox& glyph, int pointSize)
{
    const int largest = largestExtent(pointSize);
    return glyph.minX >= -pointSize / 4 && glyph.maxX <= largest && glyph.minY >= -largest &&
           glyph.maxY <= largest && glyph.advance >= 0 && glyph.advance <= largest;
}

namespace {

// Every glyph the game may draw, and the line, must fit; sets SDL's error text
// to the fault when one does not.
bool drawsSafely(Font* font, int pointSize)
{
    const int height = fontHeight(font);
    if (!lineFits(height, pointSize)) {
        SDL_SetError("%s is %d pixels high at size %d", fontPath, height, pointSize);
        return false;
    }
    for (Uint16 letter = ' '; letter <= '~'; ++letter) {
        GlyphBox g;
        if (glyphBox(font, letter, g) && !glyphFits(g, pointSize)) {
            SDL_SetError("%s has a glyph '%c' of x %d to %d, y %d to %d at size %d", fontPath,
                         char(letter), g.minX, g.maxX, g.minY, g.maxY, pointSize);
            return false;
        }
    }
    return true;
}

} // namespace

Font* readFont(SDL_RWops* stream, int pointSize)
{
    Font* font = openFontStream(stream, pointSize);
    if (font && !drawsSafely(font, pointSize)) {
        closeFont(font);
        font = nullptr;
    }
    return font;
}

Font* openFont(int pointSize)
{
    SDL_RWops* stream = openDataFile(fontPath);
    Font* font = stream ? readFont(stream, pointSize) : nullptr;
    if (!font)
        fatalError("Can't open Font: \n");
    return font;
}

SDL_Surface* renderText(Font* font, const char* text, SDL_Color colour)
{
    return renderSolid(font, text, sixteenBitColour(colour));
}

SDL_Surface* readyToDraw(SDL_Surface* text)
{
    SDL_Surface* converted = text ? SDL_DisplayFormat(text) : nullptr;
    if (!converted)
        return text;
    SDL_FreeSurface(text);
    if (converted->flags & SDL_SRCCOLORKEY)
        SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, converted->format->colorkey);
    return converted;
}

void renderCounter(SDL_Surface*& counter, Font* font, int value, SDL_Color colour)
{
    char digits[12]; // "-2147483648" and its terminator
    std::snprintf(digits, sizeof digits, "%d", value);
    SDL_FreeSurface(counter);
    counter = renderText(font, digits, colour);
}

MissionFonts openMissionFonts()
{
    startFonts();
    MissionFonts fonts;
    fonts.small = openFont(smallFontSize);
    fonts.large = openFont(largeFontSize);
    return fonts;
}

void closeMissionFonts(MissionFonts& fonts)
{
    closeFont(fonts.small);
    closeFont(fonts.large);
    fonts = MissionFonts{};
}

void renderTextLines(const TextLine* lines, int count, const MissionFonts& fonts,
                     SDL_Surface** texts)
{
    for (int i = 0; i < count; ++i)
        texts[i] = readyToDraw(renderText(lines[i].large ? fonts.large : fonts.small,
                                          lines[i].text, missionTextColour));
}

void freeSurfaces(SDL_Surface** surfaces, int count)
{
    for (int i = 0; i < count; ++i) {
        SDL_FreeSurface(surfaces[i]);
        surfaces[i] = nullptr;
    }
}
