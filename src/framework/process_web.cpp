// The web page as the game's process: SDL draws with its dummy video driver
// into surfaces that the flip puts on the page's canvas, and the keys, the
// clock and full screen come from the page.
#include "process.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstdlib>

namespace {

// The keys a frame reads, held while the page has them down. The browser does
// nothing of its own with them (no scrolling), and lets them go when the page
// loses the keyboard: it would never see them go up. Alt+Enter switches
// the canvas between full screen and the page. Once the game has ended (the
// runtime's ABORT) the keys are the page's again. The time the page has been
// hidden is counted: it shows no frames then (hiddenTotalMs, for the flip).
EM_JS(void, listenToPage, (int keyCount), {
    Module.heldKeys = new Uint8Array(keyCount);
    Module.hiddenMs = 0;
    Module.hiddenSince = document.hidden ? performance.now() : -1;
    Module.hiddenTotalMs = function() {
        return Module.hiddenMs + (Module.hiddenSince >= 0 ? performance.now() - Module.hiddenSince : 0);
    };
    const release = function() { Module.heldKeys.fill(0); };
    addEventListener('keydown', function(event) {
        if (ABORT)
            return;
        if (event.code === 'Enter' && event.altKey) {
            event.preventDefault();
            if (document.fullscreenElement)
                document.exitFullscreen();
            else
                Module.canvas.requestFullscreen();
            return;
        }
        const key = Module.pageKeys[event.code];
        if (key === undefined || event.ctrlKey || event.metaKey)
            return;
        event.preventDefault();
        Module.heldKeys[key] = 1;
    });
    addEventListener('keyup', function(event) {
        const key = Module.pageKeys[event.code];
        if (key !== undefined)
            Module.heldKeys[key] = 0;
    });
    addEventListener('blur', release);
    document.addEventListener('visibilitychange', function() {
        release();
        if (document.hidden) {
            Module.hiddenSince = performance.now();
        } else if (Module.hiddenSince >= 0) {
            Module.hiddenMs += performance.now() - Module.hiddenSince;
            Module.hiddenSince = -1;
        }
    });
});

// The page's key, by KeyboardEvent.code: the physical key, as SDL's key codes are.
EM_JS(void, mapPageKey, (const char* code, int key), {
    Module.pageKeys = Module.pageKeys || {};
    Module.pageKeys[UTF8ToString(code)] = key;
});

struct PageKey {
    const char* code;
    SDLKey key;
};
constexpr PageKey namedKeys[] = {{"ArrowUp", SDLK_UP}, {"ArrowDown", SDLK_DOWN}, {"ArrowLeft", SDLK_LEFT},
                                 {"ArrowRight", SDLK_RIGHT}, {"Space", SDLK_SPACE}, {"Escape", SDLK_ESCAPE}};

void mapPageKeys()
{
    for (const PageKey& named : namedKeys)
        mapPageKey(named.code, named.key);
    char digit[] = "Digit0";
    for (int n = 0; n < 10; ++n, ++digit[5])
        mapPageKey(digit, SDLK_0 + n);
    char letter[] = "KeyA";
    for (int n = 0; n < 26; ++n, ++letter[3])
        mapPageKey(letter, SDLK_a + n);
}

} // namespace

void prepareProcess()
{
    // The only driver this SDL has; chosen by name, so the game takes it for a display.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    mapPageKeys();
    listenToPage(SDLK_LAST);
}

bool takeHangup()
{
    return false; // a page has no terminal to close
}
