#include "media/Resources.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "media/Painter.h"
#include "media/ResourceArt.h"

namespace {

std::mutex g_StoreMutex;

// ---------------------------------------------------------------- sounds

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

// What a sound is made of: a tone gliding from one pitch to another, some
// noise, an envelope, and an optional tremolo.
struct SoundRecipe {
    double seconds;
    double fromHz;
    double toHz;
    double noise;    // 0 pure tone .. 1 pure noise
    double attack;   // seconds
    double tremolo;  // Hz, 0 none
    double volume;   // 0..1
    bool loop;       // no fade at the ends, so that it repeats smoothly
};

std::shared_ptr<WaveResource> Synthesise(const SoundRecipe& r, uint32_t seed) {
    auto w = std::make_shared<WaveResource>();
    w->sampleRate = kRate;
    const int n = static_cast<int>(r.seconds * kRate);
    w->samples.resize(static_cast<size_t>(n));
    double phase = 0, low = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate, f = t / r.seconds;
        const double hz = r.fromHz + (r.toHz - r.fromHz) * f;
        phase += 2 * kPi * hz / kRate;
        const double tone = std::sin(phase) + 0.3 * std::sin(2 * phase);
        const double white =
            (Painter::Hash(static_cast<uint32_t>(i), seed, 5) & 0xFFFF) / 32768.0 - 1;
        low += (white - low) * 0.2;  // softened noise
        double env = 1;
        if (!r.loop) {
            env = r.attack > 0 && t < r.attack ? t / r.attack : 1;
            env *= std::pow(1 - f, 1.5);
        }
        if (r.tremolo > 0) env *= 0.6 + 0.4 * std::sin(2 * kPi * r.tremolo * t);
        const double v = ((1 - r.noise) * tone / 1.3 + r.noise * low * 2.5) * env * r.volume;
        w->samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::clamp(v, -1.0, 1.0) * 32000);
    }
    return w;
}

const std::map<int, SoundRecipe>& SoundRecipes() {
    static const std::map<int, SoundRecipe> recipes = [] {
        std::map<int, SoundRecipe> m;
        m[328] = {0.18, 900, 300, 0.8, 0.005, 0, 0.7, false};  // a shot whooshes
        m[1069] = {0.5, 300, 600, 0.2, 0.05, 9, 0.6, false};   // the changeling's shifts
        m[1070] = {0.5, 600, 250, 0.2, 0.05, 12, 0.6, false};
        m[1071] = {0.7, 180, 120, 0.4, 0.02, 6, 0.7, false};
        m[1107] = {0.8, 400, 90, 0.3, 0.01, 0, 0.7, false};       // generator: lost
        m[1108] = {0.8, 300, 900, 0.1, 0.01, 0, 0.7, false};      // generator: won
        m[447] = {0.45, 520, 1040, 0.05, 0.01, 0, 0.6, false};    // a spell succeeds
        m[448] = {0.45, 300, 140, 0.35, 0.01, 25, 0.6, false};    // a spell fails
        m[1036] = {2.0, 0, 0, 1.0, 0, 0.25, 0.25, true};          // the ambient wind loop
        m[1043] = {0.3, 2400, 3200, 0.0, 0.01, 18, 0.4, false};   // a bird
        m[1044] = {0.15, 1400, 600, 0.05, 0.002, 0, 0.5, false};  // a drip
        m[1045] = {0.9, 420, 380, 0.05, 0.1, 3, 0.5, false};      // an owl
        m[1057] = {1.2, 0, 0, 1.0, 0.4, 0, 0.45, false};          // a gust
        for (int i = 0; i < 20; ++i)  // combat sounds: thuds, cries and clashes
            m[kCombatSoundIds[i]] = {0.2 + 0.03 * (i % 5),
                                     180.0 + 60 * i,
                                     90.0 + 20 * i,
                                     i % 3 == 0 ? 0.7 : 0.3,
                                     0.003,
                                     i % 4 == 1 ? 20.0 : 0,
                                     0.7,
                                     false};
        m[177] = {0.9, 320, 70, 0.3, 0.02, 7, 0.8, false};    // dying
        m[178] = {0.3, 450, 250, 0.3, 0.005, 0, 0.7, false};  // hurt
        m[180] = {0.2, 800, 200, 0.7, 0.003, 0, 0.7, false};  // a human's blow
        m[kWaveDrink] = {0.5, 200, 260, 0.3, 0.02, 14, 0.5, false};
        m[kWaveRead] = {0.4, 0, 0, 1.0, 0.05, 8, 0.4, false};
        m[kWaveCharge] = {0.6, 200, 1200, 0.05, 0.05, 0, 0.5, false};
        m[kWaveDischarge] = {0.6, 1200, 150, 0.1, 0.01, 0, 0.5, false};
        m[kWaveLocked] = {0.12, 1500, 900, 0.5, 0.002, 0, 0.6, false};  // a rattled lock
        m[kWaveExplosion] = {1.4, 110, 35, 0.85, 0.004, 0, 0.9, false};
        return m;
    }();
    return recipes;
}

