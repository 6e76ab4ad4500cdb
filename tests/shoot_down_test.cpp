// The shoot-down mission's own rules: the countdown, hits and the targets'
// evasion, the bomber's egg, the explosion, the win screen, and whole
// missions flown to a win and to the countdown's end.
#include "demo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <vector>

namespace {

using shootdown::Mission;
using ShootDown = HeadlessMission<Mission>;
using Arranged = ArrangedMission<Mission>;

// Seeds rand() with the first seed whose opening draws the test accepts, so
// that a test can steer what a frame draws.
unsigned seedWhere(const std::function<bool(const std::vector<int>&)>& wanted, int count)
{
    unsigned seed = 1;
    while (!wanted(randSequence(seed, count)))
        ++seed;
    std::srand(seed);
    return seed;
}

// Where a dodge takes a target for a drawn number: 1 down, 2 up.
int dodged(int y, int draw, int speed)
{
    return draw % 2 + 1 == 1 ? y + speed : y - speed;
}

// Whether every pixel of a solid text (palette index 0 is its background)
// shows red on the display at (x, y).
bool textDrawnAt(SDL_Surface* display, SDL_Surface* text, int x, int y)
{
    const Uint32 red = SDL_MapRGB(display->format, 255, 0, 0);
    bool drawn = true;
    SDL_LockSurface(display);
    for (int row = 0; row < text->h; ++row)
        for (int col = 0; col < text->w; ++col)
            if (static_cast<Uint8*>(text->pixels)[row * text->pitch + col])
                drawn = drawn && reinterpret_cast<Uint16*>(static_cast<Uint8*>(display->pixels) +
                                                           (y + row) * display->pitch)[x + col] == red;
    SDL_UnlockSurface(display);
    return drawn;
}

// Whether a counter shows the number given as text.
bool showsText(SDL_Surface* counter, TTF_Font* font, const char* text)
{
    SDL_Surface* expected = renderText(font, text, missionTextColour);
    bool same = counter->w == expected->w && counter->h == expected->h;
    for (int row = 0; same && row < counter->h; ++row) {
        const Uint8* line = static_cast<Uint8*>(counter->pixels) + row * counter->pitch;
        same = std::equal(line, line + counter->w,
                          static_cast<Uint8*>(expected->pixels) + row * expected->pitch);
    }
    SDL_FreeSurface(expected);
    return same;
}

// ---- Countdown --------------------------------------------------------------

TEST(Countdown, FallsBehindALongFrameAndCatchesUpOneStepAFrame)
{
    shootdown::Countdown countdown;
    for (int expected : {39, 38, 37, 36, 36}) {
        shootdown::countdownStep(countdown, 8000);
        EXPECT_EQ(countdown.countdown, expected);
    }
}

TEST(CountdownInFrames, ReachesZeroAfter79000AndLosesOnTheFrameAfter81000)
{
    ShootDown run(10000);
    fake::setFrameLength(1); // so that frames can start 1 ms apart
    auto countdownAt = [&](int missionTime) {
        keepEnemiesAway(run.mission);
        run.runFrameAt(missionTime);
        return run.mission.countdown.countdown;
    };
    // Step n comes with the first frame after 2000 n - 1000.
    for (int step = 1; step <= 41; ++step) {
        const int stepTime = 2000 * step - 1000;
        EXPECT_EQ(countdownAt(stepTime), 41 - step) << "at " << stepTime;
        EXPECT_EQ(countdownAt(stepTime + 1), 40 - step) << "at " << stepTime + 1;
        ASSERT_EQ(run.core().missionOver, step == 41);
    }
    EXPECT_TRUE(showsText(run.mission.countdownText, run.mission.fonts.small, "-1"));
    EXPECT_FALSE(run.core().missionWon);
}

TEST(CountdownInFrames, ALongFrameIsMadeUpOneStepAFrame)
{
    ShootDown run(10000);
    run.runFrame();
    keepEnemiesAway(run.mission);
    std::vector<int> shown;
    for (int missionTime = 8000; missionTime <= 8064; missionTime += 16) {
        run.runFrameAt(missionTime);
        shown.push_back(run.mission.countdown.countdown);
    }
    EXPECT_EQ(shown, (std::vector<int>{39, 38, 37, 36, 36}));
}

// ---- Hits and evasion -------------------------------------------------------

// the projectile's corner from the target's, whether that is a hit
class TargetZoneTest : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

TEST_P(TargetZoneTest, IsStrictOnAllFourEdges)
{
    const auto [dx, dy, hit] = GetParam();
    EXPECT_EQ(shootdown::inTargetZone(rectAt(500, 300), rectAt(500 + dx, 300 + dy)), hit);
}

INSTANTIATE_TEST_SUITE_P(Edges, TargetZoneTest,
                         ::testing::Values(std::tuple{0, 45, false}, std::tuple{1, 45, true},
                                           std::tuple{149, 45, true}, std::tuple{150, 45, false},
                                           std::tuple{75, 0, false}, std::tuple{75, 1, true},
                                           std::tuple{75, 89, true}, std::tuple{75, 90, false}));

TEST(HitTest, SendsTheTargetBackExplodesWhereTheProjectileWasParksItAndCounts)
{
    SDL_Rect target = rectAt(500, 300);
    SDL_Rect projectile = rectAt(560, 340);
    shootdown::HitExplosion explosion;
    int hitCount = 7;
    std::srand(5);
    shootdown::hitTest(target, projectile, explosion, hitCount, 1234);
    EXPECT_EQ(where(target), where(1200, randSequence(5, 1)[0] % 678 + 1));
    EXPECT_EQ(where(explosion.at), where(560, 300));
    EXPECT_TRUE(explosion.happened);
    EXPECT_EQ(explosion.explosionTick, 1234);
    EXPECT_EQ(where(projectile), where(parkedX, 340));
    EXPECT_EQ(hitCount, 8);
}

// Targets are tested in the order fighter 1, 2, 3, bomber, against where the
// projectile is by then: parked by a hit, it can still hit a later target
// between 875 and 1023, but not an earlier one.
TEST(HitsInAFrame, AParkedProjectileGoesOnToHitLaterTargetsOnly)
{
    Arranged run;
    SDL_Rect* fighter = run.fighters();
    fighter[0] = rectAt(900, 300);
    fighter[1] = rectAt(500, 300);
    run.mission.bomber = rectAt(875, 300);
    run.projectile() = rectAt(560, 340);
    // New heights clear of the projectile: fighter 1's dodge is the third draw.
    unsigned seed = seedWhere(
        [](const std::vector<int>& r) { return r[0] % 678 + 1 > 340 && r[1] % 678 + 1 > 340; },
        2);
    const int frameTick = fake::now();
    run.runFrame();
    std::vector<int> r = randSequence(seed, 3);
    EXPECT_EQ(run.mission.hitCount, 2);
    EXPECT_EQ(where(fighter[1]), where(1200 - 3, r[0] % 678 + 1));
    EXPECT_EQ(where(run.mission.bomber), where(1200 - 2, r[1] % 678 + 1));
    EXPECT_EQ(where(run.mission.explosion.at), where(parkedX, 300));
    EXPECT_EQ(run.mission.explosion.explosionTick, frameTick);
    EXPECT_EQ(where(fighter[0]), where(900 - 3, dodged(300, r[2], 3)));
    EXPECT_EQ(where(run.projectile()), where(parkedX, 340));
}

TEST(HitsInAFrame, TargetFlyingInFromTheRightEdgeMeetsARestingProjectile)
{
    Arranged run;
    run.fighters()[2] = rectAt(1030, 295);
    run.projectile() = rectAt(parkedX, 340);
    int frames = 0;
    while (run.mission.hitCount == 0 && frames < 10) {
        run.runFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 4); // at 1030, 1027 and 1024 out of reach, hit at 1021
}

TEST(HitsInAFrame, NothingIsHitOrDodgesBeforeTheFirstLaunch)
{
    Arranged run;
    SDL_Rect* fighter = run.fighters();
    fighter[0] = rectAt(875, 678);
    fighter[1] = rectAt(950, 678);
    fighter[2] = rectAt(1023, 678);
    run.mission.bomber = rectAt(900, 678);
    std::srand(3);
    run.runFrame();
    const int nextDraw = std::rand();
    EXPECT_EQ(run.mission.hitCount, 0);
    EXPECT_EQ(where(run.projectile()), where(parkedX, parkedY));
    EXPECT_EQ(nextDraw, randSequence(3, 1)[0]) << "a number was drawn";
}

TEST(Evasion, DrawsOnlyForTargetsWhoseBandHoldsTheProjectileInTheirOrder)
{
    Arranged run;
    SDL_Rect* fighter = run.fighters();
    fighter[0] = rectAt(600, 250); // band 250..340 leaves out the projectile at 340
    fighter[1] = rectAt(600, 251);
    fighter[2] = rectAt(600, 339);
    run.mission.bomber = rectAt(600, 300);
    run.projectile() = rectAt(100, 340);
    std::srand(11);
    run.runFrame();
    const int nextDraw = std::rand();
    std::vector<int> r = randSequence(11, 4);
    EXPECT_EQ(fighter[0].y, 250);
    EXPECT_EQ(fighter[1].y, dodged(251, r[0], 3));
    EXPECT_EQ(fighter[2].y, dodged(339, r[1], 3));
    EXPECT_EQ(run.mission.bomber.y, dodged(300, r[2], 2));
    EXPECT_EQ(nextDraw, r[3]);
}

TEST(Evasion, TargetPushedAboveTheTopGoesOnFromZero)
{
    Arranged run;
    run.fighters()[0] = rectAt(600, 1);
    run.projectile() = rectAt(100, 50);
    seedWhere([](const std::vector<int>& r) { return dodged(1, r[0], 3) < 0; }, 1);
    run.runFrame();
    EXPECT_EQ(run.fighters()[0].y, 0); // dodged to -2, written back by the blit
}

// ---- Bomber and egg ---------------------------------------------------------

// the bomber's x and y, the egg's y, whether the egg is dropped
class EggDropTest : public ::testing::TestWithParam<std::tuple<int, int, int, bool>> {};

TEST_P(EggDropTest, DropsOnlyFromTheWindowAboveTheHelicopterWhenTheEggIsParked)
{
    const auto [bomberX, bomberY, eggY, drops] = GetParam();
    SDL_Rect egg = rectAt(10, eggY);
    shootdown::eggDropStep(egg, rectAt(bomberX, bomberY), rectAt(300, 400));
    EXPECT_EQ(where(egg), drops ? where(bomberX + 150, bomberY + 50) : where(10, eggY));
}

// The window is 150 < x < 350 over a helicopter at (300, 400).
INSTANTIATE_TEST_SUITE_P(
    Window, EggDropTest,
    ::testing::Values(std::tuple{150, 100, 768, false}, std::tuple{151, 100, 768, true},
                      std::tuple{349, 100, 768, true}, std::tuple{350, 100, 768, false},
                      std::tuple{250, 399, 768, true}, std::tuple{250, 400, 768, false},
                      std::tuple{250, 100, 767, false}, std::tuple{250, 100, 774, true}));

TEST(EggInFrames, ParksBelowTheBottomAndIsDroppedAgainInTheNextFrame)
{
    Arranged run;
    run.mission.bomber = rectAt(100, 100); // in the window over the helicopter at (100, 300)
    run.mission.egg = rectAt(600, 767);
    run.runFrame();
    EXPECT_EQ(where(run.mission.egg), where(600, 774));
    run.runFrame();
    // Dropped from where the bomber was before it moved, then fallen once.
    EXPECT_EQ(where(run.mission.egg), where(98 + 150, 100 + 50 + 7));
}

TEST(EggInFrames, HitOnTheBomberLeavesAFallingEggAlone)
{
    Arranged run;
    run.mission.bomber = rectAt(600, 300);
    run.mission.egg = rectAt(500, 200);
    run.projectile() = rectAt(650, 340);
    run.runFrame();
    EXPECT_EQ(run.mission.hitCount, 1);
    EXPECT_EQ(run.mission.bomber.x, 1200 - 2);
    EXPECT_EQ(where(run.mission.egg), where(500, 207));
}

// Everything that moves, in one frame of frameStep 8.
TEST(SpeedsInAFrame, AreTruncatedTenthsOfTheFrameStep)
{
    Arranged run;
    SDL_Rect* fighter = run.fighters();
    fighter[0] = rectAt(600, 60); // dodges the projectile at 100
    fighter[1] = rectAt(800, 600);
    run.shots()[1] = rectAt(700, 500);
    run.mission.bomber = rectAt(900, 40); // dodges too
    run.mission.egg = rectAt(500, 200);
    run.projectile() = rectAt(300, 100);
    std::srand(4);
    run.runFrame();
    std::vector<int> r = randSequence(4, 2);
    EXPECT_EQ(where(run.projectile()), where(305, 100));
    EXPECT_EQ(where(run.shots()[1]), where(695, 500));
    EXPECT_EQ(where(fighter[0]), where(597, dodged(60, r[0], 3)));
    EXPECT_EQ(where(fighter[1]), where(797, 600));
    EXPECT_EQ(where(run.mission.bomber), where(898, dodged(40, r[1], 2)));
    EXPECT_EQ(where(run.mission.egg), where(500, 207));
}

TEST(Explosion, ShownFor99MsAfterAHitAndNeverBeforeTheFirst)
{
    shootdown::HitExplosion explosion;
    EXPECT_FALSE(shootdown::explosionShown(explosion, 50));
    explosion.happened = true;
    explosion.explosionTick = 1000;
    EXPECT_TRUE(shootdown::explosionShown(explosion, 1000));
    EXPECT_TRUE(shootdown::explosionShown(explosion, 1099));
    EXPECT_FALSE(shootdown::explosionShown(explosion, 1100));
}

// ---- Winning ------------------------------------------------------------

// What the first flip of a frame showed: the win screen's, when it opens.
struct FirstFlip {
    int flips = 0;
    bool won = false, password = false, count = false;
};

// Sends the projectile into fighter 2 (and, with a second target, on into
// fighter 3) in a frame that starts from 29 hits.
FirstFlip winningFrame(Arranged& run, bool secondTarget)
{
    Mission& mission = run.mission;
    run.fighters()[1] = rectAt(500, 300);
    if (secondTarget)
        run.fighters()[2] = rectAt(900, 300);
    run.projectile() = rectAt(560, 340);
    mission.hitCount = 29;
    fake::hold(SDLK_SPACE);
    FirstFlip seen;
    fake::onFlip([&](SDL_Surface* display) {
        if (++seen.flips > 1)
            return;
        seen.won = textDrawnAt(display, mission.texts[shootdown::Gewonnen], 450, 350);
        seen.password = textDrawnAt(display, mission.texts[shootdown::Passwort], 450, 400);
        seen.count = textDrawnAt(display, mission.hitCountText, 950, 30);
    });
    run.runFrame();
    fake::onFlip(nullptr);
    return seen;
}

// whether fighter 3 is hit too, the count shown
class WinScreenTest : public ::testing::TestWithParam<std::tuple<bool, int>> {};

TEST_P(WinScreenTest, OpensAtThirtyOrMoreShowsTheCountAndTakesSpace)
{
    const auto [secondTarget, count] = GetParam();
    Arranged run;
    FirstFlip seen = winningFrame(run, secondTarget);
    EXPECT_TRUE(showsText(run.mission.hitCountText, run.mission.fonts.small,
                          std::to_string(count).c_str()));
    EXPECT_TRUE(seen.won && seen.password && seen.count);
    EXPECT_EQ(seen.flips, 1) << "a won frame is not drawn again";
    EXPECT_TRUE(run.core().missionOver && run.core().missionWon);
    run.showEndScreen();
    // The pause, then one look at the keyboard; no end screen.
    EXPECT_EQ(fake::sleeps(), (std::vector<int>{winScreenPauseMs, 5}));
}

INSTANTIATE_TEST_SUITE_P(Hits, WinScreenTest,
                         ::testing::Values(std::tuple{false, 30}, std::tuple{true, 31}));

// Space held does not save it: the win screen does not wait for it.
TEST(WinScreen, LossInTheSameFrameShowsGewonnenThenEndsAsALoss)
{
    for (bool countdownRunsOut : {false, true}) {
        SCOPED_TRACE(countdownRunsOut ? "countdown runs out" : "shot in the helicopter");
        Arranged run(6000);
        if (countdownRunsOut)
            run.mission.countdown = {0, 0, 0}; // steps to -1 in this frame
        else
            run.shots()[0] = rectAt(200, 340);
        FirstFlip seen = winningFrame(run, false);
        EXPECT_TRUE(seen.won);
        EXPECT_EQ(seen.flips, 2) << "the lost frame is drawn after the win screen";
        EXPECT_TRUE(run.core().missionOver);
        EXPECT_FALSE(run.core().missionWon);
        run.showEndScreen();
        EXPECT_EQ(fake::sleeps(), (std::vector<int>{winScreenPauseMs, endScreenPauseMs}));
    }
}

// ---- Whole missions -----------------------------------------------------

// Flies like a player watching the screen: never steers into a shot or an
// egg it sees coming, and otherwise to a height. A shooting pilot aims 25
// above the nearest target ahead, so that the projectile, 70 below the
// helicopter's top, meets the middle of the target's 90 high band, and fires
// when level. An idle pilot stays at the top, where no egg can reach it.
class Autopilot {
public:
    explicit Autopilot(bool shooting) : shooting(shooting) {}

