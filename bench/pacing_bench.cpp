// Frame pacing of the real platform, measured on the shoot-down mission's own
// frames: `pacing_bench [FRAMES]` (default 1200), run from the folder holding
// data/ with a display at 1024x768x16 (bench/run_pacing.sh starts one).
//
// Prints how often frameStep is 8 (the step the game's speeds were tuned for),
// the other steps seen, the median frame length and the CPU share the frames
// use; then what one full-screen blit costs from a 24-bit surface and from one
// in the display's format, which is why sprites are converted as they load.
// It prints figures only; nothing here passes or fails.
#include "framework/display.h"
#include "framework/platform.h"
#include "missions/shoot_down.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int defaultFrames = 1200;
constexpr int blitsEach = 300;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void measureFrames(int frameLimit)
{
    shootdown::Mission mission;
    shootdown::setUp(mission, tickCount());

    std::map<int, int> steps;
    std::vector<double> frameMs;
    double cpuStart = cpuSeconds();
    Clock::time_point start = Clock::now();
    Clock::time_point frameEnd = start;
    // The helicopter just sits, so a fighter's shot may end the mission early;
    // the frames up to then are measured all the same.
    while (int(frameMs.size()) < frameLimit && !mission.core.missionOver) {
        shootdown::frame(mission);
        Clock::time_point now = Clock::now();
        frameMs.push_back(std::chrono::duration<double, std::milli>(now - frameEnd).count());
        frameEnd = now;
        ++steps[mission.core.frameStep];
    }
    double wall = secondsSince(start);
    double cpu = cpuSeconds() - cpuStart;
    shootdown::tearDown(mission);

    int frames = int(frameMs.size());
    std::printf("shoot-down frames: %d%s\n", frames,
                mission.core.missionOver ? " (the mission ended before the limit)" : "");
    std::printf("frameStep 8: %.1f%% of frames\n", 100.0 * steps[8] / frames);
    std::printf("frameStep histogram:");
    for (const auto& [step, count] : steps)
        std::printf(" %d:%d", step, count);
    std::printf("\nmedian frame length: %.2f ms\n", median(frameMs));
    std::printf("CPU used by the frames: %.1f%% of one core (%.2f s CPU in %.2f s)\n",
                100.0 * cpu / wall, cpu, wall);
}

double medianBlitUs(SDL_Surface* source, SDL_Surface* display)
{
    std::vector<double> blitUs;
    for (int i = 0; i < blitsEach; ++i) {
        SDL_Rect at{0, 0, 0, 0};
        Clock::time_point start = Clock::now();
        SDL_BlitSurface(source, nullptr, display, &at);
        blitUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return median(blitUs);
}

void measureBlits()
{
    SDL_Surface* display = SDL_GetVideoSurface();
    SDL_Surface* fromFile = SDL_LoadBMP("data/Background.bmp");
    SDL_Surface* converted = fromFile ? SDL_DisplayFormat(fromFile) : nullptr;
    if (!converted) {
        std::printf("blits: cannot load and convert data/Background.bmp: %s\n", SDL_GetError());
        SDL_FreeSurface(fromFile);
        return;
    }
    double fileUs = medianBlitUs(fromFile, display);
    double displayUs = medianBlitUs(converted, display);
    std::printf("full-screen blit onto the %d-bit display, median of %d each:\n",
                display->format->BitsPerPixel, blitsEach);
    std::printf("  %d-bit as loaded: %.0f us\n", fromFile->format->BitsPerPixel, fileUs);
    std::printf("  display format:  %.0f us\n", displayUs);
    std::printf("  ratio: %.1f\n", fileUs / displayUs);
    SDL_FreeSurface(converted);
    SDL_FreeSurface(fromFile);
}

} // namespace

int main(int argc, char** argv)
{
    int frameLimit = argc > 1 ? std::atoi(argv[1]) : defaultFrames;
    if (frameLimit < 1) {
        std::fprintf(stderr, "usage: %s [FRAMES]  (FRAMES >= 1, default %d)\n", argv[0],
                     defaultFrames);
        return 2;
    }
    measureFrames(frameLimit);
    measureBlits();
    SDL_Quit();
    return 0;
}
