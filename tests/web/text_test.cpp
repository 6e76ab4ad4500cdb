// The web build draws its texts with FreeType itself (built here against the
// system's library): every text of the game must come out as SDL_ttf draws it,
// the same line height, glyph boxes, size and pixels, at both sizes.
#include "framework/font.h"
#include "game_texts.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr const char* fontFile = "data/RZ4417.ttf";

// The size and the rows of two solid texts, their colour-key indices: equal or not.
bool sameText(const SDL_Surface* a, const SDL_Surface* b)
{
    bool same = a->w == b->w && a->h == b->h && a->format->palette->colors[1].r == b->format->palette->colors[1].r &&
                (a->flags & SDL_SRCCOLORKEY) == (b->flags & SDL_SRCCOLORKEY);
    for (int row = 0; same && row < a->h; ++row)
        same = std::memcmp(static_cast<Uint8*>(a->pixels) + row * a->pitch,
                           static_cast<Uint8*>(b->pixels) + row * b->pitch, size_t(a->w)) == 0;
    return same;
}

TEST(WebText, DrawsEveryTextAsSdlTtf)
{
    ASSERT_TRUE(startFontEngine());
    ASSERT_EQ(TTF_Init(), 0);
    std::string printable;
    for (char letter = ' '; letter <= '~'; ++letter)
        printable += letter;
    for (int size : {18, 24}) {
        TTF_Font* native = TTF_OpenFont(fontFile, size);
        Font* web = openFontStream(SDL_RWFromFile(fontFile, "rb"), size);
        ASSERT_TRUE(native && web) << size;
        EXPECT_EQ(fontHeight(web), TTF_FontHeight(native)) << size;
        for (char letter : printable) {
            GlyphBox w{}, n{};
            ASSERT_TRUE(glyphBox(web, Uint16(letter), w));
            TTF_GlyphMetrics(native, Uint16(letter), &n.minX, &n.maxX, &n.minY, &n.maxY, &n.advance);
            EXPECT_EQ(std::to_string(w.minX) + ' ' + std::to_string(w.maxX) + ' ' + std::to_string(w.minY) + ' ' +
                          std::to_string(w.maxY) + ' ' + std::to_string(w.advance),
                      std::to_string(n.minX) + ' ' + std::to_string(n.maxX) + ' ' + std::to_string(n.minY) + ' ' +
                          std::to_string(n.maxY) + ' ' + std::to_string(n.advance))
                << "'" << letter << "' at " << size;
        }
        std::vector<std::string> texts(std::begin(gameTexts), std::end(gameTexts));
        texts.push_back(printable);
        for (const std::string& text : texts) {
            SDL_Surface *a = renderSolid(web, text.c_str(), {255, 0, 0, 0}),
                        *b = TTF_RenderText_Solid(native, text.c_str(), {255, 0, 0, 0});
            ASSERT_TRUE(a && b) << text;
            EXPECT_TRUE(sameText(a, b)) << text << " at " << size << ": " << a->w << 'x' << a->h << " for "
                                        << b->w << 'x' << b->h;
            SDL_FreeSurface(a);
            SDL_FreeSurface(b);
        }
        EXPECT_EQ(renderSolid(web, "", {255, 0, 0, 0}), nullptr);
        closeFont(web);
        TTF_CloseFont(native);
    }
}

} // namespace
