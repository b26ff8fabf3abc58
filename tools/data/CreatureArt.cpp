// The creatures' pictures. Each kind is drawn by one of a few body plans
// (two legs, four legs, a snake, many legs, a blob, a floating eye, a
// mushroom) with its own size, colours and features, for every facing and
// every step of its actions: a four-step walk, standing, fidgeting, a
// three-step attack, casting, a four-step fall, and a hit flash.
//
// Humans are drawn in the colours the recoloured form recognises: a shirt of
// pure green, brown trousers and yellowish hair, each in a few shades.

#include "data/CreatureArt.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "media/DIBitmap.h"
#include "media/Painter.h"

namespace art {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    int r, g, b;
};

// A colour whose 5-6-5 parts are exactly (r, g, b).
constexpr Rgb Exact565(int r, int g, int b) {
    return {r * 8 + 4, g * 4 + 2, b * 8 + 4};
}

// Shades of a colour. A pure green stays pure green, so that a human's
// shirt keeps being recognised in every shade.
bool IsPureGreen(Rgb c) {
    return c.r < 8 && c.b < 8;
}
Rgb Darker(Rgb c, int percent) {
    return {c.r * (100 - percent) / 100, c.g * (100 - percent) / 100, c.b * (100 - percent) / 100};
}
Rgb Lighter(Rgb c, int percent) {
    if (IsPureGreen(c)) return {c.r, c.g + (255 - c.g) * percent / 100, c.b};
    return {c.r + (255 - c.r) * percent / 100, c.g + (255 - c.g) * percent / 100,
            c.b + (255 - c.b) * percent / 100};
}

// The one palette of every creature bitmap, filled as colours are asked for.
// Index 0 is the see-through colour.
class ArtPalette {
public:
    ArtPalette() { m_Palette[0] = {255, 0, 255}; }
    uint8_t operator()(Rgb c) {
        c = {std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255)};
        const int key = (c.r << 16) | (c.g << 8) | c.b;
        if (auto it = m_Index.find(key); it != m_Index.end()) return it->second;
        if (m_iUsed < 256) {
            const auto i = static_cast<uint8_t>(m_iUsed++);
            m_Palette[i] = {static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g),
                            static_cast<uint8_t>(c.b)};
            m_Index[key] = i;
            return i;
        }
        int best = 1, bestD = 1 << 30;  // full: the nearest colour
        for (int i = 1; i < 256; ++i) {
            const int dr = m_Palette[i].r - c.r, dg = m_Palette[i].g - c.g,
                      db = m_Palette[i].b - c.b;
            if (dr * dr + dg * dg + db * db < bestD) {
                bestD = dr * dr + dg * dg + db * db;
                best = i;
            }
        }
        return static_cast<uint8_t>(best);
    }
    const Palette& Colours() const { return m_Palette; }

private:
    Palette m_Palette{};
    int m_iUsed = 1;
    std::map<int, uint8_t> m_Index;
};

ArtPalette& Pal() {
    static ArtPalette palette;
    return palette;
}

// What one frame shows.
struct Pose {
    int facing = 0;
    double sx = 1, sy = 0;  // the facing as a direction on the screen
    double walk = -1;       // phase of the walk in radians, below 0 standing
    double attack = 0;      // 0 .. 1 reach of the blow
    double cast = 0;        // 0 .. 1 arms raised
    double fidget = 0;      // 0 .. 1
    int morph = 0;          // changeling: 1 changing, 2 shell
};

Pose Facing(int f) {
    Pose p;
    p.facing = f;
    // World x runs right on the screen and world y down-left.
    const double wx = std::cos(f * kPi / 4), wy = std::sin(f * kPi / 4);
    double x = wx - wy, y = wy;
    const double n = std::sqrt(x * x + y * y);
    p.sx = x / n;
    p.sy = y / n;
    return p;
}

// A kind's size, colours and features.
struct Look {
    int w = 48, h = 64, hotX = 24, hotY = 58;
    double size = 48;  // height (two legs) or length of the body
    Rgb body{128, 128, 128}, second{90, 90, 90}, third{60, 60, 60}, skin{200, 160, 120};
    Rgb eye{20, 20, 20};
    Rgb outline{24, 20, 28};
    double bulk = 1.0;
    bool ears = false, beard = false, club = false, bones = false, glow = false, rags = false;
    bool vines = false, blocky = false, faint = false, skirt = false, horns = false;
    bool tail = true, flame = false, dagger = false, fur = false;
    int legs = 8;
};

using Plan = std::function<void(Painter&, const Look&, const Pose&)>;

struct Kind {
    std::string section, caption;
    Look look;
    Plan plan;
    int speed = 100;
    bool fall = true;  // falls over when it dies (else it slumps)
    bool recoloured = false;
};

int R(double v) {
    return static_cast<int>(std::lround(v));
}

void Disc(Painter& p, double x, double y, double rx, double ry, Rgb c) {
    p.Ellipse(R(x), R(y), std::max(1, R(rx)), std::max(1, R(ry)), Pal()(c));
}
void Limb(Painter& p, double x0, double y0, double x1, double y1, int thick, Rgb c) {
    p.Line(R(x0), R(y0), R(x1), R(y1), Pal()(c), thick);
}

// Eyes on a head at (x, y) of radius r looking along the pose; none from behind.
void Eyes(Painter& p, double x, double y, double r, const Pose& s, Rgb c, int size = 1) {
    if (s.sy < -0.35) return;
    const double ex = x + s.sx * r * 0.45, ey = y + s.sy * r * 0.25;
    const double apart = r * 0.38 * (1 - std::fabs(s.sx)) + 0.5;
    if (std::fabs(s.sx) > 0.9) {
        p.Box(R(ex), R(ey) - size / 2, R(ex) + size, R(ey) - size / 2 + size, Pal()(c));
        return;
    }
    for (double d : {-apart - 0.5, apart})
        p.Box(R(ex + d), R(ey) - size / 2, R(ex + d) + size, R(ey) - size / 2 + size, Pal()(c));
}

// ---- Two legs

