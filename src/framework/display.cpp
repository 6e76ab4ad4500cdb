#include "display.h"
#include "fatal.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <vector>

namespace {

// Below this a screen has a palette rather than colours of its own; the game
// then draws at 16 bits and SDL converts at the flip.
constexpr int leastOwnDepth = 15;
constexpr int sixteenBits = 16;

// The game keeps the depth and the window of a display it already set: a
// mission sets the mode again and must not undo the player's Alt+Enter.
int gameDisplayDepth(const SDL_Surface* current)
{
    if (current)
        return current->format->BitsPerPixel;
    const int own = SDL_GetVideoInfo()->vfmt->BitsPerPixel;
    return own >= leastOwnDepth ? own : sixteenBits;
}

Uint32 gameDisplayFlags(const SDL_Surface* current)
{
    const Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF;
    return current && !(current->flags & SDL_FULLSCREEN) ? flags : flags | SDL_FULLSCREEN;
}

// A picture of a 16-bit display, 5-6-5 bits.
SDL_Surface* sixteenBitSurface(int width, int height)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, sixteenBits, 0xF800, 0x07E0, 0x001F, 0);
}

// How a format lays out its pixels: all that SDL's widening of a colour into
// it depends on, where the format has no palette.
struct PixelLayout {
    Uint8 bitsPerPixel, bytesPerPixel;
    Uint32 redMask, greenMask, blueMask, alphaMask;
};

bool operator==(const PixelLayout& a, const PixelLayout& b)
{
    return std::tie(a.bitsPerPixel, a.bytesPerPixel, a.redMask, a.greenMask, a.blueMask, a.alphaMask) ==
           std::tie(b.bitsPerPixel, b.bytesPerPixel, b.redMask, b.greenMask, b.blueMask, b.alphaMask);
}

PixelLayout layoutOf(const SDL_PixelFormat& format)
{
    return {format.BitsPerPixel, format.BytesPerPixel, format.Rmask, format.Gmask, format.Bmask, format.Amask};
}

// 8 bits a channel, as a colour holds them.
constexpr PixelLayout trueColour{32, 4, 0xFF0000, 0x00FF00, 0x0000FF, 0};

// The menu's yellow and the counters' red are wanted in every frame, and
// working one out makes and frees two surfaces. Each is worked out once per
// layout and kept by layout, not by the format's address: SDL hands out new
// formats, maybe at old addresses, with every mode and every restart.
struct WidenedColour {
    PixelLayout layout;
    Uint8 red, green, blue;
    Uint32 pixel;
};
std::vector<WidenedColour> widenedColours;
// The game has a handful of colours; more only come and go.
constexpr size_t widenedColoursKept = 16;

template <class Widen>
std::optional<Uint32> widenedOnce(const PixelLayout& layout, Uint8 red, Uint8 green, Uint8 blue, Widen widen)
{
    for (const WidenedColour& known : widenedColours)
        if (known.layout == layout && known.red == red && known.green == green && known.blue == blue)
            return known.pixel;
    const std::optional<Uint32> pixel = widen();
    if (!pixel)
        return pixel;
    if (widenedColours.size() >= widenedColoursKept)
        widenedColours.clear();
    widenedColours.push_back({layout, red, green, blue, *pixel});
    return pixel;
}

// The conversion SDL makes of a 16-bit picture at the flip. Its pixel is taken
// as it is: SDL 2 sets the bits that no colour uses, and compares them too
// when it looks for a sprite's colour key. None when SDL cannot make a surface.
std::optional<Uint32> widenedPixel(SDL_PixelFormat* format, Uint8 red, Uint8 green, Uint8 blue)
{
    SDL_Surface* reduced = sixteenBitSurface(1, 1);
    if (!reduced)
        return std::nullopt;
    SDL_FillRect(reduced, nullptr, SDL_MapRGB(reduced->format, red, green, blue));
    SDL_Surface* widened = SDL_ConvertSurface(reduced, format, SDL_SWSURFACE);
    const std::optional<Uint32> pixel = widened ? std::optional<Uint32>(pixelAt(widened, 0, 0)) : std::nullopt;
    SDL_FreeSurface(widened);
    SDL_FreeSurface(reduced);
    return pixel;
}

// Where SDL draws when no graphical display can be opened: text art on the
// terminal (classic SDL 1.2), or memory nobody looks at (SDL 2 under
// sdl12-compat). Such a game would run on unseen until killed.
bool showsNothing(const char* driver)
{
    for (const char* fallback : {"caca", "aalib", "offscreen", "dummy"})
        if (std::strcmp(driver, fallback) == 0)
            return true;
    return false;
}

} // namespace

