// Fuzz target for the font: the input opened as the game opens its font file,
// at both text sizes, and two texts of the game rendered, put in the display's
// format and drawn onto the dummy display, which is set up once per process.
#include "framework/text.h"
#include "fuzz_input.h"

#include <iterator>

namespace {

bool drawTexts(const Uint8* bytes, int size, SDL_Surface* display)
{
    MissionFonts fonts;
    fonts.small = readFont(SDL_RWFromConstMem(bytes, size), smallFontSize);
    fonts.large = fonts.small ? readFont(SDL_RWFromConstMem(bytes, size), largeFontSize) : nullptr;
    if (!fonts.large) {
        closeFont(fonts.small);
        return false;
    }
    const TextLine lines[] = {{"Zerstoere innerhalb der Zeit 30 Gegner", false, 300, 350},
                              {"Gewonnen", true, 450, 350}};
    SDL_Surface* texts[std::size(lines)];
    renderTextLines(lines, int(std::size(lines)), fonts, texts);
    for (size_t i = 0; i < std::size(lines); ++i)
        drawText(texts[i], lines[i].x, lines[i].y, display);
    freeSurfaces(texts, int(std::size(lines)));
    closeMissionFonts(fonts);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    startFonts();
    return runFuzzInputs(argc, argv, drawTexts);
}
