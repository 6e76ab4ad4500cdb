// Writes the desktop icons, the player's helicopter on a transparent square,
// as PNG files: `make_icons OUTDIR` writes heli-48.png, heli-64.png,
// heli-128.png and heli-256.png. Integer arithmetic only, so the same bytes
// come out on every machine and the files in data/icons/ can be checked
// against a fresh run.

#include "png.h"
#include "sprite_art.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// Each icon pixel averages a 4 x 4 grid of samples of the sprite: edges
// come out smooth when shrinking, and the key colour becomes transparency.
constexpr int samples = 4;

std::vector<std::uint8_t> drawIcon(const Image& sprite, int size)
{
    const int margin = size / 16;
    const int width = size - 2 * margin;
    const int height = (sprite.h * width + sprite.w / 2) / sprite.w;
    const int top = (size - height) / 2;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size * size) * 4, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int hits = 0, r = 0, g = 0, b = 0;
            for (int i = 0; i < samples * samples; ++i) {
                // Sample centres at doubled resolution keep the mapping exact.
                const int sx = 2 * (samples * (x - margin) + i % samples) + 1;
                const int sy = 2 * (samples * (y - top) + i / samples) + 1;
                if (sx < 0 || sy < 0)
                    continue;
                const int px = sx * sprite.w / (2 * samples * width);
                const int py = sy * sprite.h / (2 * samples * height);
                if (!sprite.contains(px, py) || sprite.isKey(px, py))
                    continue;
                const Rgb c = sprite.at(px, py);
                ++hits;
                r += c.r;
                g += c.g;
                b += c.b;
            }
            if (hits == 0)
                continue;
            std::uint8_t* pixel = &rgba[static_cast<std::size_t>(y * size + x) * 4];
            pixel[0] = static_cast<std::uint8_t>(r / hits);
            pixel[1] = static_cast<std::uint8_t>(g / hits);
            pixel[2] = static_cast<std::uint8_t>(b / hits);
            pixel[3] = static_cast<std::uint8_t>(hits * 255 / (samples * samples));
        }
    return rgba;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const Sprite* heli = nullptr;
    for (const Sprite& sprite : gameSprites)
        if (std::strcmp(sprite.file, "Heli.bmp") == 0)
            heli = &sprite;
    if (!heli) {
        std::fprintf(stderr, "%s: no helicopter among the sprites\n", argv[0]);
        return 1;
    }
    const Image art = heli->draw();
    for (int size : {48, 64, 128, 256}) {
        const std::string path = std::string(argv[1]) + "/heli-" + std::to_string(size) + ".png";
        const std::string png = encodePng(size, size, drawIcon(art, size));
        std::ofstream file(path, std::ios::binary);
        file.write(png.data(), static_cast<std::streamsize>(png.size()));
        if (!file) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
