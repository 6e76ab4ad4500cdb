// A damaged data file ends the game with its message and status 1, never with a crash, a hang or a broken
// sprite; unusual but valid bitmaps load. Each row runs the menu in a child holding a mission's keys, in a
// copy of data/ with one file damaged; stderr (sanitizer reports) must stay empty.
#include "child_process.h"
#include "framework/bitmap_header.h"
#include "framework/data_file.h"
#include "framework/platform_scripted.h"
#include "framework/sprites.h"
#include "framework/text.h"
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

// The first 34 bytes of a Windows bitmap's header, or 26 of an OS/2 one.
Bytes header(int64_t width, int64_t height, int bits, int64_t compression = 0, int64_t pixelsFrom = 54)
{
    const Bytes b = put(put(put(put(put(Bytes(34, '\0'), 0, 'B' | 'M' << 8, 2), 10, pixelsFrom), 14, 40), 18, width), 22, height);
    return put(put(put(b, 26, 1, 2), 28, bits, 2), 30, compression); // one plane, as in every file
}
Bytes os2Header(int width, int height, int bits)
{
    const Bytes b = put(put(put(put(Bytes(26, '\0'), 0, 'B' | 'M' << 8, 2), 10, 26), 14, 12), 18, width, 2);
    return put(put(put(b, 20, height, 2), 22, 1, 2), 24, bits, 2);
}

// A valid all-black BMP; up to 8 bits per pixel with a full palette.
Bytes bitmap(int width, int height, int bits)
{
    int colours = bits <= 8 ? 1 << bits : 0;
    return header(width, height, bits, 0, 54 + 4 * colours) +
           Bytes(20 + 4 * colours + (size_t(width) * bits + 31) / 32 * 4 * std::abs(height), '\0');
}

Bytes contents(const std::string& file)
{
    return Bytes(std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {});
}

// A damage gives the file's new bytes from its old ones; without one, make puts something in its place.
struct Kind {
    const char* name; std::function<Bytes(Bytes)> damage; void (*make)(const char*) = nullptr; bool fontToo = false, loads = false;
    bool fontOnly = false; const char* says = nullptr; }; // says: what the error tells after the file's path
