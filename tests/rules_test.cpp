// The rules on plain rectangles, one table per rule family.
#include "headless.h"

#include <gtest/gtest.h>

#include <tuple>

// Each bound is tested before the move (frameStep 8): overshoot, then stay. Up goes before Down, Right before Left.
TEST(HelicopterMoves, BoundsAreTestedBeforeEachMove)
{
    constexpr int U = 1, D = 2, R = 4, L = 8;
    for (auto [keys, x, y, toX, toY] :
         {std::tuple{U, 100, 1, 100, -7}, {U, 100, 0, 100, 0}, {D, 100, 677, 100, 685}, {D, 100, 678, 100, 678},
          {R, 873, 300, 881, 300}, {R, 874, 300, 874, 300}, {L, 1, 300, -7, 300}, {L, 0, 300, 0, 300},
          {U | R, 100, 300, 108, 292}, {U | D | R | L, 100, 300, 100, 300},
          {U | D, 100, 0, 100, 8}, {R | L, 0, 300, 0, 300}}) {
        Uint8 held[SDLK_LAST] = {};
        held[SDLK_UP] = keys & U, held[SDLK_DOWN] = keys & D, held[SDLK_RIGHT] = keys & R, held[SDLK_LEFT] = keys & L;
        int atX = x, atY = y;
        heliMoveStep(atX, atY, held, 8);
        EXPECT_EQ(where(atX, atY), where(toX, toY)) << keys << " from " << where(x, y);
    }
}

// Drawn at (100, 300): 100 < x < 240 and 315 < y < 370, once the start protection is over.
TEST(HeliBox, IsStrictOnEverySide)
{
    for (auto [x, y, protection, hit] :
         {std::tuple{100, 340, false, false}, {101, 340, false, true}, {239, 340, false, true},
          {240, 340, false, false}, {150, 315, false, false}, {150, 316, false, true}, {150, 369, false, true},
          {150, 370, false, false}, {150, 340, true, false}}) {
        MissionCore core;
        core.startProtection = protection;
        heliHitStep(core, rectAt(x, y));
        EXPECT_EQ(core.missionOver, hit) << where(x, y);
    }
}

// Space launches from the drawn helicopter, (200, 100), one beyond x 1023; flight only below 1024. Keys pressed
// since the last frame count in this one.
TEST(InputStep, LaunchesFliesAndEnds)
{
    for (auto [key, fromX, k, launchedX, flownX, quitAt] :
         {std::tuple{SDLK_SPACE, 1023, 7, 1023, 1028, 1}, {SDLK_SPACE, 1024, 7, 340, 345, 1},
          {SDLK_SPACE, 1030, 10, 340, 348, 1}, {SDLK_ESCAPE, 1024, 7, 1024, 1024, 1},
          {SDLK_UP, 500, 10, 500, 508, 0}}) {
        scripted::reset(), scripted::pressAt(0, key), scripted::quitAt(quitAt);
        MissionCore core;
        core.heliX = 500, core.heliY = 20, core.frameStep = 8, core.heli = rectAt(200, 100);
        core.projectile = rectAt(fromX, 400);
        inputStep(core);
        EXPECT_EQ(where(core.projectile), where(launchedX, launchedX == 340 ? 170 : 400)) << fromX;
        projectileFlight(core, k);
        EXPECT_EQ(core.projectile.x, flownX) << fromX;
        EXPECT_EQ(core.missionOver, key == SDLK_ESCAPE || quitAt == 0) << key;
    }
}

// frameStep is half the frame's length, truncated (odd lengths included); missionTime runs from the start tick.
TEST(FrameClock, HalfTheFrameTruncated)
{
    for (auto [lengthMs, frameStep] : {std::pair{0, 0}, {1, 0}, {3, 1}, {16, 8}, {17, 8}, {33, 16}}) {
        scripted::reset(5000);
        MissionCore core;
        core.startTick = 1200;
        frameStart(core);
        scripted::advance(lengthMs);
        frameEnd(core);
        EXPECT_EQ(where(core.frameStep, core.missionTime), where(frameStep, 3800)) << lengthMs;
    }
}

