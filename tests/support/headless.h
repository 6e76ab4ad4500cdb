#pragma once
// Missions run headless frame by frame on the virtual clock, and looks at what they drew.
#include "framework/display.h"
#include "framework/platform_scripted.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// A mission set up at nowMs, whose start tick the menu read setUpTimeMs before; arranged, it is one
// frame in (frameStep 8) with the fighters low on the right and their shots parked.
template <class Mission>
struct HeadlessMission {
    Mission mission;
    MissionCore& core = mission.core;
    SDL_Rect *fighter = mission.squadron.fighter, *shot = mission.squadron.shot;

    explicit HeadlessMission(int nowMs = 10000, int setUpTimeMs = 0, bool arranged = false)
    {
        scripted::reset(nowMs);
        setUp(mission, nowMs - setUpTimeMs);
        if (arranged)
            arrange();
    }
    ~HeadlessMission()
    {
        tearDown(mission);
        scripted::reset(); // its hooks may hold on to a test's locals
    }
    void runFrame() { frame(mission); }
    void runFrameAt(int missionTime)
    {
        scripted::advance(missionTime - (scripted::now() - core.startTick));
        frame(mission);
    }
    void arrange()
    {
        runFrame();
        for (int n = 0; n < squadronSize; ++n)
            fighter[n] = {1000, 600, 0, 0}, shot[n] = {parkedX, parkedY, 0, 0};
    }
    void endScreen()
    {
        ::endScreen(core, mission.display, mission.sprites[Mission::explosionSprite], mission.texts[Mission::lostText]);
    }
};
constexpr bool arranged = true;
using ShootDown = HeadlessMission<shootdown::Mission>;
using Rescue = HeadlessMission<rescue::Mission>;

inline SDL_Rect rectAt(int x, int y) { return {Sint16(x), Sint16(y), 0, 0}; }
inline std::string where(int x, int y) { return std::to_string(x) + ',' + std::to_string(y); }
inline std::string where(const SDL_Rect& rect) { return where(rect.x, rect.y); }

// The numbers rand() gives after srand(seed), which it is seeded with again.
inline std::vector<int> randSequence(unsigned seed, int count)
{
    std::vector<int> draws(size_t(count), 0);
    std::srand(seed);
    for (int& draw : draws)
        draw = std::rand();
    std::srand(seed);
    return draws;
}

// A pixel without the bits that no colour uses, which SDL 2 may set.
inline Uint32 colourBits(const SDL_Surface* surface, Uint32 pixel)
{
    const SDL_PixelFormat& f = *surface->format;
    return f.BitsPerPixel > 8 ? pixel & (f.Rmask | f.Gmask | f.Bmask) : pixel;
}
inline Uint32 colourAt(const SDL_Surface* surface, int x, int y) { return colourBits(surface, pixelAt(surface, x, y)); }

// Whether every opaque pixel of the image (all unless it has a colour key) shows at (x, y).
inline bool drawnAt(SDL_Surface* display, SDL_Surface* image, int x, int y)
{
    SDL_Surface* own = SDL_DisplayFormat(image);
    bool same = true;
    for (int row = 0; row < own->h; ++row)
        for (int col = 0; col < own->w; ++col) {
            const Uint32 pixel = colourAt(own, col, row);
            same = same && ((own->flags & SDL_SRCCOLORKEY && pixel == colourBits(own, own->format->colorkey)) ||
                            pixel == colourAt(display, x + col, y + row));
        }
    SDL_FreeSurface(own);
    return same;
}

// Whether the text shows at (x, y), solid in that size and colour (red by default).
inline bool textAt(SDL_Surface* display, const char* text, int size, int x, int y, SDL_Color colour = {255, 0, 0, 0})
{
    Font* font = openFont(size);
    SDL_Surface* rendered = renderText(font, text, colour);
    const bool shown = drawnAt(display, rendered, x, y);
    SDL_FreeSurface(rendered);
    closeFont(font);
    return shown;
}

// One image of a frame at its place; texts keep theirs.
struct Layer {
    SDL_Surface* image;
    SDL_Rect* at;
    bool movable = true;
};

// Whether the display shows exactly these layers blitted in this order.
inline bool drawnInOrder(SDL_Surface* display, const std::vector<Layer>& layers)
{
    const SDL_PixelFormat* f = display->format;
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, display->w, display->h, f->BitsPerPixel, f->Rmask,
                                                 f->Gmask, f->Bmask, f->Amask);
    for (const Layer& layer : layers) {
        SDL_Rect at = *layer.at;
        SDL_BlitSurface(layer.image, nullptr, expected, &at);
    }
    bool same = true;
    for (int row = 0; row < display->h; ++row)
        same = same && std::memcmp(static_cast<char*>(display->pixels) + row * display->pitch,
                                   static_cast<char*>(expected->pixels) + row * expected->pitch,
                                   size_t(display->w) * f->BytesPerPixel) == 0;
    SDL_FreeSurface(expected);
    return same;
}
