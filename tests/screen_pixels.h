#pragma once
// Looking at finished frames on the 16-bit display.
#include <SDL.h>
#include "framework/text.h"

#include <vector>

inline Uint16 pixelAt(const SDL_Surface* screen, int x, int y)
{
    return static_cast<const Uint16*>(screen->pixels)[y * screen->pitch / 2 + x];
}

inline bool isColour(SDL_Surface* screen, int x, int y, Uint8 r, Uint8 g, Uint8 b)
{
    return pixelAt(screen, x, y) == SDL_MapRGB(screen->format, r, g, b);
}

// Pixels of the mission texts' red inside a box; no sprite uses that red.
inline int redPixels(SDL_Surface* screen, const SDL_Rect& box)
{
    int count = 0;
    for (int y = box.y; y < box.y + box.h; ++y)
        for (int x = box.x; x < box.x + box.w; ++x)
            count += isColour(screen, x, y, 255, 0, 0);
    return count;
}

inline std::vector<Uint16> copyOf(const SDL_Surface* screen)
{
    std::vector<Uint16> pixels(size_t(screen->w * screen->h));
    for (int y = 0; y < screen->h; ++y)
        for (int x = 0; x < screen->w; ++x)
            pixels[size_t(y * screen->w + x)] = pixelAt(screen, x, y);
    return pixels;
}

// Whether every pixel of a solid 8-bit text (palette index 0 is its
// background) shows the mission texts' red on the display at (x, y).
inline bool textDrawnAt(SDL_Surface* display, const SDL_Surface* text, int x, int y)
{
    for (int row = 0; row < text->h; ++row)
        for (int col = 0; col < text->w; ++col)
            if (static_cast<const Uint8*>(text->pixels)[row * text->pitch + col] &&
                !isColour(display, x + col, y + row, 255, 0, 0))
                return false;
    return true;
}

// Whether a counter shows the given text, pixel for pixel.
inline bool showsText(const SDL_Surface* counter, TTF_Font* font, const char* text)
{
    SDL_Surface* expected = renderText(font, text, missionTextColour);
    bool same = counter->w == expected->w && counter->h == expected->h;
    for (int row = 0; same && row < counter->h; ++row)
        for (int col = 0; same && col < counter->w; ++col)
            same = static_cast<const Uint8*>(counter->pixels)[row * counter->pitch + col] ==
                   static_cast<const Uint8*>(expected->pixels)[row * expected->pitch + col];
    SDL_FreeSurface(expected);
    return same;
}