// Speeds are frameStep x k / 10, truncated; a plane at x <= 0 comes back at x 1024, y rand() % heights + 1.
TEST(Movement, TruncatedTenthsOfTheFrameStepAndComingBack)
{
    using Step = void (*)(SDL_Rect&, int);
    const Step fighter = fighterMoveStep, shot = shotMoveStep, bomber = shootdown::bomberMoveStep,
               egg = shootdown::eggFallStep, bomber2 = rescue::bomberMoveStep, animal = rescue::fallStep,
               open = rescue::openParachuteStep;
    for (auto [step, x, y, frameStep, toX, toY, heights] :
         {std::tuple{fighter, 500, 250, 2, 500, 250, 0}, {fighter, 500, 250, 3, 499, 250, 0},
          {fighter, 1, 250, 8, -2, 250, 0}, {fighter, 0, 250, 8, 1024, 0, 678}, {shot, 500, 250, 2, 499, 250, 0},
          {shot, 500, 250, 1, 500, 250, 0}, {shot, 5, 250, 8, 0, 250, 0}, {shot, 4, 250, 8, 1024, 250, 0},
          {shot, 3, 250, 8, 1024, 250, 0},
          {shot, 1023, 250, 8, 1018, 250, 0}, {shot, 1024, 250, 8, 1024, 250, 0}, {bomber, 500, 250, 4, 499, 250, 0},
          {bomber, 500, 250, 3, 500, 250, 0}, {bomber, 0, 250, 8, 1024, 0, 678}, {egg, 250, 100, 2, 250, 101, 0},
          {egg, 250, 100, 1, 250, 100, 0}, {egg, 250, 767, 8, 250, 774, 0}, {egg, 250, 768, 8, 250, 768, 0},
          {bomber2, 500, 250, 8, 498, 250, 0}, {bomber2, 0, 250, 8, 1024, 0, 300}, {animal, 500, 400, 5, 500, 401, 0},
          {animal, 500, 400, 4, 500, 400, 0}, {open, 500, 767, 8, 500, 768, 0}, {open, 500, 768, 8, 1024, 768, 0},
          {open, 500, 770, 8, 1024, 768, 0}}) {
        SDL_Rect rect = rectAt(x, y);
        const int drawn = randSequence(3, 1)[0];
        step(rect, frameStep);
        EXPECT_EQ(where(rect), where(toX, heights ? drawn % heights + 1 : toY)) << where(x, y);
    }
}

// Strictly within 45 of the helicopter's y 300, its shot parked: the shot leaves 45 below the fighter's top.
TEST(FireStep, FromStrictlyWithin45WhenItsShotIsParked)
{
    for (auto [fighterY, shotX, fires] : {std::tuple{255, 1024, false}, {256, 1024, true}, {344, 1024, true},
                                          {345, 1024, false}, {300, 1023, false}, {300, 1200, true}}) {
        SDL_Rect shotAt = rectAt(shotX, 500);
        fireStep(rectAt(600, fighterY), shotAt, rectAt(100, 300));
        EXPECT_EQ(where(shotAt), fires ? where(600, fighterY + 45) : where(shotX, 500)) << fighterY;
    }
}

