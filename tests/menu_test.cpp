// The menu as the program's main routine, each run in a fresh child process.
// The child reports which screens it flipped, a run of frames at a time:
// "M<n>" for n menu frames, "S" for a shoot-down mission, "R" for a rescue.
#include "child_process.h"
#include "screen_pixels.h"
#include "virtual_platform.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

char screenKind(SDL_Surface* screen)
{
    if (isColour(screen, 2, 2, 255, 255, 0) && isColour(screen, 1000, 700, 255, 255, 0))
        return 'M';
    if (redPixels(screen, SDL_Rect{50, 30, 40, 20}) > 0) // "Zeit:"
        return 'S';
    if (redPixels(screen, SDL_Rect{850, 30, 80, 20}) > 0) // "Gerettete:"
        return 'R';
    return '?';
}

// "SSSMMRRRM" as "S M2 R M1".
std::string screenRuns(const std::string& kinds)
{
    std::string runs;
    for (size_t at = 0, end; at < kinds.size(); at = end) {
        end = std::min(kinds.find_first_not_of(kinds[at], at), kinds.size());
        runs += (runs.empty() ? "" : " ") + kinds.substr(at, 1);
        if (kinds[at] == 'M')
            runs += std::to_string(end - at);
    }
    return runs;
}

using Happening = void (*)(int atMs, SDLKey key);

struct Event {
    int atMs;
    Happening happen;
    SDLKey key;
};

struct MenuCase {
    const char* name;
    std::vector<Event> events;
    std::string screens;
};

class Menu : public testing::TestWithParam<MenuCase> {};

// Starts with a clean SDL, as a new process would, scripts the events and runs
// the menu. Mission lengths are set by Escape, which the mission drains itself.
TEST_P(Menu, ShowsTheseScreensThenEnds)
{
    ChildOutcome outcome = runInChild([events = GetParam().events] {
        SDL_Quit();
        fake::reset();
        for (const Event& event : events)
            event.happen(event.atMs, event.key);
        std::string kinds;
        fake::onFlip([&](SDL_Surface* screen) { kinds += screenKind(screen); });
        int status = runMenu(0, nullptr);
        std::printf("%s\n", screenRuns(kinds).c_str());
        std::fflush(stdout);
        _exit(status);
    });
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.output,
              "Programming and Graphics \n   Brastolmein\n" + GetParam().screens + "\n");
}

constexpr Happening p = fake::pressAt, r = fake::releaseAt,
                    q = [](int atMs, SDLKey) { fake::quitAt(atMs); };

// The menu starts 300 ms after the credits and flips every 16 ms: 2 at 1000 ms
// is taken at its 45th frame. The password is m, k and r held together.
INSTANTIATE_TEST_SUITE_P(
    Keys, Menu,
    testing::Values(
        MenuCase{"OneAndTwoTogether",
                 {{0, p, SDLK_1}, {0, p, SDLK_2}, {1000, p, SDLK_ESCAPE}}, "S M1"},
        MenuCase{"OneHeldAcrossTheEndStartsAgainAfterOneMenuFrame",
                 {{0, p, SDLK_1}, {1000, p, SDLK_ESCAPE}, {2000, r, SDLK_ESCAPE},
                  {6000, p, SDLK_ESCAPE}, {6000, r, SDLK_1}, {6000, p, SDLK_2}},
                 "S M1 S M1"},
        MenuCase{"M", {{0, p, SDLK_m}, {1000, p, SDLK_2}}, "M45"},
        MenuCase{"MK", {{0, p, SDLK_m}, {0, p, SDLK_k}, {1000, p, SDLK_2}}, "M45"},
        MenuCase{"MR", {{0, p, SDLK_m}, {0, p, SDLK_r}, {1000, p, SDLK_2}}, "M45"},
        MenuCase{"Password",
                 {{0, p, SDLK_m}, {0, p, SDLK_k}, {0, p, SDLK_r}, {1000, r, SDLK_m},
                  {1000, p, SDLK_ESCAPE}, {1000, p, SDLK_2}},
                 "R M1"},
        MenuCase{"QuitRequest", {{500, q, SDLK_UNKNOWN}}, "M14"},
        // The quit request arrives during the mission's end screen, so the
        // first drain to see it is the password check's, right after the
        // mission in the same pass; a menu that lost it would go on until 2.
        MenuCase{"QuitRequestTakenByThePasswordCheck",
                 {{0, p, SDLK_1}, {0, p, SDLK_m}, {1000, p, SDLK_ESCAPE}, {1000, r, SDLK_1},
                  {2000, q, SDLK_UNKNOWN}, {8000, p, SDLK_2}},
                 "S M1"}),
    [](const testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.name); });

} // namespace
