// The menu as the program's main routine, each run in a fresh child process.
// The child reports which screens it flipped, a run of frames at a time:
// "M<n>" for n menu frames, "S" for a shoot-down mission, "R" for a rescue.
#include "child_process.h"
#include "screen_pixels.h"
#include "virtual_platform.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string credits = "Programming and Graphics \n   Brastolmein\n";

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

struct ScreenRuns {
    std::string text;
    char kind = 0;
    int length = 0;

    void add(char next)
    {
        if (next != kind)
            close();
        kind = next;
        ++length;
    }
    void close()
    {
        if (length == 0)
            return;
        text += (text.empty() ? "" : " ") + std::string(1, kind);
        if (kind == 'M')
            text += std::to_string(length);
        length = 0;
    }
};

// Starts with a clean SDL, as a new process would, scripts the keys and runs
// the menu; prints the screens after the credits and exits with the menu's
// status.
ChildOutcome runMenuWith(const std::function<void()>& script)
{
    return runInChild([&] {
        SDL_Quit();
        fake::reset();
        script();
        ScreenRuns runs;
        fake::onFlip([&](SDL_Surface* screen) { runs.add(screenKind(screen)); });
        int status = runMenu(0, nullptr);
        runs.close();
        std::printf("%s\n", runs.text.c_str());
        std::fflush(stdout);
        _exit(status);
    });
}

void expectScreens(const ChildOutcome& outcome, const std::string& screens)
{
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.output, credits + screens + "\n");
}

// Mission lengths below are set by Escape, which the mission drains itself.
TEST(Menu, OneAndTwoTogetherPlayOnceThenEnd)
{
    expectScreens(runMenuWith([] {
                      fake::pressAt(0, SDLK_1);
                      fake::pressAt(0, SDLK_2);
                      fake::pressAt(1000, SDLK_ESCAPE);
                  }),
                  "S M1");
}

TEST(Menu, OneHeldAcrossTheEndStartsAgainAfterOneMenuFrame)
{
    expectScreens(runMenuWith([] {
                      fake::pressAt(0, SDLK_1);
                      fake::pressAt(1000, SDLK_ESCAPE);
                      fake::releaseAt(2000, SDLK_ESCAPE);
                      fake::pressAt(6000, SDLK_ESCAPE);
                      fake::releaseAt(6000, SDLK_1);
                      fake::pressAt(6000, SDLK_2);
                  }),
                  "S M1 S M1");
}

class MenuPassword : public testing::TestWithParam<std::vector<SDLKey>> {};

// The menu starts at 300 ms after the credits and flips every 16 ms; 2 at
// 1000 ms is taken at its 45th frame.
TEST_P(MenuPassword, IncompleteStartsNothing)
{
    expectScreens(runMenuWith([keys = GetParam()] {
                      for (SDLKey key : keys) {
                          fake::pressAt(0, key);
                          fake::releaseAt(1000, key);
                      }
                      fake::pressAt(1000, SDLK_2);
                  }),
                  "M45");
}

INSTANTIATE_TEST_SUITE_P(Letters, MenuPassword,
                         testing::Values(std::vector<SDLKey>{SDLK_m},
                                         std::vector<SDLKey>{SDLK_m, SDLK_k},
                                         std::vector<SDLKey>{SDLK_m, SDLK_r},
                                         std::vector<SDLKey>{SDLK_k, SDLK_r}));

TEST(Menu, FullPasswordStartsTheRescue)
{
    expectScreens(runMenuWith([] {
                      for (SDLKey key : {SDLK_m, SDLK_k, SDLK_r}) {
                          fake::pressAt(0, key);
                          fake::releaseAt(1000, key);
                      }
                      fake::pressAt(1000, SDLK_ESCAPE);
                      fake::pressAt(1000, SDLK_2);
                  }),
                  "R M1");
}

TEST(Menu, QuitRequestEndsIt)
{
    expectScreens(runMenuWith([] { fake::quitAt(500); }), "M14");
}

// The quit request arrives during the mission's end screen, so the first drain
// to see it is the password check's, right after the mission in the same pass.
// A menu that lost it would go on until 2.
TEST(Menu, QuitRequestTakenByThePasswordCheckEndsIt)
{
    expectScreens(runMenuWith([] {
                      fake::pressAt(0, SDLK_1);
                      fake::pressAt(0, SDLK_m);
                      fake::pressAt(1000, SDLK_ESCAPE);
                      fake::releaseAt(1000, SDLK_1);
                      fake::quitAt(2000);
                      fake::pressAt(8000, SDLK_2);
                  }),
                  "S M1");
}

} // namespace
