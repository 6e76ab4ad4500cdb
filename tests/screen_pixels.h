#pragma once
// Looking at finished frames on the 16-bit display.
#include <SDL.h>

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
