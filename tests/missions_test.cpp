// The missions frame by frame: what both share, then each one's steps in the order of its frame.
#include "headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <tuple>
#include <type_traits>

template <class Mission>
struct BothMissions : testing::Test {
    static constexpr bool shootingDown = std::is_same_v<Mission, shootdown::Mission>;
};
using Missions = testing::Types<shootdown::Mission, rescue::Mission>;
TYPED_TEST_SUITE(BothMissions, Missions);

// Seeded at set-up, not from the menu's start tick: fighters draw first, x then y, then bombers.
// missionTime counts from the start tick, set-up (500 ms) included; the countdown steps after 1000 ms,
// then every 2000 ms.
TYPED_TEST(BothMissions, StartFromAFreshSeedThenTimedFromTheStartTick)
{
    HeadlessMission<TypeParam> run(4242, 500);
    const int nextDraw = std::rand();
    const std::vector<int> r = randSequence(4242, 11);
    EXPECT_EQ(where(run.fighter[0]) + ' ' + where(run.fighter[1]) + ' ' + where(run.fighter[2]),
              where(r[0] % 700 + 200, r[1] % 678 + 1) + ' ' + where(r[2] % 100 + 800, r[3] % 678 + 1) + ' ' +
                  where(r[4] % 100 + 800, r[5] % 678 + 1));
    EXPECT_EQ(where(run.shot[0]) + ' ' + where(run.shot[1]) + ' ' + where(run.shot[2]), "1024,768 1024,768 1024,768");
    const bool sd = TestFixture::shootingDown;
    if constexpr (TestFixture::shootingDown) {
        EXPECT_EQ(where(run.mission.bomber), where(r[6] % 700 + 200, r[7] % 678 + 1));
        EXPECT_EQ(run.mission.hitCount, 0);
    } else {
        EXPECT_EQ(run.mission.rescuedCount, 0);
        EXPECT_EQ(where(run.mission.bomber[0]) + ' ' + where(run.mission.bomber[1]),
                  where(r[6] % 700 + 200, r[7] % 300 + 1) + ' ' + where(r[8] % 700 + 200, r[9] % 300 + 1));
    }
    EXPECT_EQ(nextDraw, r[sd ? 8 : 10]) << "set-up drew more";
    EXPECT_EQ(run.core.startTick, 4242 - 500) << "the menu's start tick";
    scripted::hold(SDLK_RIGHT);
    run.runFrameAt(500);
    EXPECT_EQ(run.core.heliX, 100) << "the first frame moves nothing";
    scripted::hold(SDLK_RIGHT, false);
    for (auto [missionTime, countdown, textShown, protection] :
         {std::tuple{1000, 40, true, true}, {1001, 39, true, true}, {1999, 39, true, true}, {2000, 39, false, true},
          {3000, 39, false, true}, {3001, 38, false, true}, {5000, 38, false, true}, {5001, 37, false, false}}) {
        run.runFrameAt(missionTime);
        const char* startText = sd ? "Zerstoere innerhalb der Zeit 30 Gegner" : "Rette alle 30 Stegosaurus";
        EXPECT_EQ(textAt(run.mission.display, startText, 18, sd ? 300 : 450, 350), textShown) << missionTime;
        EXPECT_EQ(run.core.startProtection, protection) << missionTime;
        if constexpr (TestFixture::shootingDown) {
            EXPECT_EQ(run.mission.countdown.countdown, countdown) << missionTime;
        }
    }
}