void Biped(Painter& p, const Look& L, const Pose& s) {
    const double H = L.size, fx = L.hotX, fy = L.hotY;
    const bool walking = s.walk >= 0;
    const double bob = walking ? -std::fabs(std::sin(s.walk)) * H * 0.03 : 0;
    const double legLen = H * 0.42, torso = H * 0.31, headR = H * (L.beard ? 0.10 : 0.115);
    const double hipY = fy - legLen + bob, shoulderY = hipY - torso;
    const double lean = s.attack * 2 * s.sx;
    const double headY = shoulderY - headR * 0.95;
    const double across = 1 - std::fabs(s.sx) * 0.55;  // seen from the side, narrower
    const double hip = H * 0.09 * L.bulk * across, shoulder = H * 0.14 * L.bulk * across;
    const int limb = std::max(2, R(H * 0.075 * L.bulk));
    const Rgb legC = L.second, legShade = Darker(L.second, 25);
    const bool away = s.sy < -0.35;

    auto leg = [&](int side) {
        const double phase = walking ? std::sin(s.walk + (side > 0 ? 0 : kPi)) : 0;
        const double swing = phase * legLen * 0.4;
        const double x0 = fx + side * hip, y0 = hipY;
        const double lift = walking ? std::max(0.0, -phase) * 2 : 0;
        const double x1 = x0 + swing * s.sx, y1 = fy - lift + swing * s.sy * 0.4;
        const Rgb c = side * s.sx > 0 ? legC : legShade;
        if (L.bones) {
            Limb(p, x0, y0, x1, y1, 2, L.body);
            Disc(p, (x0 + x1) / 2, (y0 + y1) / 2, 1.5, 1.5, L.body);
        } else {
            Limb(p, x0, y0, x1, y1, limb, c);
        }
        Limb(p, x1, y1, x1 + s.sx * limb, y1, std::max(2, limb - 1), L.third);  // the foot
    };
    auto arm = [&](int side, bool front) {
        const double x0 = fx + side * shoulder + lean, y0 = shoulderY + limb * 0.5;
        double x1, y1;
        const double armLen = torso * 0.95;
        if (s.cast > 0) {
            x1 = x0 + side * 3;
            y1 = y0 - armLen * s.cast;
        } else if (front && s.attack > 0) {
            x1 = x0 + s.sx * armLen * (0.4 + s.attack);
            y1 = y0 + armLen * (0.3 - 0.2 * s.attack) + s.sy * armLen * 0.5 * s.attack;
        } else {
            const double swing = walking ? std::sin(s.walk + (side > 0 ? kPi : 0)) * 4 : 0;
            x1 = x0 + swing * s.sx + side * 1.5;
            y1 = y0 + armLen + s.fidget * 2 * side;
        }
        const Rgb sleeve = front ? L.body : Darker(L.body, 20);
        if (L.bones) {
            Limb(p, x0, y0, x1, y1, 2, L.body);
        } else {
            Limb(p, x0, y0, (x0 + x1) / 2, (y0 + y1) / 2, limb, sleeve);
            Limb(p, (x0 + x1) / 2, (y0 + y1) / 2, x1, y1, std::max(2, limb - 1),
                 L.rags || L.vines ? sleeve : L.skin);
        }
        if (s.cast > 0.9)  // sparks at the raised hands
            for (int i = 0; i < 3; ++i)
                Disc(p, x1 + (i - 1) * 2.5, y1 - 3 - (i % 2) * 2, 1, 1, {255, 250, 150});
        if (front && (L.club || L.dagger)) {
            const double ang = s.attack > 0 ? -0.6 + s.attack * 1.6 : -1.2;
            const double len = L.club ? H * 0.33 : H * 0.18;
            const double dx = std::sin(ang) * (s.sx >= 0 ? 1 : -1), dy = -std::cos(ang);
            Limb(p, x1, y1, x1 + dx * len, y1 + dy * len, L.club ? limb + 1 : 1,
                 L.club ? Rgb{110, 70, 30} : Rgb{200, 200, 215});
            if (L.club) Disc(p, x1 + dx * len, y1 + dy * len, limb * 0.9, limb * 0.9, {90, 55, 25});
        }
    };
    const int frontSide = s.sx >= 0 ? 1 : -1;
    if (!away) arm(-frontSide, false);
    leg(-frontSide);
    leg(frontSide);
    if (away) {
        arm(-frontSide, false);
        arm(frontSide, true);
    }
    // The body.
    if (L.bones) {
        Limb(p, fx + lean, hipY, fx + lean, shoulderY, 2, L.body);
        for (int i = 0; i < 3; ++i) {
            const double y = shoulderY + 3 + i * torso * 0.25;
            Limb(p, fx - shoulder * 0.8 + lean, y, fx + shoulder * 0.8 + lean, y, 1, L.body);
        }
        Limb(p, fx - hip + lean, hipY, fx + hip + lean, hipY, 2, L.body);
    } else {
        const Rgb top = L.body, low = L.skirt ? L.second : Darker(L.body, 15);
        p.Polygon({{R(fx - shoulder + lean), R(shoulderY)},
                   {R(fx + shoulder + lean), R(shoulderY)},
                   {R(fx + hip * 1.05), R(hipY + 1)},
                   {R(fx - hip * 1.05), R(hipY + 1)}},
                  Pal()(top));
        Disc(p, fx + lean + s.sx * shoulder * 0.4, shoulderY + torso * 0.35, shoulder * 0.45,
             torso * 0.25, Lighter(top, 12));
        if (L.skirt)
            p.Polygon({{R(fx - hip * 1.1), R(hipY - 3)},
                       {R(fx + hip * 1.1), R(hipY - 3)},
                       {R(fx + hip * 2.2), R(hipY + legLen * 0.55)},
                       {R(fx - hip * 2.2), R(hipY + legLen * 0.55)}},
                      Pal()(low));
        else
            p.Box(R(fx - hip * 1.1), R(hipY - 2), R(fx + hip * 1.1) + 1, R(hipY + 1),
                  Pal()(L.third));  // the belt
        if (L.rags)
            for (int i = -2; i <= 2; ++i)
                Limb(p, fx + i * hip * 0.5, hipY, fx + i * hip * 0.6, hipY + 4 + (i & 1) * 2, 1,
                     Darker(top, 30));
        if (L.vines)
            for (int i = 0; i < 7; ++i) {
                const double x = fx - shoulder + i * shoulder / 3;
                Limb(p, x, shoulderY - 2, x + (i % 3 - 1) * 2, hipY + legLen * 0.6, 1,
                     i % 2 ? Darker(top, 35) : Lighter(top, 15));
            }
        if (L.blocky)
            for (int i = 0; i < 3; ++i)
                Limb(p, fx - shoulder, shoulderY + torso * (0.3 + 0.3 * i), fx + shoulder,
                     shoulderY + torso * (0.3 + 0.3 * i) + 1, 1, Darker(top, 35));
        if (L.fur)
            p.Polygon({{R(fx - shoulder), R(shoulderY)},
                       {R(fx + shoulder * 0.6), R(shoulderY)},
                       {R(fx - hip * 0.2), R(hipY - 2)}},
                      Pal()(L.third));
    }
    if (!away) arm(frontSide, true);
    // The head.
    const double hx = fx + lean + s.sx * 1.5;
    if (L.bones) {
        Disc(p, hx, headY, headR, headR * 1.05, L.body);
        if (!away) {
            Disc(p, hx + s.sx * headR * 0.4 - 2.5 * (1 - std::fabs(s.sx)), headY, 1.5, 2,
                 {20, 20, 20});
            if (std::fabs(s.sx) < 0.9)
                Disc(p, hx + s.sx * headR * 0.4 + 2.5, headY, 1.5, 2, {20, 20, 20});
            Limb(p, hx - 2 + s.sx * 2, headY + headR * 0.7, hx + 2 + s.sx * 2, headY + headR * 0.7,
                 1, {60, 60, 60});
        }
    } else {
        Disc(p, hx, headY, headR, headR * 1.05, L.skin);
        if (L.ears) {
            for (int side : {-1, 1})
                p.Polygon({{R(hx + side * headR * 0.8), R(headY - 2)},
                           {R(hx + side * headR * 2.0), R(headY - headR * 0.9)},
                           {R(hx + side * headR * 0.7), R(headY + 2)}},
                          Pal()(Darker(L.skin, 10)));
        }
        if (L.horns)
            for (int side : {-1, 1})
                Limb(p, hx + side * headR * 0.6, headY - headR * 0.7, hx + side * headR * 1.2,
                     headY - headR * 1.6, 2, {230, 220, 190});
        // Hair: a cap, or the whole head from behind.
        if (away)
            Disc(p, hx, headY - headR * 0.1, headR, headR * 0.95, L.third);
        else if (!L.blocky && !L.faint)
            p.Polygon({{R(hx - headR - 0.5), R(headY)},
                       {R(hx - headR * 0.6), R(headY - headR * 1.05)},
                       {R(hx + headR * 0.6), R(headY - headR * 1.05)},
                       {R(hx + headR + 0.5), R(headY)},
                       {R(hx + s.sx * headR * 0.5), R(headY - headR * 0.45)}},
                      Pal()(L.third));
        if (L.beard && !away)
            p.Polygon({{R(hx - headR * 0.7 + s.sx * 2), R(headY + headR * 0.2)},
                       {R(hx + headR * 0.7 + s.sx * 2), R(headY + headR * 0.2)},
                       {R(hx + s.sx * 3), R(headY + headR * 1.9)}},
                      Pal()(L.third));
        Eyes(p, hx, headY, headR, s, L.eye, L.glow ? 2 : 1);
    }
}

