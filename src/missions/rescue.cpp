#include "rescue.h"
#include "framework/display.h"
#include "framework/mission_loop.h"
#include "framework/platform.h"

#include <cstdlib>
#include <iterator>

namespace rescue {

namespace {

const TextLine textLines[textCount] = {
    {"Gerettete:", false, 850, 30},
    {"Rette alle 30 Stegosaurus", false, 450, 350},
    {"Verloren", true, 450, 350},
    {"Gewonnen", true, 450, 350},
};

const SpriteFile spriteFiles[spriteCount] = {
    {"Background", "data/Background.bmp"},
    {"Heli", "data/Heli.bmp"},
    {"en1", "data/F-1 Rex.bmp"},
    {"en1sh", "data/Shoot.bmp"},
    {"bomber", "data/B-1 EggFall.bmp"},
    {"triceratops", "data/Stegosaurus.bmp"},
    {"fallschirm", "data/Fallschirm.bmp"},
    {"explosion", "data/Explosion.bmp"},
    {"fallschirm2", "data/Fallschirmoffen.bmp"},
};

static_assert(spriteCount <= maxMissionSprites && textCount <= maxMissionTexts,
              "the mission's tables must fit its art");

const int keyedSprites[] = {Heli, En1, Explosion, Bomber, Triceratops, Fallschirm2};

// The rescue mission's keyed sprites are run-length encoded as well.
const MissionTables tables = {textLines, textCount, spriteFiles, spriteCount,
                              keyedSprites, int(std::size(keyedSprites)),
                              SDL_SRCCOLORKEY | SDL_RLEACCEL};

constexpr int bomberSpeed = 3; // tenths of frameStep
constexpr int fallSpeed = 2;
constexpr int parachuteSpeed = 10;
constexpr int firstDropMs = 2000;
constexpr int dropIntervalMs = 2000;
constexpr Sint16 countTextX = 950;
constexpr Sint16 countTextY = 30;

int randomBomberHeight()
{
    return std::rand() % 300 + 1;
}

void placeActors(Mission& mission)
{
    SDL_Surface* const* sprite = mission.sprites;
    sizeFromSprite(mission.core.heli, sprite[Heli]);
    sizeFromSprite(mission.core.projectile, sprite[Fallschirm]);
    for (int n = 0; n < squadronSize; ++n) {
        sizeFromSprite(mission.squadron.fighter[n], sprite[En1]);
        sizeFromSprite(mission.squadron.shot[n], sprite[En1sh]);
    }
    for (int n = 0; n < herdSize; ++n) {
        sizeFromSprite(mission.bomber[n], sprite[Bomber]);
        sizeFromSprite(mission.animal[n], sprite[Triceratops]);
        sizeFromSprite(mission.openParachute[n], sprite[Fallschirm2]);
    }
    startSquadron(mission.squadron);
    for (SDL_Rect& bomber : mission.bomber) {
        bomber.x = Sint16(std::rand() % 700 + 200);
        bomber.y = Sint16(randomBomberHeight());
    }
}

// At most one catch a frame: a catch parks the parachute.
void catchTests(Mission& mission)
{
    for (int n = 0; n < herdSize; ++n)
        catchTest(mission.animal[n], mission.openParachute[n], mission.core.projectile,
                  mission.rescuedCount);
}

void dropSteps(Mission& mission)
{
    for (int n = 0; n < herdSize; ++n)
        dropStep(mission.animal[n], mission.bomber[n], mission.dropTimer[n],
                 mission.core.missionTime);
}

void bomberMoveSteps(Mission& mission)
{
    for (SDL_Rect& bomber : mission.bomber)
        bomberMoveStep(bomber, mission.core.frameStep);
}

void fallSteps(Mission& mission)
{
    for (SDL_Rect& animal : mission.animal)
        fallStep(animal, mission.core.frameStep);
}

void openParachuteSteps(Mission& mission)
{
    for (SDL_Rect& openParachute : mission.openParachute)
        openParachuteStep(openParachute, mission.core.frameStep);
}

void landingTest(Mission& mission)
{
    for (int n = 0; n < herdSize; ++n)
        if (landedUncaught(mission.animal[n], mission.openParachute[n]))
            mission.core.missionOver = true;
}

// At 30 or more, like the shoot-down mission's count.
void winCheck(Mission& mission)
{
    if (mission.rescuedCount >= rescuesToWin)
        winScreen(mission.core, mission.display,
                  {placedText(mission, tables, Gewonnen), {mission.countText, countTextX, countTextY}});
}

} // namespace

bool isParked(const SDL_Rect& openParachute)
{
    return openParachute.x == parkedX && openParachute.y == parkedY;
}

bool catchTest(const SDL_Rect& animal, SDL_Rect& openParachute, SDL_Rect& parachute,
               int& rescuedCount)
{
    bool caught = animal.x < parachute.x && parachute.x < animal.x + 65 &&
                  animal.y < parachute.y && parachute.y < animal.y + 35 &&
                  parachute.x != parkedX && parachute.y != parkedY && isParked(openParachute);
    if (!caught)
        return false;
    rescuedCount += 1;
    openParachute.x = animal.x;
    openParachute.y = Sint16(animal.y - 30);
    parachute.x = parkedX;
    return true;
}

void dropStep(SDL_Rect& animal, const SDL_Rect& bomber, int& dropTimer, int missionTime)
{
    if (missionTime - firstDropMs > dropTimer && animal.y > 767) {
        animal.y = Sint16(bomber.y + 50);
        animal.x = Sint16(bomber.x + 150);
        dropTimer += dropIntervalMs;
    }
}

void bomberMoveStep(SDL_Rect& bomber, int frameStep)
{
    flyLeftStep(bomber, frameStep, bomberSpeed, randomBomberHeight);
}

void fallStep(SDL_Rect& animal, int frameStep)
{
    if (animal.y < parkedY)
        moveBy(animal.y, speed(frameStep, fallSpeed));
}

void openParachuteStep(SDL_Rect& openParachute, int frameStep)
{
    if (openParachute.y < parkedY) {
        moveBy(openParachute.y, speed(frameStep, fallSpeed));
    } else {
        openParachute.x = parkedX;
        openParachute.y = parkedY;
    }
}

bool landedUncaught(const SDL_Rect& animal, const SDL_Rect& openParachute)
{
    return animal.y > 767 && openParachute.y != animal.y - 30 && 200 < animal.x &&
           animal.x < 1023;
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
    startProtectionStep(core);
    catchTests(mission);
    renderCounter(mission.countText, mission.fonts.small, mission.rescuedCount,
                  missionTextColour);
    shotHitSteps(core, mission.squadron);
    fireSteps(mission.squadron, core.heli);
    dropSteps(mission);
    fighterMoveSteps(mission.squadron, core.frameStep);
    bomberMoveSteps(mission);
    projectileFlight(core, parachuteSpeed);
    shotMoveSteps(mission.squadron, core.frameStep);
    fallSteps(mission);
    openParachuteSteps(mission);
    landingTest(mission);
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
    drawAt(sprite[Fallschirm], mission.core.projectile, display);
    drawSquadron(mission.squadron, sprite[En1], sprite[En1sh], display);
    for (int n = 0; n < herdSize; ++n) {
        drawAt(sprite[Triceratops], mission.animal[n], display);
        drawAt(sprite[Bomber], mission.bomber[n], display);
    }
    drawAt(sprite[Heli], mission.core.heli, display);
    drawTextLine(mission, tables, Gerettete);
    drawText(mission.countText, countTextX, countTextY, display);
    for (SDL_Rect& openParachute : mission.openParachute)
        drawAt(sprite[Fallschirm2], openParachute, display);
    if (mission.core.missionTime < startTextMs)
        drawTextLine(mission, tables, StartText);
    if (!mission.core.missionWon)
        flipDisplay(display);
}

void tearDown(Mission& mission)
{
    releaseMissionArt(mission);
    SDL_FreeSurface(mission.countText);
    mission.countText = nullptr;
}

} // namespace rescue

int runRescueMission(int, char**, int startTick)
{
    return runMission<rescue::Mission>(startTick);
}
