#include "mission_art.h"
#include "display.h"

void loadMissionArt(MissionArt& art, const MissionTables& tables)
{
    startVideo();
    art.display = setGameDisplayMode();
    art.fonts = openMissionFonts();
    renderTextLines(tables.texts, tables.textCount, art.fonts, art.texts);
    loadSprites(tables.sprites, tables.spriteCount, art.sprites);
    keyOutWhite(art.sprites, tables.keyed, tables.keyedCount, tables.keyFlags);
}

void releaseMissionArt(MissionArt& art)
{
    freeSurfaces(art.sprites, maxMissionSprites);
    freeSurfaces(art.texts, maxMissionTexts);
    closeMissionFonts(art.fonts);
}

void drawTextLine(const MissionArt& art, const MissionTables& tables, int text)
{
    TextAt line = placedText(art, tables, text);
    drawText(line.text, line.x, line.y, art.display);
}

TextAt placedText(const MissionArt& art, const MissionTables& tables, int text)
{
    return {art.texts[text], tables.texts[text].x, tables.texts[text].y};
}

void sizeFromSprite(SDL_Rect& rect, const SDL_Surface* sprite)
{
    rect.w = Uint16(sprite->w);
    rect.h = Uint16(sprite->h);
}