// At 30 the win screen shows, pauses 1 s, then waits: space wins, a quit request loses, Escape
// does nothing. Only a loss flips the frame and the end screen (2 s). Every text is in its place.
TYPED_TEST(BothMissions, WinScreenWaitsForSpaceOrAQuitRequest)
{
    using Line = std::tuple<int, const char*, int, int, int>; // flip, text, size, x, y
    const std::vector<Line> lines = TestFixture::shootingDown
        ? std::vector<Line>{{1, "Gewonnen", 24, 450, 350}, {1, "Passwort: m k r", 18, 450, 400}, {1, "30", 18, 950, 30},
                            {2, "Zeit:", 18, 50, 30}, {2, "40", 18, 100, 30}, {2, "Abgeschossene Gegner:", 18, 700, 30},
                            {2, "30", 18, 950, 30}, {2, "Zerstoere innerhalb der Zeit 30 Gegner", 18, 300, 350},
                            {3, "Verloren", 24, 450, 350}}
        : std::vector<Line>{{1, "Gewonnen", 24, 450, 350}, {1, "30", 18, 950, 30}, {2, "Gerettete:", 18, 850, 30},
                            {2, "30", 18, 950, 30}, {2, "Rette alle 30 Stegosaurus", 18, 450, 350},
                            {3, "Verloren", 24, 450, 350}};
    for (auto [key, quitAtMs, won] :
         {std::tuple{SDLK_SPACE, 0, true}, {SDLK_ESCAPE, 3000, false}, {SDLK_UP, 1500, false}}) {
        HeadlessMission<TypeParam> run(1000);
        const int start = scripted::now();
        scripted::pressAt(start + 1500, key);
        scripted::quitAt(start + (quitAtMs ? quitAtMs : 99999));
        scripted::pressAt(start + 9000, SDLK_SPACE); // ends a wait that missed its end
        std::vector<int> flips;
        std::string missing;
        scripted::onFlip([&](SDL_Surface* display) {
            flips.push_back(scripted::now() - start);
            for (auto [flip, text, size, x, y] : lines)
                if (flip == int(flips.size()) && !textAt(display, text, size, x, y))
                    missing += std::string(text) + ' ';
            if (flips.size() == 3 && !drawnAt(display, run.mission.sprites[TypeParam::explosionSprite], 140, 300))
                missing += "explosion at the helicopter (100, 300)";
        });
        if constexpr (TestFixture::shootingDown)
            run.mission.hitCount = 30;
        else
            run.mission.rescuedCount = 30;
        run.runFrame();
        EXPECT_GE(scripted::now() - start, won ? 1500 : quitAtMs) << key << " ended the wait";
        run.endScreen();
        EXPECT_EQ(run.core.missionWon, won) << key;
        EXPECT_EQ(flips.size(), won ? 1u : 3u) << key;
        EXPECT_LT(flips.at(0), 1000) << "the win screen shows before its pause";
        EXPECT_TRUE(won || scripted::now() - start - flips.back() == 2016) << "the end screen shows before its pause";
        EXPECT_EQ(std::pair(scripted::sleeps().front(), scripted::sleeps().back() == 2000), std::pair(1000, !won));
        EXPECT_EQ(missing, "") << key;
    }
}

// A player may start missions a thousand times in one sitting: tear-down closes every file that set-up
// opened (the first set-up may start SDL's own for good).
TYPED_TEST(BothMissions, LeaveNoFileOpen)
{
    const auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    HeadlessMission<TypeParam>().runFrame();
    const auto before = openFiles();
    HeadlessMission<TypeParam>().runFrame();
    EXPECT_EQ(openFiles(), before);
}