// ---- Four legs

void Quadruped(Painter& p, const Look& L, const Pose& s) {
    const double len = L.size, fx = L.hotX, fy = L.hotY;
    const bool walking = s.walk >= 0;
    const double bodyR = len * 0.2, legH = len * 0.26;
    const double half = len * 0.36 * (0.35 + 0.65 * std::fabs(s.sx));
    const double ax = s.sx, ay = s.sy * 0.5;
    const double cy = fy - legH - bodyR * 0.8 - (walking ? std::fabs(std::sin(s.walk)) : 0);
    const double cx = fx;
    const bool away = s.sy < -0.35;
    const int limb = std::max(2, R(len * 0.07));
    auto legs = [&](bool far) {
        for (int end : {1, -1}) {
            const double phase =
                walking ? std::sin(s.walk + (end > 0 ? 0 : kPi) + (far ? kPi : 0)) : 0;
            const double bx = cx + ax * half * 0.75 * end, by = cy + ay * half * 0.75 * end;
            const double side = (far ? -1 : 1) * bodyR * 0.45 * (1 - std::fabs(s.sx));
            const double x0 = bx + side, y0 = by + bodyR * 0.3 + (far ? -1 : 0);
            const double x1 = x0 + phase * legH * 0.4 * s.sx,
                         y1 = fy + ay * half * 0.75 * end - (far ? 1 : 0);
            Limb(p, x0, y0, x1, y1, limb, far ? Darker(L.body, 25) : L.body);
        }
    };
    auto head = [&]() {
        const double lunge = s.attack * len * 0.12;
        const double hx = cx + ax * (half + bodyR * 0.5 + lunge);
        const double hy = cy + ay * (half + lunge) - bodyR * 0.8 + s.fidget * 2;
        const double hr = bodyR * 0.85;
        Disc(p, hx, hy, hr, hr * 0.9, L.body);
        // The muzzle, with the mouth open in the bite.
        const double mx = hx + s.sx * hr * 0.9, my = hy + hr * 0.3 + s.sy * hr * 0.3;
        Disc(p, mx, my, hr * (0.35 + 0.3 * std::fabs(s.sx)), hr * 0.45, L.second);
        if (s.attack > 0.5)
            Limb(p, mx + s.sx * hr * 0.2, my + 1, mx + s.sx * hr * 0.7, my + 2, 2, {170, 20, 20});
        Disc(p, mx + s.sx * hr * 0.45, my - hr * 0.2, 1, 1, {15, 10, 10});  // the nose
        for (int side : {-1, 1})
            p.Polygon({{R(hx + side * hr * 0.35 - s.sx * 2), R(hy - hr * 0.5)},
                       {R(hx + side * hr * 0.75 - s.sx * 3), R(hy - hr * 1.5)},
                       {R(hx + side * hr * 0.05 - s.sx * 2), R(hy - hr * 0.7)}},
                      Pal()(L.third));
        Eyes(p, hx, hy - hr * 0.15, hr, s, L.eye, L.glow ? 2 : 1);
    };
    auto tail = [&]() {
        if (!L.tail) return;
        const double tx = cx - ax * half, ty = cy - ay * half;
        const double wag = walking ? std::sin(s.walk * 2) * 2 : s.fidget * 3;
        Limb(p, tx, ty, tx - ax * len * 0.3 + wag,
             ty - ay * len * 0.3 - len * 0.12 * (L.flame ? 1.6 : 1), L.flame ? 3 : 2,
             L.flame ? Rgb{255, 170, 30} : Darker(L.body, 15));
    };
    if (away) head();
    if (!away) tail();
    legs(true);
    for (double t = -1; t <= 1.001; t += 0.25)
        Disc(p, cx + ax * half * t, cy + ay * half * t, bodyR * (1 - 0.15 * std::fabs(t)),
             bodyR * 0.85, t * s.sx > 0 ? L.body : Darker(L.body, 8));
    Disc(p, cx + ax * half * 0.2, cy + bodyR * 0.35, half * 0.6 + 1, bodyR * 0.3, L.second);
    if (L.flame)
        for (int i = -2; i <= 2; ++i)
            p.Polygon({{R(cx + i * 3 - 2), R(cy - bodyR * 0.6)},
                       {R(cx + i * 3 + 2), R(cy - bodyR * 0.6)},
                       {R(cx + i * 3 + (i & 1)), R(cy - bodyR * (1.5 + 0.3 * (i & 1)))}},
                      Pal()(i & 1 ? Rgb{255, 220, 60} : Rgb{255, 110, 20}));
    legs(false);
    if (away) tail();
    if (!away) head();
}

// ---- A snake: a chain of discs winding back from the head