    void steer(const Mission& mission)
    {
        const int heliY = mission.core.heliY;
        const int wantedY = shooting ? aimHeight(mission) : -8;
        int best = 0, bestSafe = -1;
        for (int v : {0, -8, 8}) {
            int safe = safeFrames(mission, v);
            if (safe > bestSafe ||
                (safe == bestSafe && std::abs(heliY + v - wantedY) < std::abs(heliY + best - wantedY))) {
                best = v;
                bestSafe = safe;
            }
        }
        fake::hold(SDLK_UP, best < 0);
        fake::hold(SDLK_DOWN, best > 0);
        // At 29 hits space stays held, for the win screen that may open.
        fake::hold(SDLK_SPACE, shooting && (std::abs(heliY - wantedY) < 8 || mission.hitCount >= 29));
    }

private:
    bool shooting;

    static int aimHeight(const Mission& mission)
    {
        const SDL_Rect* nearest = nullptr;
        auto consider = [&](const SDL_Rect& target) {
            if (target.x > mission.core.heliX + 200 && target.x < 1000 &&
                (!nearest || target.x < nearest->x))
                nearest = &target;
        };
        std::for_each(mission.squadron.fighter, mission.squadron.fighter + squadronSize, consider);
        consider(mission.bomber);
        return nearest ? nearest->y - 25 : mission.core.heliY;
    }

