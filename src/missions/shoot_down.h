#pragma once
// The shoot-down mission: 30 hits on the fighters and the bomber before the
// countdown runs out, dodging the fighters' shots and the bomber's egg.
#include "framework/fighters.h"
#include "framework/mission_art.h"

int runShootDownMission(int argc, char** argv, int startTick);

namespace shootdown {

enum Sprite { Background, Heli, En1, En1sh, Bomber, Egg, Shoot, Explosion, spriteCount };
enum Text { Zeit, Abgeschossen, StartText, Verloren, Gewonnen, Passwort, textCount };

constexpr int hitsToWin = 30;

// Counts down from 40: the first step after one second, then one every two.
struct Countdown {
    int countdown = 40;
    int countdownBase = 0;
    int countdownThreshold = 1000;
};

struct HitExplosion {
    SDL_Rect at{0, 0, 0, 0};
    bool happened = false; // no explosion before the first hit
    int explosionTick = 0;
};

struct Mission : MissionArt {
    static constexpr int explosionSprite = Explosion;
    static constexpr int lostText = Verloren;

    MissionCore core;
    Squadron squadron;
    SDL_Rect bomber{0, 0, 0, 0};
    SDL_Rect egg{parkedX, parkedY, 0, 0};
    HitExplosion explosion;
    Countdown countdown;
    int hitCount = 0;

    SDL_Surface* countdownText = nullptr;
    SDL_Surface* hitCountText = nullptr;
};

void setUp(Mission& mission, int startTick);
void frame(Mission& mission);
void draw(Mission& mission);
void tearDown(Mission& mission);

// The mission's own rules.
void countdownStep(Countdown& countdown, int missionTime);
bool inTargetZone(const SDL_Rect& target, const SDL_Rect& projectile);
// A hit sends the target back beyond the right edge, parks the projectile and counts.
void hitTest(SDL_Rect& target, SDL_Rect& projectile, HitExplosion& explosion, int& hitCount, int now);
void eggDropStep(SDL_Rect& egg, const SDL_Rect& bomber, const SDL_Rect& heli);
void bomberMoveStep(SDL_Rect& bomber, int frameStep);
void evasionStep(SDL_Rect& target, const SDL_Rect& projectile, int frameStep, int k);
void eggFallStep(SDL_Rect& egg, int frameStep);
bool explosionShown(const HitExplosion& explosion, int now);

} // namespace shootdown
