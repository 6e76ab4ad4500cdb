// The enemy squadron: when a fighter fires, how fighters and shots (and the
// shoot-down mission's bomber and egg) move and come back, where they start,
// and the order of their steps in a frame of either mission.
#include "demo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

// fighter.y - heli.y, the shot's x, whether the fighter fires
class FireStepTest : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

TEST_P(FireStepTest, FiresFromStrictlyWithin45OfTheHelicopterWhenItsShotIsParked)
{
    const auto [fighterBelowHeli, shotX, fires] = GetParam();
    const SDL_Rect fighter = rectAt(600, 300 + fighterBelowHeli);
    SDL_Rect shot = rectAt(shotX, 500);
    fireStep(fighter, shot, rectAt(100, 300));
    EXPECT_EQ(where(shot), fires ? where(600, fighter.y + 45) : where(shotX, 500));
}

INSTANTIATE_TEST_SUITE_P(Band, FireStepTest,
                         ::testing::Values(std::tuple{-45, 1024, false}, std::tuple{-44, 1024, true},
                                           std::tuple{44, 1024, true}, std::tuple{45, 1024, false}));
// One shot per fighter: a shot still on screen is never replaced.
INSTANTIATE_TEST_SUITE_P(ShotInFlight, FireStepTest,
                         ::testing::Values(std::tuple{0, 1023, false}, std::tuple{0, 0, false},
                                           std::tuple{0, 1200, true}));

// what moves, a coordinate, frameStep, the coordinate after the step
using StepCase = std::tuple<std::string, int, int, int>;
class MoveStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(MoveStepTest, MovesByTruncatedTenthsOfTheFrameStep)
{
    static const std::map<std::string, void (*)(SDL_Rect&, int)> steps = {
        {"fighter", fighterMoveStep},
        {"shot", shotMoveStep},
        {"bomber", shootdown::bomberMoveStep},
        {"egg", shootdown::eggFallStep},
    };
    const auto [what, from, frameStep, to] = GetParam();
    const bool falls = what == "egg";
    SDL_Rect rect = falls ? rectAt(500, from) : rectAt(from, 250);
    steps.at(what)(rect, frameStep);
    EXPECT_EQ(where(rect), falls ? where(500, to) : where(to, 250));
}

// A fighter at x = 1 still moves on, below 0 (at 0 it comes back: see below);
// a shot reaching exactly 0 stays in play, and parked shots rest; the bomber
// stops below a frameStep of 4, the egg below 2, and a parked egg rests.
INSTANTIATE_TEST_SUITE_P(
    Speeds, MoveStepTest,
    ::testing::Values(StepCase{"fighter", 500, 8, 497}, StepCase{"fighter", 1, 8, -2},
                      StepCase{"fighter", 500, 2, 500}, StepCase{"fighter", 500, 3, 499},
                      StepCase{"shot", 500, 8, 495}, StepCase{"shot", 500, 2, 499},
                      StepCase{"shot", 500, 1, 500}, StepCase{"shot", 5, 8, 0},
                      StepCase{"shot", 3, 8, 1024}, StepCase{"shot", 0, 2, 1024},
                      StepCase{"shot", 1024, 8, 1024}, StepCase{"shot", 1200, 8, 1200},
                      StepCase{"bomber", 500, 8, 498}, StepCase{"bomber", 500, 4, 499},
                      StepCase{"bomber", 500, 3, 500}, StepCase{"egg", 100, 8, 107},
                      StepCase{"egg", 767, 8, 774}, StepCase{"egg", 774, 8, 774},
                      StepCase{"egg", 100, 2, 101}, StepCase{"egg", 100, 1, 100}));

// ---- In either mission's frames -----------------------------------------

struct MissionNames {
    template <class Mission>
    static std::string GetName(int)
    {
        return std::is_same_v<Mission, shootdown::Mission> ? "ShootDown" : "Rescue";
    }
};

// Everything that ends a mission by touching the helicopter.
std::vector<SDL_Rect*> threats(shootdown::Mission& mission)
{
    SDL_Rect* shot = mission.squadron.shot;
    return {&shot[0], &shot[1], &shot[2], &mission.egg};
}

std::vector<SDL_Rect*> threats(rescue::Mission& mission)
{
    SDL_Rect* shot = mission.squadron.shot;
    return {&shot[0], &shot[1], &shot[2]};
}

// Checks the bombers' start positions against the numbers drawn after the
// fighters'; returns how many numbers they took.
int expectBombersFrom(const shootdown::Mission& mission, const int* r)
{
    EXPECT_EQ(where(mission.bomber), where(r[0] % 700 + 200, r[1] % 678 + 1));
    return 2;
}

int expectBombersFrom(const rescue::Mission& mission, const int* r)
{
    for (int n = 0; n < rescue::herdSize; ++n, r += 2)
        EXPECT_EQ(where(mission.bomber[n]), where(r[0] % 700 + 200, r[1] % 300 + 1));
    return 2 * rescue::herdSize;
}

template <class Mission>
class SquadronInMission : public ::testing::Test {};

using BothMissions = ::testing::Types<shootdown::Mission, rescue::Mission>;
TYPED_TEST_SUITE(SquadronInMission, BothMissions, MissionNames);

