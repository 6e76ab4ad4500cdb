// Writes every bitmap of Heli as a 24-bit BMP file that SDL_LoadBMP reads:
// `make_sprites OUTDIR`. The same bytes come out on every machine, so the
// files in data/ can be checked against a fresh run.

#include "sprite_art.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

void appendLe(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// Uncompressed 24-bit BMP with a BITMAPINFOHEADER: bottom-up BGR rows, each
// padded to a multiple of four bytes.
std::string encodeBmp(const Image& img)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(img.w) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(img.h);
    const std::uint32_t headerBytes = 14 + 40;
    std::string out;
    out += "BM";
    appendLe(out, headerBytes + pixelBytes, 4);
    appendLe(out, 0, 4);
    appendLe(out, headerBytes, 4);
    appendLe(out, 40, 4);
    appendLe(out, static_cast<std::uint32_t>(img.w), 4);
    appendLe(out, static_cast<std::uint32_t>(img.h), 4);
    appendLe(out, 1, 2);
    appendLe(out, 24, 2);
    appendLe(out, 0, 4);
    appendLe(out, pixelBytes, 4);
    appendLe(out, 2835, 4);
    appendLe(out, 2835, 4);
    appendLe(out, 0, 4);
    appendLe(out, 0, 4);
    for (int y = img.h - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < img.w; ++x) {
            const Rgb c = img.at(x, y);
            out.push_back(static_cast<char>(c.b));
            out.push_back(static_cast<char>(c.g));
            out.push_back(static_cast<char>(c.r));
        }
        out.resize(start + rowBytes, '\0');
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::string outDir = argv[1];
    for (const Sprite& sprite : gameSprites) {
        try {
            const Image img = sprite.draw();
            if (!sprite.keyed)
                for (const Rgb& c : img.px)
                    if (c == kKey)
                        throw std::runtime_error("unkeyed bitmap left partly unpainted");
            const std::string path = outDir + "/" + sprite.file;
            std::ofstream file(path, std::ios::binary);
            const std::string bytes = encodeBmp(img);
            file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!file)
                throw std::runtime_error("cannot write " + path);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s: %s\n", argv[0], sprite.file, e.what());
            return 1;
        }
    }
    return 0;
}