// ---------------------------------------------------------------- cursors

std::shared_ptr<const CDIBitmap> PaintCursor(int id) {
    auto bm = std::make_shared<CDIBitmap>(32, 32);
    Painter p(*bm);
    const uint8_t edge = Painter::Colour(10, 10, 10);
    const uint8_t white = 255;
    if (id == 219) {  // an hourglass
        p.Polygon({{6, 2}, {26, 2}, {16, 16}}, edge);
        p.Polygon({{16, 16}, {26, 30}, {6, 30}}, edge);
        p.Polygon({{9, 4}, {23, 4}, {16, 14}}, white);
        p.Polygon({{16, 18}, {23, 28}, {9, 28}}, Painter::Colour(232, 196, 64));
        return bm;
    }
    p.Polygon({{0, 0}, {0, 21}, {5, 16}, {9, 24}, {12, 23}, {8, 15}, {15, 15}}, edge);
    p.Polygon({{1, 3}, {1, 18}, {5, 14}, {9, 22}, {10, 21}, {6, 13}, {12, 13}}, white);
    if (id == 216 || id == 218) {  // a ring beside the pointer while a target is chosen
        const uint8_t c = id == 218 ? Painter::Colour(230, 40, 40) : Painter::Colour(232, 196, 64);
        p.Ellipse(23, 23, 7, 7, c);
        p.Ellipse(23, 23, 5, 5, 0);
    }
    return bm;
}

}  // namespace

std::shared_ptr<const CDIBitmap> FindBitmapResource(int id) {
    const auto& recipes = PictureRecipes();
    auto recipe = recipes.find(id);
    if (recipe == recipes.end()) return nullptr;
    std::lock_guard lock(g_StoreMutex);
    static std::map<int, std::shared_ptr<const CDIBitmap>> cache;
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    auto bm = std::make_shared<CDIBitmap>(recipe->second.width, recipe->second.height);
    bm->SetTransparentColour(recipe->second.transparent);
    Painter painter(*bm);
    if (recipe->second.transparent) painter.Fill(static_cast<uint8_t>(recipe->second.transparent));
    recipe->second.paint(painter);
    cache[id] = bm;
    return bm;
}

std::shared_ptr<const WaveResource> FindWaveResource(int id) {
    const auto& recipes = SoundRecipes();
    auto recipe = recipes.find(id);
    if (recipe == recipes.end()) return nullptr;
    std::lock_guard lock(g_StoreMutex);
    static std::map<int, std::shared_ptr<const WaveResource>> cache;
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    auto w = Synthesise(recipe->second, static_cast<uint32_t>(id));
    cache[id] = w;
    return w;
}

CursorResource FindCursorResource(int id) {
    std::lock_guard lock(g_StoreMutex);
    static std::map<int, CursorResource> cache;
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    CursorResource c;
    if (id == 214 || id == 216 || id == 218 || id == 219) {
        c.picture = PaintCursor(id);
        if (id == 219) c.hotX = c.hotY = 16;
    } else {
        c.picture = std::make_shared<CDIBitmap>(32, 32);
    }
    cache[id] = c;
    return c;
}

std::vector<int> BitmapResourceIds() {
    std::vector<int> ids;
    for (const auto& [id, recipe] : PictureRecipes()) ids.push_back(id);
    return ids;
}

std::vector<int> WaveResourceIds() {
    std::vector<int> ids;
    for (const auto& [id, recipe] : SoundRecipes()) ids.push_back(id);
    return ids;
}
