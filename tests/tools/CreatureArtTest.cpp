// The creatures' pictures written by the data program: every creature kind
// has a complete look that the game's reader accepts, the kinds and their
// facings and steps look different, and humans carry the colours their
// recoloured look needs.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "creatures/PlayerImages.h"
#include "data/CreatureArt.h"
#include "platform/Files.h"
#include "platform/Message.h"

namespace {

// The data written once into a folder of the test run.
struct Written {
    std::string folder;
    Written() {
        folder = ::testing::TempDir() + "creature_art_" + std::to_string(::getpid()) + "/";
        std::string error;
        EXPECT_TRUE(art::WriteCreatureImages(folder + "Images/", error)) << error;
    }
    ~Written() { std::filesystem::remove_all(folder); }
    std::unique_ptr<CreatureImageSet> Read(const std::string& section) const {
        std::string text;
        auto set = std::make_unique<CreatureImageSet>();
        qv::ScriptedMessages messages;
        if (!FindImageNodeIn(folder + "Images/PlayerImages.dat", section, text) ||
            !set->ParseIn(section, text, folder + "Images/"))
            return nullptr;
        EXPECT_TRUE(messages.shown.empty()) << section;
        return set;
    }
};

const Written& Data() {
    static const Written written;
    return written;
}

// A frame's pixels as the game loaded them.
std::vector<uint16_t> Pixels(CreatureImageSet& set, int32_t action, int32_t facing, int32_t step) {
    CDDObject* image = set.GetFrame(&action, &facing, &step);
    if (!image) return {};
    const qv::Surface* s = image->GetFrameSurface(image->m_iWhichSurf);
    std::vector<uint16_t> v;
    for (int y = 0; y < image->m_iHeight; ++y)
        for (int x = 0; x < image->m_iWidth; ++x) v.push_back(s->GetPixel(x, y));
    return v;
}

// How many pixels two frames of one size differ in.
int Differ(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

}  // namespace

TEST(CreatureArt, EveryCreatureKindHasACompleteLook) {
    const std::set<std::string> wanted = {
        "Dog",       "FloatingEye",      "Gel",           "Giant",        "GiantChild",
        "GiantRat",  "GiantRatGrey",     "GiantRatBrown", "Goblin",       "Human",
        "Mushroom",  "MushroomWhite",    "MushroomRed",   "MushroomGrey", "NightRunner",
        "Scorpion",  "Shambles",         "Skeleton",      "Snake",        "SnakeHuge",
        "Undead",    "SlimeGreen",       "GolemStone",    "SnowPuff",     "MoldYellow",
        "DarkHound", "InvisibleStalker", "FireHound",     "ClearHound",   "WatchSpider",
        "Ug",        "HumanMale",        "HumanFemale",   "HumanChild",   "Changeling"};
    std::set<std::string> written;
    for (const art::CreatureKind& k : art::CreatureKinds()) written.insert(k.section);
    EXPECT_EQ(written, wanted);
    const std::map<std::string, int> speeds = {
        {"Dog", 150},       {"GiantRat", 130}, {"Mushroom", 10},  {"Shambles", 90},
        {"GolemStone", 80}, {"Ug", 90},        {"HumanMale", 100}};
    for (const std::string& section : wanted) {
        auto set = Data().Read(section);
        ASSERT_NE(set, nullptr) << section;
        if (speeds.count(section)) {
            EXPECT_EQ(set->m_iSpeed, speeds.at(section)) << section;
        }
        EXPECT_EQ(set->m_bRecoloured, section.rfind("Human", 0) == 0 ? 1 : 0) << section;
        EXPECT_GT(set->m_iStopPause, 0);
        // Every action shows a picture in every facing.
        for (int32_t action = 0; action < ImageAction::Count; ++action)
            for (int32_t facing = 0; facing < 8; ++facing) {
                int32_t step = 0;
                EXPECT_NE(set->GetFrame(&action, &facing, &step), nullptr)
                    << section << " " << ImageAction::Name(action) << " facing " << facing;
            }
        EXPECT_EQ(set->FrameCount(ImageAction::MOVE), 4) << section;
        EXPECT_EQ(set->FrameCount(ImageAction::ATTACK1), 3) << section;
        EXPECT_EQ(set->FrameCount(ImageAction::DEAD), 4) << section;
        EXPECT_EQ(set->Image(ImageAction::WOUNDED)->m_iSurfaceCnt, 3) << section;
        // Facings, walk steps, the blow and the fall all look different.
        const auto stand = Pixels(*set, ImageAction::STOP, 0, 0);
        EXPECT_GT(Differ(stand, Pixels(*set, ImageAction::STOP, 4, 0)), 10) << section;
        EXPECT_GT(Differ(stand, Pixels(*set, ImageAction::STOP, 2, 0)), 10) << section;
        EXPECT_GT(
            Differ(Pixels(*set, ImageAction::STOP, 2, 0), Pixels(*set, ImageAction::STOP, 6, 0)),
            10)
            << section;
        for (int32_t s = 1; s < 4; ++s)
            EXPECT_GT(Differ(Pixels(*set, ImageAction::MOVE, 0, s - 1),
                             Pixels(*set, ImageAction::MOVE, 0, s)),
                      4)
                << section << " walk step " << s;
        EXPECT_GT(Differ(stand, Pixels(*set, ImageAction::ATTACK1, 0, 1)), 10) << section;
        EXPECT_GT(Differ(stand, Pixels(*set, ImageAction::DEAD, 0, 3)), 10) << section;
    }
}

TEST(CreatureArt, KindsAreToldApartByShapeAndColour) {
    // The shares of the frame a kind covers and its commonest colour.
    struct Seen {
        int covered;
        uint16_t colour;
    };
    auto seen = [](const std::string& section) {
        auto set = Data().Read(section);
        std::map<uint16_t, int> count;
        int covered = 0;
        int32_t action = ImageAction::STOP, facing = 0, step = 0;
        CDDObject* image = set->GetFrame(&action, &facing, &step);
        const qv::Surface* s = image->GetFrameSurface(image->m_iWhichSurf);
        const int key = image->GetFrameKey(image->m_iWhichSurf);
        auto solid = [&](int x, int y) { return s->GetPixel(x, y) != key; };
        for (int y = 1; y + 1 < image->m_iHeight; ++y)
            for (int x = 1; x + 1 < image->m_iWidth; ++x) {
                if (!solid(x, y)) continue;
                ++covered;
                // Inside the figure, away from its dark edge.
                if (solid(x - 1, y) && solid(x + 1, y) && solid(x, y - 1) && solid(x, y + 1))
                    ++count[s->GetPixel(x, y)];
            }
        uint16_t common = 0;
        int most = 0;
        for (auto [p, n] : count) {
            if (n > most) {
                most = n;
                common = p;
            }
        }
        return Seen{covered, common};
    };
    const std::vector<std::string> kinds = {"Goblin", "Snake",       "Dog",         "Skeleton",
                                            "Gel",    "FloatingEye", "WatchSpider", "MushroomRed"};
    std::set<uint16_t> colours;
    for (const std::string& k : kinds) {
        const Seen s = seen(k);
        EXPECT_GT(s.covered, 40) << k;
        colours.insert(s.colour);
    }
    EXPECT_EQ(colours.size(), kinds.size());  // each its own main colour
    // The colour variants of one species differ in colour only.
    EXPECT_NE(seen("GiantRat").colour, seen("GiantRatGrey").colour);
    EXPECT_NE(seen("GiantRatGrey").colour, seen("GiantRatBrown").colour);
    EXPECT_NE(seen("MushroomRed").colour, seen("MushroomGrey").colour);
}

TEST(CreatureArt, HumansWearTheColoursTheirLookRecolours) {
    for (const char* section : {"HumanMale", "HumanFemale", "HumanChild"}) {
        auto set = Data().Read(section);
        ASSERT_NE(set, nullptr);
        int32_t action = ImageAction::STOP, facing = 2, step = 0;
        CDDObject* image = set->GetFrame(&action, &facing, &step);
        ASSERT_NE(image, nullptr);
        const qv::Surface* s = image->GetFrameSurface(image->m_iWhichSurf);
        const int h = image->m_iHeight;
        int shirt = 0, trousers = 0, hair = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < image->m_iWidth; ++x) {
                int r, g, b;
                SplitScreenPixel(s->GetPixel(x, y), r, g, b);
                if (s->GetPixel(x, y) == image->GetFrameKey(image->m_iWhichSurf)) continue;
                if (g != 0 && r == 0 && b == 0)
                    ++shirt;
                else if (y > h / 4 && 2 * g - 4 < r && r < 2 * g + 4 && 2 * b - 2 < g &&
                         g < 2 * b + 2)
                    ++trousers;
                else if (y < h / 3 && 4 * b < r + 10 && 4 * b < g + 10)
                    ++hair;
            }
        EXPECT_GT(shirt, 30) << section;
        EXPECT_GT(trousers, 20) << section;
        EXPECT_GT(hair, 8) << section;
        // A red shirt leaves no green.
        LookColours red;
        red.shirt = {2, 0, 0};
        ASSERT_EQ(set->DrawRecoloured(image, 128, red), 1);
        int green = 0;
        for (int y = 0; y < CreatureImageSet::WorkHeight(); ++y)
            for (int x = 0; x < CreatureImageSet::WorkWidth(); ++x) {
                int r, g, b;
                SplitScreenPixel(CreatureImageSet::WorkImage().GetPixel(x, y), r, g, b);
                green += g != 0 && r == 0 && b == 0;
            }
        EXPECT_EQ(green, 0) << section;
    }
}

TEST(CreatureArt, TheContactSheetIsDrawnHeadless) {
    const std::string png = Data().folder + "sheet.png";
    std::string error;
    ASSERT_TRUE(art::WriteContactSheet(Data().folder, png, error)) << error;
    std::vector<uint8_t> bytes = qv::ReadWholeFile(png);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "\x89PNG\r\n\x1a\n");
}
