// The palette and the start-up dialogs drawn headless: each face holds its
// widgets (many colours, text drawn), not a bare panel. With
// QV_WRITE_WINDOW_PICTURES=<folder> each is written there as a picture
// (editor-palette.png, editor-world-creation.png, editor-add-world.png),
// which docs/ keeps.

#include <gtest/gtest.h>

#include <set>

#include "EditorFixture.h"
#include "editor/AddWorldDlg.h"
#include "editor/DialogFixture.h"
#include "editor/TimeOfDayDlg.h"
#include "editor/WorldCreationDlg.h"

using namespace editor_test;

namespace {

size_t Colours(const qv::Surface& s) {
    std::set<uint16_t> seen;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) seen.insert(s.GetPixel(x, y));
    return seen.size();
}

// Dark pixels of the face: the text written on it.
int TextPixels(const qv::Surface& s) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) == 0;
    return n;
}

}  // namespace

TEST_F(EditorFixture, ThePaletteAndTheStartUpDialogsAreDrawnWithTheirWidgets) {
    StartOnTheStartWorld();
    // The palette with a list open and a material chosen.
    ASSERT_TRUE(PaletteGui().Click("list Walls"));
    ASSERT_TRUE(PaletteGui().Click("material 4"));
    frame->m_Play.Editor().SetEditing(true);
    PaletteGui().Frame();
    CWorldCreationDlg creation(*frame);
    creation.m_strFolder = "/home/builder/quorvale/";
    creation.Open();
    CAddWorldDlg add;
    add.Open();
    add.Gui().Fill("Name", "Isle of Mists");
    CTimeOfDayDlg time(12, 15);
    time.Open();
    struct Row {
        const char* title;
        qv::Surface picture;
        qv::Point size;
    };
    Palette().Refresh(1);
    const Row rows[] = {
        {"Palette", Palette().Strip(), {260, 480}},
        {"World Creation", creation.Picture(), {400, 90}},
        {"Add World", add.Picture(), {300, 134}},
        {"Time of Day", time.Picture(), {240, 108}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.title);
        EXPECT_EQ(r.picture.Width(), r.size.x);
        EXPECT_EQ(r.picture.Height(), r.size.y);
        EXPECT_GE(Colours(r.picture), 5u);
        EXPECT_GT(TextPixels(r.picture), 200);
        KeepPicture(r.picture, r.title);
    }
}
