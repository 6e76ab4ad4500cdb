// Which frame deadline gives steadier frames on a busy machine: one period
// after the previous frame really ended (the game's pacer, which lets a
// wake-up within its slack count as on time) or one period after it was due
// (a fixed beat, which makes the frame after a late one shorter).
// `pace_rules_bench [FRAMES]` (default 2000 per rule) runs the floor's frame
// (a full-screen background blit and a flip) under each rule in turn, in
// blocks of 100 frames so that both see the same load, sleeping to each
// deadline as the platform does, and measures frames the game's way: whole
// milliseconds from one frame's end to the next, halved into frameStep. Run
// from the folder holding data/ with a display at 1024x768x16, best with the
// machine deliberately loaded (bench/README.md).
#include "framework/display.h"
#include "framework/pacer.h"
#include "framework/sprites.h"

#include <errno.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr int blockFrames = 100;

int64_t monotonicUs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

struct Rule {
    const char* name;
    bool fixedBeat;
    Pacer pacer;
    int64_t lastEndMs = -1;
    std::vector<int> frameMs;
};

void runFrame(Rule& rule, SDL_Surface* background, SDL_Surface* display)
{
    SDL_Rect at{0, 0, 0, 0};
    drawAt(background, at, display);
    SDL_Flip(display);
    int64_t deadlineUs = frameDeadline(rule.pacer, monotonicUs());
    timespec deadline{time_t(deadlineUs / 1000000), long(deadlineUs % 1000000) * 1000};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
    int64_t endUs = monotonicUs();
    // The beat is kept unless the wake-up came a whole period late, so that a
    // stall is not followed by a run of short frames.
    if (rule.fixedBeat)
        rule.pacer.frameEndUs = endUs - deadlineUs < framePeriodUs ? deadlineUs : endUs;
    else
        frameEnded(rule.pacer, deadlineUs, endUs);
    if (rule.lastEndMs >= 0)
        rule.frameMs.push_back(int(endUs / 1000 - rule.lastEndMs));
    rule.lastEndMs = endUs / 1000;
}

void report(const Rule& rule)
{
    std::map<int, int> steps;
    double sum = 0, squares = 0;
    for (int ms : rule.frameMs) {
        ++steps[ms / 2];
        sum += ms;
        squares += double(ms) * ms;
    }
    auto frames = double(rule.frameMs.size());
    std::vector<int> sorted = rule.frameMs;
    std::sort(sorted.begin(), sorted.end());
    auto at = [&](double share) { return sorted[std::size_t(share * (frames - 1))]; };
    std::printf("%-9s frameStep 8: %5.1f%%  median %d ms  5%%..95%%: %d..%d ms  mean %.2f ms"
                "  deviation %.2f ms\n  frameStep histogram:",
                rule.name, 100.0 * steps[8] / frames, at(0.5), at(0.05), at(0.95), sum / frames,
                std::sqrt(squares / frames - (sum / frames) * (sum / frames)));
    for (const auto& [step, count] : steps)
        std::printf(" %d:%d", step, count);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    int frames = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (frames < blockFrames) {
        std::fprintf(stderr, "usage: %s [FRAMES]  (FRAMES >= %d, default 2000)\n", argv[0],
                     blockFrames);
        return 2;
    }
    startVideo();
    SDL_Surface* display = setGameDisplayMode();
    const SpriteFile backgroundFile{"Background", "data/Background.bmp"};
    SDL_Surface* background = nullptr;
    loadSprites(&backgroundFile, 1, &background);

    Rule rules[] = {{"real end", false, {}, -1, {}}, {"beat", true, {}, -1, {}}};
    for (int block = 0; block < frames / blockFrames; ++block)
        for (Rule& rule : rules) {
            // Each block starts afresh, as after a stall.
            rule.pacer = Pacer{};
            rule.lastEndMs = -1;
            for (int i = 0; i < blockFrames; ++i)
                runFrame(rule, background, display);
        }
    for (const Rule& rule : rules)
        report(rule);
    SDL_FreeSurface(background);
    SDL_Quit();
    return 0;
}
