// The enemy squadron, and the shoot-down mission's bomber and egg: when they fire,
// how they move, come back and start, and their steps' order in either mission.
#include "demo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

// Strictly within 45 of the helicopter's top, and never with a shot on screen.
TEST(FireStep, FromStrictlyWithin45OfTheHelicopterWhenItsShotIsParked)
{
    // fighter.y - heli.y, the shot's x, whether the fighter fires
    for (auto [below, shotX, fires] : {std::tuple{-45, 1024, false}, {-44, 1024, true},
                                       {44, 1024, true}, {45, 1024, false}, {0, 1023, false},
                                       {0, 0, false}, {0, 1200, true}}) {
        const SDL_Rect fighter = rectAt(600, 300 + below);
        SDL_Rect shot = rectAt(shotX, 500);
        fireStep(fighter, shot, rectAt(100, 300));
        EXPECT_EQ(where(shot), fires ? where(600, fighter.y + 45) : where(shotX, 500)) << below;
    }
}

// Speeds are frameStep x k / 10, truncated: frameStep 2 moves shots (k = 7) but not
// fighters (k = 4); the bomber (k = 3) stops below 4, the egg (k = 9) below 2. A shot
// reaching exactly 0 stays in play, one past it parks; parked shots and eggs rest.
TEST(MoveSteps, ByTruncatedTenthsOfTheFrameStep)
{
    using Step = void (*)(SDL_Rect&, int);
    const Step fighter = fighterMoveStep, shot = shotMoveStep, bomber = shootdown::bomberMoveStep,
               egg = shootdown::eggFallStep;
    // the step, a coordinate (the egg's y, otherwise x), frameStep, the coordinate after
    for (auto [step, from, frameStep, to] :
         {std::tuple{fighter, 500, 2, 500}, {fighter, 500, 3, 499}, {shot, 500, 2, 499},
          {shot, 500, 1, 500}, {shot, 5, 8, 0}, {shot, 3, 8, 1024}, {shot, 1024, 8, 1024},
          {shot, 1200, 8, 1200}, {bomber, 500, 4, 499}, {bomber, 500, 3, 500}, {egg, 100, 2, 101},
          {egg, 100, 1, 100}, {egg, 768, 8, 768}}) {
        SDL_Rect rect = step == egg ? rectAt(250, from) : rectAt(from, 250);
        step(rect, frameStep);
        EXPECT_EQ(where(rect), step == egg ? where(250, to) : where(to, 250)) << from;
    }
}

template <class Mission>
class SquadronInMission : public ::testing::Test {};

using BothMissions = ::testing::Types<shootdown::Mission, rescue::Mission>;
TYPED_TEST_SUITE(SquadronInMission, BothMissions); // 0 is the shoot-down mission, 1 the rescue

// The shoot-down mission's bomber draws after the fighters.
TYPED_TEST(SquadronInMission, StartsFromNumbersDrawnFighterByFighterThenForTheBomber)
{
    for (int startMs : {1, 4242, 65537}) {
        HeadlessMission<TypeParam> run(startMs);
        const int nextDraw = std::rand();
        const std::vector<int> r = randSequence(unsigned(startMs), 9);
        const SDL_Rect* fighter = run.fighters();
        EXPECT_EQ(where(fighter[0]), where(r[0] % 700 + 200, r[1] % 678 + 1));
        EXPECT_EQ(where(fighter[1]), where(r[2] % 100 + 800, r[3] % 678 + 1));
        EXPECT_EQ(where(fighter[2]), where(r[4] % 100 + 800, r[5] % 678 + 1));
        if constexpr (std::is_same_v<TypeParam, shootdown::Mission>) {
            EXPECT_EQ(where(run.mission.bomber), where(r[6] % 700 + 200, r[7] % 678 + 1));
            EXPECT_EQ(nextDraw, r[8]) << "set-up drew more";
        }
    }
}

