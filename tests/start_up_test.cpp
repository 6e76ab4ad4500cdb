// Set-up: the sprites in their order, white keyed out where it should be, and the failures.
#include "child_process.h"
#include "game_texts.h"
#include "headless.h"
#include "framework/display.h"
#include "menu/menu.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

using Sprite = std::tuple<std::string, std::string, bool>; // name, file, keyed
struct Program {
    void (*run)();
    std::vector<Sprite> sprites; // in load order
};
const Program shootDown{[] { runShootDownMission(0, nullptr, scripted::now()); },
    {{"Background", "Background.bmp", false}, {"Heli", "Heli.bmp", true}, {"en1", "F-1 Rex.bmp", true},
     {"en1sh", "Shoot.bmp", false}, {"bomber", "B-1 EggFall.bmp", true}, {"egg", "Egg.bmp", true},
     {"shoot", "Shoot.bmp", false}, {"explosion", "Explosion.bmp", true}}};
const Program rescueMission{[] { runRescueMission(0, nullptr, scripted::now()); },
    {{"Background", "Background.bmp", false}, {"Heli", "Heli.bmp", true}, {"en1", "F-1 Rex.bmp", true},
     {"en1sh", "Shoot.bmp", false}, {"bomber", "B-1 EggFall.bmp", true}, {"triceratops", "Stegosaurus.bmp", true},
     {"fallschirm", "Fallschirm.bmp", false}, {"explosion", "Explosion.bmp", true},
     {"fallschirm2", "Fallschirmoffen.bmp", true}}};
const Program menu{[] { runMenu(0, nullptr); }, {}};

// Each sprite is its file's bitmap; white is transparent in a keyed one, drawn in any other.
TEST(Sprites, LoadInOrderWithWhiteKeyedOutWhereItShouldBe)
{
    auto expectSprites = [](const Program& program, auto&& run) {
        SDL_Surface* display = run.mission.display;
        const Uint32 white = sixteenBitPixel(display->format, 255, 255, 255); // as the sprite holds it
        for (size_t n = 0; n < program.sprites.size(); ++n) {
            const auto& [name, file, keyed] = program.sprites[n];
            SDL_Surface *sprite = run.mission.sprites[n], *bitmap = SDL_LoadBMP(("data/" + file).c_str());
            EXPECT_EQ(where(sprite->w, sprite->h), where(bitmap->w, bitmap->h)) << name;
            SDL_FreeSurface(bitmap);
            SDL_LockSurface(sprite);
            SDL_Rect corner{0, 0, 1, 1};
            SDL_FillRect(sprite, &corner, white);
            SDL_UnlockSurface(sprite);
            SDL_FillRect(display, nullptr, 0);
            SDL_BlitSurface(sprite, nullptr, display, nullptr);
            EXPECT_EQ(colourAt(display, 0, 0) == colourBits(display, white), !keyed) << name;
            // The rescue's keyed ones are run-length encoded; sdl12-compat (1.2.50 on) keeps that out of the flags.
            const bool encoded = sprite->flags & (SDL_RLEACCEL | SDL_RLEACCELOK);
            if (SDL_Linked_Version()->patch < 50) {
                EXPECT_EQ(encoded, keyed && &program == &rescueMission) << name;
            }
        }
    };
    expectSprites(shootDown, ShootDown());
    expectSprites(rescueMission, Rescue());
}

std::string rgb(const SDL_Surface* surface, int x, int y)
{
    Uint8 r, g, b;
    SDL_GetRGB(pixelAt(surface, x, y), surface->format, &r, &g, &b);
    return std::to_string(r) + ',' + std::to_string(g) + ',' + std::to_string(b);
}

