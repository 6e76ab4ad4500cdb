// The menu in a child process, which reports the screens it flipped, a run at a time ("M<n>": n
// menu frames, yellow with both blue lines in place; "S", "R" the missions, "V" an end screen),
// and runMenu's result.
#include "child_process.h"
#include "headless.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

char screenKind(SDL_Surface* screen)
{
    const Uint32 yellow = colourBits(screen, sixteenBitPixel(screen->format, 255, 255, 0));
    const SDL_Color blue{0, 0, 255, 0};
    if (colourAt(screen, 0, 0) == yellow && colourAt(screen, 1023, 767) == yellow &&
        textAt(screen, "1-Neues Spiel", 24, 400, 300, blue) && textAt(screen, "2-Beenden", 24, 400, 350, blue))
        return 'M';
    if (textAt(screen, "Verloren", 24, 450, 350))
        return 'V'; // a mission's end screen
    return textAt(screen, "Zeit:", 18, 50, 30) ? 'S' : textAt(screen, "Gerettete:", 18, 850, 30) ? 'R' : '?';
}

using Happening = void (*)(int atMs, SDLKey key);
constexpr Happening p = scripted::pressAt, q = [](int atMs, SDLKey) { scripted::quitAt(atMs); };

struct MenuCase {
    const char* name;
    std::vector<std::tuple<int, Happening, SDLKey>> events;
    std::string screens;
    int drain = 0; // at this drain a key is held, or a quit request comes with SDLK_UNKNOWN
    SDLKey atDrain = SDLK_UNKNOWN;
};

class Menu : public testing::TestWithParam<MenuCase> {};

TEST_P(Menu, ShowsTheseScreensThenEnds)
{
    const MenuCase& c = GetParam();
    const auto [output, status] = runInChild([&] {
        SDL_Quit();
        scripted::reset();
        for (auto [atMs, happen, key] : c.events)
            happen(atMs, key);
        scripted::onDrain([&](int drain) {
            if (drain == c.drain)
                c.atDrain ? scripted::hold(c.atDrain) : scripted::quitAt(scripted::now());
        });
        std::string kinds, runs;
        scripted::onFlip([&](SDL_Surface* screen) { kinds += screenKind(screen); });
        const int status = runMenu(0, nullptr);
        for (size_t at = 0, end; at < kinds.size(); at = end) {
            end = std::min(kinds.find_first_not_of(kinds[at], at), kinds.size());
            runs += (at ? " " : "") + (kinds[at] == 'M' ? "M" + std::to_string(end - at) : kinds.substr(at, 1));
        }
        std::printf("%s/%d\n", runs.c_str(), status);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, "Programming and Graphics \n   Brastolmein\n" + c.screens + "/0\n");
}

// The menu starts 300 ms after the credits and flips every 16 ms: a quit request at 509 ms is
// taken at its 15th frame. Missions end by Escape. The password is m, k, r held together, each
// looked at after a drain of its own; a quit request taken there ends the menu, starting nothing.
INSTANTIATE_TEST_SUITE_P(Keys, Menu, testing::Values(
    MenuCase{"OneAndTwoTogether", {{0, p, SDLK_1}, {0, p, SDLK_2}, {1000, p, SDLK_ESCAPE}}, "S V M1"},
    MenuCase{"QuitRequestWithOneInTheSamePass", {{0, q, SDLK_1}, {0, p, SDLK_1}, {1000, p, SDLK_ESCAPE}}, "S V M1"},
    MenuCase{"QuitRequest", {{509, q, SDLK_UNKNOWN}}, "M15"},
    MenuCase{"MAndROnly", {{0, p, SDLK_m}, {0, p, SDLK_r}, {1000, p, SDLK_2}}, "M45"},
    MenuCase{"Password", {{0, p, SDLK_m}, {0, p, SDLK_k}, {0, p, SDLK_r}, {1000, p, SDLK_ESCAPE}, {1000, p, SDLK_2}},
        "R V M1"},
    MenuCase{"RSeenAtTheSecondDrain", {{0, p, SDLK_m}, {0, p, SDLK_k}, {1000, p, SDLK_ESCAPE}, {1000, p, SDLK_2}},
        "R V M1", 3, SDLK_r},
    MenuCase{"QuitRequestAtThePasswordChecksFirstDrain", {{0, p, SDLK_m}, {0, p, SDLK_k}, {0, p, SDLK_r}}, "M1", 2},
    MenuCase{"QuitRequestDuringAnEndScreenTakenByThePasswordCheck", {{0, p, SDLK_1}, {0, p, SDLK_m},
        {1000, p, SDLK_ESCAPE}, {2000, q, SDLK_UNKNOWN}, {8000, p, SDLK_2}}, "S V M1"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
