// The frame steps every mission shares, on plain rectangles and the virtual
// clock, and the blit write-back the rules go on from.
#include "virtual_platform.h"
#include "framework/display.h"
#include "framework/mission_core.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

namespace {

SDL_Rect at(int x, int y)
{
    return SDL_Rect{Sint16(x), Sint16(y), 0, 0};
}

// The helicopter drawn at (100, 300): the zone is 100 < x < 240, 315 < y < 370,
// and a hit in it counts only once the start protection is over.
TEST(HeliHit, ZoneIsStrictOnEverySide)
{
    struct Case {
        int x, y;
        bool inside;
    } cases[] = {{100, 340, false}, {101, 340, true}, {239, 340, true}, {240, 340, false},
                 {150, 315, false}, {150, 316, true}, {150, 369, true}, {150, 370, false}};
    for (const Case& c : cases) {
        for (bool protection : {true, false}) {
            MissionCore core;
            core.heli = at(100, 300);
            core.startProtection = protection;
            heliHitStep(core, at(c.x, c.y));
            EXPECT_EQ(core.missionOver, c.inside && !protection) << c.x << "," << c.y;
        }
    }
}

// Each bound is tested before the move, so the helicopter overshoots by up to
// frameStep - 1 and then stays put while the key is held.
TEST(HeliMove, TestsBoundsBeforeMoving)
{
    struct Case {
        std::vector<SDLKey> keys;
        int fromX, fromY, firstX, firstY, secondX, secondY; // steps of 8
    } cases[] = {{{SDLK_UP}, 100, 1, 100, -7, 100, -7},
                 {{SDLK_UP}, 100, 0, 100, 0, 100, 0},
                 {{SDLK_DOWN}, 100, 677, 100, 685, 100, 685},
                 {{SDLK_RIGHT}, 873, 300, 881, 300, 881, 300},
                 {{SDLK_LEFT}, 1, 300, -7, 300, -7, 300},
                 {{SDLK_UP, SDLK_RIGHT}, 100, 300, 108, 292, 116, 284},
                 {{SDLK_UP, SDLK_DOWN}, 100, 300, 100, 300, 100, 300}};
    for (const Case& c : cases) {
        Uint8 keys[SDLK_LAST] = {};
        for (SDLKey key : c.keys)
            keys[key] = 1;
        int x = c.fromX, y = c.fromY;
        heliMoveStep(x, y, keys, 8);
        EXPECT_EQ(std::pair(x, y), std::pair(c.firstX, c.firstY)) << c.fromX << "," << c.fromY;
        heliMoveStep(x, y, keys, 8);
        EXPECT_EQ(std::pair(x, y), std::pair(c.secondX, c.secondY)) << c.fromX << "," << c.fromY;
    }
}

// Space launches only a projectile beyond x = 1023, from where the helicopter
// was drawn, not from the position being steered.
TEST(Launch, OnlyOffScreenAndFromTheDrawnHelicopter)
{
    struct Case {
        int projectileX;
        bool space, launches;
    } cases[] = {{1023, true, false}, {1024, true, true}, {1030, true, true}, {1024, false, false}};
    for (const Case& c : cases) {
        fake::reset();
        fake::hold(SDLK_SPACE, c.space);
        MissionCore core;
        core.heliX = 500;
        core.heliY = 20;
        core.heli = at(200, 100);
        core.projectile = at(c.projectileX, 400);
        inputStep(core);
        EXPECT_EQ(core.projectile.x, c.launches ? 340 : c.projectileX) << c.projectileX;
        EXPECT_EQ(core.projectile.y, c.launches ? 170 : 400) << c.projectileX;
    }
}

// frameStep x k / 10, truncated; a parked projectile stays where it is.
TEST(Flight, MovesByTruncatedSpeedUnlessParked)
{
    struct Case {
        int k, frameStep, fromX, toX;
    } cases[] = {{7, 8, 500, 505},   {10, 8, 500, 508},   {7, 1, 500, 500},    {10, 1, 500, 501},
                 {7, 8, 1023, 1028}, {7, 8, 1024, 1024}, {10, 8, 1200, 1200}};
    for (const Case& c : cases) {
        MissionCore core;
        core.frameStep = c.frameStep;
        core.projectile = at(c.fromX, 200);
        projectileFlight(core, c.k);
        EXPECT_EQ(core.projectile.x, c.toX) << "k " << c.k << " from " << c.fromX;
    }
}

// Half the frame's length in milliseconds, truncated; nothing moves in the
// first frame.
TEST(FrameStep, IsHalfTheFrameLengthTruncated)
{
    for (auto [lengthMs, step] : {std::pair{1, 0}, {2, 1}, {3, 1}, {16, 8}, {17, 8}}) {
        fake::reset(700);
        MissionCore core;
        EXPECT_EQ(core.frameStep, 0);
        frameStart(core);
        fake::advance(lengthMs);
        frameEnd(core);
        EXPECT_EQ(core.frameStep, step) << lengthMs << " ms";
    }
}

// The rules go on from the rectangle SDL writes back after a blit: clipped at
// the left and top edges, while a parked object stays parked however often it
// is drawn.
TEST(BlitWriteBack, ClipsToTheScreenAndKeepsParkedObjectsInPlace)
{
    startVideo();
    SDL_Surface* display = setGameDisplayMode();
    SDL_Surface* sprite = SDL_CreateRGBSurface(0, 20, 10, 16, 0, 0, 0, 0);
    struct Case {
        SDL_Rect from, written;
    } cases[] = {{at(-5, 3), {0, 3, 15, 10}},
                 {at(1020, -4), {1020, 0, 4, 6}},
                 {at(parkedX, parkedY), {parkedX, parkedY, 0, 0}},
                 {at(-30, 3), {0, 3, 0, 0}}};
    auto fields = [](const SDL_Rect& r) { return std::tuple(r.x, r.y, r.w, r.h); };
    for (Case& c : cases) {
        drawAt(sprite, c.from, display);
        EXPECT_EQ(fields(c.from), fields(c.written));
    }
    SDL_FreeSurface(sprite);
}

} // namespace