TYPED_TEST(SquadronInMission, StartsFromNumbersDrawnFighterByFighterThenForTheBombers)
{
    for (int startMs : {1, 4242, 65537}) {
        HeadlessMission<TypeParam> run(startMs);
        const int nextDraw = std::rand();
        const std::vector<int> r = randSequence(unsigned(startMs), 11);
        const SDL_Rect* fighter = run.fighters();
        EXPECT_EQ(where(fighter[0]), where(r[0] % 700 + 200, r[1] % 678 + 1));
        EXPECT_EQ(where(fighter[1]), where(r[2] % 100 + 800, r[3] % 678 + 1));
        EXPECT_EQ(where(fighter[2]), where(r[4] % 100 + 800, r[5] % 678 + 1));
        const int bomberDraws = expectBombersFrom(run.mission, &r[6]);
        EXPECT_EQ(nextDraw, r[6 + bomberDraws]) << "set-up drew other numbers too";
    }
}

TYPED_TEST(SquadronInMission, ShotsHitOnlyFromTheFirstFrameAfterTheStartProtection)
{
    // Set-up took 4968 ms of the mission's time: frames at 4968, 4984, 5000, 5016.
    for (size_t which = 0, count = 1; which < count; ++which) {
        HeadlessMission<TypeParam> run(10000, 4968);
        std::vector<SDL_Rect*> hitting = threats(run.mission);
        count = hitting.size();
        keepEnemiesAway(run.mission);
        for (int missionTime = 4968; missionTime <= 5016; missionTime += 16) {
            *hitting[which] = rectAt(200, 340); // inside the helicopter at (100, 300)
            run.runFrame();
            ASSERT_EQ(run.core().missionTime, missionTime);
            EXPECT_EQ(run.core().missionOver, missionTime > 5000) << "threat " << which;
        }
    }
}

TYPED_TEST(SquadronInMission, ShotHitsAreTestedBeforeFightersFireAndFireBeforeTheyMove)
{
    ArrangedMission<TypeParam> run(6000);
    run.fighters()[0] = rectAt(200, 300); // level with the helicopter, above its hit zone
    run.runFrame();
    // Fired from where the fighter was before it moved, into the helicopter,
    // but only after the hits were tested.
    EXPECT_EQ(where(run.shots()[0]), where(195, 345));
    EXPECT_EQ(run.fighters()[0].x, 197);
    EXPECT_FALSE(run.core().missionOver);
    run.runFrame();
    EXPECT_TRUE(run.core().missionOver);
}

TYPED_TEST(SquadronInMission, ShotParkedThisFrameIsFiredAgainOnlyInTheNext)
{
    ArrangedMission<TypeParam> run;
    run.fighters()[0] = rectAt(500, 300);
    SDL_Rect& shot = run.shots()[0];
    shot = rectAt(3, 200);
    run.runFrame();
    EXPECT_EQ(where(shot), where(parkedX, 200));
    run.runFrame();
    EXPECT_EQ(where(shot), where(497 - 5, 345));
}

// A fighter beyond the right edge puts its shot where it is, parked; the
// first shot that flies leaves once the fighter is at x <= 1023.
TYPED_TEST(SquadronInMission, FighterBeyondTheRightEdgeFiresFirstFromOnScreen)
{
    ArrangedMission<TypeParam> run;
    SDL_Rect* fighter = run.fighters();
    fighter[0] = rectAt(1024, 300);
    fighter[1] = rectAt(1200, 300);
    run.runFrame();
    EXPECT_EQ(where(run.shots()[0]), where(1024, 345));
    EXPECT_EQ(where(run.shots()[1]), where(1200, 345));
    EXPECT_EQ(fighter[0].x, 1021);
    run.runFrame();
    EXPECT_EQ(where(run.shots()[0]), where(1021 - 5, 345));
}

TYPED_TEST(SquadronInMission, FighterPastTheLeftEdgeIsClippedToZeroThenComesBack)
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

// ---- A fighter ends a shoot-down mission --------------------------------

// frame length, where the helicopter ends up, whether the parked shot hits it
class ParkedShotTest : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

// Only a helicopter that ran past its right bound in one long frame reaches a
// shot parked at x = 1024.
TEST_P(ParkedShotTest, HitsOnlyAHelicopterThatOvershotItsRightBound)
{
    const auto [frameMs, heliX, hit] = GetParam();
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
    EXPECT_EQ(run.core().missionOver, hit);
}

INSTANTIATE_TEST_SUITE_P(FrameLengths, ParkedShotTest,
                         ::testing::Values(std::tuple{16, 881, false}, std::tuple{22, 884, false},
                                           std::tuple{24, 885, true}));

TEST(FighterScenario, LevelFighterShootsAMotionlessHelicopterOnceTheProtectionEnds)
{
    HeadlessMission<shootdown::Mission> run(10000, 3000);
    keepEnemiesAway(run.mission);
    run.fighters()[0] = rectAt(600, 300);
    bool survivedAHit = false;
    while (!run.core().missionOver) {
        bool shotInHeliBox = false;
        for (const SDL_Rect& shot : run.mission.squadron.shot)
            shotInHeliBox = shotInHeliBox || inHeliBox(run.core().heli, shot);
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

} // namespace