// On a 32-bit display each colour shows as on a 16-bit one: reduced to 5-6-5 bits, then widened as
// SDL widens the 16-bit display at its flip (255 becomes 248 on SDL 1.2, stays 255 on SDL 2). Row 0
// is a sprite, row 1 a fill, row 2 the sprite with white keyed out over black; texts take the colour.
TEST(SixteenBitLook, ADeeperDisplayShowsWhatA16BitOneShows)
{
    const SDL_Color colours[] = {{255, 255, 0, 0}, {0, 0, 255, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}, {7, 3, 7, 0},
                                 {8, 4, 8, 0}, {132, 130, 129, 0}, {254, 253, 252, 0}};
    const int count = int(std::size(colours)), white = 3;
    SDL_Surface* bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, count, 1, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    for (int n = 0; n < count; ++n) {
        SDL_Rect at{Sint16(n), 0, 1, 1};
        SDL_FillRect(bitmap, &at, SDL_MapRGB(bitmap->format, colours[n].r, colours[n].g, colours[n].b));
    }
    startVideo();
    SDL_Surface* sixteenBit = SDL_SetVideoMode(count, 1, 16, 0);
    SDL_Surface* sprite = SDL_DisplayFormat(bitmap);
    SDL_BlitSurface(sprite, nullptr, sixteenBit, nullptr);
    SDL_FreeSurface(sprite);
    SDL_Surface* wide = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    SDL_Surface* shown16 = SDL_ConvertSurface(sixteenBit, wide->format, SDL_SWSURFACE);

    SDL_Surface* display = SDL_SetVideoMode(count, 3, 32, 0);
    SDL_FillRect(display, nullptr, 0);
    sprite = inSixteenBitLook(bitmap);
    SDL_BlitSurface(sprite, nullptr, display, nullptr);
    SDL_Rect keyedAt{0, 2, 0, 0};
    const int keyed[] = {0};
    keyOutWhite(&sprite, keyed, 1, SDL_SRCCOLORKEY);
    SDL_BlitSurface(sprite, nullptr, display, &keyedAt);
    for (int n = 0; n < count; ++n) {
        SDL_Rect at{Sint16(n), 1, 1, 1};
        SDL_FillRect(display, &at, sixteenBitPixel(display->format, colours[n].r, colours[n].g, colours[n].b));
        const SDL_Color text = sixteenBitColour(colours[n]);
        EXPECT_EQ(rgb(display, n, 0), rgb(shown16, n, 0)) << n;
        EXPECT_EQ(rgb(display, n, 1), rgb(shown16, n, 0)) << n;
        EXPECT_EQ(where(text.r, text.g) + ',' + std::to_string(text.b), rgb(shown16, n, 0)) << n;
        const bool keyedOut = rgb(shown16, n, 0) == rgb(shown16, white, 0); // 254,253,252 too, as at 16 bits
        EXPECT_EQ(rgb(display, n, 2), keyedOut ? "0,0,0" : rgb(shown16, n, 0)) << n;
    }
    for (SDL_Surface* surface : {bitmap, sprite, wide, shown16})
        SDL_FreeSurface(surface);
}

// A pixel reads back at every width a display or a sprite may have, a display of 24-bit pixels too.
TEST(SixteenBitLook, PixelsReadBackAtEveryWidth)
{
    for (auto [bits, value] : {std::pair{8, 0xa5u}, {16, 0xa55au}, {24, 0xa55a3cu}, {32, 0xa55a3c96u}}) {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, bits, 0, 0, 0, 0);
        const Uint32 allSet = bits == 32 ? ~0u : (1u << bits) - 1;
        SDL_FillRect(surface, nullptr, allSet);
        SDL_Rect at{1, 1, 1, 1};
        SDL_FillRect(surface, &at, value);
        EXPECT_EQ(pixelAt(surface, 1, 1), value) << bits;
        EXPECT_EQ(pixelAt(surface, 0, 1) & pixelAt(surface, 2, 1) & pixelAt(surface, 1, 0), allSet) << bits;
        SDL_FreeSurface(surface);
    }
}

// A mission sets the mode again on the display the game already has: its depth stays, and so does the window
// that Alt+Enter made of it; the size is the game's. The pointer is hidden over every display the game sets.
TEST(SixteenBitLook, ModeSetAgainKeepsTheDisplaysDepthAndWindow)
{
    startVideo();
    for (int depth : {16, 32}) {
        SDL_SetVideoMode(640, 480, depth, 0);
        const SDL_Surface* display = setGameDisplayMode();
        EXPECT_EQ(where(display->w, display->h) + ' ' + std::to_string(display->format->BitsPerPixel),
                  where(1024, 768) + ' ' + std::to_string(depth));
        EXPECT_FALSE(display->flags & SDL_FULLSCREEN) << depth;
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << depth;
    }
    SDL_Quit(); // and once SDL has been started again, there is no display to keep
    startVideo();
    EXPECT_EQ(setGameDisplayMode()->w, 1024);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

// Each layout of pixels gets the colour's own pixel in it, whichever layout asked before: the pixel SDL makes of
// the 16-bit one, which differs between layouts (SDL 2 widens green's 63 to 254 in 32 bits, to 255 in 24).
TEST(SixteenBitLook, EachLayoutGetsItsOwnPixel)
{
    struct Layout {
        int bits;
        Uint32 red, green, blue;
    };
    const Layout rgb{32, 0xFF0000, 0x00FF00, 0x0000FF}, bgr{32, 0x0000FF, 0x00FF00, 0xFF0000},
        sixteen{16, 0xF800, 0x07E0, 0x001F}, threeBytes{24, 0xFF0000, 0x00FF00, 0x0000FF};
    SDL_Surface* yellow = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, sixteen.red, sixteen.green, sixteen.blue, 0);
    SDL_FillRect(yellow, nullptr, SDL_MapRGB(yellow->format, 255, 255, 0));
    for (const Layout& layout : {rgb, sixteen, bgr, threeBytes, sixteen, rgb}) {
        SDL_Surface* surface =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, layout.bits, layout.red, layout.green, layout.blue, 0);
        SDL_Surface* shown = SDL_ConvertSurface(yellow, surface->format, SDL_SWSURFACE);
        EXPECT_EQ(sixteenBitPixel(surface->format, 255, 255, 0), pixelAt(shown, 0, 0))
            << layout.bits << ' ' << layout.red;
        SDL_FreeSurface(shown);
        SDL_FreeSurface(surface);
    }
    SDL_FreeSurface(yellow);
}

