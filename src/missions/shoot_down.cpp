#include "shoot_down.h"
#include "framework/display.h"
#include "framework/mission_loop.h"
#include "framework/platform.h"

#include <cstdlib>
#include <iterator>

namespace shootdown {

namespace {

const TextLine textLines[textCount] = {
    {"Zeit:", false, 50, 30},
    {"Abgeschossene Gegner:", false, 700, 30},
    {"Zerstoere innerhalb der Zeit 30 Gegner", false, 300, 350},
    {"Verloren", true, 450, 350},
    {"Gewonnen", true, 450, 350},
    {"Passwort: m k r", false, 450, 400},
};

const SpriteFile spriteFiles[spriteCount] = {
    {"Background", "data/Background.bmp"},
    {"Heli", "data/Heli.bmp"},
    {"en1", "data/F-1 Rex.bmp"},
    {"en1sh", "data/Shoot.bmp"},
    {"bomber", "data/B-1 EggFall.bmp"},
    {"egg", "data/Egg.bmp"},
    {"shoot", "data/Shoot.bmp"},
    {"explosion", "data/Explosion.bmp"},
};

static_assert(spriteCount <= maxMissionSprites && textCount <= maxMissionTexts,
              "the mission's tables must fit its art");

const int keyedSprites[] = {Heli, En1, Explosion, Bomber, Egg};

const MissionTables tables = {textLines, textCount, spriteFiles, spriteCount,
                              keyedSprites, int(std::size(keyedSprites)), SDL_SRCCOLORKEY};

constexpr int fighterDodge = 4; // tenths of frameStep
constexpr int bomberDodge = 3;
constexpr int bomberSpeed = 3;
constexpr int eggSpeed = 9;
constexpr int projectileSpeed = 7;
constexpr int explosionMs = 100;
constexpr Sint16 shotDownX = 1200; // where a hit target flies in again from
constexpr Sint16 countdownTextX = 100;
constexpr Sint16 hitCountTextX = 950;
constexpr Sint16 counterTextY = 30;

void placeActors(Mission& mission)
{
    SDL_Surface* const* sprite = mission.sprites;
    MissionCore& core = mission.core;
    sizeFromSprite(core.heli, sprite[Heli]);
    sizeFromSprite(core.projectile, sprite[Shoot]);
    for (int n = 0; n < squadronSize; ++n) {
        sizeFromSprite(mission.squadron.fighter[n], sprite[En1]);
        sizeFromSprite(mission.squadron.shot[n], sprite[En1sh]);
    }
    sizeFromSprite(mission.bomber, sprite[Bomber]);
    sizeFromSprite(mission.egg, sprite[Egg]);
    sizeFromSprite(mission.explosion.at, sprite[Explosion]);
    startSquadron(mission.squadron);
    mission.bomber.x = Sint16(std::rand() % 700 + 200);
    mission.bomber.y = Sint16(randomHeight());
}

void hitTests(Mission& mission)
{
    int now = tickCount();
    for (SDL_Rect& fighter : mission.squadron.fighter)
        hitTest(fighter, mission.core.projectile, mission.explosion, mission.hitCount, now);
    hitTest(mission.bomber, mission.core.projectile, mission.explosion, mission.hitCount, now);
}

void evasionSteps(Mission& mission)
{
    const SDL_Rect& projectile = mission.core.projectile;
    for (SDL_Rect& fighter : mission.squadron.fighter)
        evasionStep(fighter, projectile, mission.core.frameStep, fighterDodge);
    evasionStep(mission.bomber, projectile, mission.core.frameStep, bomberDodge);
}

void countdownLossTest(Mission& mission)
{
    if (mission.countdown.countdown < 0)
        mission.core.missionOver = true;
}

// Two hits in one frame can carry the count past 30; the player has still
// won, so the win screen opens at 30 or more.
void winCheck(Mission& mission)
{
    if (mission.hitCount >= hitsToWin)
        winScreen(mission.core, mission.display,
                  {placedText(mission, tables, Gewonnen), placedText(mission, tables, Passwort),
                   {mission.hitCountText, hitCountTextX, counterTextY}});
}

} // namespace

void countdownStep(Countdown& countdown, int missionTime)
{
    if (missionTime - countdown.countdownBase > countdown.countdownThreshold) {
        countdown.countdown -= 1;
        countdown.countdownBase += 1000;
        countdown.countdownThreshold += 1000;
    }
}

bool inTargetZone(const SDL_Rect& target, const SDL_Rect& projectile)
{
    return target.x < projectile.x && projectile.x < target.x + 150 && target.y < projectile.y &&
           projectile.y < target.y + 90;
}

void hitTest(SDL_Rect& target, SDL_Rect& projectile, HitExplosion& explosion, int& hitCount, int now)
{
    if (!inTargetZone(target, projectile))
        return;
    target.x = shotDownX;
    target.y = Sint16(randomHeight());
    explosion.at.x = projectile.x;
    explosion.at.y = Sint16(projectile.y - 40);
    explosion.happened = true;
    explosion.explosionTick = now;
    projectile.x = parkedX;
    hitCount += 1;
}

void eggDropStep(SDL_Rect& egg, const SDL_Rect& bomber, const SDL_Rect& heli)
{
    if (heli.x - 150 < bomber.x && bomber.x < heli.x + 50 && bomber.y < heli.y && egg.y > 767) {
        egg.y = Sint16(bomber.y + 50);
        egg.x = Sint16(bomber.x + 150);
    }
}

void bomberMoveStep(SDL_Rect& bomber, int frameStep)
{
    flyLeftStep(bomber, frameStep, bomberSpeed, randomHeight);
}

void evasionStep(SDL_Rect& target, const SDL_Rect& projectile, int frameStep, int k)
{
    if (!(target.y < projectile.y && projectile.y < target.y + 90))
        return;
    int direction = std::rand() % 2 + 1;
    moveBy(target.y, direction == 1 ? speed(frameStep, k) : -speed(frameStep, k));
}

void eggFallStep(SDL_Rect& egg, int frameStep)
{
    if (egg.y < parkedY)
        moveBy(egg.y, speed(frameStep, eggSpeed));
}

bool explosionShown(const HitExplosion& explosion, int now)
{
    return explosion.happened && now - explosionMs < explosion.explosionTick;
}

void setUp(Mission& mission, int startTick)
{
    std::srand(unsigned(tickCount()));
    mission = Mission{};
    mission.core.startTick = startTick;
    loadMissionArt(mission, tables);
    placeActors(mission);
}

void frame(Mission& mission)
{
    MissionCore& core = mission.core;
    frameStart(core);
    inputStep(core);
    countdownStep(mission.countdown, core.missionTime);
    renderCounter(mission.countdownText, mission.fonts.small, mission.countdown.countdown,
                  missionTextColour);
    startProtectionStep(core);
    hitTests(mission);
    renderCounter(mission.hitCountText, mission.fonts.small, mission.hitCount, missionTextColour);
    shotHitSteps(core, mission.squadron);
    heliHitStep(core, mission.egg);
    fireSteps(mission.squadron, core.heli);
    eggDropStep(mission.egg, mission.bomber, core.heli);
    fighterMoveSteps(mission.squadron, core.frameStep);
    bomberMoveStep(mission.bomber, core.frameStep);
    evasionSteps(mission);
    projectileFlight(core, projectileSpeed);
    shotMoveSteps(mission.squadron, core.frameStep);
    eggFallStep(mission.egg, core.frameStep);
    countdownLossTest(mission);
    winCheck(mission);
    helicopterCopy(core);
    draw(mission);
    frameEnd(core);
}

void draw(Mission& mission)
{
    SDL_Surface* display = mission.display;
    SDL_Surface* const* sprite = mission.sprites;
    SDL_Rect backgroundAt{0, 0, 0, 0};
    drawAt(sprite[Background], backgroundAt, display);
    drawAt(sprite[Shoot], mission.core.projectile, display);
    drawSquadron(mission.squadron, sprite[En1], sprite[En1sh], display);
    drawAt(sprite[Egg], mission.egg, display);
    drawAt(sprite[Bomber], mission.bomber, display);
    drawAt(sprite[Heli], mission.core.heli, display);
    drawTextLine(mission, tables, Zeit);
    drawText(mission.countdownText, countdownTextX, counterTextY, display);
    drawTextLine(mission, tables, Abgeschossen);
    drawText(mission.hitCountText, hitCountTextX, counterTextY, display);
    if (explosionShown(mission.explosion, tickCount()))
        drawAt(sprite[Explosion], mission.explosion.at, display);
    if (mission.core.missionTime < startTextMs)
        drawTextLine(mission, tables, StartText);
    if (!mission.core.missionWon)
        flipDisplay(display);
}

void tearDown(Mission& mission)
{
    releaseMissionArt(mission);
    SDL_FreeSurface(mission.countdownText);
    SDL_FreeSurface(mission.hitCountText);
    mission.countdownText = mission.hitCountText = nullptr;
}

} // namespace shootdown

int runShootDownMission(int, char**, int startTick)
{
    return runMission<shootdown::Mission>(startTick);
}