// Target at (500, 300): 500 < x < 650, 300 < y < 390. A hit sends it to x 1200 at a new height,
// explodes 40 above the projectile for 100 ms from now, parks the projectile and counts; a miss changes nothing.
TEST(HitZone, IsStrictOnAllFourEdges)
{
    for (auto [x, y, hit] : {std::tuple{500, 345, false}, {501, 345, true}, {649, 345, true}, {650, 345, false},
                             {575, 300, false}, {575, 301, true}, {575, 389, true}, {575, 390, false}}) {
        SDL_Rect target = rectAt(500, 300), projectile = rectAt(x, y);
        shootdown::HitExplosion explosion;
        int hitCount = 7;
        const int height = randSequence(5, 1)[0] % 678 + 1;
        shootdown::hitTest(target, projectile, explosion, hitCount, 1234);
        EXPECT_EQ(where(target) + ' ' + where(projectile) + ' ' + where(explosion.at) + '@' +
                      std::to_string(explosion.explosionTick) + ' ' + std::to_string(hitCount),
                  hit ? where(1200, height) + ' ' + where(1024, y) + ' ' + where(x, y - 40) + "@1234 8"
                      : "500,300 " + where(x, y) + " 0,0@0 7");
        EXPECT_EQ(shootdown::explosionShown(explosion, 1333), hit) << where(x, y);
        EXPECT_EQ(shootdown::explosionShown(explosion, 0), hit) << "a miss shows the explosion at tick 0";
        EXPECT_FALSE(shootdown::explosionShown(explosion, 1334));
    }
}

// Over a helicopter at (300, 400): 150 < x < 350, y < 400; a parked egg (y > 767) drops.
TEST(EggDrop, FromTheWindowAboveTheHelicopterWhenParked)
{
    for (auto [x, y, eggY, drops] :
         {std::tuple{150, 100, 768, false}, {151, 100, 768, true}, {349, 100, 768, true}, {350, 100, 768, false},
          {250, 399, 768, true}, {250, 400, 768, false}, {250, 100, 767, false}, {250, 100, 774, true}}) {
        SDL_Rect eggAt = rectAt(10, eggY);
        shootdown::eggDropStep(eggAt, rectAt(x, y), rectAt(300, 400));
        EXPECT_EQ(where(eggAt), drops ? where(x + 150, y + 50) : where(10, eggY)) << where(x, y);
    }
}

// Animal at (500, 300): 500 < x < 565, 300 < y < 335, never at x 1024 or y 768, only with its
// open parachute parked. A catch counts, opens it 30 above the animal, parks the launched one.
TEST(CatchZone, StrictInsideWithTheOpenParachuteParked)
{
    const SDL_Rect a = rectAt(500, 300), corner = rectAt(1000, 750), parked = rectAt(1024, 768);
    for (auto [animal, x, y, open, caught] :
         {std::tuple{a, 500, 310, parked, false}, {a, 501, 310, parked, true}, {a, 564, 310, parked, true},
          {a, 565, 310, parked, false}, {a, 530, 300, parked, false}, {a, 530, 301, parked, true},
          {a, 530, 334, parked, true}, {a, 530, 335, parked, false}, {corner, 1024, 760, parked, false},
          {corner, 1010, 768, parked, false}, {corner, 1027, 760, parked, true},
          {a, 530, 310, rectAt(1024, 700), false}, {a, 530, 310, rectAt(500, 768), false}}) {
        SDL_Rect parachute = rectAt(x, y), openParachute = open;
        int rescued = 7;
        rescue::catchTest(animal, openParachute, parachute, rescued);
        EXPECT_EQ(where(openParachute) + ' ' + where(parachute) + ' ' + std::to_string(rescued),
                  caught ? where(animal.x, animal.y - 30) + ' ' + where(1024, y) + " 8"
                         : where(open) + ' ' + where(x, y) + " 7");
    }
}

// On the ground (y > 767), not under its open parachute (30 above), 200 < x < 1023: lost.
TEST(Landing, UncaughtOnTheGroundBetweenTheEdges)
{
    for (auto [x, y, openY, lost] : {std::tuple{201, 768, 768, true}, {200, 768, 768, false}, {1022, 768, 768, true},
                                     {1023, 768, 768, false}, {500, 767, 768, false}, {500, 780, 750, false},
                                     {500, 780, 751, true}})
        EXPECT_EQ(rescue::landedUncaught(rectAt(x, y), rectAt(x, openY)), lost) << where(x, y);
}
