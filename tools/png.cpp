#include "png.h"

#include <algorithm>

namespace {

void appendBe(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

std::uint32_t crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xffffffffu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t adler32(const std::string& bytes)
{
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void appendChunk(std::string& out, const char* type, const std::string& data)
{
    appendBe(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = type + data;
    out += typed;
    appendBe(out, crc32(typed));
}

// A zlib stream of stored blocks, each at most 65535 bytes long.
std::string storedZlib(const std::string& raw)
{
    std::string out = "\x78\x01";
    std::size_t pos = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<char>(length & 0xff));
        out.push_back(static_cast<char>(length >> 8));
        out.push_back(static_cast<char>(~length & 0xff));
        out.push_back(static_cast<char>((~length >> 8) & 0xff));
        out.append(raw, pos, length);
        pos += length;
    } while (pos < raw.size());
    appendBe(out, adler32(raw));
    return out;
}

} // namespace

std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgba)
{
    std::string header;
    appendBe(header, static_cast<std::uint32_t>(width));
    appendBe(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, no interlace

    // Every row starts with filter type 0: the bytes as they are.
    std::string raw;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(rgba.data()) + y * rowBytes, rowBytes);
    }

    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", storedZlib(raw));
    appendChunk(png, "IEND", "");
    return png;
}
