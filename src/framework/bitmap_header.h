#pragma once
// What a bitmap file's header promises, checked against the file's size
// before SDL reads it: SDL makes the whole picture first and reads its rows
// after, so a header that claims a height of two billion rows has it ask for
// hundreds of gigabytes, whatever the file holds.
#include <SDL.h>

#include <cstdint>
#include <string>

// As much of a file's start as the check reads: the file header and the
// longest picture header fields it looks at.
constexpr int bitmapHeaderBytes = 34;

// The depths a bitmap may have, in bits per pixel.
bool isBmpDepth(int bits);

// Why a file of fileBytes that starts with these bytes cannot hold the picture
// its header describes, or nothing. A file that is no bitmap at all is left to
// SDL's loader, which refuses it before it makes anything.
std::string bitmapHeaderFault(const Uint8* start, int startBytes, int64_t fileBytes);

// The same for the file behind a stream, which is left at its start.
std::string bitmapFileFault(SDL_RWops* stream);
