#include "sprite_art.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// On a 16-bit screen SDL keeps only the top 5/6/5 bits, so these colours
// would become the key colour and vanish.
bool turnsWhiteAt16Bit(Rgb c) { return c.r >= 248 && c.g >= 252 && c.b >= 248; }

Rgb mix(Rgb a, Rgb b, int num, int den)
{
    auto channel = [&](int from, int to) {
        return static_cast<std::uint8_t>(from + (to - from) * num / den);
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Rgb darken(Rgb c, int percent)
{
    auto channel = [&](int v) { return static_cast<std::uint8_t>(v * percent / 100); };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

// Refusing near-white everywhere keeps keyed sprites free of holes and shows
// at once when an unkeyed sprite was not painted completely.
void put(Image& img, int x, int y, Rgb c)
{
    if (!img.contains(x, y))
        return;
    if (turnsWhiteAt16Bit(c))
        throw std::runtime_error("near-white colour (" + std::to_string(c.r) + "," +
                                 std::to_string(c.g) + "," + std::to_string(c.b) +
                                 ") at " + std::to_string(x) + "," + std::to_string(y));
    img.px[static_cast<std::size_t>(y * img.w + x)] = c;
}

// --- Shapes -----------------------------------------------------------------
// Shapes are given in pixel-corner coordinates and cover a pixel when its
// centre lies inside, so a 10 x 10 box covers exactly 10 x 10 pixels.
// Centres are compared at double resolution to stay in integers.

struct Point {
    int x, y;
};

using Region = std::function<bool(int, int)>;

struct Box {
    int x, y, w, h;
    bool operator()(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

// The ellipse inscribed in the box (x, y, w, h).
struct Ellipse {
    int x, y, w, h;
    bool operator()(int px, int py) const
    {
        const long long dx = 2 * px + 1 - (2 * x + w);
        const long long dy = 2 * py + 1 - (2 * y + h);
        const long long rx = w, ry = h;
        return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    }
};

// Even-odd rule; pixel centres never lie on a vertex row, so no ties arise.
struct Polygon {
    std::vector<Point> pts;
    bool operator()(int px, int py) const
    {
        const long long cx = 2 * px + 1, cy = 2 * py + 1;
        bool inside = false;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const long long ax = 2 * pts[j].x, ay = 2 * pts[j].y;
            const long long bx = 2 * pts[i].x, by = 2 * pts[i].y;
            if ((ay > cy) == (by > cy))
                continue;
            const long long lhs = (cx - ax) * (by - ay);
            const long long rhs = (bx - ax) * (cy - ay);
            if (by > ay ? lhs < rhs : lhs > rhs)
                inside = !inside;
        }
        return inside;
    }
};

Region moved(Region r, int dx, int dy)
{
    return [r, dx, dy](int x, int y) { return r(x - dx, y - dy); };
}

Region both(Region a, Region b)
{
    return [a, b](int x, int y) { return a(x, y) && b(x, y); };
}

Region without(Region a, Region b)
{
    return [a, b](int x, int y) { return a(x, y) && !b(x, y); };
}

// --- Drawing primitives -----------------------------------------------------

// Only the pixels inside `bounds` are tested, which keeps the large
// background quick to draw.
void fill(Image& img, const Region& region, Rgb c, Box bounds)
{
    for (int y = bounds.y; y < bounds.y + bounds.h; ++y)
        for (int x = bounds.x; x < bounds.x + bounds.w; ++x)
            if (img.contains(x, y) && region(x, y))
                put(img, x, y, c);
}

void fill(Image& img, const Region& region, Rgb c) { fill(img, region, c, Box{0, 0, img.w, img.h}); }

void fillRect(Image& img, int x, int y, int w, int h, Rgb c)
{
    const Box box{x, y, w, h};
    fill(img, box, c, box);
}

void fillEllipse(Image& img, int x, int y, int w, int h, Rgb c)
{
    fill(img, Ellipse{x, y, w, h}, c, Box{x, y, w, h});
}

void fillPolygon(Image& img, std::vector<Point> pts, Rgb c)
{
    Box bounds{pts[0].x, pts[0].y, 0, 0};
    int right = bounds.x, bottom = bounds.y;
    for (const Point& p : pts) {
        bounds.x = std::min(bounds.x, p.x);
        bounds.y = std::min(bounds.y, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    bounds.w = right - bounds.x;
    bounds.h = bottom - bounds.y;
    fill(img, Polygon{std::move(pts)}, c, bounds);
}

// Bresenham with a square brush of the given width.
void drawLine(Image& img, Point a, Point b, int width, Rgb c)
{
    const int dx = a.x < b.x ? b.x - a.x : a.x - b.x;
    const int dy = a.y < b.y ? a.y - b.y : b.y - a.y;
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        fillRect(img, a.x - (width - 1) / 2, a.y - (width - 1) / 2, width, width, c);
        if (a.x == b.x && a.y == b.y)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            a.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            a.y += sy;
        }
    }
}

// A darker rim keeps sprites readable against both the sky and the clouds.
void outline(Image& img, int percent)
{
    const Image src = img;
    auto open = [&](int x, int y) { return !src.contains(x, y) || src.isKey(x, y); };
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x)
            if (!src.isKey(x, y) &&
                (open(x - 1, y) || open(x + 1, y) || open(x, y - 1) || open(x, y + 1)))
                put(img, x, y, darken(src.at(x, y), percent));
}

// Bhaskara's approximation, scaled by 1024: close enough for drawing and
// free of any libm differences.
int sin1024(int degrees)
{
    int d = degrees % 360;
    if (d < 0)
        d += 360;
    const int sign = d >= 180 ? -1 : 1;
    if (d >= 180)
        d -= 180;
    const int p = d * (180 - d);
    return sign * 4096 * p / (40500 - p);
}

int cos1024(int degrees) { return sin1024(degrees + 90); }

Point polar(Point centre, int radius, int degrees)
{
    return {centre.x + radius * cos1024(degrees) / 1024, centre.y + radius * sin1024(degrees) / 1024};
}

// A linear congruential generator: the same seed always gives the same art.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed) {}
    int range(int lo, int hi)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return lo + static_cast<int>((state_ >> 16) % static_cast<std::uint32_t>(hi - lo + 1));
    }

private:
    std::uint32_t state_;
};

// --- Sprites ----------------------------------------------------------------

// Player helicopter, nose to the right. The fuselage stays inside x 0..140,
// y 15..70 where the game tests for hits; the gun muzzle is centred on (140, 70).
Image drawHeli()
{
    Image img(150, 90);
    const Rgb paint{96, 124, 58}, light{128, 156, 80}, shadow{70, 92, 42};
    const Rgb glass{116, 172, 212}, glint{190, 224, 240}, metal{78, 82, 90}, blade{46, 48, 54};
    const Rgb blur{170, 174, 182};

    // Painted back to front: tail, engine, cabin, rotor, skids, gun.
    fillPolygon(img, {{2, 40}, {6, 17}, {14, 17}, {20, 39}}, paint);
    fillPolygon(img, {{6, 33}, {58, 29}, {58, 50}, {6, 42}}, paint);
    fillRect(img, 6, 38, 52, 4, shadow);
    fillPolygon(img, {{22, 42}, {38, 42}, {36, 46}, {20, 46}}, shadow);
    fillEllipse(img, 0, 14, 22, 22, blur);
    fillEllipse(img, 8, 22, 6, 6, metal);

    fillPolygon(img, {{62, 32}, {70, 19}, {110, 19}, {118, 32}}, light);
    fillRect(img, 70, 22, 10, 4, metal);
    fillRect(img, 89, 10, 6, 12, metal);

    const Region body = Ellipse{42, 24, 98, 46};
    fill(img, body, paint);
    fill(img, without(body, moved(body, 0, 4)), light);
    fill(img, without(body, moved(body, 0, -6)), shadow);
    fillRect(img, 70, 36, 18, 12, glass);
    fillRect(img, 72, 38, 4, 4, glint);
    fillRect(img, 92, 32, 2, 32, shadow);

    // The bubble canopy is clipped to the cabin so the nose keeps its outline.
    const Region canopy = both(Ellipse{98, 27, 44, 30}, moved(body, 0, -1));
    fill(img, canopy, glass);
    fill(img, both(canopy, Ellipse{112, 30, 14, 8}), glint);
    fill(img, both(canopy, Box{104, 26, 2, 30}), paint);

    fillPolygon(img, {{4, 7}, {92, 5}, {148, 7}, {148, 10}, {92, 11}, {4, 10}}, blade);
    fillEllipse(img, 85, 4, 14, 9, metal);

    drawLine(img, {72, 64}, {68, 77}, 3, metal);
    drawLine(img, {112, 64}, {116, 77}, 3, metal);
    fillRect(img, 50, 77, 80, 4, metal);
    fillPolygon(img, {{126, 77}, {136, 71}, {139, 74}, {130, 81}}, metal);

    // Chin gun; the barrel ends just left of x 140, where the shot appears.
    fillPolygon(img, {{104, 60}, {118, 60}, {116, 71}, {106, 71}}, metal);
    fillRect(img, 108, 68, 26, 5, blade);
    fillRect(img, 134, 67, 6, 7, metal);

    outline(img, 50);
    return img;
}

// Enemy fighter, nose to the left; its gun fires from the left middle (0, 45).
Image drawRex()
{
    Image img(150, 90);
    const Rgb steel{124, 132, 142}, light{158, 166, 176}, shadow{88, 94, 104};
    const Rgb glass{104, 164, 208}, glint{184, 220, 238}, metal{60, 62, 70}, red{196, 34, 28};
    const Rgb flame{250, 150, 30};

    // Seen slightly from above: the far wing shows over the back, the near
    // wing below the belly.
    fillPolygon(img, {{72, 38}, {108, 38}, {124, 24}, {114, 24}}, shadow);
    fillPolygon(img, {{106, 35}, {128, 8}, {141, 8}, {146, 35}}, steel);
    fillPolygon(img, {{110, 35}, {129, 11}, {133, 11}, {116, 35}}, light);
    fillEllipse(img, 129, 16, 10, 10, red);
    fillEllipse(img, 22, 26, 40, 18, glass);
    fillEllipse(img, 30, 28, 12, 5, glint);

    const Region fuselage = Polygon{{{0, 45}, {10, 41}, {26, 37}, {48, 34}, {140, 34}, {147, 36},
                                     {147, 54}, {140, 56}, {48, 56}, {26, 53}, {10, 49}}};
    fill(img, fuselage, steel);
    fill(img, without(fuselage, moved(fuselage, 0, 4)), light);
    fill(img, without(fuselage, moved(fuselage, 0, -4)), shadow);
    fill(img, both(fuselage, Box{0, 0, 14, 90}), red);
    // The gun barrel reaches the left edge at y 45, where its shots start.
    fillRect(img, 0, 44, 12, 3, metal);
    fillPolygon(img, {{50, 42}, {70, 42}, {70, 52}, {56, 52}}, metal);
    fillRect(img, 78, 44, 40, 2, red);

    fillPolygon(img, {{60, 50}, {112, 50}, {124, 70}, {110, 70}}, steel);
    fillPolygon(img, {{60, 50}, {112, 50}, {114, 53}, {66, 53}}, shadow);
    fillPolygon(img, {{120, 50}, {140, 50}, {148, 60}, {134, 60}}, shadow);
    fillRect(img, 143, 38, 7, 14, metal);
    fillRect(img, 147, 41, 3, 8, flame);

    outline(img, 50);
    return img;
}

// Bomber, nose to the left; its egg leaves at (150, 50), so the hatch sits
// at the rear of the belly.
Image drawEggFall()
{
    Image img(150, 90);
    const Rgb paint{140, 128, 84}, light{170, 158, 110}, shadow{104, 94, 60};
    const Rgb glass{110, 168, 206}, metal{66, 64, 60}, hole{40, 30, 26}, red{190, 36, 30};
    const Rgb yellow{236, 196, 60}, blur{176, 178, 182};

    // Far wing and tail fin first, so the fuselage overlaps their roots.
    fillPolygon(img, {{56, 34}, {88, 34}, {96, 16}, {80, 16}}, shadow);
    fillEllipse(img, 76, 18, 18, 8, shadow);
    fillPolygon(img, {{110, 31}, {126, 3}, {143, 3}, {148, 31}}, paint);
    fillPolygon(img, {{114, 31}, {127, 7}, {131, 7}, {120, 31}}, light);

    const Region fuselage = Polygon{{{2, 44}, {6, 34}, {16, 28}, {40, 26}, {110, 26}, {148, 31},
                                     {148, 45}, {110, 60}, {16, 60}, {6, 54}}};
    fill(img, fuselage, paint);
    fill(img, without(fuselage, moved(fuselage, 0, 4)), light);
    fill(img, without(fuselage, moved(fuselage, 0, -5)), shadow);
    // Glazed bomb-aimer's nose.
    const Region nose = both(fuselage, Box{0, 0, 20, 47});
    fill(img, nose, glass);
    for (int x = 5; x < 20; x += 5)
        fill(img, both(nose, Box{x, 0, 1, 90}), metal);
    fill(img, both(nose, Box{0, 40, 20, 1}), metal);
    for (int x = 26; x < 46; x += 6)
        fillRect(img, x, 30, 4, 4, glass);
    fillEllipse(img, 90, 35, 16, 16, red);
    fillEllipse(img, 94, 39, 8, 8, yellow);

    fillPolygon(img, {{116, 34}, {140, 34}, {148, 40}, {128, 40}}, shadow);
    // Open hatch with the next egg showing, its door hanging towards the tail.
    const Region hatch = both(fuselage, Ellipse{124, 44, 24, 16});
    fill(img, hatch, hole);
    fill(img, both(hatch, Ellipse{131, 46, 10, 12}), {222, 210, 172});
    fillPolygon(img, {{121, 54}, {128, 53}, {145, 62}, {141, 66}}, light);

    fillPolygon(img, {{46, 50}, {88, 50}, {84, 82}, {64, 84}}, paint);
    fillPolygon(img, {{46, 50}, {88, 50}, {87, 54}, {50, 54}}, shadow);
    // Two engines on the near wing, propellers spinning as grey blurs.
    for (Point engine : {Point{44, 53}, Point{54, 68}}) {
        const Region nacelle = Ellipse{engine.x, engine.y, 34, 12};
        fill(img, nacelle, paint);
        fill(img, without(nacelle, moved(nacelle, 0, 3)), light);
        fill(img, without(nacelle, moved(nacelle, 0, -4)), shadow);
        fillEllipse(img, engine.x - 5, engine.y + 3, 10, 6, metal);
        fillEllipse(img, engine.x - 3, engine.y - 8, 4, 28, blur);
    }

    outline(img, 50);
    return img;
}

// Unkeyed and drawn whole, for shots flying either way: symmetric in both axes.
Image drawShoot()
{
    Image img(12, 6);
    fillRect(img, 0, 0, 12, 6, {186, 62, 14});
    fillRect(img, 1, 1, 10, 4, {246, 136, 28});
    fillRect(img, 2, 2, 8, 2, {255, 214, 70});
    fillRect(img, 4, 2, 4, 2, {255, 244, 170});
    for (Point corner : {Point{0, 0}, Point{11, 0}, Point{0, 5}, Point{11, 5}})
        put(img, corner.x, corner.y, {120, 36, 10});
    return img;
}

// Pointed at the top and widest below the middle, with a few brown spots.
Image drawEgg()
{
    Image img(20, 26);
    const Region egg = [](int x, int y) { return Ellipse{1, 7, 18, 19}(x, y) || Ellipse{3, 0, 14, 22}(x, y); };
    fill(img, egg, {230, 220, 186});
    fill(img, without(egg, moved(egg, -3, -3)), {196, 182, 146});
    fillEllipse(img, 5, 5, 5, 7, {244, 238, 212});
    Rng rng(7);
    for (int i = 0; i < 7; ++i) {
        const int x = rng.range(4, 14);
        const int y = rng.range(6, 21);
        if (egg(x, y) && egg(x + 1, y))
            fillRect(img, x, y, 2, 1, {150, 110, 70});
    }
    outline(img, 60);
    return img;
}

// A spiky star whose outer points vary in length, so each layer of the
// fireball looks torn rather than geometric.
Polygon burst(Point centre, int points, int inner, int outerMin, int outerMax, int turn, Rng& rng)
{
    Polygon star;
    for (int i = 0; i < 2 * points; ++i) {
        const int radius = i % 2 ? inner : rng.range(outerMin, outerMax);
        star.pts.push_back(polar(centre, radius, turn + i * 180 / points));
    }
    return star;
}

Image drawExplosion()
{
    Image img(80, 80);
    const Point centre{40, 40};
    Rng rng(1943);
    // Flying debris around the fireball.
    for (int i = 0; i < 9; ++i) {
        // One draw per statement: compilers evaluate call arguments in different orders.
        const int radius = rng.range(30, 36);
        const int angle = rng.range(0, 359);
        const Point p = polar(centre, radius, angle);
        fillEllipse(img, p.x - 2, p.y - 2, 4, 4, {90, 40, 24});
    }
    // Hotter, smaller layers inside cooler ones.
    fill(img, burst(centre, 14, 22, 30, 39, 0, rng), {196, 36, 18});
    fill(img, burst(centre, 12, 16, 22, 28, 7, rng), {240, 110, 24});
    fill(img, burst(centre, 10, 11, 14, 19, 3, rng), {252, 196, 40});
    fillEllipse(img, 32, 32, 16, 16, {255, 238, 150});
    outline(img, 60);
    return img;
}

// A stegosaur in side view, head to the right: two rows of plates along the
// arched back and spikes at the end of the tail.
Image drawStegosaurus()
{
    Image img(65, 35);
    const Rgb skin{92, 140, 60}, dark{60, 98, 40}, belly{150, 166, 92};
    const Rgb plate{200, 116, 48}, farPlate{146, 82, 36}, rim{110, 60, 26}, spike{214, 200, 156};

    // A plate is a rounded diamond standing on the back; its dark rim keeps
    // neighbouring plates apart.
    auto drawPlate = [&](int cx, int base, int height, Rgb c) {
        const int mid = base - height / 2;
        fillPolygon(img, {{cx - 3, base + 3}, {cx - 4, mid}, {cx, base - height}, {cx + 4, mid}, {cx + 3, base + 3}},
                    rim);
        fillPolygon(img, {{cx - 2, base + 3}, {cx - 3, mid}, {cx, base - height + 2}, {cx + 3, mid}, {cx + 2, base + 3}},
                    c);
    };
    const int farPlates[][3] = {{22, 14, 9}, {31, 12, 12}, {40, 14, 8}};
    for (const auto& p : farPlates)
        drawPlate(p[0], p[1], p[2], farPlate);
    const int nearPlates[][3] = {{17, 16, 7}, {26, 13, 11}, {35, 12, 11}, {44, 16, 7}};
    for (const auto& p : nearPlates)
        drawPlate(p[0], p[1], p[2], plate);

    fillPolygon(img, {{3, 12}, {8, 12}, {1, 2}}, spike);
    fillPolygon(img, {{7, 14}, {12, 14}, {7, 4}}, spike);
    fillPolygon(img, {{1, 12}, {5, 14}, {0, 19}}, spike);

    fillPolygon(img, {{26, 24}, {33, 24}, {32, 34}, {27, 34}}, dark);
    fillPolygon(img, {{42, 24}, {48, 24}, {48, 34}, {43, 34}}, dark);

    const Region body = Ellipse{13, 12, 38, 20};
    fill(img, body, skin);
    fill(img, without(body, moved(body, 0, -4)), belly);
    fillPolygon(img, {{18, 15}, {8, 11}, {0, 10}, {0, 14}, {10, 18}, {18, 27}}, skin);
    fillPolygon(img, {{46, 17}, {56, 21}, {58, 27}, {46, 28}}, skin);
    fillEllipse(img, 52, 21, 12, 8, skin);
    fillRect(img, 57, 26, 6, 1, dark);
    fillRect(img, 57, 23, 2, 2, {30, 30, 30});

    fillPolygon(img, {{18, 22}, {28, 22}, {27, 34}, {20, 34}}, skin);
    fillPolygon(img, {{37, 25}, {43, 25}, {43, 34}, {38, 34}}, skin);
    fillRect(img, 19, 33, 9, 2, dark);
    fillRect(img, 37, 33, 7, 2, dark);

    outline(img, 55);
    return img;
}

// The folded pack as it is launched; unkeyed, so it is a solid block.
Image drawFallschirm()
{
    Image img(24, 18);
    const Rgb edge{58, 64, 34}, cloth{110, 120, 68}, flap{92, 102, 56}, strap{120, 84, 44};
    const Rgb buckle{170, 168, 150}, handle{200, 34, 30};
    fillRect(img, 0, 0, 24, 18, edge);
    fillRect(img, 1, 1, 22, 16, cloth);
    fillRect(img, 1, 1, 22, 5, flap);
    fillRect(img, 1, 6, 22, 1, edge);
    fillRect(img, 5, 0, 3, 18, strap);
    fillRect(img, 16, 0, 3, 18, strap);
    fillRect(img, 4, 9, 5, 3, buckle);
    fillRect(img, 15, 9, 5, 3, buckle);
    fillRect(img, 10, 11, 4, 3, handle);
    return img;
}

// Floor division; `/` rounds towards zero, which would make the gore left
// of the middle one pixel wider than its mirror image.
int floorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Open canopy; its lines meet at the bottom edge, just above the animal that
// hangs below it.
Image drawFallschirmoffen()
{
    Image img(65, 30);
    const Rgb panels[] = {{206, 48, 38}, {236, 220, 186}};
    const Rgb cord{70, 66, 60};
    constexpr int kGore = 8;
    constexpr int kHem = 13;
    constexpr int kApex = -12;

    // Each gore's hem bulges down between the two lines holding it.
    auto hem = [](int x) {
        const int u = 2 * (x % kGore) + 1 - kGore;
        return kHem + 2 - 3 * u * u / (kGore * kGore);
    };
    // Seams run from a point above the crown, so the gores narrow towards
    // the top like cloth over a dome. Doubled coordinates keep this integer.
    auto gore = [&](int x, int y) {
        const int fromMiddle = 2 * x + 1 - img.w;
        const int atHem = img.w + floorDiv(fromMiddle * (2 * kHem - 2 * kApex), 2 * y + 1 - 2 * kApex);
        return floorDiv(atHem, 2 * kGore);
    };
    const Region canopy = [&](int x, int y) { return Ellipse{0, 0, img.w, 2 * kHem + 4}(x, y) && y <= hem(x); };

    for (int x = 0; x < img.w; x += kGore)
        drawLine(img, {x, hem(x) - 1}, {26 + x * 12 / (img.w - 1), img.h - 1}, 1, cord);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x)
            if (canopy(x, y))
                put(img, x, y, panels[(gore(x, y) % 2 + 2) % 2]);
    outline(img, 60);
    return img;
}