// Each two in the draw order, however far apart (a step may be moved anywhere), laid over each other, the rest
// off the screen: the later is drawn over the earlier, and each is drawn. The start text is still shown, the explosion too. Then the end screen.
TYPED_TEST(BothMissions, DrawInTheirOrder)
{
    HeadlessMission<TypeParam> run(10000, 0, arranged);
    TypeParam& m = run.mission;
    SDL_Surface* const* sprite = m.sprites;
    SDL_Rect background{0, 0, 0, 0}, line[5];
    const auto text = [&](SDL_Surface* image, int n, int x, int y) {
        line[n] = rectAt(x, y);
        return Layer{image, &line[n], false};
    };
    const bool sd = TestFixture::shootingDown;
    std::vector<Layer> layers{{sprite[sd ? int(shootdown::Background) : int(rescue::Background)], &background, false},
                              {sprite[sd ? int(shootdown::Shoot) : int(rescue::Fallschirm)], &run.core.projectile}};
    for (int n = 0; n < squadronSize; ++n)
        layers.insert(layers.end(), {{sprite[sd ? int(shootdown::En1sh) : int(rescue::En1sh)], &run.shot[n]},
                                     {sprite[sd ? int(shootdown::En1) : int(rescue::En1)], &run.fighter[n]}});
    if constexpr (TestFixture::shootingDown) {
        using namespace shootdown;
        m.explosion = {rectAt(1024, 768), true, 99999}; // a hit that shows all along
        layers.insert(layers.end(), {{sprite[Egg], &m.egg}, {sprite[Bomber], &m.bomber}, {sprite[Heli], &run.core.heli},
                                     text(m.texts[Zeit], 0, 50, 30), text(m.countdownText, 1, 100, 30),
                                     text(m.texts[Abgeschossen], 2, 700, 30), text(m.hitCountText, 3, 950, 30),
                                     {sprite[Explosion], &m.explosion.at}, text(m.texts[StartText], 4, 300, 350)});
    } else {
        using namespace rescue;
        for (int n = 0; n < herdSize; ++n)
            layers.insert(layers.end(), {{sprite[Triceratops], &m.animal[n]}, {sprite[Bomber], &m.bomber[n]}});
        layers.insert(layers.end(), {{sprite[Heli], &run.core.heli}, text(m.texts[Gerettete], 0, 850, 30),
                                     text(m.countText, 1, 950, 30), {sprite[Fallschirm2], &m.openParachute[0]},
                                     {sprite[Fallschirm2], &m.openParachute[1]}, text(m.texts[StartText], 2, 450, 350)});
    }
    bool shownAtTheFlip = false; // nothing is drawn after the flip
    scripted::onFlip([&](SDL_Surface* display) { shownAtTheFlip = drawnInOrder(display, layers); });
    for (size_t n = 0; n + 1 < layers.size(); ++n)
        for (size_t next = n + 1; next < layers.size(); ++next) {
            for (Layer& layer : layers)
                if (layer.movable)
                    *layer.at = rectAt(1024, 768);
            const Layer& fixed = layers[next].movable ? layers[n] : layers[next];
            const int x = fixed.movable ? 500 : fixed.at->x + fixed.image->w / 2;
            const int y = fixed.movable ? 400 : fixed.at->y + fixed.image->h / 2;
            for (const Layer& layer : {layers[n], layers[next]})
                if (layer.movable)
                    *layer.at = rectAt(std::max(0, x - layer.image->w / 2), std::max(0, y - layer.image->h / 2));
            run.core.missionTime = 0, shownAtTheFlip = false;
            draw(m);
            EXPECT_TRUE(shownAtTheFlip) << n << ' ' << next;
        }
    scripted::onFlip(nullptr);
    // The end screen: the explosion 40 right of the helicopter, "Verloren" over it.
    SDL_Surface* before = SDL_ConvertSurface(m.display, m.display->format, 0);
    SDL_Rect explosionAt = rectAt(440, 330), lostAt = rectAt(450, 350);
    run.core.heli = rectAt(400, 330);
    run.endScreen();
    EXPECT_TRUE(drawnInOrder(m.display, {{before, &background}, {sprite[TypeParam::explosionSprite], &explosionAt},
                                         {m.texts[TypeParam::lostText], &lostAt}}));
    SDL_FreeSurface(before);
}

// Space launches from the drawn helicopter (100, 300) at (240, 370); a target or an animal there is hit or
// caught in the same frame, before the flight carries the projectile on.
TYPED_TEST(BothMissions, ALaunchHitsInItsOwnFrame)
{
    HeadlessMission<TypeParam> run(10000, 0, arranged);
    scripted::pressAt(scripted::now(), SDLK_SPACE);
    if constexpr (TestFixture::shootingDown) {
        run.fighter[0] = rectAt(230, 360);
        run.runFrame();
        EXPECT_EQ(run.mission.hitCount, 1);
    } else {
        run.mission.animal[0] = rectAt(180, 340);
        run.runFrame();
        EXPECT_EQ(run.mission.rescuedCount, 1);
    }
}

