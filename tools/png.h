#pragma once
// A minimal PNG encoder for 8-bit RGBA pictures: stored (uncompressed)
// deflate blocks, so the bytes depend on nothing but the pixels.
#include <cstdint>
#include <string>
#include <vector>

// rgba holds width x height pixels, row by row, four bytes each.
std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgba);