void Snake(Painter& p, const Look& L, const Pose& s) {
    const double len = L.size, fx = L.hotX, fy = L.hotY;
    const double phase = s.walk >= 0 ? s.walk : s.fidget;
    const double ax = s.sx, ay = s.sy * 0.5;
    const double px = -ay, py = ax;  // across the body
    const int segments = 12;
    const double r0 = len * 0.075;
    const double reach = s.attack * len * 0.2;
    auto at = [&](int i, double& x, double& y) {
        const double t = static_cast<double>(i) / segments - 0.35;
        const double wave = std::sin(i * 0.9 - phase * 1.5) * len * 0.07 * (i > 0 ? 1 : 0.3);
        x = fx + ax * (-t * len * 0.75 + reach) + px * wave;
        y = fy - r0 + ay * (-t * len * 0.75 + reach) + py * wave * 0.5;
    };
    // Draw from the far end to the near one.
    std::vector<int> order(segments);
    for (int i = 0; i < segments; ++i) order[i] = i;
    if (s.sy >= 0) std::reverse(order.begin(), order.end());
    for (int i : order) {
        double x, y;
        at(i, x, y);
        const double r = r0 * (1.0 - i * 0.055);
        Disc(p, x, y, r, r * 0.8, i % 2 ? L.body : L.second);
        if (i % 3 == 0) Disc(p, x, y - r * 0.3, r * 0.4, r * 0.3, L.third);
    }
    double hx, hy;
    at(0, hx, hy);
    const double hr = r0 * 1.35;
    hy -= s.attack * hr;
    Disc(p, hx + ax * hr * 0.6, hy - hr * 0.3, hr, hr * 0.75, L.body);
    if (s.attack > 0.3 || s.fidget > 0.5)
        Limb(p, hx + ax * hr * 1.5, hy - hr * 0.1, hx + ax * hr * 2.3, hy + 1, 1, {200, 30, 40});
    Eyes(p, hx + ax * hr * 0.6, hy - hr * 0.5, hr, s, L.eye);
}

// ---- Many legs: spiders and scorpions

void ManyLegs(Painter& p, const Look& L, const Pose& s) {
    const double len = L.size, fy = L.hotY;
    const double fx = L.hotX + s.sx * s.attack * len * 0.12;  // it lunges as it bites
    const bool walking = s.walk >= 0;
    const double ax = s.sx, ay = s.sy * 0.5;
    const double bodyR = len * 0.17;
    const double cy = fy - bodyR * 1.1;
    const bool scorpion = !L.tail ? false : true;
    const int pairs = L.legs / 2;
    for (int side : {-1, 1})
        for (int i = 0; i < pairs; ++i) {
            const double t = (i - (pairs - 1) / 2.0) / pairs;
            const double bx = fx + ax * t * bodyR * 1.6, by = cy + ay * t * bodyR * 1.6;
            const double wig =
                walking ? std::sin(s.walk + i * 1.7 + (side > 0 ? kPi : 0)) * 2.5 : 0;
            const double ox = -ay * side, oy = ax * side;  // outward
            const double kx = bx + ox * bodyR * 1.6 + ax * (t * bodyR + wig),
                         ky = by + oy * bodyR * 0.8 - bodyR * 0.9;
            const double ex = kx + ox * bodyR * 0.8 + ax * (t * bodyR * 1.5 + wig),
                         ey = fy + oy * bodyR * 0.5;
            Limb(p, bx, by, kx, ky, 2, L.second);
            Limb(p, kx, ky, ex, ey, 1, L.second);
        }
    if (scorpion) {
        // Pincers at the front and a tail curled over the back.
        for (int side : {-1, 1}) {
            const double ox = -ay * side, oy = ax * side;
            const double bx = fx + ax * bodyR * 1.3 + ox * bodyR * 0.6,
                         by = cy + ay * bodyR * 1.3 + oy * bodyR * 0.4;
            const double cx2 = bx + ax * bodyR * (1.2 + s.attack), cy2 = by + ay * bodyR;
            Limb(p, bx, by, cx2, cy2, 2, L.body);
            Disc(p, cx2, cy2, bodyR * 0.45, bodyR * 0.35, L.third);
        }
    }
    Disc(p, fx - ax * bodyR * 0.6, cy - ay * bodyR * 0.6, bodyR * 1.1, bodyR * 0.85, L.body);
    Disc(p, fx + ax * bodyR * 0.9, cy + ay * bodyR * 0.9, bodyR * 0.6, bodyR * 0.5, L.third);
    if (!scorpion)
        Disc(p, fx - ax * bodyR * 0.6, cy - ay * bodyR * 0.6 - bodyR * 0.3, bodyR * 0.5,
             bodyR * 0.3, L.second);  // the spider's mark
    if (scorpion) {
        double x = fx - ax * bodyR * 1.5, y = cy - ay * bodyR * 1.5;
        const double strike = s.attack;
        for (int i = 0; i < 6; ++i) {
            const double a = i * 0.55;
            const double nx = x - ax * bodyR * 0.4 * std::cos(a) + ax * strike * i * 0.7,
                         ny = y - bodyR * 0.55 - ay * bodyR * 0.3 * std::cos(a);
            Limb(p, x, y, nx, ny, 3, L.body);
            x = nx;
            y = ny;
        }
        Disc(p, x, y, 2, 2, {40, 20, 20});
    }
    Eyes(p, fx + ax * bodyR * 1.0, cy + ay * bodyR * 1.0 - bodyR * 0.2, bodyR * 0.6, s, L.eye);
}

// ---- Blobs: gels, slimes, molds, snow puffs, the changeling