// Puffs grow towards the middle and sit on a flat base; a grey underside
// gives the cloud some depth.
void drawCloud(Image& img, Box area, Rng& rng)
{
    const Rgb shade{196, 206, 224}, white{238, 242, 248};
    const int base = area.y + area.h;
    const int count = area.w / 40 + 2;
    const int margin = area.h * 2 / 5;
    std::vector<Ellipse> puffs;
    for (int i = 0; i < count; ++i) {
        const int bulge = sin1024(180 * i / (count - 1));
        const int size = area.h * (55 + 45 * bulge / 1024) / 100 - rng.range(0, area.h / 6);
        const int cx = area.x + margin + (area.w - 2 * margin) * i / (count - 1);
        puffs.push_back({cx - size * 3 / 4, base + size / 5 - size, size * 3 / 2, size});
    }
    const Region cloud = [puffs, base](int x, int y) {
        if (y >= base)
            return false;
        for (const Ellipse& e : puffs)
            if (e(x, y))
                return true;
        return false;
    };
    fill(img, cloud, shade, area);
    fill(img, both(cloud, moved(cloud, 0, -5)), white, area);
}

// Hill outline as a sum of slow waves, so the ground rolls without repeating.
int hillTop(int x, int base, int phase)
{
    return base + 9 * sin1024(x * 3 / 5 + phase) / 1024 + 5 * sin1024(x * 7 / 4 + 2 * phase) / 1024 +
           2 * sin1024(x * 5 + phase) / 1024;
}

