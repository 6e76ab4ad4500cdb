// Set-up: each mission's sprites in their order with white keyed out where it should be, and
// the ends when data or the display cannot be had: our message, SDL's reason, exit status 1.
#include "child_process.h"
#include "headless.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct Sprite {
    std::string name, file;
    bool keyed;
};
struct Program {
    void (*run)();
    std::vector<Sprite> sprites; // in load order
};
const Program shootDown{[] { runShootDownMission(0, nullptr, fake::now()); },
    {{"Background", "Background.bmp", false}, {"Heli", "Heli.bmp", true}, {"en1", "F-1 Rex.bmp", true},
     {"en1sh", "Shoot.bmp", false}, {"bomber", "B-1 EggFall.bmp", true}, {"egg", "Egg.bmp", true},
     {"shoot", "Shoot.bmp", false}, {"explosion", "Explosion.bmp", true}}};
const Program rescueMission{[] { runRescueMission(0, nullptr, fake::now()); },
    {{"Background", "Background.bmp", false}, {"Heli", "Heli.bmp", true}, {"en1", "F-1 Rex.bmp", true},
     {"en1sh", "Shoot.bmp", false}, {"bomber", "B-1 EggFall.bmp", true}, {"triceratops", "Stegosaurus.bmp", true},
     {"fallschirm", "Fallschirm.bmp", false}, {"explosion", "Explosion.bmp", true},
     {"fallschirm2", "Fallschirmoffen.bmp", true}}};
const Program menu{[] { runMenu(0, nullptr); }, {}};

// Each sprite is its file's bitmap; white is transparent in a keyed one, drawn in any other.
// The rescue mission's keyed sprites are run-length encoded.
template <class Mission>
void expectSprites(const Program& program)
{
    HeadlessMission<Mission> run;
    SDL_Surface* display = run.mission.display;
    const Uint16 white = Uint16(SDL_MapRGB(display->format, 255, 255, 255));
    for (size_t n = 0; n < program.sprites.size(); ++n) {
        const Sprite& expected = program.sprites[n];
        SDL_Surface *sprite = run.mission.sprites[n], *file = SDL_LoadBMP(("data/" + expected.file).c_str());
        EXPECT_EQ(where(sprite->w, sprite->h), where(file->w, file->h)) << expected.name;
        SDL_FreeSurface(file);
        SDL_LockSurface(sprite);
        *static_cast<Uint16*>(sprite->pixels) = white;
        SDL_UnlockSurface(sprite);
        SDL_FillRect(display, nullptr, 0);
        SDL_BlitSurface(sprite, nullptr, display, nullptr);
        EXPECT_EQ(*static_cast<Uint16*>(display->pixels) == white, !expected.keyed) << expected.name;
        const bool encoded = sprite->flags & (SDL_RLEACCEL | SDL_RLEACCELOK);
        EXPECT_EQ(encoded, expected.keyed && &program == &rescueMission) << expected.name;
    }
}

TEST(Sprites, LoadInOrderWithWhiteKeyedOutWhereItShouldBe)
{
    expectSprites<shootdown::Mission>(shootDown);
    expectSprites<rescue::Mission>(rescueMission);
}

// What a program prints and its exit status without the named files; Escape ends a mission.
std::pair<std::string, int> startWithout(const Program& program, const std::vector<std::string>& missing,
                                         const char* videoDriver = "dummy")
{
    char pattern[] = "/tmp/heli-data-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    fs::copy(fs::path(HELI_SOURCE_DIR) / "data", folder / "data");
    for (const std::string& name : missing)
        fs::remove(folder / "data" / name);
    ChildOutcome outcome = runInChild([&] {
        SDL_Quit();
        setenv("SDL_VIDEODRIVER", videoDriver, 1);
        fake::reset(100);
        fake::pressAt(500, SDLK_ESCAPE);
        program.run();
    }, folder);
    fs::remove_all(folder);
    return {outcome.output, outcome.exitStatus};
}

// Without a file and all later ones, the first sprite that needs one is named. Each mission
// needs only its own files, every program the font.
TEST(StartUp, EndsWithItsMessageAndStatusOne)
{
    auto expectFailure = [](const std::pair<std::string, int>& outcome, const std::string& message) {
        EXPECT_EQ(outcome.first.substr(0, message.size()), message); // then SDL's reason, in its own words
        EXPECT_GT(outcome.first.size(), message.size()) << "no reason after " << message;
        EXPECT_EQ(outcome.second, 1) << message;
    };
    expectFailure(startWithout(menu, {}, "nosuchdriver"),
                  "Programming and Graphics \n   Brastolmein\nCan't init SDL: \n");
    for (const Program* program : {&shootDown, &rescueMission, &menu}) {
        expectFailure(startWithout(*program, {"RZ4417.ttf"}), "Can't open Font: \n");
        std::vector<std::string> missing;
        for (auto sprite = program->sprites.rbegin(); sprite != program->sprites.rend(); ++sprite) {
            missing.push_back(sprite->file);
            auto first = std::find_if(program->sprites.begin(), program->sprites.end(), [&](const Sprite& s) {
                return std::count(missing.begin(), missing.end(), s.file) > 0;
            });
            expectFailure(startWithout(*program, missing), "Can't set " + first->name + ": \n");
        }
    }
    EXPECT_EQ(startWithout(rescueMission, {"Egg.bmp"}), std::pair(std::string(), 0));
    EXPECT_EQ(startWithout(shootDown, {"Stegosaurus.bmp", "Fallschirm.bmp", "Fallschirmoffen.bmp"}),
              std::pair(std::string(), 0));
}

} // namespace