// Everything that moves is drawn where this frame's steps left it (frameStep 8), each apart from the rest.
TYPED_TEST(BothMissions, MoversDrawnWhereTheFrameLeftThem)
{
    HeadlessMission<TypeParam> run(10000, 0, arranged);
    TypeParam& m = run.mission;
    SDL_Surface* const* sprite = m.sprites;
    const bool sd = TestFixture::shootingDown;
    run.core.projectile = rectAt(300, 100), run.shot[0] = rectAt(600, 100), run.fighter[0] = rectAt(700, 150);
    std::vector<std::pair<SDL_Surface*, SDL_Rect*>> movers{
        {sprite[sd ? int(shootdown::Shoot) : int(rescue::Fallschirm)], &run.core.projectile},
        {sprite[sd ? int(shootdown::En1sh) : int(rescue::En1sh)], &run.shot[0]},
        {sprite[sd ? int(shootdown::En1) : int(rescue::En1)], &run.fighter[0]}};
    if constexpr (TestFixture::shootingDown) {
        m.egg = rectAt(900, 400), m.bomber = rectAt(300, 500);
        movers.insert(movers.end(), {{sprite[shootdown::Egg], &m.egg}, {sprite[shootdown::Bomber], &m.bomber}});
    } else {
        m.animal[0] = rectAt(850, 400), m.openParachute[1] = rectAt(300, 500);
        m.bomber[0] = rectAt(500, 600), m.bomber[1] = rectAt(1100, 100);
        movers.insert(movers.end(), {{sprite[rescue::Triceratops], &m.animal[0]},
                                     {sprite[rescue::Fallschirm2], &m.openParachute[1]},
                                     {sprite[rescue::Bomber], &m.bomber[0]}});
    }
    run.runFrame();
    for (auto [image, at] : movers)
        EXPECT_TRUE(drawnAt(m.display, image, at->x, at->y)) << where(*at);
    EXPECT_EQ(where(run.core.projectile), where(sd ? 305 : 308, 100)) << "flown before it was drawn";
}

// Fire and the egg's drop test the helicopter where it was drawn (100, 300), not where the arrows steer it
// this frame (up 8).
TYPED_TEST(BothMissions, FireAndDropTestTheDrawnHelicopter)
{
    HeadlessMission<TypeParam> run(10000, 0, arranged);
    run.fighter[0] = rectAt(600, 344);
    if constexpr (TestFixture::shootingDown)
        run.mission.bomber = rectAt(100, 295);
    scripted::hold(SDLK_UP);
    run.runFrame();
    EXPECT_EQ(where(run.shot[0]), where(595, 389));
    if constexpr (TestFixture::shootingDown) {
        EXPECT_EQ(where(run.mission.egg), where(250, 352));
    }
}

static int dodged(int y, int draw, int speed) { return draw % 2 + 1 == 1 ? y + speed : y - speed; }

