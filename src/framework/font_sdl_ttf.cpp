// The native game's font engine: SDL_ttf.
#include "font.h"

#include <SDL_ttf.h>

struct Font {
    TTF_Font* ttf;
};

bool startFontEngine()
{
    return TTF_Init() == 0;
}

Font* openFontStream(SDL_RWops* stream, int pointSize)
{
    TTF_Font* ttf = TTF_OpenFontRW(stream, 1, pointSize);
    return ttf ? new Font{ttf} : nullptr;
}

void closeFont(Font* font)
{
    if (!font)
        return;
    TTF_CloseFont(font->ttf);
    delete font;
}

int fontHeight(Font* font)
{
    return TTF_FontHeight(font->ttf);
}

bool glyphBox(Font* font, Uint16 letter, GlyphBox& box)
{
    return TTF_GlyphMetrics(font->ttf, letter, &box.minX, &box.maxX, &box.minY, &box.maxY, &box.advance) == 0;
}

SDL_Surface* renderSolid(Font* font, const char* text, SDL_Color colour)
{
    return TTF_RenderText_Solid(font->ttf, text, colour);
}