void Blob(Painter& p, const Look& L, const Pose& s) {
    const double size = L.size, fx = L.hotX, fy = L.hotY;
    const double squash = s.walk >= 0 ? std::sin(s.walk) * 0.15 : s.fidget * 0.1;
    const double rx = size * 0.5 * (1 + squash + s.attack * 0.2);
    const double ry = size * 0.32 * L.bulk * (1 - squash) * (1 + s.cast * 0.3);
    // The body leans toward where it faces.
    const double cx = fx + s.sx * (s.attack * size * 0.15 + rx * 0.12), cy = fy - ry;
    if (s.morph == 2) {  // the hard shell
        p.Polygon({{R(cx - rx), R(fy)},
                   {R(cx - rx * 0.7), R(cy - ry * 1.2)},
                   {R(cx), R(cy - ry * 1.6)},
                   {R(cx + rx * 0.7), R(cy - ry * 1.2)},
                   {R(cx + rx), R(fy)}},
                  Pal()({120, 115, 100}));
        for (int i = 0; i < 4; ++i)
            Limb(p, cx - rx * 0.6 + i * rx * 0.4, fy - 2, cx - rx * 0.4 + i * rx * 0.3, cy - ry, 1,
                 {80, 75, 65});
        return;
    }
    if (L.fur) {  // a snow puff: a cluster of balls
        for (int i = 0; i < 7; ++i) {
            const double a = i * 2 * kPi / 7 + s.fidget;
            Disc(p, cx + std::cos(a) * rx * 0.55, cy + std::sin(a) * ry * 0.5, rx * 0.45, ry * 0.5,
                 i % 2 ? L.body : L.second);
        }
        Disc(p, cx, cy, rx * 0.6, ry * 0.65, Lighter(L.body, 30));
    } else if (L.blocky) {  // a gel: a wobbling cube with things inside
        p.Polygon({{R(cx - rx * 0.8), R(fy)},
                   {R(cx - rx * 0.9), R(cy - ry)},
                   {R(cx + rx * 0.9), R(cy - ry)},
                   {R(cx + rx * 0.8), R(fy)}},
                  Pal()(L.body));
        const double lean = s.sx * rx * 0.35;
        p.Polygon({{R(cx - rx * 0.9), R(cy - ry)},
                   {R(cx - rx * 0.6 + lean), R(cy - ry * 1.45)},
                   {R(cx + rx * 0.6 + lean), R(cy - ry * 1.45)},
                   {R(cx + rx * 0.9), R(cy - ry)}},
                  Pal()(Lighter(L.body, 25)));
        Disc(p, cx - rx * 0.3, cy, 2, 2, L.third);
        Disc(p, cx + rx * 0.35, cy + ry * 0.4, 3, 2, L.third);
    } else {
        Disc(p, cx, cy, rx, ry, L.body);
        // A front lobe toward its facing, a shine on the far side.
        Disc(p, cx + s.sx * rx * 0.55, cy - ry * 0.25 + s.sy * ry * 0.3, rx * 0.45, ry * 0.6,
             s.sy < -0.35 ? Darker(L.body, 15) : L.body);
        Disc(p, cx - s.sx * rx * 0.35, cy - ry * 0.35, rx * 0.3, ry * 0.28, Lighter(L.body, 30));
        if (L.vines)  // mold: a fuzzy rim and spores
            for (int i = 0; i < 9; ++i) {
                const double x = cx - rx + i * rx / 4;
                Limb(p, x, cy - ry * 0.6, x + (i % 3 - 1), cy - ry * (1.1 + (i % 2) * 0.3), 1,
                     L.second);
            }
        if (s.morph == 1)  // changing: lumps pushing out
            for (int i = 0; i < 5; ++i)
                Disc(p, cx + std::cos(i * 1.3) * rx * 0.8, cy + std::sin(i * 1.3) * ry * 0.7,
                     rx * 0.3, ry * 0.35, i % 2 ? L.second : L.third);
    }
    if (s.cast > 0)
        for (int i = 0; i < 5; ++i)
            Disc(p, cx + (i - 2) * rx * 0.35, cy - ry * 1.3 - (i % 2) * 3, 1, 1, L.third);
    Eyes(p, cx + s.sx * rx * 0.3, cy - ry * 0.1, std::max(rx, 4.0) * 0.7, s, L.eye, 2);
}

// ---- A floating eye

void FloatingEye(Painter& p, const Look& L, const Pose& s) {
    const double r = L.size * 0.5, fx = L.hotX, fy = L.hotY;
    const double hover = 6 + (s.walk >= 0 ? std::sin(s.walk) * 2 : s.fidget * 2);
    Disc(p, fx, fy - 2, r * 0.7, 2, {40, 40, 40});  // its shadow
    const double cx = fx, cy = fy - hover - r;
    // Stalks above, a ball, and the iris turned toward its facing.
    for (int i = -1; i <= 1; ++i)
        Limb(p, cx + i * r * 0.4, cy - r * 0.7, cx + i * r * 0.7, cy - r * 1.3 - (i == 0 ? 2 : 0),
             1, L.second);
    Disc(p, cx, cy, r, r, L.body);
    if (s.sy < -0.35) {
        Disc(p, cx, cy, r * 0.6, r * 0.6, Darker(L.body, 20));  // from behind: the back of it
        return;
    }
    const double ix = cx + s.sx * r * 0.45, iy = cy + s.sy * r * 0.3;
    Disc(p, ix, iy, r * 0.55, r * 0.55, {245, 245, 235});
    Disc(p, ix + s.sx * r * 0.1, iy, r * 0.32, r * 0.32,
         s.attack > 0.3 ? Rgb{230, 30, 30} : L.third);
    Disc(p, ix + s.sx * r * 0.15, iy, r * 0.13, r * 0.13, {10, 10, 10});
    if (s.attack > 0.3 || s.cast > 0)
        Limb(p, ix, iy, ix + s.sx * r * 2, iy + s.sy * r * 1.2, 1, {255, 255, 120});
}

// ---- A mushroom

void Mushroom(Painter& p, const Look& L, const Pose& s) {
    const double h = L.size, fx = L.hotX, fy = L.hotY;
    const double sway =
        s.sx * 2 + s.sy +
        (s.walk >= 0 ? std::sin(s.walk) * 1.5 : s.fidget * 1.5 + s.attack * 3 * s.sx);
    const double stemW = h * 0.16, capR = h * 0.36;
    p.Polygon({{R(fx - stemW), R(fy)},
               {R(fx - stemW * 0.8 + sway), R(fy - h * 0.55)},
               {R(fx + stemW * 0.8 + sway), R(fy - h * 0.55)},
               {R(fx + stemW), R(fy)}},
              Pal()(L.second));
    Eyes(p, fx + sway, fy - h * 0.3, stemW * 1.6, s, L.eye, 2);
    const double capY = fy - h * 0.58;
    p.Polygon({{R(fx - capR + sway), R(capY + 2)},
               {R(fx - capR * 0.7 + sway), R(capY - h * 0.22)},
               {R(fx + sway), R(capY - h * 0.3)},
               {R(fx + capR * 0.7 + sway), R(capY - h * 0.22)},
               {R(fx + capR + sway), R(capY + 2)}},
              Pal()(L.body));
    for (int i = 0; i < 4; ++i)
        Disc(p, fx + sway + (i - 1.5) * capR * 0.45, capY - h * 0.12 - (i % 2) * h * 0.07, 1.5, 1.2,
             L.third);
    if (s.attack > 0.3)  // a puff of spores
        for (int i = 0; i < 6; ++i)
            Disc(p, fx + sway + s.sx * (capR + i * 2), capY - i * 2, 1, 1, L.third);
}

// ---- Frame making

// A dark edge round every drawn shape, so that the figure stands out on the
// ground whatever its colours.
void AddOutline(CDIBitmap& bm, Rgb colour) {
    const uint8_t c = Pal()(colour);
    CDIBitmap copy = bm;
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x) {
            if (copy.GetPixel(x, y) != 0) continue;
            const bool edge = (x > 0 && copy.GetPixel(x - 1, y)) ||
                              (x + 1 < bm.Width() && copy.GetPixel(x + 1, y)) ||
                              (y > 0 && copy.GetPixel(x, y - 1)) ||
                              (y + 1 < bm.Height() && copy.GetPixel(x, y + 1));
            if (edge) bm.SetPixel(x, y, c);
        }
}

