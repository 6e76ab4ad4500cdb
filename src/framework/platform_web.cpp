// The web platform: the page's clock, the page's keys, and a flip that puts
// the frame on the page's canvas and waits for the browser's next frames. The
// game's loops block; each wait hands the browser its turn (Asyncify).
#include "platform.h"
#include "pacer.h"

#include <emscripten.h>

#include <cstdint>
#include <vector>

namespace {

// The game's clock: the page's, less the time the game waited for a frame
// while the page was hidden (see nextBrowserFrame).
EM_JS(double, gameNowMs, (), { return performance.now() - (Module.pausedMs || 0); });

EM_JS(void, takePageKeys, (Uint8 * keys, int count), { HEAPU8.set(Module.heldKeys.subarray(0, count), keys); });

EM_JS(void, showOnCanvas, (const Uint8* rgba, int width, int height), {
    const canvas = Module.canvas;
    if (!Module.frameImage || canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        Module.frameImage = new ImageData(width, height);
        Module.frameContext = canvas.getContext('2d', {alpha: false});
    }
    Module.frameImage.data.set(HEAPU8.subarray(rgba, rgba + width * height * 4));
    Module.frameContext.putImageData(Module.frameImage, 0, 0);
    Module.framesShown = (Module.framesShown || 0) + 1;
});

// The tick counts at which the last frames ended, as the game measures its
// frames: the pace, for a look from outside.
EM_JS(void, noteFrameEnd, (int tick), {
    Module.frameEndTicks = Module.frameEndTicks || [];
    Module.frameEndTicks.push(tick);
    if (Module.frameEndTicks.length > 1000)
        Module.frameEndTicks.shift();
});

// Waits for the browser's next frame and gives the time its display frame
// began, on the game's clock. A hidden page has no frames, so the game stands
// still meanwhile; its clock does too, or the next frame would be as long as
// the page was hidden and its frameStep would move everything that far at
// once. Only the wait's own hidden time is taken off: the clock never goes
// back, and other waits (a busy wait, a sleep) end as they would.
// The game goes on as a callback of the runtime's own, so that the end of
// main, in whichever frame it comes, ends the runtime and the page hears of
// it. (emscripten_sleep brings in these functions of the runtime.)
EM_JS(double, nextBrowserFrame, (), {
    return Asyncify.handleSleep(function(wakeUp) {
        runtimeKeepalivePush();
        const hiddenBefore = Module.hiddenTotalMs();
        requestAnimationFrame(function(displayFrameMs) {
            Module.pausedMs = (Module.pausedMs || 0) + Module.hiddenTotalMs() - hiddenBefore;
            runtimeKeepalivePop();
            callUserCallback(function() { wakeUp(displayFrameMs - Module.pausedMs); });
        });
    });
});

int64_t nowUs()
{
    return int64_t(gameNowMs() * 1000);
}

const int64_t pageStartUs = nowUs();

// When the last frame's display frame began, and how long after it the frame
// ended (see frameEndLag).
int64_t lastDisplayFrameUs = INT64_MIN / 2;
int64_t frameEndLagUs = 0;
Uint8 heldKeys[SDLK_LAST];
std::vector<Uint32> canvasPixels;

// A browser frame that began at most this much less than a game frame after
// the last one ends the frame: browser frames come at the display's rate, and
// a display faster than 60 Hz gives two or more for every game frame.
constexpr int64_t earlyFrameUs = 2000;

// The canvas's colour of every pixel value of the display, widened as classic
// SDL 1.2 widens a 16-bit picture on a deeper screen: by shifting (31 becomes
// 248, 63 252). The dummy display has no colours of its own, so the game's is
// 16 bits. Each colour is the canvas's four bytes, red first, as one word of
// this little-endian machine.
std::vector<Uint32> canvasColours(const SDL_PixelFormat& f)
{
    std::vector<Uint32> colours(1 << 16);
    for (Uint32 pixel = 0; pixel < colours.size(); ++pixel)
        colours[pixel] = ((pixel & f.Rmask) >> f.Rshift << f.Rloss) | ((pixel & f.Gmask) >> f.Gshift << f.Gloss) << 8 |
                         ((pixel & f.Bmask) >> f.Bshift << f.Bloss) << 16 | 0xFF000000u;
    return colours;
}

void widen(const SDL_Surface* display, std::vector<Uint32>& canvas)
{
    static const std::vector<Uint32> colours = canvasColours(*display->format);
    canvas.resize(size_t(display->w) * display->h);
    Uint32* out = canvas.data();
    for (int y = 0; y < display->h; ++y) {
        const Uint16* row = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(display->pixels) + y * display->pitch);
        for (int x = 0; x < display->w; ++x)
            *out++ = colours[row[x]];
    }
}

} // namespace

int tickCount()
{
    return int((nowUs() - pageStartUs) / 1000);
}

void sleepMs(int ms)
{
    emscripten_sleep(unsigned(ms));
}

bool drainEvents()
{
    takePageKeys(heldKeys, SDLK_LAST);
    return false; // a page is closed, not quit: nothing runs on after it
}

const Uint8* keyboardState()
{
    return heldKeys;
}

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    widen(display, canvasPixels);
    showOnCanvas(reinterpret_cast<const Uint8*>(canvasPixels.data()), display->w, display->h);
    int64_t displayFrameUs;
    do
        displayFrameUs = int64_t(nextBrowserFrame() * 1000);
    while (displayFrameUs < lastDisplayFrameUs + framePeriodUs - earlyFrameUs);
    lastDisplayFrameUs = displayFrameUs;
    frameEndLagUs = frameEndLag(frameEndLagUs, nowUs() - displayFrameUs);
    while (nowUs() < displayFrameUs + frameEndLagUs) {
    }
    noteFrameEnd(tickCount());
}
