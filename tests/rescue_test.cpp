// The rescue mission's rules: the catch zone on its own, then drops, catches,
// falls, landings and the win inside whole frames.
#include "demo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using rescue::Mission;

const SDL_Rect parked = rectAt(parkedX, parkedY);

struct CatchCase {
    SDL_Rect animal, parachute, openParachute;
    bool caught;
};

class RescueCatchZone : public testing::TestWithParam<CatchCase> {};

TEST_P(RescueCatchZone, CatchesOnlyStrictlyInsideWithTheOpenParachuteParked)
{
    CatchCase c = GetParam();
    SDL_Rect parachute = c.parachute;
    SDL_Rect openParachute = c.openParachute;
    int rescued = 7;
    EXPECT_EQ(rescue::catchTest(c.animal, openParachute, parachute, rescued), c.caught);
    EXPECT_EQ(rescued, c.caught ? 8 : 7);
    // A catch opens the animal's parachute above it and parks the launched one.
    SDL_Rect open = c.caught ? rectAt(c.animal.x, c.animal.y - 30) : c.openParachute;
    EXPECT_EQ(where(openParachute), where(open));
    EXPECT_EQ(where(parachute), where(c.caught ? parkedX : c.parachute.x, c.parachute.y));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, RescueCatchZone,
    testing::Values(
        // The zone's edges, for an animal at (500, 300).
        CatchCase{rectAt(500, 300), rectAt(500, 310), parked, false},
        CatchCase{rectAt(500, 300), rectAt(501, 310), parked, true},
        CatchCase{rectAt(500, 300), rectAt(564, 310), parked, true},
        CatchCase{rectAt(500, 300), rectAt(565, 310), parked, false},
        CatchCase{rectAt(500, 300), rectAt(530, 300), parked, false},
        CatchCase{rectAt(500, 300), rectAt(530, 301), parked, true},
        CatchCase{rectAt(500, 300), rectAt(530, 334), parked, true},
        CatchCase{rectAt(500, 300), rectAt(530, 335), parked, false},
        // Near the corner a parked parachute, at x 1024 or y 768, lies in the
        // zone, but only one resting beyond the right edge catches.
        CatchCase{rectAt(1000, 750), rectAt(1024, 760), parked, false},
        CatchCase{rectAt(1000, 750), rectAt(1010, 768), parked, false},
        CatchCase{rectAt(1000, 750), rectAt(1027, 760), parked, true},
        // The animal's open parachute must be parked in both x and y.
        CatchCase{rectAt(500, 300), rectAt(530, 310), rectAt(1024, 700), false},
        CatchCase{rectAt(500, 300), rectAt(530, 310), rectAt(500, 768), false},
        CatchCase{rectAt(500, 300), rectAt(530, 310), rectAt(500, 270), false}));

// A mission one frame in, with a frameStep of 8 and the fighters out of the way;
// until 2000 ms nothing drops.
class RescueFrame : public testing::Test {
protected:
    ArrangedMission<Mission> run;
    Mission& mission = run.mission;
};

TEST_F(RescueFrame, AnimalsDropAfterTwoAndThreeSecondsEachOnItsOwnTimer)
{
    // Bomber 2 reaches the right edge, x 1024, in the frame it drops from.
    mission.bomber[1] = rectAt(1032, 10);
    const struct {
        int missionTime, drops; // the animal that leaves its bomber, or -1
    } frames[] = {{1000, -1}, {2000, -1}, {2001, 0}, {3000, -1}, {3001, 1}, {5001, -1}};
    for (const auto& f : frames) {
        SDL_Rect bomber[rescue::herdSize] = {mission.bomber[0], mission.bomber[1]};
        bool onGround[rescue::herdSize] = {mission.animal[0].y == parkedY,
                                          mission.animal[1].y == parkedY};
        run.runFrameAt(f.missionTime);
        for (int n = 0; n < rescue::herdSize; ++n) {
            bool dropped = onGround[n] && mission.animal[n].y < parkedY;
            EXPECT_EQ(dropped, n == f.drops) << "animal " << n << " at " << f.missionTime;
            if (dropped) { // from where its bomber was before it moved on; fell at once
                EXPECT_EQ(where(mission.animal[n]), where(bomber[n].x + 150, bomber[n].y + 51));
            }
        }
    }
    // Both animals are still falling at 5001, so neither timer moved on again.
    EXPECT_EQ(mission.dropTimer[0], 2000);
    EXPECT_EQ(mission.dropTimer[1], 3000);
    EXPECT_EQ(where(mission.animal[1]), where(1174, 62)); // off screen, not clipped
}

struct SpeedCase {
    int frameStep, parachute, bomber, fall;
};

class RescueSpeeds : public RescueFrame, public testing::WithParamInterface<SpeedCase> {};

TEST_P(RescueSpeeds, AreTruncatedTenthsOfTheFrameStep)
{
    SpeedCase c = GetParam();
    mission.core.frameStep = c.frameStep;
    mission.animal[0] = rectAt(500, 400);
    mission.openParachute[0] = rectAt(500, 370);
    mission.core.projectile = rectAt(300, 500);
    SDL_Rect bomber = mission.bomber[1];
    run.runFrame();
    EXPECT_EQ(mission.core.projectile.x, 300 + c.parachute);
    EXPECT_EQ(mission.bomber[1].x, bomber.x - c.bomber);
    EXPECT_EQ(mission.animal[0].y, 400 + c.fall);
    EXPECT_EQ(mission.openParachute[0].y, 370 + c.fall);
}