// The picture turned by `degrees` about (cx, cy), or squashed toward the
// ground line when it cannot fall over.
CDIBitmap Fallen(const CDIBitmap& src, double t, bool fall, int cx, int cy, double side,
                 double height) {
    CDIBitmap out(src.Width(), src.Height());
    const double a = t * 80 * kPi / 180 * side;
    // Moved back by half the turned height, so the body stays in the frame.
    const double shift = std::sin(a) * height * 0.5;
    const double squash = 1 - 0.55 * t;
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            double sx, sy;
            if (fall) {
                // Pivot a little above the feet so a lying figure stays in the frame.
                const double dx = x + shift - cx, dy = y - (cy - 2);
                sx = cx + dx * std::cos(a) + dy * std::sin(a);
                sy = cy - 2 - dx * std::sin(a) + dy * std::cos(a);
            } else {
                sx = cx + (x - cx) / (1 + 0.25 * t);  // spread out
                sy = cy - (cy - y) / squash;
            }
            out.SetPixel(x, y, src.GetPixel(R(sx), R(sy)));
        }
    return out;
}

struct ActionArt {
    const char* keyword;
    const char* file;
    int steps;
    int length;
};
constexpr ActionArt kMove{"MOVE", "move", 4, 400};
constexpr ActionArt kStop{"STOP", "stop", 1, 100};
constexpr ActionArt kFigit{"FIGIT", "figit", 2, 1600};
constexpr ActionArt kAttack{"ATTACK1", "attack", 3, 600};
constexpr ActionArt kCast{"CAST", "cast", 2, 800};
constexpr ActionArt kDead{"DEAD", "dead", 4, 2000};
constexpr ActionArt kChange{"ATTACK3", "change", 3, 500};
constexpr ActionArt kShell{"ATTACK4", "shell", 1, 4000};
constexpr int kStopPause = 1000;
constexpr int kFlashSteps = 3;

Pose PoseFor(const ActionArt& a, int step, int facing) {
    Pose s = Facing(facing);
    const std::string k = a.keyword;
    if (k == "MOVE") s.walk = step * kPi / 2 + kPi / 8;  // four different phases
    if (k == "FIGIT") s.fidget = step;
    if (k == "ATTACK1") s.attack = step == 0 ? 0.35 : step == 1 ? 1.0 : 0.5;
    if (k == "CAST") s.cast = step == 0 ? 0.6 : 1.0;
    if (k == "ATTACK3") s.morph = 1, s.fidget = step * 0.5;
    if (k == "ATTACK4") s.morph = 2;
    return s;
}

CDIBitmap PaintFrame(const Kind& kind, const ActionArt& a, int step, int facing) {
    const Look& L = kind.look;
    CDIBitmap bm(L.w, L.h);
    Painter p(bm);
    const bool dead = std::string(a.keyword) == "DEAD";
    Pose s = PoseFor(a, dead ? 0 : step, facing);
    kind.plan(p, L, s);
    AddOutline(bm, L.outline);
    if (dead) {
        const double t = (step + 1) / 4.0;
        bm = Fallen(bm, t, kind.fall, L.hotX, L.hotY, s.sx >= 0 ? -1 : 1, L.size);
        if (step == 3) {  // lying still, in a pool
            CDIBitmap pool(L.w, L.h);
            Painter q(pool);
            q.Ellipse(L.hotX, L.hotY - 1, L.w / 4, 3, Pal()({110, 10, 10}));
            for (int y = 0; y < L.h; ++y)
                for (int x = 0; x < L.w; ++x)
                    if (bm.GetPixel(x, y) == 0 && pool.GetPixel(x, y))
                        bm.SetPixel(x, y, pool.GetPixel(x, y));
        }
    }
    return bm;
}

CDIBitmap PaintFlash(const Kind& kind, int step) {
    const Look& L = kind.look;
    CDIBitmap bm(L.w, L.h);
    Painter p(bm);
    const double cx = L.hotX, cy = L.hotY - std::min<double>(L.hotY * 0.45, L.size * 0.45);
    const double r = std::min(L.w, L.h) * (0.12 + 0.08 * step);
    const Rgb outer = step == 1 ? Rgb{230, 40, 20} : Rgb{250, 150, 30};
    std::vector<qv::Point> star;
    for (int i = 0; i < 16; ++i) {
        const double rr = i % 2 ? r * 0.45 : r;
        star.push_back({R(cx + std::cos(i * kPi / 8) * rr), R(cy + std::sin(i * kPi / 8) * rr)});
    }
    // Painter::Polygon takes a list; build it from the 16 points.
    p.Polygon({star[0], star[1], star[2], star[3], star[4], star[5], star[6], star[7], star[8],
               star[9], star[10], star[11], star[12], star[13], star[14], star[15]},
              Pal()(outer));
    Disc(p, cx, cy, r * 0.35, r * 0.35, {255, 250, 200});
    return bm;
}

// ---- The kinds

// A look of a body `size` long or high in a frame of size x (across, down),
// its feet `lift` pixels above the frame's bottom, in three colours.
Look Framed(double size, double across, double down, int lift, Rgb body, Rgb second, Rgb third) {
    Look L;
    L.size = size;
    L.w = R(size * across);
    L.h = R(size * down);
    L.hotX = L.w / 2;
    L.hotY = L.h - lift;
    L.body = body;
    L.second = second;
    L.third = third;
    return L;
}

Look Humanoid(double size, Rgb body, Rgb legs, Rgb hair, Rgb skin) {
    Look L = Framed(size, std::max(0.95, 40 / size), 1.22, 5, body, legs, hair);
    L.skin = skin;
    return L;
}

Look Beast(double length, Rgb body, Rgb belly, Rgb ears) {
    return Framed(length, 1.6, 1.0, 6, body, belly, ears);
}

// The same look in other colours.
Look Recoloured(Look look, Rgb body, Rgb second, Rgb third) {
    look.body = body;
    look.second = second;
    look.third = third;
    return look;
}

// Human colours the recoloured form recognises (in 5-6-5 parts): the shirt
// pure green, trousers brown (r about 2g, g about 2b), hair with little blue.
constexpr Rgb kShirt = Exact565(0, 44, 0);
constexpr Rgb kTrousers = Exact565(20, 10, 5);
constexpr Rgb kHairColour = Exact565(28, 40, 6);
constexpr Rgb kSkinColour = Exact565(30, 50, 22);
constexpr Rgb kHumanEye = Exact565(4, 10, 9);
constexpr Rgb kHumanEdge = Exact565(5, 12, 10);