    // Frames until a shot or the egg would come near a helicopter that keeps
    // moving by v a frame, running the threats' steps ahead on copies.
    static int safeFrames(const Mission& mission, int v)
    {
        const int lookAhead = 24, margin = 6;
        SDL_Rect heli = mission.core.heli;
        Squadron squadron = mission.squadron;
        SDL_Rect bomber = mission.bomber, egg = mission.egg;
        for (int t = 1; t <= lookAhead; ++t) {
            fireSteps(squadron, heli);
            shootdown::eggDropStep(egg, bomber, heli);
            // Planes past the left edge are left there: bringing them back
            // would draw from the mission's rand().
            for (SDL_Rect& fighter : squadron.fighter)
                fighter.x = Sint16(fighter.x - (fighter.x > 0 ? 3 : 0));
            bomber.x = Sint16(bomber.x - (bomber.x > 0 ? 2 : 0));
            shotMoveSteps(squadron, 8);
            shootdown::eggFallStep(egg, 8);
            if ((v < 0 && heli.y > 0) || (v > 0 && heli.y < heliMaxY))
                heli.y = Sint16(heli.y + v);
            auto near = [&](const SDL_Rect& threat) {
                return heli.x - margin < threat.x && threat.x < heli.x + 140 + margin &&
                       heli.y + 15 - margin < threat.y && threat.y < heli.y + 70 + margin;
            };
            if (near(egg) || std::any_of(squadron.shot, squadron.shot + squadronSize, near))
                return t;
        }
        return lookAhead + 1;
    }
};

void flyOut(ShootDown& run, Autopilot pilot)
{
    while (!run.core().missionOver) {
        pilot.steer(run.mission);
        run.runFrame();
    }
    run.showEndScreen();
}

// The start time fixes what the pilots meet.
TEST(WholeMission, AutopilotShootsThirtyTargetsAndConfirmsTheWin)
{
    ShootDown run(7000);
    flyOut(run, Autopilot(true));
    EXPECT_TRUE(run.core().missionWon);
    EXPECT_EQ(run.mission.hitCount, 30);
    EXPECT_GE(run.mission.countdown.countdown, 0);
    EXPECT_EQ(fake::sleeps(), (std::vector<int>{winScreenPauseMs, 5}));
}

TEST(WholeMission, IdleAutopilotSurvivesUntilTheCountdownRunsOut)
{
    ShootDown run(7000);
    flyOut(run, Autopilot(false));
    EXPECT_EQ(run.mission.countdown.countdown, -1);
    EXPECT_GT(run.core().missionTime, 81000);
    EXPECT_LE(run.core().missionTime, 81000 + 16);
    EXPECT_EQ(run.mission.hitCount, 0);
    EXPECT_FALSE(run.core().missionWon);
    EXPECT_EQ(fake::sleeps(), std::vector<int>{endScreenPauseMs});
}

} // namespace