// A mission's static texts keep their transparent background: only the red letters are drawn.
TEST(Texts, DrawOnlyTheirLetters)
{
    auto expectLettersOnly = [](auto&& run) {
        SDL_Surface* display = run.mission.display;
        const Uint32 red = colourBits(display, sixteenBitPixel(display->format, 255, 0, 0));
        for (SDL_Surface* text : run.mission.texts) {
            if (!text)
                continue;
            SDL_FillRect(display, nullptr, 0);
            SDL_BlitSurface(text, nullptr, display, nullptr);
            int letters = 0, others = 0;
            for (int row = 0; row < text->h; ++row)
                for (int col = 0; col < text->w; ++col) {
                    const Uint32 pixel = colourAt(display, col, row);
                    letters += pixel == red;
                    others += pixel != red && pixel != 0;
                }
            EXPECT_GT(letters, 0);
            EXPECT_EQ(others, 0);
        }
    };
    expectLettersOnly(ShootDown());
    expectLettersOnly(Rescue());
}

// The Debian package links the system's font in place of data/RZ4417.ttf: it must draw every text
// of the game glyph for glyph the same, at every size the game uses.
TEST(Texts, PackagedFontDrawsThemTheSame)
{
    std::ifstream links("debian/heli.links");
    std::string font, link;
    while (links >> font >> link && link != "usr/share/games/heli/data/RZ4417.ttf") {
    }
    ASSERT_EQ(link, "usr/share/games/heli/data/RZ4417.ttf") << "debian/heli.links has no font";
    ASSERT_EQ(TTF_Init(), 0);
    for (int size : {18, 24}) {
        TTF_Font *ours = TTF_OpenFont("data/RZ4417.ttf", size), *packaged = TTF_OpenFont(("/" + font).c_str(), size);
        ASSERT_TRUE(ours && packaged) << font;
        for (const char* text : gameTexts) {
            SDL_Surface *a = TTF_RenderText_Solid(ours, text, {255, 0, 0, 0}),
                        *b = TTF_RenderText_Solid(packaged, text, {255, 0, 0, 0});
            bool same = a->w == b->w && a->h == b->h;
            for (int row = 0; same && row < a->h; ++row)
                same = std::memcmp(static_cast<Uint8*>(a->pixels) + row * a->pitch,
                                   static_cast<Uint8*>(b->pixels) + row * b->pitch, size_t(a->w)) == 0;
            EXPECT_TRUE(same) << text << " at " << size;
            SDL_FreeSurface(a);
            SDL_FreeSurface(b);
        }
        TTF_CloseFont(ours);
        TTF_CloseFont(packaged);
    }
}

// What a program prints and its exit status without the named files; Escape ends a mission.
std::pair<std::string, int> startWithout(const Program& program, const std::vector<std::string>& missing,
                                         const char* videoDriver = "dummy")
{
    const fs::path folder = copyOfData();
    for (const std::string& name : missing)
        fs::remove(folder / "data" / name);
    const auto outcome = runInChild([&] {
        SDL_Quit();
        if (videoDriver)
            setenv("SDL_VIDEODRIVER", videoDriver, 1);
        else // no driver chosen and no display to be had
            for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"})
                unsetenv(name);
        scripted::reset(100);
        scripted::pressAt(500, SDLK_ESCAPE);
        program.run();
    }, folder);
    fs::remove_all(folder);
    return outcome;
}

// Without a file and all later ones, the first sprite that needs one is named. Every program
// needs the font; the rescue mission none of the shoot-down's own files.
TEST(StartUp, EndsWithItsMessageAndStatusOne)
{
    auto expectFailure = [](const std::pair<std::string, int>& outcome, const std::string& message) {
        EXPECT_EQ(outcome.first.substr(0, message.size()), message); // then SDL's reason, in its own words
        EXPECT_GT(outcome.first.size(), message.size()) << "no reason after " << message;
        EXPECT_EQ(outcome.second, 1) << message;
    };
    for (const char* driver : {"nosuchdriver", static_cast<const char*>(nullptr)})
        expectFailure(startWithout(menu, {}, driver), "Programming and Graphics \n   Brastolmein\nCan't init SDL: \n");
    for (const Program* program : {&shootDown, &rescueMission, &menu}) {
        expectFailure(startWithout(*program, {"RZ4417.ttf"}), "Can't open Font: \n");
        std::vector<std::string> missing;
        for (auto sprite = program->sprites.rbegin(); sprite != program->sprites.rend(); ++sprite) {
            missing.push_back(std::get<1>(*sprite));
            auto first = std::find_if(program->sprites.begin(), program->sprites.end(), [&](const Sprite& s) {
                return std::count(missing.begin(), missing.end(), std::get<1>(s)) > 0;
            });
            const auto outcome = startWithout(*program, missing);
            expectFailure(outcome, "Can't set " + std::get<0>(*first) + ": \n");
            EXPECT_NE(outcome.first.find(std::strerror(ENOENT)), std::string::npos) << "the open's own reason";
        }
    }
    EXPECT_EQ(startWithout(rescueMission, {"Egg.bmp"}).second, 0);
}

} // namespace