// After the planes moved, targets whose band (y, y + 90) holds the projectile's y dodge, 1 down, 2 up:
// fighters 1 to 3 by 3, then the bomber by 2. Fighter 3 fires. The bomber covers the egg.
TEST(ShootDownFrame, DodgesInTheirOrderAfterThePlanesMoved)
{
    ShootDown run(10000, 0, arranged);
    shootdown::Mission& m = run.mission;
    run.fighter[0] = rectAt(600, 250), run.fighter[1] = rectAt(800, 251), run.fighter[2] = rectAt(700, 339);
    m.bomber = rectAt(850, 300), m.egg = rectAt(915, 325), m.explosion = {rectAt(130, 310), true, scripted::now()};
    run.core.projectile = rectAt(300, 340);
    const std::vector<int> r = randSequence(11, 4);
    run.runFrame();
    EXPECT_EQ(where(run.fighter[0]) + ' ' + where(run.fighter[1]) + ' ' + where(run.fighter[2]) + ' ' + where(m.bomber),
              where(597, 250) + ' ' + where(797, dodged(251, r[0], 3)) + ' ' + where(697, dodged(339, r[1], 3)) + ' ' +
                  where(848, dodged(300, r[2], 2)));
    EXPECT_EQ(std::rand(), r[3]) << "drew for a target out of its band";
    EXPECT_EQ(where(run.shot[2]), where(695, 384));
    EXPECT_TRUE(drawnAt(m.display, m.sprites[shootdown::Bomber], m.bomber.x, m.bomber.y));
    EXPECT_TRUE(drawnAt(m.display, m.sprites[shootdown::Explosion], 130, 310));
}

// At frameStep 10 every speed k moves k pixels; the start protection is over; 29 hits do not win. The
// helicopter flies down and right and is drawn there; fighter 3 fires into heliBox after the shots were tested; the
// bomber drops the egg from where it was before it came back at a new height, before fighter 2 dodges;
// fighter 2 is tested before the projectile flies past its left edge; fighter 1, level with the projectile's
// top, does not dodge, moves to x -3 and is drawn, so written back, at x 0.
TEST(ShootDownFrame, EachStepInItsPlaceAtItsOwnSpeed)
{
    ShootDown run(10000, 0, arranged);
    shootdown::Mission& m = run.mission;
    run.core.startTick -= 6000, run.core.frameStep = 10;
    run.fighter[0] = rectAt(1, 100), run.fighter[1] = rectAt(400, 50), run.fighter[2] = rectAt(150, 300);
    m.bomber = rectAt(0, 200), run.core.projectile = rectAt(400, 100), m.hitCount = 29;
    scripted::hold(SDLK_DOWN), scripted::hold(SDLK_RIGHT);
    scripted::pressAt(scripted::now() + 5000, SDLK_SPACE); // ends a wrong win screen
    const std::vector<int> r = randSequence(17, 2);
    run.runFrame();
    EXPECT_EQ(where(run.fighter[0]) + ' ' + where(run.fighter[1]) + ' ' + where(run.shot[2]) + ' ' + where(m.bomber) +
                  ' ' + where(m.egg) + ' ' + where(run.core.projectile),
              "0,100 " + where(396, dodged(50, r[1], 4)) + " 143,345 " + where(1024, r[0] % 678 + 1) + " 150,259 407,100");
    EXPECT_EQ(std::tuple(run.core.missionOver, run.core.frameStep, m.hitCount), std::tuple(false, 8, 29));
    EXPECT_TRUE(drawnAt(m.display, m.sprites[shootdown::Heli], 110, 310));
}

// From 29, a hit on fighter 2 wins with this frame's count; it parks the projectile in a bomber at 875,
// tested after the fighters. The egg, a shot or the countdown stepping to -1 in the same frame loses.
// Planes at x 0 come back at new heights, fighters first.
TEST(ShootDownWin, AtThirtyHitsOrMoreUnlessLostInTheSameFrame)
{
    const SDL_Rect away = rectAt(0, 600), inReach = rectAt(875, 700);
    for (auto [bomber, eggY, shotY, threshold, lost, count] :
         {std::tuple{away, 768, 768, 99999, false, "30"}, {inReach, 768, 768, 99999, false, "31"},
          {away, 768, 768, 0, true, "30"}, {away, 340, 768, 99999, true, "30"}, {away, 768, 340, 99999, true, "30"}}) {
        ShootDown run(10000, 0, arranged);
        shootdown::Mission& m = run.mission;
        run.core.startTick -= 6000;
        m.bomber = bomber, m.egg = rectAt(150, eggY), m.countdown = {0, 0, threshold};
        run.shot[0] = rectAt(shotY == 768 ? 1024 : 150, shotY);
        run.fighter[1] = rectAt(500, 700), run.fighter[2] = rectAt(0, 600), run.core.projectile = rectAt(560, 768);
        m.hitCount = 29;
        scripted::hold(SDLK_SPACE);
        const std::vector<int> r = randSequence(13, 3);
        run.runFrame();
        if (bomber.x == 0) {
            EXPECT_EQ(where(run.fighter[2]) + ' ' + where(m.bomber),
                      where(1024, r[1] % 678 + 1) + ' ' + where(1024, r[2] % 678 + 1));
        }
        EXPECT_EQ(run.core.missionWon, !lost) << count << ' ' << eggY << ' ' << shotY;
        EXPECT_TRUE(textAt(m.display, count, 18, 950, 30)) << count;
        EXPECT_TRUE(textAt(m.display, threshold ? "0" : "-1", 18, 100, 30)) << count;
    }
}

