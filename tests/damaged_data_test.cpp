// A damaged data file ends the game with its message and status 1, never with a crash, a hang or a broken
// sprite; unusual but valid bitmaps load. Each row runs the menu in a child holding a mission's keys, in a
// copy of data/ with one file damaged; stderr (sanitizer reports) must stay empty.
#include "child_process.h"
#include "framework/platform_scripted.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using Bytes = std::string;

Bytes put(Bytes b, size_t at, int64_t value, int size = 4)
{
    for (int i = 0; i < size; ++i) b.replace(at + i, 1, 1, char(value >> 8 * i));
    return b;
}

// A valid all-black BMP; up to 8 bits per pixel with a full palette.
Bytes bitmap(int width, int height, int bits)
{
    int colours = bits <= 8 ? 1 << bits : 0;
    Bytes b(54 + 4 * colours + (size_t(width) * bits + 31) / 32 * 4 * std::abs(height), '\0');
    b = put(put(put(put(put(b, 0, 'B' | 'M' << 8, 2), 10, 54 + 4 * colours), 14, 40), 18, width), 22, height);
    return put(put(b, 26, 1, 2), 28, bits, 2);
}

Bytes contents(const std::string& file)
{
    return Bytes(std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {});
}

// A damage gives the file's new bytes from its old ones; without one, make puts something in its place.
struct Kind {
    const char* name; std::function<Bytes(Bytes)> damage; void (*make)(const char*) = nullptr; bool fontToo = false, loads = false;
    bool fontOnly = false; };
auto patch(size_t at, int64_t value, int size = 4) { return [=](Bytes b) { return put(b, at, value, size); }; }
auto file(Bytes content) { return [=](Bytes) { return content; }; }
const Kind kinds[] = {{"Missing", {}, [](const char*) {}, true}, {"Empty", file(""), {}, true},
    {"Truncated", [](Bytes b) { return b.substr(0, b.size() / 2); }, {}, true}, {"WrongMagic", patch(0, 'X', 1), {}, true},
    {"RandomBytes", [](Bytes b) { for (char& c : b) c = char((&c - &b[0]) * 97 ^ 0x5a); return b; }, {}, true},
    {"Fifo", {}, [](const char* f) { mkfifo(f, 0644); }, true}, {"Directory", {}, [](const char* f) { mkdir(f, 0755); }, true},
    {"LinkToDevice", {}, [](const char* f) { symlink("/dev/zero", f); }, true}, {"Bits4100", patch(28, 4100, 2)},
    {"Bits32772", patch(28, 32772, 2)}, {"Bits65535", patch(28, 65535, 2)}, {"Bits0", patch(28, 0, 2)},
    {"Height0x80000000", patch(22, 0x80000000)}, {"Height0", patch(22, 0)}, {"WidthNegative", patch(18, -150)},
    {"HeightHuge", patch(22, 0x7fffffff)}, {"OffsetPastEnd", patch(10, 0x7ffffff0)}, {"Compression", patch(30, 1)},
    {"RunsHeightHuge", [](Bytes b) { return put(put(put(b, 28, 8, 2), 30, 1), 22, 0x7fffffff); }},
    {"PixelsOneByteShort", [](Bytes) { Bytes b = bitmap(33, 7, 24); return b.substr(0, b.size() - 1); }},
    {"OneBit", file(bitmap(33, 7, 1)), {}, false, true},
    {"TopDown", [](Bytes b) { return put(b, 22, -int(uint8_t(b[22]) | uint8_t(b[23]) << 8)); }, {}, false, true},
    {"FourBit", file(bitmap(33, 7, 4)), {}, false, true}, {"EightBit", file(bitmap(33, 7, 8)), {}, false, true},
    {"SixteenBit", file(bitmap(33, 7, 16)), {}, false, true}, {"ThirtyTwoBit", file(bitmap(33, 7, 32)), {}, false, true},
    {"Wide", file(bitmap(16000, 200, 24)), {}, false, true},
    // Found by fuzzing SDL's loader: a header cut short reads on as zeros, a height of -2^31 is negated before the
    // depth is checked, a depth SDL cannot describe, and colour masks wider than a byte.
    {"HeaderCutShort", [](Bytes b) { return put(put(b, 18, 15617), 22, 60416).substr(0, 31); }},
    {"Height0x80000000Bits0", [](Bytes b) { return put(put(b, 22, 0x80000000), 28, 0, 2); }}, {"Bits23", patch(28, 23, 2)},
    {"WideColourMasks", file(put(put(put(put(bitmap(33, 7, 32), 30, 3), 54, 0xffffffff), 58, 0xff00), 62, 0xff))},
    // Found by fuzzing the font path, at offsets of RZ4417.ttf: hhea's ascender (a line 292 pixels high at size 18), and
    // hmtx's left side bearing of 'G' (drawn 287 pixels left of the pen, before the text's pixels).
    {"FontTall", patch(614216, 0x7f7f, 2), {}, true, false, true},
    {"GlyphFarLeft", patch(614418, 0x8080, 2), {}, true, false, true}};

