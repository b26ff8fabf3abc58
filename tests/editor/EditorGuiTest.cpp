// The editor's widgets driven headless as a person would: a check box
// clicked, a field typed in, a list row double clicked; and what they draw
// lands in a surface of the game's own.

#include <gtest/gtest.h>
#include <imgui.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/EditorGui.h"

namespace {

// A window with one of each widget the editor's dialogs use.
struct Sample {
    EditorGui gui{{300, 200}};
    bool checked = false;
    std::string text = "old";
    int selected = -1;
    int doubleClicked = -1;
    int pressed = 0;
    int step = 0;        // a number field's, stepped by its "+"
    int drawnStep = -1;  // as the last frame drew it
    qv::Point plus;      // the middle of the field's "+"
    const std::vector<std::string> rows{"first", "second", "third"};

    Sample() {
        gui.SetBuilder([this] {
            ImGui::SetNextWindowPos(ImVec2(0, 0));
            ImGui::SetNextWindowSize(ImVec2(300, 200));
            ImGui::Begin("sample", nullptr, ImGuiWindowFlags_NoDecoration);
            ImGui::Checkbox("Check", &checked);
            gui.Remember("check");
            char buffer[64];
            snprintf(buffer, sizeof buffer, "%s", text.c_str());
            if (ImGui::InputText("Field", buffer, sizeof buffer)) text = buffer;
            gui.Remember("field");
            for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
                if (ImGui::Selectable(rows[static_cast<size_t>(i)].c_str(), selected == i))
                    selected = i;
                if (gui.DoubleClicked() && ImGui::IsItemHovered()) doubleClicked = i;
                gui.Remember("row " + rows[static_cast<size_t>(i)]);
            }
            if (ImGui::Button("Press")) ++pressed;
            gui.Remember("button");
            drawnStep = step;
            ImGui::InputInt("Step", &step);
            // The "+" ends the field's width, one frame height wide.
            plus = {static_cast<int>(ImGui::GetItemRectMin().x + ImGui::CalcItemWidth() -
                                     ImGui::GetFrameHeight() / 2),
                    static_cast<int>((ImGui::GetItemRectMin().y + ImGui::GetItemRectMax().y) / 2)};
            ImGui::End();
        });
        gui.Settle();
    }
};

}  // namespace

TEST(EditorGui, TextTypedIntoAFieldReplacesOrExtendsIt) {
    struct Row {
        const char* rule;
        bool fill;  // emptied first
        std::string typed, want;
    };
    const Row rows[] = {
        {"filled: the old text goes", true, "Land of Mists", "Land of Mists"},
        {"clicked and typed: the text goes on where the click put the cursor", false, "!", "old!"},
        {"filled with nothing: empty", true, "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Sample s;
        if (r.fill) {
            ASSERT_TRUE(s.gui.Fill("field", r.typed));
        } else {
            // A click right of the text puts the cursor at its end.
            const qv::Rect f = *s.gui.Where("field");
            s.gui.ClickAt({f.left + 100, (f.top + f.bottom) / 2});
            s.gui.Press(qv::VK_END);
            s.gui.Type(r.typed);
        }
        EXPECT_EQ(s.text, r.want);
        EXPECT_TRUE(s.gui.WantsKeys());
    }
}

TEST(EditorGui, ClicksFlipACheckBoxAndChooseAListRowOrAnswerADoubleClick) {
    struct Row {
        const char* rule;
        const char* widget;  // null: a click beside every widget
        int clicks;
        bool dbl;
        bool checked;
        int selected, doubled;
    };
    const Row rows[] = {
        {"one click checks the box", "check", 1, false, true, -1, -1},
        {"a second click clears it", "check", 2, false, false, -1, -1},
        {"a third checks it again", "check", 3, false, true, -1, -1},
        {"a click chooses the row", "row second", 1, false, false, 1, -1},
        {"a double click chooses it and is answered on it", "row third", 1, true, false, 2, 2},
        {"a double click on the first row", "row first", 1, true, false, 0, 0},
        {"a click beside the widgets changes nothing", nullptr, 1, false, false, -1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Sample s;
        for (int i = 0; i < r.clicks; ++i) {
            if (!r.widget)
                s.gui.ClickAt({290, 190});
            else
                ASSERT_TRUE(r.dbl ? s.gui.DoubleClick(r.widget) : s.gui.Click(r.widget));
        }
        EXPECT_EQ(s.checked, r.checked);
        EXPECT_EQ(s.selected, r.selected);
        EXPECT_EQ(s.doubleClicked, r.doubled);
        EXPECT_EQ(s.pressed, 0);
    }
}

TEST(EditorGui, EventsOfTheGamesWindowReachTheWidgetsAtTheirOrigin) {
    // The widgets lie at (640, 0) of the window, as the palette does.
    Sample s;
    const qv::Rect b = *s.gui.Where("button");
    const qv::Point origin{640, 0};
    const qv::Point at{b.left + 640 + 2, b.top + 2};
    EXPECT_TRUE(s.gui.HandleEvent(qv::Event::Mouse(qv::EventKind::MouseMove, at.x, at.y), origin));
    EXPECT_TRUE(
        s.gui.HandleEvent(qv::Event::Mouse(qv::EventKind::LButtonDown, at.x, at.y), origin));
    EXPECT_TRUE(s.gui.HandleEvent(qv::Event::Mouse(qv::EventKind::LButtonUp, at.x, at.y), origin));
    EXPECT_EQ(s.pressed, 1);
    // A press left of the widgets' display is not theirs.
    EXPECT_FALSE(s.gui.HandleEvent(qv::Event::Mouse(qv::EventKind::LButtonDown, 10, 10), origin));
    EXPECT_EQ(s.pressed, 1);
}

// Each press and its release, however quick, is one click, and the last
// frame (the one drawn) already shows what it did.
TEST(EditorGui, EveryClickCountsOnceAndTheLastFrameShowsIt) {
    const std::pair<const char*, int> rows[] = {{"one click on a field's +", 1},
                                                {"nine, every second a double click", 9}};
    for (const auto& [rule, clicks] : rows) {
        SCOPED_TRACE(rule);
        Sample s;
        const qv::Point at = s.plus;
        s.gui.HandleEvent(qv::Event::Mouse(qv::EventKind::MouseMove, at.x, at.y));
        for (int i = 0; i < clicks; ++i) {
            // As the window has them: down, up, double click, up, ...
            const qv::EventKind press =
                i % 2 ? qv::EventKind::LButtonDblClk : qv::EventKind::LButtonDown;
            s.gui.HandleEvent(qv::Event::Mouse(press, at.x, at.y));
            s.gui.HandleEvent(qv::Event::Mouse(qv::EventKind::LButtonUp, at.x, at.y));
        }
        EXPECT_EQ(std::pair(s.step, s.drawnStep), std::pair(clicks, clicks));
    }
}

TEST(EditorGui, TheFrameIsDrawnIntoTheGamesSurface) {
    Sample s;
    qv::Surface surface(400, 300);
    const size_t written = s.gui.Draw(surface, {50, 40});
    EXPECT_GT(written, 300u * 200u);  // the grey face at least, and the widgets over it
    // The face is the dialogs' grey, 0xC0C0C0 in 5-6-5; nothing left of the corner.
    EXPECT_EQ(surface.GetPixel(250, 230), 0xC618);
    EXPECT_EQ(surface.GetPixel(49, 100), 0);
    EXPECT_EQ(surface.GetPixel(100, 39), 0);
}
