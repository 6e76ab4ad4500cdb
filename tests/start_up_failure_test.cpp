// What the game does when its data or its display cannot be had: one message,
// SDL's reason, exit status 1. Each run is a child process in a copy of data/.
#include "child_process.h"
#include "screen_pixels.h"
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
#include <vector>

namespace {

const std::string credits = "Programming and Graphics \n   Brastolmein\n";

struct SpriteFile {
    std::string name;
    std::string file;
};

// Each mission's load order. The shoot-down mission loads Shoot.bmp a second
// time for its own projectile, after en1sh, so that file can only fail at en1sh.
const std::vector<SpriteFile> shootDownSprites = {
    {"Background", "Background.bmp"}, {"Heli", "Heli.bmp"},      {"en1", "F-1 Rex.bmp"},
    {"en1sh", "Shoot.bmp"},           {"bomber", "B-1 EggFall.bmp"}, {"egg", "Egg.bmp"},
    {"explosion", "Explosion.bmp"},
};
const std::vector<SpriteFile> rescueSprites = {
    {"Background", "Background.bmp"},
    {"Heli", "Heli.bmp"},
    {"en1", "F-1 Rex.bmp"},
    {"en1sh", "Shoot.bmp"},
    {"bomber", "B-1 EggFall.bmp"},
    {"triceratops", "Stegosaurus.bmp"},
    {"fallschirm", "Fallschirm.bmp"},
    {"explosion", "Explosion.bmp"},
    {"fallschirm2", "Fallschirmoffen.bmp"},
};

struct Program {
    const char* name;
    void (*run)();
};

const Program shootDown{"ShootDown", [] { runShootDownMission(0, nullptr, fake::now()); }};
const Program rescueMission{"Rescue", [] { runRescueMission(0, nullptr, fake::now()); }};
const Program menu{"Menu", [] { runMenu(0, nullptr); }};

// Runs the program from a copy of data/ without the named files; Escape ends
// a mission that does start.
ChildOutcome runWithout(const Program& program, const std::vector<std::string>& missing)
{
    std::string folder = dataFolderWithout(missing);
    ChildOutcome outcome = runInChild(
        [&] {
            SDL_Quit();
            fake::reset(100);
            fake::pressAt(500, SDLK_ESCAPE);
            program.run();
        },
        folder);
    std::filesystem::remove_all(folder);
    return outcome;
}

void expectFailure(const ChildOutcome& outcome, const std::string& output)
{
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(outcome.output, output);
}

struct MissingSprite {
    const Program* mission;
    const std::vector<SpriteFile>* sprites;
    size_t index;
};

std::vector<MissingSprite> everySprite()
{
    std::vector<MissingSprite> cases;
    for (size_t n = 0; n < shootDownSprites.size(); ++n)
        cases.push_back({&shootDown, &shootDownSprites, n});
    for (size_t n = 0; n < rescueSprites.size(); ++n)
        cases.push_back({&rescueMission, &rescueSprites, n});
    return cases;
}

class SpriteMissing : public testing::TestWithParam<MissingSprite> {};

// This sprite's file and every later one are gone: the message must name this
// one, so the ones before it loaded, in order, and it was tried first.
TEST_P(SpriteMissing, NamesTheFirstOneInLoadOrder)
{
    const MissingSprite& c = GetParam();
    const std::vector<SpriteFile>& sprites = *c.sprites;
    std::vector<std::string> missing;
    for (size_t n = c.index; n < sprites.size(); ++n)
        missing.push_back(sprites[n].file);
    expectFailure(runWithout(*c.mission, missing), "Can't set " + sprites[c.index].name +
                                                       ": \nCouldn't open data/" +
                                                       sprites[c.index].file);
}

INSTANTIATE_TEST_SUITE_P(BothMissions, SpriteMissing, testing::ValuesIn(everySprite()),
                         [](const testing::TestParamInfo<MissingSprite>& info) {
                             return std::string(info.param.mission->name) + "_" +
                                    (*info.param.sprites)[info.param.index].name;
                         });

TEST(MissionData, EachMissionNeedsOnlyItsOwnFiles)
{
    for (auto [program, missing] :
         {std::pair{&rescueMission, std::vector<std::string>{"Egg.bmp"}},
          std::pair{&shootDown, std::vector<std::string>{"Stegosaurus.bmp", "Fallschirm.bmp",
                                                         "Fallschirmoffen.bmp"}}}) {
        ChildOutcome outcome = runWithout(*program, missing);
        EXPECT_TRUE(outcome.exited) << program->name;
        EXPECT_EQ(outcome.exitStatus, 0) << program->name;
        EXPECT_EQ(outcome.output, "") << program->name;
    }
}

class FontMissing : public testing::TestWithParam<const Program*> {};

// The menu opens its font before it shows the credits.
TEST_P(FontMissing, EndsTheGame)
{
    expectFailure(runWithout(*GetParam(), {"RZ4417.ttf"}),
                  "Can't open Font: \nCouldn't open data/RZ4417.ttf");
}

INSTANTIATE_TEST_SUITE_P(Everywhere, FontMissing,
                         testing::Values(&shootDown, &rescueMission, &menu),
                         [](const testing::TestParamInfo<const Program*>& info) {
                             return std::string(info.param->name);
                         });

// SDL's own reason varies with the driver; the game's part is fixed.
TEST(VideoStart, CreditsComeBeforeTheFailure)
{
    ChildOutcome outcome = runInChild([] {
        SDL_Quit();
        setenv("SDL_VIDEODRIVER", "nosuchdriver", 1);
        fake::reset();
        runMenu(0, nullptr);
    });
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, 1);
    const std::string expected = credits + "Can't init SDL: \n";
    EXPECT_EQ(outcome.output.substr(0, expected.size()), expected);
}

// A text SDL_ttf could not render is skipped, not drawn. (SDL_ttf itself
// dereferences a null font, so the game must never render with one.)
TEST(TextRendering, FailedTextIsSkipped)
{
    startVideo();
    SDL_Surface* display = setGameDisplayMode();
    startFonts();
    TTF_Font* font = openFont(smallFontSize);
    SDL_Surface* empty = renderText(font, "", missionTextColour);
    EXPECT_EQ(empty, nullptr);
    SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, 0, 0, 255));
    drawText(empty, 450, 350, display);
    EXPECT_TRUE(isColour(display, 450, 350, 0, 0, 255));
    TTF_CloseFont(font);
}

} // namespace
