#pragma once
// The game's bitmaps, drawn from code with integer arithmetic and fixed-seed
// generators only, so that every build on every machine draws the same
// pixels: the bitmaps in data/ and the icons are checked against fresh runs.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t r, g, b;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Pure white marks the transparent background of keyed sprites.
constexpr Rgb kKey{255, 255, 255};

// Every image starts as key colour: keyed sprites keep it as background,
// the others must paint over all of it.
struct Image {
    Image(int width, int height)
        : w(width), h(height), px(static_cast<std::size_t>(width * height), kKey)
    {
    }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Rgb at(int x, int y) const { return px[static_cast<std::size_t>(y * w + x)]; }
    bool isKey(int x, int y) const { return at(x, y) == kKey; }

    int w, h;
    std::vector<Rgb> px;
};

struct Sprite {
    const char* file;
    Image (*draw)();
    bool keyed; // white is transparent in the game
};

// Every bitmap the game loads, under its file name in data/.
extern const std::vector<Sprite> gameSprites;
