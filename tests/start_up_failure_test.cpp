// What the game does when its data or its display cannot be had: one message,
// SDL's reason, exit status 1. Each run is a child process in a copy of data/.
#include "child_process.h"
#include "virtual_platform.h"
#include "framework/display.h"
#include "framework/text.h"
#include "menu/menu.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string credits = "Programming and Graphics \n   Brastolmein\n";

struct Program {
    const char* name;
    void (*run)();
    std::vector<std::pair<std::string, std::string>> sprites; // name and file, in load order
};

// The shoot-down mission loads Shoot.bmp a second time for its own projectile,
// after en1sh, so that file can only fail at en1sh.
const Program shootDown{
    "ShootDown", [] { runShootDownMission(0, nullptr, fake::now()); },
    {{"Background", "Background.bmp"}, {"Heli", "Heli.bmp"}, {"en1", "F-1 Rex.bmp"},
     {"en1sh", "Shoot.bmp"}, {"bomber", "B-1 EggFall.bmp"}, {"egg", "Egg.bmp"},
     {"explosion", "Explosion.bmp"}}};
const Program rescueMission{
    "Rescue", [] { runRescueMission(0, nullptr, fake::now()); },
    {{"Background", "Background.bmp"}, {"Heli", "Heli.bmp"}, {"en1", "F-1 Rex.bmp"},
     {"en1sh", "Shoot.bmp"}, {"bomber", "B-1 EggFall.bmp"}, {"triceratops", "Stegosaurus.bmp"},
     {"fallschirm", "Fallschirm.bmp"}, {"explosion", "Explosion.bmp"},
     {"fallschirm2", "Fallschirmoffen.bmp"}}};
const Program menu{"Menu", [] { runMenu(0, nullptr); }, {}};

struct StartUp {
    std::string name;
    const Program* program;
    std::vector<std::string> missing;
    std::string output; // none for a program that is to end with status 0; SDL's words follow a "\n"
    const char* videoDriver = "dummy"; // none: no driver chosen and no display
};

// Each mission needs only its own files. The font ends any program missing it,
// the menu before its credits, which come before the video starts. With a
// sprite's file and every later one gone, the message names it: the ones before
// it loaded, in order.
std::vector<StartUp> startUps()
{
    std::vector<StartUp> cases = {
        {"Rescue_NoEgg", &rescueMission, {"Egg.bmp"}, ""},
        {"ShootDown_NoRescueFiles", &shootDown,
         {"Stegosaurus.bmp", "Fallschirm.bmp", "Fallschirmoffen.bmp"}, ""},
        {"Menu_NoVideo", &menu, {}, credits + "Can't init SDL: \n", "nosuchdriver"},
        {"Menu_NoDisplay", &menu, {}, credits + "Can't init SDL: \n", nullptr}};
    for (const Program* program : {&shootDown, &rescueMission, &menu}) {
        cases.push_back({std::string(program->name) + "_Font", program, {"RZ4417.ttf"},
                         "Can't open Font: \nCouldn't open data/RZ4417.ttf: No such file or directory"});
        std::vector<std::string> missing;
        for (size_t n = program->sprites.size(); n-- > 0;) {
            const auto& [name, file] = program->sprites[n];
            missing.push_back(file);
            cases.push_back({std::string(program->name) + "_" + name, program, missing,
                             "Can't set " + name + ": \nCouldn't open data/" + file + ": No such file or directory"});
        }
    }
    return cases;
}

class StartUpWithout : public testing::TestWithParam<StartUp> {};

TEST_P(StartUpWithout, EndsWithItsMessageAndStatus)
{
    const StartUp& c = GetParam();
    std::string folder = dataFolderWithout(c.missing);
    ChildOutcome outcome = runInChild([&] {
        SDL_Quit();
        if (c.videoDriver)
            setenv("SDL_VIDEODRIVER", c.videoDriver, 1);
        else
            for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"})
                unsetenv(name);
        fake::reset(100);
        fake::pressAt(500, SDLK_ESCAPE); // ends a mission that does start
        c.program->run();
    }, folder);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, c.output.empty() ? 0 : 1);
    if (!c.output.empty() && c.output.back() == '\n') { // each library words its error its own way
        EXPECT_EQ(outcome.output.substr(0, c.output.size()), c.output);
        EXPECT_GT(outcome.output.size(), c.output.size());
    } else
        EXPECT_EQ(outcome.output, c.output);
}

INSTANTIATE_TEST_SUITE_P(Files, StartUpWithout, testing::ValuesIn(startUps()),
                         [](const auto& info) { return info.param.name; });

// A text SDL_ttf could not render is skipped, not drawn. (SDL_ttf itself
// dereferences a null font, so the game must never render with one.)
TEST(TextRendering, FailedTextIsSkipped)
{
    startVideo();
    startFonts();
    TTF_Font* font = openFont(smallFontSize);
    SDL_Surface* empty = renderText(font, "", missionTextColour);
    EXPECT_EQ(empty, nullptr);
    drawText(empty, 450, 350, setGameDisplayMode());
    TTF_CloseFont(font);
}

} // namespace
