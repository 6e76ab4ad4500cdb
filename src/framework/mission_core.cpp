#include "mission_core.h"
#include "platform.h"

bool inHeliBox(const SDL_Rect& heli, const SDL_Rect& object)
{
    return heli.x < object.x && object.x < heli.x + 140 && heli.y + 15 < object.y &&
           object.y < heli.y + 70;
}

void heliHitStep(MissionCore& core, const SDL_Rect& object)
{
    if (inHeliBox(core.heli, object) && !core.startProtection)
        core.missionOver = true;
}

void frameStart(MissionCore& core)
{
    core.frameStartTick = tickCount();
    core.missionTime = tickCount() - core.startTick;
}

void heliMoveStep(int& heliX, int& heliY, const Uint8* keys, int frameStep)
{
    if (keys[SDLK_UP] && heliY > 0)
        heliY -= frameStep;
    if (keys[SDLK_DOWN] && heliY < heliMaxY)
        heliY += frameStep;
    if (keys[SDLK_RIGHT] && heliX < heliMaxX)
        heliX += frameStep;
    if (keys[SDLK_LEFT] && heliX > 0)
        heliX -= frameStep;
}

void launchStep(SDL_Rect& projectile, const SDL_Rect& heli, const Uint8* keys)
{
    if (keys[SDLK_SPACE] && projectile.x > 1023) {
        projectile.x = Sint16(heli.x + gunOffsetX);
        projectile.y = Sint16(heli.y + gunOffsetY);
    }
}

void inputStep(MissionCore& core)
{
    if (drainEvents())
        core.missionOver = true;
    const Uint8* keys = keyboardState();
    if (keys[SDLK_ESCAPE])
        core.missionOver = true;
    heliMoveStep(core.heliX, core.heliY, keys, core.frameStep);
    launchStep(core.projectile, core.heli, keys);
}

void startProtectionStep(MissionCore& core)
{
    if (core.missionTime > startProtectionMs)
        core.startProtection = false;
}

void projectileFlight(MissionCore& core, int k)
{
    if (core.projectile.x < parkedX)
        moveBy(core.projectile.x, speed(core.frameStep, k));
}

void helicopterCopy(MissionCore& core)
{
    core.heli.x = Sint16(core.heliX);
    core.heli.y = Sint16(core.heliY);
}

void frameEnd(MissionCore& core)
{
    core.frameStep = (tickCount() - core.frameStartTick) / 2;
}
