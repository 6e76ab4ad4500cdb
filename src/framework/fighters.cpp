#include "fighters.h"
#include "display.h"

#include <cstdlib>

namespace {

constexpr int fighterSpeed = 4; // tenths of frameStep
constexpr int shotSpeed = 7;
// A fighter fires when its top is within this distance of the helicopter's,
// and its shot leaves this far below its top.
constexpr int fireBand = 45;

} // namespace

int randomHeight()
{
    return std::rand() % 678 + 1;
}

void startSquadron(Squadron& squadron)
{
    for (int n = 0; n < squadronSize; ++n) {
        int x = n == 0 ? std::rand() % 700 + 200 : std::rand() % 100 + 800;
        squadron.fighter[n].x = Sint16(x);
        squadron.fighter[n].y = Sint16(randomHeight());
        squadron.shot[n].x = parkedX;
        squadron.shot[n].y = parkedY;
    }
}

void fireStep(const SDL_Rect& fighter, SDL_Rect& shot, const SDL_Rect& heli)
{
    if (heli.y - fireBand < fighter.y && fighter.y < heli.y + fireBand && shot.x > 1023) {
        shot.y = Sint16(fighter.y + fireBand);
        shot.x = fighter.x;
    }
}

void flyLeftStep(SDL_Rect& plane, int frameStep, int k, int (*newHeight)())
{
    if (plane.x > 0) {
        moveBy(plane.x, -speed(frameStep, k));
    } else {
        plane.x = parkedX;
        plane.y = Sint16(newHeight());
    }
}

void fighterMoveStep(SDL_Rect& fighter, int frameStep)
{
    flyLeftStep(fighter, frameStep, fighterSpeed, randomHeight);
}

void shotMoveStep(SDL_Rect& shot, int frameStep)
{
    if (shot.x < parkedX) {
        moveBy(shot.x, -speed(frameStep, shotSpeed));
        if (shot.x < 0)
            shot.x = parkedX;
    }
}

void shotHitSteps(MissionCore& core, const Squadron& squadron)
{
    for (const SDL_Rect& shot : squadron.shot)
        heliHitStep(core, shot);
}

void fireSteps(Squadron& squadron, const SDL_Rect& heli)
{
    for (int n = 0; n < squadronSize; ++n)
        fireStep(squadron.fighter[n], squadron.shot[n], heli);
}

void fighterMoveSteps(Squadron& squadron, int frameStep)
{
    for (SDL_Rect& fighter : squadron.fighter)
        fighterMoveStep(fighter, frameStep);
}

void shotMoveSteps(Squadron& squadron, int frameStep)
{
    for (SDL_Rect& shot : squadron.shot)
        shotMoveStep(shot, frameStep);
}

void drawSquadron(Squadron& squadron, SDL_Surface* fighterSprite, SDL_Surface* shotSprite,
                  SDL_Surface* display)
{
    for (int n = 0; n < squadronSize; ++n) {
        drawAt(shotSprite, squadron.shot[n], display);
        drawAt(fighterSprite, squadron.fighter[n], display);
    }
}