std::vector<Kind> BuildKinds() {
    std::vector<Kind> k;
    auto add = [&](std::string section, std::string caption, Look look, Plan plan,
                   int speed = 100) {
        Kind kind;
        kind.section = std::move(section);
        kind.caption = std::move(caption);
        kind.look = look;
        kind.plan = std::move(plan);
        kind.speed = speed;
        k.push_back(std::move(kind));
        return &k.back();
    };
    {  // humans
        Look m = Humanoid(52, kShirt, kTrousers, kHairColour, kSkinColour);
        m.eye = kHumanEye;
        m.outline = kHumanEdge;
        add("HumanMale", "Human (man)", m, Biped)->recoloured = true;
        Look f = m;
        f.skirt = true;
        f.bulk = 0.85;
        add("HumanFemale", "Human (woman)", f, Biped)->recoloured = true;
        Look c = Humanoid(38, kShirt, kTrousers, kHairColour, kSkinColour);
        c.eye = kHumanEye;
        c.outline = kHumanEdge;
        c.bulk = 0.9;
        add("HumanChild", "Human (child)", c, Biped)->recoloured = true;
        add("Human", "Human (as a man)", m, Biped)->recoloured = true;
    }
    {
        Look g = Humanoid(40, {150, 60, 40}, {90, 70, 50}, {40, 40, 30}, {110, 150, 50});
        g.ears = true;
        g.dagger = true;
        g.eye = {240, 220, 40};
        add("Goblin", "Goblin", g, Biped);
        Look giant = Humanoid(84, {150, 120, 80}, {100, 80, 60}, {170, 110, 60}, {225, 180, 140});
        giant.beard = true;
        giant.club = true;
        giant.bulk = 1.3;
        add("Giant", "Giant", giant, Biped);
        Look child = Humanoid(58, {90, 140, 170}, {100, 80, 60}, {170, 110, 60}, {225, 180, 140});
        child.bulk = 1.25;
        add("GiantChild", "Giant Child", child, Biped);
        Look runner = Humanoid(54, {50, 30, 70}, {35, 20, 50}, {20, 10, 30}, {90, 70, 110});
        runner.glow = true;
        runner.eye = {255, 60, 40};
        runner.bulk = 0.75;
        add("NightRunner", "NightRunner", runner, Biped);
        Look sh = Humanoid(54, {70, 100, 40}, {60, 80, 30}, {50, 70, 20}, {80, 110, 50});
        sh.vines = true;
        sh.rags = true;
        sh.bulk = 1.2;
        sh.eye = {230, 230, 90};
        add("Shambles", "Shambles", sh, Biped, 90);
        Look bones =
            Humanoid(52, {235, 230, 210}, {235, 230, 210}, {235, 230, 210}, {235, 230, 210});
        bones.bones = true;
        add("Skeleton", "Skeleton", bones, Biped, 130);
        Look dead = Humanoid(52, {90, 80, 70}, {70, 60, 50}, {50, 50, 40}, {140, 160, 120});
        dead.rags = true;
        dead.eye = {200, 30, 30};
        add("Undead", "Undead", dead, Biped);
        Look golem = Humanoid(66, {130, 130, 125}, {110, 110, 105}, {90, 90, 85}, {150, 150, 145});
        golem.blocky = true;
        golem.bulk = 1.5;
        golem.eye = {80, 200, 255};
        golem.glow = true;
        add("GolemStone", "Stone Golem", golem, Biped, 80);
        Look ug = Humanoid(60, {140, 95, 50}, {120, 80, 40}, {60, 40, 20}, {200, 150, 110});
        ug.fur = true;
        ug.club = true;
        ug.bulk = 1.35;
        ug.horns = false;
        add("Ug", "Ug", ug, Biped, 90);
        Look stalker =
            Humanoid(54, {170, 200, 225}, {150, 185, 215}, {140, 175, 210}, {190, 215, 235});
        stalker.faint = true;
        stalker.outline = {110, 140, 170};
        stalker.eye = {255, 255, 255};
        add("InvisibleStalker", "Invisible Stalker", stalker, Biped, 150);
    }
    {
        Look dog = Beast(44, {170, 120, 60}, {220, 190, 140}, {120, 80, 40});
        add("Dog", "Dog", dog, Quadruped, 150)->fall = false;
        Look dark = Beast(46, {45, 40, 50}, {70, 65, 75}, {30, 25, 35});
        dark.eye = {255, 40, 20};
        dark.glow = true;
        add("DarkHound", "DarkHound", dark, Quadruped, 150)->fall = false;
        Look fire = Beast(46, {210, 80, 20}, {250, 170, 40}, {150, 40, 10});
        fire.flame = true;
        fire.eye = {255, 255, 120};
        add("FireHound", "FireHound", fire, Quadruped, 150)->fall = false;
        Look clear = Beast(46, {190, 220, 235}, {220, 240, 250}, {160, 195, 215});
        clear.outline = {120, 150, 175};
        add("ClearHound", "ClearHound", clear, Quadruped, 150)->fall = false;
        Look rat = Beast(30, {115, 100, 85}, {165, 150, 135}, {210, 150, 150});
        rat.eye = {200, 20, 20};
        add("GiantRat", "Giant Rat", rat, Quadruped, 130)->fall = false;
        add("GiantRatGrey", "Giant Rat - Grey",
            Recoloured(rat, {140, 140, 145}, {185, 185, 190}, rat.third), Quadruped, 130)
            ->fall = false;
        add("GiantRatBrown", "Giant Rat - Brown",
            Recoloured(rat, {120, 70, 35}, {170, 120, 80}, rat.third), Quadruped, 130)
            ->fall = false;
    }
    {
        Look snake = Beast(50, {60, 140, 50}, {200, 190, 60}, {30, 80, 25});
        snake.h = 40;
        snake.hotY = 32;
        snake.eye = {240, 200, 20};
        add("Snake", "Snake", snake, Snake)->fall = false;
        Look huge = Beast(76, {110, 80, 40}, {190, 150, 70}, {60, 40, 20});
        huge.h = 56;
        huge.hotY = 46;
        huge.eye = {240, 60, 20};
        add("SnakeHuge", "Huge Snake", huge, Snake)->fall = false;
        Look spider = Beast(48, {110, 70, 35}, {70, 45, 25}, {150, 100, 55});
        spider.tail = false;
        spider.eye = {230, 30, 30};
        spider.h = 44;
        spider.hotY = 38;
        add("WatchSpider", "Brown Spider", spider, ManyLegs, 150)->fall = false;
        Look scorpion = Beast(48, {150, 40, 30}, {110, 30, 25}, {190, 70, 50});
        scorpion.legs = 6;
        scorpion.h = 48;
        scorpion.hotY = 42;
        scorpion.eye = {20, 20, 20};
        add("Scorpion", "Scorpion", scorpion, ManyLegs)->fall = false;
    }
    {
        auto blob = [](double size, Rgb body, Rgb second, Rgb third) {
            return Framed(size, 1.35, 1.15, 4, body, second, third);
        };
        Look gel = blob(34, {90, 200, 200}, {60, 160, 170}, {30, 90, 100});
        gel.blocky = true;
        add("Gel", "Gel", gel, Blob)->fall = false;
        Look slime = blob(36, {70, 190, 40}, {40, 140, 30}, {20, 80, 20});
        slime.bulk = 0.7;
        add("SlimeGreen", "Green Slime", slime, Blob, 50)->fall = false;
        Look mold = blob(34, {225, 205, 50}, {180, 160, 30}, {255, 240, 140});
        mold.vines = true;
        mold.bulk = 0.45;
        mold.eye = {90, 70, 10};
        add("MoldYellow", "Yellow Mold", mold, Blob, 50)->fall = false;
        Look puff = blob(30, {245, 248, 255}, {215, 225, 240}, {180, 200, 230});
        puff.fur = true;
        puff.bulk = 1.2;
        puff.eye = {40, 60, 120};
        add("SnowPuff", "SnowPuff", puff, Blob, 150)->fall = false;
        Look change = blob(34, {150, 80, 170}, {110, 50, 130}, {200, 140, 210});
        change.eye = {255, 230, 60};
        add("Changeling", "Changeling", change, Blob, 150)->fall = false;
        Look eye = blob(26, {230, 150, 150}, {170, 90, 100}, {60, 140, 60});
        eye.h = 56;
        eye.w = 40;
        eye.hotX = 20;
        eye.hotY = 50;
        add("FloatingEye", "Floating Eye", eye, FloatingEye)->fall = false;
        Look mush = blob(28, {240, 240, 230}, {225, 215, 190}, {190, 180, 160});
        mush.w = 32;
        mush.h = 40;
        mush.hotX = 16;
        mush.hotY = 36;
        mush.eye = {40, 30, 20};
        add("Mushroom", "Mushroom", mush, Mushroom, 10)->fall = false;
        add("MushroomWhite", "Mushroom - White", mush, Mushroom, 10)->fall = false;
        add("MushroomRed", "Mushroom - Red",
            Recoloured(mush, {210, 40, 30}, mush.second, {250, 245, 235}), Mushroom, 10)
            ->fall = false;
        add("MushroomGrey", "Mushroom - Grey",
            Recoloured(mush, {120, 120, 115}, mush.second, {70, 70, 65}), Mushroom, 10)
            ->fall = false;
    }
    return k;
}

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = BuildKinds();
    return kinds;
}