// Sky, clouds and rolling grass. The strip y 20..60 and the centre
// x 300..800, y 340..420 stay plain sky, because text is printed there.
Image drawBackground()
{
    Image img(1024, 768);
    const Rgb zenith{58, 112, 196}, horizon{172, 208, 238};
    for (int y = 0; y < img.h; ++y)
        fillRect(img, 0, y, img.w, 1, mix(zenith, horizon, y, img.h - 1));

    fillEllipse(img, 868, 92, 76, 76, {255, 236, 140});
    fillEllipse(img, 876, 100, 60, 60, {255, 246, 190});

    Rng rng(2024);
    for (Box area : {Box{70, 96, 190, 56}, Box{470, 140, 220, 66}, Box{800, 244, 170, 50},
                     Box{40, 320, 200, 60}, Box{860, 430, 140, 48}, Box{360, 490, 190, 54},
                     Box{120, 560, 150, 42}, Box{700, 580, 180, 48}})
        drawCloud(img, area, rng);

    const Rgb farHill{98, 148, 118}, nearHill{78, 142, 56}, grass{64, 124, 44}, tuft{46, 98, 32};
    for (int x = 0; x < img.w; ++x) {
        fillRect(img, x, hillTop(x, 700, 40), 1, img.h, farHill);
        fillRect(img, x, hillTop(x + 300, 726, 200), 1, img.h, nearHill);
        fillRect(img, x, hillTop(x + 700, 748, 110), 1, img.h, grass);
    }
    for (int i = 0; i < 900; ++i) {
        const int x = rng.range(0, img.w - 1);
        const int y = rng.range(hillTop(x + 300, 726, 200) + 2, img.h - 1);
        fillRect(img, x, y, 1, rng.range(2, 4), i % 3 ? tuft : Rgb{104, 166, 70});
    }
    for (int x : {90, 380, 610, 930}) {
        const int ground = hillTop(x + 3, 700, 40);
        fillRect(img, x, ground - 8, 4, 12, {92, 66, 40});
        fillEllipse(img, x - 7, ground - 26, 18, 22, {52, 108, 60});
    }
    return img;
}

} // namespace

const std::vector<Sprite> gameSprites = {
    {"Heli.bmp", drawHeli, true},
    {"F-1 Rex.bmp", drawRex, true},
    {"B-1 EggFall.bmp", drawEggFall, true},
    {"Shoot.bmp", drawShoot, false},
    {"Egg.bmp", drawEgg, true},
    {"Explosion.bmp", drawExplosion, true},
    {"Stegosaurus.bmp", drawStegosaurus, true},
    {"Fallschirm.bmp", drawFallschirm, false},
    {"Fallschirmoffen.bmp", drawFallschirmoffen, true},
    {"Background.bmp", drawBackground, false},
};
