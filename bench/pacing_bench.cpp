// Frame pacing of the real platform, measured on the shoot-down mission's own
// frames: `pacing_bench [FRAMES [ROUND_TRIPS]]` (default 2000 and 50), run from
// the folder holding data/ with a display at 1024x768x16 (bench/run.sh starts
// one).
//
// Prints how often frameStep is 8 (the step the game's speeds were tuned for),
// the other steps seen, the median frame length and the CPU share the frames
// use; then the missions' set-up time (from the tick the menu would read to the
// end of the first frame's flip) and the resident size over round trips into
// both missions and back; then what one full-screen blit costs from a 24-bit
// surface and from one in the display's format, which is why sprites are
// converted as they load. It prints figures only; nothing here passes or fails.
#include "framework/display.h"
#include "framework/platform.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int defaultFrames = 2000;
constexpr int defaultRoundTrips = 50;
constexpr int framesPerTrip = 3;
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

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string field;
    long kb = 0;
    while (status >> field)
        if (field == "VmRSS:" && status >> kb)
            break;
    return kb;
}

// One trip into a mission and back, as from the menu: set-up, a few frames,
// teardown. Returns the set-up time up to the first frame's end, in ms. It
// starts a period after the last frame, so that the first frame's flip is not
// held back to the beat and only the set-up and that frame are timed.
template <typename Mission>
double roundTrip()
{
    sleepMs(20);
    Mission mission;
    Clock::time_point start = Clock::now();
    setUp(mission, tickCount());
    frame(mission);
    double setUpMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    for (int i = 1; i < framesPerTrip; ++i)
        frame(mission);
    tearDown(mission);
    return setUpMs;
}

void printSpread(const char* what, std::vector<double> values, const char* unit)
{
    std::sort(values.begin(), values.end());
    std::printf("%s: median %.1f %s (min %.1f, max %.1f)\n", what, median(values), unit,
                values.front(), values.back());
}

void measureRoundTrips(int trips)
{
    std::vector<double> shootDownMs, rescueMs, residentAfterTen;
    std::vector<long> residentAt(std::size_t(trips) + 1, 0);
    residentAt[0] = residentKb();
    for (int trip = 1; trip <= trips; ++trip) {
        shootDownMs.push_back(roundTrip<shootdown::Mission>());
        rescueMs.push_back(roundTrip<rescue::Mission>());
        residentAt[std::size_t(trip)] = residentKb();
        if (trip >= 10)
            residentAfterTen.push_back(double(residentAt[std::size_t(trip)]));
    }
    printSpread("shoot-down set-up to its first frame", shootDownMs, "ms");
    printSpread("rescue set-up to its first frame", rescueMs, "ms");
    std::printf("resident size over %d round trips into both missions: before %ld kB", trips,
                residentAt[0]);
    for (int trip : {1, 10, 25, 50})
        if (trip <= trips)
            std::printf(", after %d: %ld kB", trip, residentAt[std::size_t(trip)]);
    std::printf("\n");
    if (!residentAfterTen.empty())
        printSpread("resident size from the tenth trip on", residentAfterTen, "kB");
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
    int trips = argc > 2 ? std::atoi(argv[2]) : defaultRoundTrips;
    if (frameLimit < 1 || trips < 1) {
        std::fprintf(stderr, "usage: %s [FRAMES [ROUND_TRIPS]]  (both >= 1, default %d and %d)\n",
                     argv[0], defaultFrames, defaultRoundTrips);
        return 2;
    }
    measureFrames(frameLimit);
    measureRoundTrips(trips);
    measureBlits();
    SDL_Quit();
    return 0;
}