void startVideo()
{
    // A driver chosen through SDL's own environment is used as chosen.
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    const bool driverChosen = chosen && *chosen;
    // Keeps the text-art fallback, should SDL come to try it, off the terminal:
    // it is turned down below anyway.
    if (!driverChosen)
        setenv("CACA_DRIVER", "null", 0);
    // The game reads held keys and never composed text, yet SDL's X11 start
    // opens an input method that parses the locale's whole Compose table:
    // three quarters of the video start's work. A table the player set stays.
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        fatalError("Can't init SDL: \n");
    char driver[32] = "";
    if (!driverChosen && SDL_VideoDriverName(driver, sizeof driver) && showsNothing(driver)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("No graphical display; SDL offered its %s driver", driver);
        fatalError("Can't init SDL: \n");
    }
}

SDL_Surface* setGameDisplayMode()
{
    const SDL_Surface* current = SDL_GetVideoSurface();
    // sdl12-compat hands back its old display, without a pixel format, once
    // SDL has been quit and started again: that is no display at all.
    if (current && !current->format)
        current = nullptr;
    SDL_Surface* display = SDL_SetVideoMode(screenWidth, screenHeight, gameDisplayDepth(current),
                                            gameDisplayFlags(current));
    if (!display)
        fatalError("Can't set VideoMode: \n");
    // The game is played with the keyboard alone: no pointer over its picture.
    SDL_ShowCursor(SDL_DISABLE);
    return display;
}

Uint32 sixteenBitPixel(SDL_PixelFormat* format, Uint8 red, Uint8 green, Uint8 blue)
{
    auto widen = [&] { return widenedPixel(format, red, green, blue); };
    // A palette's colours may change under the same layout.
    const std::optional<Uint32> pixel =
        format->palette ? widen() : widenedOnce(layoutOf(*format), red, green, blue, widen);
    return pixel ? *pixel : SDL_MapRGB(format, red, green, blue);
}

SDL_Color sixteenBitColour(SDL_Color colour)
{
    const std::optional<Uint32> pixel = widenedOnce(trueColour, colour.r, colour.g, colour.b, [&] {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, trueColour.bitsPerPixel, trueColour.redMask,
                                                    trueColour.greenMask, trueColour.blueMask, trueColour.alphaMask);
        const std::optional<Uint32> shown =
            surface ? widenedPixel(surface->format, colour.r, colour.g, colour.b) : std::nullopt;
        SDL_FreeSurface(surface);
        return shown;
    });
    if (!pixel)
        return colour;
    // The channels where the true-colour layout keeps them.
    return {Uint8(*pixel >> 16), Uint8(*pixel >> 8), Uint8(*pixel), colour.unused};
}

SDL_Surface* inSixteenBitLook(SDL_Surface* picture)
{
    // A 16-bit display's own format is the look already: one conversion, as
    // before, keeps a mission's set-up as quick.
    const SDL_PixelFormat& display = *SDL_GetVideoSurface()->format;
    if (display.BitsPerPixel == sixteenBits && display.Gmask == 0x07E0)
        return SDL_DisplayFormat(picture);
    SDL_Surface* sixteenBit = sixteenBitSurface(1, 1);
    SDL_Surface* reduced = sixteenBit ? SDL_ConvertSurface(picture, sixteenBit->format, SDL_SWSURFACE) : nullptr;
    SDL_Surface* shown = reduced ? SDL_DisplayFormat(reduced) : nullptr;
    SDL_FreeSurface(reduced);
    SDL_FreeSurface(sixteenBit);
    return shown;
}

Uint32 pixelAt(const SDL_Surface* surface, int x, int y)
{
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    if (bytes == 1)
        return *at;
    if (bytes == 3)
        return SDL_BYTEORDER == SDL_LIL_ENDIAN ? Uint32(at[0] | at[1] << 8 | at[2] << 16)
                                               : Uint32(at[0] << 16 | at[1] << 8 | at[2]);
    Uint16 narrow;
    Uint32 wide;
    if (bytes == 2)
        return std::memcpy(&narrow, at, sizeof narrow), narrow;
    return std::memcpy(&wide, at, sizeof wide), wide;
}

void drawAt(SDL_Surface* sprite, SDL_Rect& at, SDL_Surface* display)
{
    SDL_BlitSurface(sprite, nullptr, display, &at);
}

void drawText(SDL_Surface* text, Sint16 x, Sint16 y, SDL_Surface* display)
{
    if (!text)
        return;
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(text, nullptr, display, &at);
}