// Writes one file per step of an action, each with the 8 facings side by
// side (layout 0), and answers the entry of the look file.
std::string WriteAction(const Kind& kind, const ActionArt& a, const std::string& folder, bool& ok) {
    std::ostringstream entry;
    entry << a.keyword;
    if (std::string(a.keyword) == "STOP" || std::string(a.keyword) == "FIGIT")
        entry << " " << kStopPause;
    entry << " 0 8 " << a.steps << " " << a.length;
    const Look& L = kind.look;
    for (int step = 0; step < a.steps; ++step) {
        CDIBitmap strip(L.w * 8, L.h);
        for (int f = 0; f < 8; ++f) {
            const CDIBitmap frame = PaintFrame(kind, a, step, f);
            for (int y = 0; y < L.h; ++y)
                for (int x = 0; x < L.w; ++x) strip.SetPixel(f * L.w + x, y, frame.GetPixel(x, y));
        }
        strip.SetPalette(Pal().Colours());
        const std::string name = kind.section + "\\" + a.file + std::to_string(step) + ".bmp";
        ok = ok && strip.Save(folder + kind.section + "/" + a.file + std::to_string(step) + ".bmp");
        entry << " " << name;
    }
    return entry.str();
}

}  // namespace

const std::vector<CreatureKind>& CreatureKinds() {
    static const std::vector<CreatureKind> kinds = [] {
        std::vector<CreatureKind> v;
        for (const Kind& k : Kinds()) v.push_back({k.section, k.caption});
        return v;
    }();
    return kinds;
}

bool WriteCreatureImages(const std::string& folder, std::string& error) {
    std::ostringstream dat;
    bool ok = true;
    for (const Kind& kind : Kinds()) {
        std::error_code ec;
        std::filesystem::create_directories(folder + kind.section, ec);
        if (ec) {
            error = folder + kind.section + ": " + ec.message();
            return false;
        }
        const Look& L = kind.look;
        dat << "NODE " << kind.section << "\n"
            << (kind.recoloured ? 1 : 0) << " " << kind.speed << " 5.0\n"
            << L.w << " " << L.h << "\n"
            << L.hotX << " " << L.hotY << "\n";
        dat << WriteAction(kind, kMove, folder, ok) << "\n";
        dat << "MOVEBOW 3 8 4 400 MOVE\nRUN 3 8 4 300 MOVE\n";
        dat << WriteAction(kind, kStop, folder, ok) << "\n";
        dat << WriteAction(kind, kFigit, folder, ok) << "\n";
        dat << WriteAction(kind, kAttack, folder, ok) << "\n";
        dat << "ATTACK2 3 8 3 600 ATTACK1\n";
        if (kind.section == "Changeling") {
            dat << WriteAction(kind, kChange, folder, ok) << "\n";
            dat << WriteAction(kind, kShell, folder, ok) << "\n";
        } else {
            dat << "ATTACK3 3 8 3 600 ATTACK1\nATTACK4 3 8 3 600 ATTACK1\n";
        }
        dat << "ATTACK5 3 8 3 600 ATTACK1\n";
        dat << WriteAction(kind, kCast, folder, ok) << "\n";
        dat << WriteAction(kind, kDead, folder, ok) << "\n";
        // The hit flash: one strip of its steps.
        CDIBitmap flash(L.w * kFlashSteps, L.h);
        for (int step = 0; step < kFlashSteps; ++step) {
            const CDIBitmap f = PaintFlash(kind, step);
            for (int y = 0; y < L.h; ++y)
                for (int x = 0; x < L.w; ++x) flash.SetPixel(step * L.w + x, y, f.GetPixel(x, y));
        }
        flash.SetPalette(Pal().Colours());
        ok = ok && flash.Save(folder + kind.section + "/flash.bmp");
        dat << "WOUNDED 0 1 " << kFlashSteps << " 300 " << kind.section << "\\flash.bmp\n";
        dat << "END\n";
        if (!ok) {
            error = folder + kind.section + ": a picture could not be written";
            return false;
        }
    }
    std::ofstream out(folder + "PlayerImages.dat", std::ios::binary | std::ios::trunc);
    out << dat.str();
    if (!out.good()) {
        error = folder + "PlayerImages.dat could not be written";
        return false;
    }
    return true;
}

}  // namespace art