// Shots hit, fighters fire, fighters move, shots move. Fighter 1 fires into the
// helicopter after the hits were tested; fighter 2's shot, parked in this frame,
// is fired again in the next; fighter 3, beyond the right edge, puts its shot
// there, parked, and the first shot that flies leaves from x <= 1023.
TYPED_TEST(SquadronInMission, StepsInTheirOrder)
{
    ArrangedMission<TypeParam> run(6000);
    SDL_Rect* fighter = run.fighters();
    SDL_Rect* shot = run.shots();
    fighter[0] = rectAt(200, 300);
    fighter[1] = rectAt(500, 300);
    shot[1] = rectAt(3, 200);
    fighter[2] = rectAt(1024, 300);
    run.runFrame();
    EXPECT_EQ(where(shot[0]), where(200 - 5, 345));
    EXPECT_EQ(where(shot[1]), where(parkedX, 200));
    EXPECT_EQ(where(shot[2]), where(1024, 345));
    EXPECT_EQ(where(fighter[2]), where(1021, 300));
    EXPECT_FALSE(run.core().missionOver);
    run.runFrame();
    EXPECT_TRUE(run.core().missionOver);
    EXPECT_EQ(where(shot[1]), where(497 - 5, 345));
    EXPECT_EQ(where(shot[2]), where(1021 - 5, 345));
}

TYPED_TEST(SquadronInMission, FighterAtOneMovesOnAtZeroComesBackAtTheRightEdge)
{
    ArrangedMission<TypeParam> run;
    SDL_Rect& fighter = run.fighters()[0];
    fighter = rectAt(1, 600);
    run.runFrame();
    EXPECT_EQ(where(fighter), where(0, 600)); // drawn at -2, written back as 0
    std::srand(31); // its new height is the frame's first number
    run.runFrame();
    EXPECT_EQ(where(fighter), where(1024, randSequence(31, 1)[0] % 678 + 1));
}

// A level fighter's shots at a motionless helicopter do no harm during the start
// protection; the first after it ends the mission.
TYPED_TEST(SquadronInMission, LevelFighterShootsTheHelicopterOnceTheProtectionEnds)
{
    HeadlessMission<TypeParam> run(10000, 3000);
    keepEnemiesAway(run.mission);
    run.fighters()[0] = rectAt(600, 300);
    bool survivedAHit = false;
    while (!run.core().missionOver) {
        bool shotInHeliBox = false;
        for (int n = 0; n < squadronSize; ++n)
            shotInHeliBox = shotInHeliBox || inHeliBox(run.core().heli, run.shots()[n]);
        run.runFrame();
        ASSERT_EQ(run.core().missionOver, shotInHeliBox && run.core().missionTime > 5000)
            << "at " << run.core().missionTime;
        survivedAHit = survivedAHit || (shotInHeliBox && !run.core().missionOver);
    }
    EXPECT_TRUE(survivedAHit);
    EXPECT_EQ(run.core().missionTime, 5016);
    run.showEndScreen();
    EXPECT_EQ(fake::sleeps(), std::vector<int>{endScreenPauseMs});
}

// Only a helicopter that ran past its right bound in one long frame reaches a
// shot parked at x = 1024.
TEST(ParkedShot, HitsOnlyAHelicopterThatOvershotItsRightBound)
{
    // frame length, where the helicopter ends up, whether the parked shot hits it
    for (auto [frameMs, heliX, hit] : {std::tuple{16, 881, false}, {22, 884, false}, {24, 885, true}}) {
        HeadlessMission<shootdown::Mission> run(10000, 6000);
        fake::setFrameLength(frameMs);
        keepEnemiesAway(run.mission);
        run.core().heliX = 873;
        run.shots()[0] = rectAt(parkedX, 340);
        fake::hold(SDLK_RIGHT);
        run.runFrame(); // frameStep is 0 in the first frame
        run.runFrame();
        EXPECT_EQ(run.core().heli.x, heliX);
        EXPECT_FALSE(run.core().missionOver);
        run.runFrame();
        EXPECT_EQ(run.core().missionOver, hit) << frameMs << " ms";
    }
}

} // namespace
