#pragma once
// A mission's routine from set-up to teardown, the same for every mission.
#include "screens.h"

template <typename Mission>
int runMission(int startTick)
{
    Mission mission;
    setUp(mission, startTick);
    while (!mission.core.missionOver)
        frame(mission);
    endScreen(mission.core, mission.display, mission.sprites[Mission::explosionSprite],
              mission.texts[Mission::lostText]);
    tearDown(mission);
    return 0;
}