// The egg is tested before the bomber drops it: dropped into the helicopter's hit zone (100 < x < 240,
// 315 < y < 370), it hits in the next frame.
TEST(ShootDownFrame, AnEggDroppedIntoTheHitZoneHitsInTheNextFrame)
{
    ShootDown run(10000, 0, arranged);
    run.core.startTick -= 6000, run.mission.bomber = rectAt(50, 280);
    run.runFrame();
    EXPECT_EQ(std::pair(where(run.mission.egg), run.core.missionOver), std::pair(where(200, 337), false));
    run.runFrame();
    EXPECT_TRUE(run.core.missionOver);
}

// The catch tests run before the drop: an animal dropped onto the parachute is caught in the next frame.
TEST(RescueFrame, AnAnimalDroppedOntoTheParachuteIsCaughtInTheNextFrame)
{
    Rescue run(10000, 0, arranged);
    run.mission.bomber[0] = rectAt(300, 200), run.core.projectile = rectAt(460, 260);
    run.runFrameAt(2001);
    EXPECT_EQ(std::pair(where(run.mission.animal[0]), run.mission.rescuedCount), std::pair(where(450, 251), 0));
    run.runFrame();
    EXPECT_EQ(run.mission.rescuedCount, 1);
}

// Animal 1 drops in the first frame after 2000 ms, animal 2 after 3000, each on its own timer,
// from where its bomber was before it moved, and falls 1 at once.
TEST(RescueFrame, AnimalsDropAfterTwoAndThreeSecondsEachOnItsOwnTimer)
{
    Rescue run(10000, 0, arranged);
    rescue::Mission& m = run.mission;
    for (auto [missionTime, drops] : {std::pair{2000, -1}, {2001, 0}, {3000, -1}, {3001, 1}, {5001, -1}}) {
        const SDL_Rect bomber[] = {m.bomber[0], m.bomber[1]};
        const bool onGround[] = {m.animal[0].y == 768, m.animal[1].y == 768};
        run.runFrameAt(missionTime);
        for (int n = 0; n < rescue::herdSize; ++n) {
            const bool dropped = onGround[n] && m.animal[n].y < 768;
            EXPECT_EQ(dropped, n == drops) << "animal " << n << " at " << missionTime;
            if (dropped) {
                EXPECT_EQ(where(m.animal[n]), where(bomber[n].x + 150, bomber[n].y + 51));
            }
        }
    }
    EXPECT_EQ(where(m.dropTimer[0], m.dropTimer[1]), "2000,3000");
}

