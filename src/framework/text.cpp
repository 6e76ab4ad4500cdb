#include "text.h"
#include "data_file.h"
#include "display.h"
#include "fatal.h"

#include <cstdio>

void startFonts()
{
    if (TTF_Init() == -1)
        fatalError("Can't init TTF: \n");
}

namespace {

// SDL_ttf makes a text's surface as large as the font says, and draws each
// glyph from the pen without clipping on the left: a damaged font has it ask
// for huge surfaces or write before a text's pixels. Every glyph the game may
// draw must fit in a box of a few point sizes, reaching left of the pen by at
// most a quarter of one. Sets SDL's error text to the fault when there is one.
bool drawsSafely(TTF_Font* font, int pointSize)
{
    const int largest = 4 * pointSize, furthestLeft = -pointSize / 4;
    const int height = TTF_FontHeight(font);
    if (height <= 0) {
        SDL_SetError("%s has no height at size %d", fontPath, pointSize);
        return false;
    }
    if (height > largest) {
        SDL_SetError("%s is %d pixels high at size %d", fontPath, height, pointSize);
        return false;
    }
    for (Uint16 letter = ' '; letter <= '~'; ++letter) {
        int minX, maxX, minY, maxY, advance;
        if (TTF_GlyphMetrics(font, letter, &minX, &maxX, &minY, &maxY, &advance) == 0 &&
            (minX < furthestLeft || maxX > largest || minY < -largest || maxY > largest ||
             advance < 0 || advance > largest)) {
            SDL_SetError("%s has a glyph '%c' of x %d to %d, y %d to %d at size %d", fontPath,
                         char(letter), minX, maxX, minY, maxY, pointSize);
            return false;
        }
    }
    return true;
}

} // namespace

TTF_Font* readFont(SDL_RWops* stream, int pointSize)
{
    TTF_Font* font = TTF_OpenFontRW(stream, 1, pointSize);
    if (font && !drawsSafely(font, pointSize)) {
        TTF_CloseFont(font);
        font = nullptr;
    }
    return font;
}

TTF_Font* openFont(int pointSize)
{
    SDL_RWops* stream = openDataFile(fontPath);
    TTF_Font* font = stream ? readFont(stream, pointSize) : nullptr;
    if (!font)
        fatalError("Can't open Font: \n");
    return font;
}

SDL_Surface* renderText(TTF_Font* font, const char* text, SDL_Color colour)
{
    return TTF_RenderText_Solid(font, text, sixteenBitColour(colour));
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

void renderCounter(SDL_Surface*& counter, TTF_Font* font, int value, SDL_Color colour)
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
    TTF_CloseFont(fonts.small);
    TTF_CloseFont(fonts.large);
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