struct DataFile { const char* file; const char* name; bool rescue; }; // name: the sprite's, none for the font
const DataFile files[] = {{"RZ4417.ttf", nullptr, false}, {"Background.bmp", "Background", false}, {"Heli.bmp", "Heli", true},
    {"F-1 Rex.bmp", "en1", false}, {"Shoot.bmp", "en1sh", true}, {"B-1 EggFall.bmp", "bomber", true}, {"Egg.bmp", "egg", false},
    {"Explosion.bmp", "explosion", false}, {"Stegosaurus.bmp", "triceratops", true}, {"Fallschirm.bmp", "fallschirm", true},
    {"Fallschirmoffen.bmp", "fallschirm2", true}};

class DamagedData : public testing::TestWithParam<std::pair<const Kind*, const DataFile*>> {};

TEST_P(DamagedData, EndsWithItsMessageOrLoads)
{
    const auto [kind, data] = GetParam();
    const std::string folder = copyOfData(), credits = "Programming and Graphics \n   Brastolmein\n";
    const std::string path = folder + "/data/" + data->file;
    const Bytes original = contents(path);
    std::remove(path.c_str());
    kind->damage ? void(std::ofstream(path, std::ios::binary) << kind->damage(original)) : kind->make(path.c_str());
    const auto [output, status] = runInChild([&] {
        dup2(open("stderr", O_WRONLY | O_CREAT, 0644), STDERR_FILENO);
        SDL_Quit();
        scripted::reset(100);
        // Still held after Escape, the keys start the mission once more, ended by Escape at once.
        for (SDLKey key : data->rescue ? std::vector{SDLK_m, SDLK_k, SDLK_r} : std::vector{SDLK_1})
            scripted::hold(key);
        scripted::pressAt(700, SDLK_ESCAPE), scripted::pressAt(800, SDLK_2);
        runMenu(0, nullptr);
    }, folder);
    EXPECT_EQ(contents(folder + "/stderr"), "");
    std::filesystem::remove_all(folder);
    const Bytes expected = kind->loads ? credits : data->name ? credits + "Can't set " + data->name + ": \n" : "Can't open Font: \n";
    EXPECT_EQ(status, kind->loads ? 0 : 1);
    EXPECT_EQ(output.substr(0, expected.size()), expected);
    EXPECT_EQ(output.size() > expected.size(), !kind->loads) << output; // the error text
}

std::vector<DamagedData::ParamType> cases()
{
    std::vector<DamagedData::ParamType> all;
    for (const Kind& kind : kinds)
        for (const DataFile& data : files)
            if (kind.fontOnly ? !data.name : data.name || kind.fontToo) all.push_back({&kind, &data});
    return all;
}
INSTANTIATE_TEST_SUITE_P(Files, DamagedData, testing::ValuesIn(cases()), [](const auto& info) {
    return std::string(info.param.first->name) + "_" + (info.param.second->name ? info.param.second->name : "Font");
});

} // namespace