// Bombers stand still below a frameStep of 4, animals below 5.
INSTANTIATE_TEST_SUITE_P(Thresholds, RescueSpeeds,
                         testing::Values(SpeedCase{3, 3, 0, 0}, SpeedCase{4, 4, 1, 0},
                                         SpeedCase{5, 5, 1, 1}, SpeedCase{8, 8, 2, 1}));

TEST_F(RescueFrame, LaunchedParachuteCatchesAnimalOneFirstAndOnlyOnce)
{
    // Launched from where the helicopter was drawn, (100, 300), before the keys
    // move it, and tested before it flies: 8 px on it would miss.
    mission.animal[0] = mission.animal[1] = rectAt(176, 340);
    for (SDLKey key : {SDLK_SPACE, SDLK_RIGHT, SDLK_DOWN})
        fake::hold(key);
    run.runFrame();
    EXPECT_EQ(mission.rescuedCount, 1);
    EXPECT_EQ(where(mission.openParachute[0]), where(176, 311));
    EXPECT_EQ(where(mission.openParachute[1]), where(parked));
    // Parked at x, and so neither flown on nor caught again.
    EXPECT_EQ(where(mission.core.projectile), where(parkedX, 370));
}

TEST_F(RescueFrame, OpenParachuteFallsOnAloneAndParksBeforeItsAnimalCanBeCaught)
{
    mission.animal[0] = rectAt(500, 300);
    mission.openParachute[0] = rectAt(300, 760);
    // It reaches the ground in frame 8 and parks in frame 9, after that
    // frame's catch test; in frame 10 it opens again over the animal.
    for (int frame = 1; frame <= 10; ++frame) {
        mission.core.projectile = rectAt(520, 320);
        run.runFrame();
        EXPECT_EQ(mission.rescuedCount, frame / 10) << "frame " << frame;
        SDL_Rect open = frame < 9 ? rectAt(300, 760 + frame) : rectAt(500, 280);
        EXPECT_EQ(where(mission.openParachute[0]), where(frame == 9 ? parked : open));
    }
}

// Caught at 767, the animal reaches the ground with its parachute above it.
// Whether it may rest there a frame depends on its drop timer.
class RescueCaughtLanding : public RescueFrame, public testing::WithParamInterface<bool> {};

TEST_P(RescueCaughtLanding, IsDroppedAgainBeforeTheNextLandingTestOrLoses)
{
    bool timerDue = GetParam();
    mission.dropTimer[0] = timerDue ? -2000 : 0;
    mission.animal[0] = rectAt(500, 767);
    mission.openParachute[0] = rectAt(500, 737);
    run.runFrameAt(100);
    ASSERT_EQ(mission.animal[0].y, 768);
    ASSERT_FALSE(mission.core.missionOver);
    run.runFrame();
    EXPECT_EQ(mission.core.missionOver, !timerDue);
    const SDL_Rect& bomber = mission.bomber[0];
    EXPECT_EQ(where(mission.animal[0]),
              timerDue ? where(bomber.x + 152, bomber.y + 51) : where(500, 768));
    EXPECT_EQ(mission.openParachute[0].y, 739);
}

INSTANTIATE_TEST_SUITE_P(DropTimer, RescueCaughtLanding, testing::Bool());

class RescueLanding : public RescueFrame, public testing::WithParamInterface<int> {};

TEST_P(RescueLanding, UncaughtAnimalLosesOnlyBetweenTheEdges)
{
    int x = GetParam();
    mission.animal[1] = rectAt(x, 767);
    run.runFrame();
    EXPECT_EQ(mission.animal[1].y, 768);
    EXPECT_EQ(mission.core.missionOver, x == 201);
}

INSTANTIATE_TEST_SUITE_P(Edges, RescueLanding, testing::Values(200, 201, 1023));

// The count drawn on the win screen against the same number rendered afresh.
bool countShows(const Mission& mission, const char* digits)
{
    SDL_Surface* expected = renderText(mission.fonts.small, digits, missionTextColour);
    const SDL_Surface* shown = mission.countText;
    bool same = expected->w == shown->w && expected->h == shown->h;
    for (int row = 0; same && row < shown->h; ++row)
        same = std::memcmp(static_cast<Uint8*>(expected->pixels) + row * expected->pitch,
                           static_cast<Uint8*>(shown->pixels) + row * shown->pitch,
                           size_t(shown->w)) == 0;
    SDL_FreeSurface(expected);
    return same;
}

enum class SameFrame { Nothing, ShotHit, Landing };

class RescueWin : public RescueFrame, public testing::WithParamInterface<SameFrame> {};

TEST_P(RescueWin, ThirtiethCatchShowsThirtyAndLosesToAHitOrALandingInItsFrame)
{
    mission.rescuedCount = 29;
    mission.animal[0] = rectAt(500, 300);
    mission.core.projectile = rectAt(520, 310);
    if (GetParam() == SameFrame::ShotHit)
        run.shots()[0] = rectAt(150, 340);
    if (GetParam() == SameFrame::Landing)
        mission.animal[1] = rectAt(700, 767);
    const int spaceAt = fake::now() + 20000;
    fake::pressAt(spaceAt, SDLK_SPACE);
    run.runFrameAt(6000); // the start protection is over
    EXPECT_EQ(mission.rescuedCount, 30);
    EXPECT_TRUE(countShows(mission, "30"));
    bool won = GetParam() == SameFrame::Nothing;
    EXPECT_EQ(mission.core.missionWon, won);
    EXPECT_EQ(fake::sleeps().at(0), winScreenPauseMs);
    EXPECT_EQ(fake::now() >= spaceAt, won) << "waits for space only after a win";
}

INSTANTIATE_TEST_SUITE_P(SameFrameEnds, RescueWin,
                         testing::Values(SameFrame::Nothing, SameFrame::ShotHit,
                                         SameFrame::Landing));

} // namespace
