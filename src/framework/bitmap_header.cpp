#include "bitmap_header.h"

namespace {

// Bitmaps store their numbers little-endian, whatever the machine.
uint32_t littleEndian(const Uint8* at, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

// How the pixels are stored, as the header's compression field names it.
constexpr uint32_t plainRows = 0, runsOf8Bits = 1, runsOf4Bits = 2, plainRowsWithMasks = 3;
// A run of pixels takes two bytes and paints at most 255 of them.
constexpr int64_t pixelsPerRun = 255, bytesPerRun = 2;

} // namespace

bool isBmpDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 ||
           bits == 32;
}

std::string bitmapHeaderFault(const Uint8* start, int startBytes, int64_t fileBytes)
{
    if (startBytes < 2 || start[0] != 'B' || start[1] != 'M')
        return {};
    // The old OS/2 header has 16-bit sizes and no compression field.
    const bool os2 = startBytes >= 18 && littleEndian(start + 14, 4) == 12;
    // SDL reads a header cut short as if zeros followed, with no error, and
    // would make the picture it half describes.
    if (startBytes < (os2 ? 26 : 34))
        return "ends within its header, after " + std::to_string(startBytes) + " bytes";
    const uint32_t pixelsFrom = littleEndian(start + 10, 4);
    // Sizes are unsigned in the OS/2 header, signed in the others.
    const int64_t width = os2 ? int64_t(littleEndian(start + 18, 2)) : int32_t(littleEndian(start + 18, 4));
    const int64_t height = os2 ? int64_t(littleEndian(start + 20, 2)) : int32_t(littleEndian(start + 22, 4));
    const int64_t bits = littleEndian(start + (os2 ? 24 : 28), 2);
    const uint32_t compression = os2 ? plainRows : littleEndian(start + 30, 4);
    // SDL turns a negative height around first: -2^31 has no positive.
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return "has a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
    // SDL makes a pixel format of any other depth, some of which its own
    // arithmetic cannot describe.
    if (!isBmpDepth(int(bits)))
        return "has a picture of " + std::to_string(bits) + " bits per pixel";
    const int64_t rows = height < 0 ? -height : height; // negative: stored top row first
    const int64_t pixelBytes = fileBytes - pixelsFrom;
    if (pixelBytes < 0)
        return "has its pixels from byte " + std::to_string(pixelsFrom) + " on, past its end at " +
               std::to_string(fileBytes);
    if (compression == plainRows || compression == plainRowsWithMasks) {
        const int64_t rowBytes = (width * bits + 31) / 32 * 4; // rows are padded to 4 bytes
        if (rows > pixelBytes / rowBytes) // a valid width and depth make rowBytes at least 4
            return "promises " + std::to_string(rows) + " rows of " + std::to_string(rowBytes) +
                   " bytes, but holds " + std::to_string(pixelBytes) + " bytes of pixels";
        return {};
    }
    if (compression == runsOf8Bits || compression == runsOf4Bits) {
        if (width * rows > pixelsPerRun * pixelBytes / bytesPerRun)
            return "promises " + std::to_string(width) + " x " + std::to_string(rows) +
                   " pixels, more than " + std::to_string(pixelBytes) + " bytes of runs can paint";
        return {};
    }
    return "has its pixels compressed in a way bitmaps of the game do not use (" +
           std::to_string(compression) + ")";
}

std::string bitmapFileFault(SDL_RWops* stream)
{
    Uint8 start[bitmapHeaderBytes];
    const int startBytes = SDL_RWread(stream, start, 1, sizeof start);
    const int64_t fileBytes = SDL_RWseek(stream, 0, RW_SEEK_END);
    if (startBytes < 0 || fileBytes < 0 || SDL_RWseek(stream, 0, RW_SEEK_SET) != 0)
        return "cannot be read to its end";
    return bitmapHeaderFault(start, startBytes, fileBytes);
}