// From 29, catching animal 2 shows 30 and wins, unless shot 3 or a landing lost the same frame.
// Each bomber covers its animal.
TEST(RescueFrame, ThirtiethCatchWinsUnlessLostInTheSameFrame)
{
    for (int sameFrame : {0, 1, 2}) { // nothing, a hit, a landing
        Rescue run(10000, 0, arranged);
        rescue::Mission& m = run.mission;
        m.rescuedCount = 29;
        m.animal[1] = rectAt(500, 300), run.core.projectile = rectAt(520, 310);
        run.shot[2] = sameFrame == 1 ? rectAt(150, 340) : run.shot[2];
        m.animal[0] = sameFrame == 2 ? rectAt(700, 767) : rectAt(340, 527), m.bomber[0] = rectAt(300, 500);
        scripted::pressAt(scripted::now() + 20000, SDLK_SPACE);
        run.runFrameAt(6000);
        EXPECT_TRUE(textAt(m.display, "30", 18, 950, 30)) << sameFrame;
        EXPECT_EQ(run.core.missionWon, sameFrame == 0) << sameFrame;
        EXPECT_TRUE(sameFrame == 2 || drawnAt(m.display, m.sprites[rescue::Bomber], m.bomber[0].x, 500));
    }
}

// Either animal landing uncaught loses, the other one waiting in its bomber.
TEST(RescueFrame, EitherAnimalLandingUncaughtLoses)
{
    for (int n : {0, 1}) {
        Rescue run(10000, 0, arranged);
        run.mission.animal[n] = rectAt(700, 767);
        run.runFrame();
        EXPECT_TRUE(run.core.missionOver) << n;
    }
}

// At frameStep 10, start protection over. The parachute lies in both animals' catch zones and catches animal 1
// only, the 29th rescue, which does not win; fighter 1 fires into heliBox after the shots were tested; fighter
// 2 and bomber 2 come back, fighters first. Next frame the parachute leaves from where the helicopter was drawn
// after flying down and flies 10; animal 2 lands together with its open parachute, open parachute 1 alone.
TEST(RescueFrame, EachStepInItsPlaceAtItsOwnSpeed)
{
    Rescue run(10000, 0, arranged);
    rescue::Mission& m = run.mission;
    run.core.startTick -= 6000, run.core.frameStep = 10, m.dropTimer[0] = m.dropTimer[1] = 99999;
    m.animal[0] = rectAt(200, 300), m.animal[1] = rectAt(210, 290), run.core.projectile = rectAt(230, 310);
    run.fighter[0] = rectAt(150, 280), run.fighter[1] = rectAt(0, 600), m.bomber[0] = rectAt(1100, 100),
    m.bomber[1] = rectAt(0, 100), m.rescuedCount = 28;
    scripted::hold(SDLK_DOWN), scripted::pressAt(scripted::now() + 5000, SDLK_SPACE); // ends a wrong win screen
    const std::vector<int> r = randSequence(19, 2);
    run.runFrame();
    EXPECT_EQ(where(m.openParachute[0]) + ' ' + where(m.openParachute[1]) + ' ' + where(m.animal[0]) + ' ' +
                  where(m.animal[1]) + ' ' + where(run.shot[0]) + ' ' + where(run.fighter[1]) + ' ' +
                  where(m.bomber[0]) + ' ' + where(m.bomber[1]),
              "200,272 1024,768 200,302 210,292 143,325 " + where(1024, r[0] % 678 + 1) + " 1097,100 " +
                  where(1024, r[1] % 300 + 1));
    EXPECT_EQ(std::tuple(m.rescuedCount, run.core.missionOver, run.core.frameStep), std::tuple(29, false, 8));
    EXPECT_TRUE(drawnAt(m.display, m.sprites[rescue::Heli], 100, 310));

    run.shot[0] = rectAt(1024, 768), run.core.frameStep = 10;
    m.animal[1] = rectAt(500, 767), m.openParachute[1] = rectAt(500, 737), m.openParachute[0] = rectAt(300, 767);
    scripted::hold(SDLK_SPACE);
    run.runFrame();
    EXPECT_EQ(where(run.core.projectile) + ' ' + where(m.animal[1]) + ' ' + where(m.openParachute[1]) + ' ' +
                  where(m.openParachute[0]),
              "250,380 500,769 500,739 300,769");
    EXPECT_FALSE(run.core.missionOver);
}