auto patch(size_t at, int64_t value, int size = 4) { return [=](Bytes b) { return put(b, at, value, size); }; }
auto file(Bytes content) { return [=](Bytes) { return content; }; }
constexpr const char* notAFile = " is not a regular file";
const Kind kinds[] = {{"Missing", {}, [](const char*) {}, true, false, false, ": No such file or directory"}, {"Empty", file(""), {}, true},
    {"Truncated", [](Bytes b) { return b.substr(0, b.size() / 2); }, {}, true}, {"WrongMagic", patch(0, 'X', 1), {}, true},
    {"RandomBytes", [](Bytes b) { for (char& c : b) c = char((&c - &b[0]) * 97 ^ 0x5a); return b; }, {}, true},
    {"Fifo", {}, [](const char* f) { mkfifo(f, 0644); }, true, false, false, notAFile}, {"Directory", {}, [](const char* f) { mkdir(f, 0755); }, true, false, false, notAFile},
    {"LinkToDevice", {}, [](const char* f) { symlink("/dev/zero", f); }, true, false, false, notAFile}, {"Bits4100", patch(28, 4100, 2)},
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
    if (kind->says) {
        EXPECT_NE(output.find(std::string("data/") + data->file + kind->says), output.npos) << output;
    }
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

// What a header promises against the file's size, at each rule's boundary, without a child; the file's size need
// not be backed by bytes.
struct HeaderCase { const char* name; Bytes start; int64_t fileBytes; const char* fault; };
const HeaderCase headerCases[] = {{"NoBitmap", "XM" + header(1, 1, 24).substr(2), 58, ""}, {"OnlyTheMagic", "BM", 2, "ends within its header, after 2 bytes"},
    {"CutShort", header(1, 1, 24).substr(0, 33), 33, "ends within its header, after 33 bytes"}, {"Empty", "", 0, ""},
    {"Os2", os2Header(3, 300, 24), 26 + 3600, ""}, {"Os2CutShort", os2Header(3, 2, 24).substr(0, 25), 25, "ends within its header, after 25 bytes"},
    {"Os2OneByteShort", os2Header(3, 300, 24), 26 + 3599, "promises 300 rows of 12 bytes, but holds 3599 bytes of pixels"},
    {"Os2SizesUnsigned", os2Header(65535, 1, 1), 26 + 8192, ""},
    {"Os2WideOneByteShort", os2Header(65535, 1, 1), 26 + 8191, "promises 1 rows of 8192 bytes, but holds 8191 bytes of pixels"},
    {"Exact", header(33, 7, 24), 754, ""}, {"OneByteShort", header(33, 7, 24), 753, "promises 7 rows of 100 bytes, but holds 699 bytes of pixels"},
    {"TopDown", header(33, -7, 24), 754, ""}, {"MasksOneByteShort", header(33, 7, 24, 3), 753, "promises 7 rows of 100 bytes, but holds 699 bytes of pixels"},
    {"RowOf32Bits", header(4, 2, 8), 62, ""}, {"RowOfOneBit", header(1, 1, 1), 58, ""},
    {"RowOfOneBitShort", header(1, -1, 1), 57, "promises 1 rows of 4 bytes, but holds 3 bytes of pixels"},
    {"Wide", header(16000, 200, 24), 54 + 48000 * 200, ""}, {"NoPixels", header(1, 1, 24), 54, "promises 1 rows of 4 bytes, but holds 0 bytes of pixels"},
    {"WidthZero", header(0, 7, 24), 754, "has a picture of 0 x 7 pixels"}, {"WidthNegative", header(-150, 7, 24), 754, "has a picture of -150 x 7 pixels"},
    {"HeightZero", header(33, 0, 24), 754, "has a picture of 33 x 0 pixels"},
    {"HeightMost", header(1, INT32_MIN, 24), 754, "has a picture of 1 x -2147483648 pixels"},
    {"HeightHuge", header(452, 0x7fffffff, 8), 54 + 40680, "promises 2147483647 rows of 452 bytes, but holds 40680 bytes of pixels"},
    {"PixelsPastEnd", header(1, 1, 24, 0, 1000), 999, "has its pixels from byte 1000 on, past its end at 999"},
    {"PixelsFarPastEnd", header(1, 1, 24, 0, 0x1000036), 58, "has its pixels from byte 16777270 on, past its end at 58"},
    {"Bits4", header(8, 1, 4), 58, ""}, {"Bits15", header(2, 1, 15), 58, ""}, {"Bits16", header(2, 1, 16), 58, ""}, {"Bits32", header(1, 1, 32), 58, ""},
    {"Bits0", header(1, 1, 0), 58, "has a picture of 0 bits per pixel"}, {"Bits23", header(1, 1, 23), 58, "has a picture of 23 bits per pixel"},
    {"Bits280", header(1, 1, 280), 58, "has a picture of 280 bits per pixel"},
    {"Runs", header(255, 1, 8, 1), 56, ""}, {"RunsOnePixelMore", header(256, 1, 8, 1), 56, "promises 256 x 1 pixels, more than 2 bytes of runs can paint"},
    {"RunsOddBytes", header(382, -1, 4, 2), 57, ""}, {"RunsOddBytesOneMore", header(383, -1, 4, 2), 57, "promises 383 x 1 pixels, more than 3 bytes of runs can paint"},
    {"OtherCompression", header(1, 1, 24, 4), 58, "has its pixels compressed in a way bitmaps of the game do not use (4)"},
    {"HugeCompression", header(1, 1, 24, 0xffffffff), 58, "has its pixels compressed in a way bitmaps of the game do not use (4294967295)"}};

TEST(BitmapHeader, RefusesWhatTheFileCannotHold)
{
    for (const HeaderCase& c : headerCases) {
        EXPECT_EQ(bitmapHeaderFault(reinterpret_cast<const Uint8*>(c.start.data()), int(c.start.size()), c.fileBytes), c.fault) << c.name;
        if (c.fileBytes > 100000) continue;
        // The same bytes as a file the game opens, which the check leaves at its start.
        char path[] = "/tmp/heli-header-XXXXXX";
        close(mkstemp(path));
        std::ofstream(path, std::ios::binary) << c.start + Bytes(size_t(c.fileBytes) - c.start.size(), '\0');
        SDL_RWops* stream = openDataFile(path);
        EXPECT_EQ(bitmapFileFault(stream), c.fault) << c.name;
        EXPECT_EQ(SDL_RWtell(stream), 0) << c.name;
        SDL_RWclose(stream);
        if (*c.fault) { // refused before SDL reads it, the stream closed all the same
            EXPECT_EQ(readSprite(openDataFile(path), "data/Heli.bmp"), nullptr) << c.name;
            EXPECT_EQ(SDL_GetError(), "data/Heli.bmp " + std::string(c.fault)) << c.name;
        }
        std::remove(path);
    }
}

// The box a font's line and glyphs must fit at both sizes the game opens: four point sizes each way, and left of the
// pen a quarter of one, truncated (4 at 18, 6 at 24). Each edge holds; one pixel past any of them does not.
TEST(FontBox, HoldsTheLineAndEveryGlyphUpToItsEdges)
{
    for (auto [size, left] : {std::pair{smallFontSize, -4}, {largeFontSize, -6}}) {
        const int most = 4 * size;
        EXPECT_TRUE(lineFits(1, size) && lineFits(most, size)) << size;
        EXPECT_FALSE(lineFits(0, size) || lineFits(most + 1, size)) << size;
        const GlyphBox edges{left, most, -most, most, most};
        EXPECT_TRUE(glyphFits(edges, size) && glyphFits({0, 0, 0, 0, 0}, size)) << size;
        EXPECT_FALSE(glyphFits({0, 0, 0, 0, -1}, size)) << size;
        for (auto [field, outwards] : {std::pair{&GlyphBox::minX, -1}, {&GlyphBox::maxX, 1}, {&GlyphBox::minY, -1},
                                       {&GlyphBox::maxY, 1}, {&GlyphBox::advance, 1}}) {
            GlyphBox past = edges;
            past.*field += outwards;
            EXPECT_FALSE(glyphFits(past, size)) << size << ": " << past.minX << ' ' << past.maxX << ' ' << past.minY
                                                << ' ' << past.maxY << ' ' << past.advance;
        }
    }
}

// What SDL made of a file, checked before it is converted: each rule at its edge. A loss is 8 less a colour mask's
// width, kept in a byte: 255 for a mask of 9 bits, 8 for none, as in a picture with a palette.
struct Loaded { const char* name; int w, h, bits, bytes; bool palette; Uint8 loss; int pitch; const char* fault; };
const Loaded loadedCases[] = {{"Plain", 33, 7, 24, 3, false, 0, 100, ""}, {"RowsExact", 33, 7, 24, 3, false, 0, 99, ""},
    {"RowsShort", 33, 7, 24, 3, false, 0, 98, "has rows of 98 bytes for 33 pixels of 24 bits"},
    {"OneBitRows", 32, 1, 1, 1, true, 8, 4, ""}, {"OneBitRowsShort", 33, 1, 1, 1, true, 8, 4, "has rows of 4 bytes for 33 pixels of 1 bits"},
    {"Smallest", 1, 1, 15, 2, false, 3, 2, ""}, {"NoWidth", 0, 7, 24, 3, false, 0, 100, "has a picture of 0 x 7 pixels"},
    {"NoHeight", 33, 0, 24, 3, false, 0, 100, "has a picture of 33 x 0 pixels"},
    {"Bits23", 1, 1, 23, 3, false, 0, 4, "has a picture of 23 bits (3 bytes) per pixel"},
    {"WideBytes", 1, 1, 24, 4, false, 0, 4, "has a picture of 24 bits (4 bytes) per pixel"}, {"FourBits", 1, 1, 4, 1, true, 8, 4, ""},
    {"ThirtyTwo", 1, 1, 32, 4, false, 0, 4, ""}, {"NoPalette", 1, 1, 8, 1, false, 8, 4, "has a 8-bit picture without a palette"},
    {"SixteenNoPalette", 1, 1, 16, 2, false, 3, 4, ""},
    {"NineBitMasks", 1, 1, 32, 4, false, 255, 4, "has colour masks 0x1ff, 0x1ff, 0x1ff of more than 8 bits"}};

TEST(LoadedBitmap, RefusedWhereSDLsBlittersWouldGoWrong)
{
    for (const Loaded& c : loadedCases) {
        SDL_Palette palette{};
        SDL_PixelFormat format{};
        format.palette = c.palette ? &palette : nullptr;
        format.BitsPerPixel = Uint8(c.bits), format.BytesPerPixel = Uint8(c.bytes);
        format.Rloss = format.Gloss = format.Bloss = c.loss;
        format.Rmask = format.Gmask = format.Bmask = c.loss == 255 ? 0x1ff : 0;
        SDL_Surface surface{};
        surface.format = &format, surface.w = c.w, surface.h = c.h, surface.pitch = Uint16(c.pitch);
        EXPECT_EQ(spriteFault(surface), c.fault) << c.name;
    }
}

} // namespace
