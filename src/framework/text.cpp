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

TTF_Font* openFont(int pointSize)
{
    SDL_RWops* stream = openDataFile(fontPath);
    TTF_Font* font = stream ? TTF_OpenFontRW(stream, 1, pointSize) : nullptr;
    if (font && TTF_FontHeight(font) <= 0) {
        TTF_CloseFont(font);
        font = nullptr;
        SDL_SetError("%s has no height at size %d", fontPath, pointSize);
    }
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
