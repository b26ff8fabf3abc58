// The editor's dialogs driven headless through their widgets: the new
// world's name and size with the bounds the map can hold, the clock's hour
// and minute, the file dialog's names, and the numbers a field may hold.

#include <gtest/gtest.h>

#include <string>

#include "editor/AddWorldDlg.h"
#include "editor/FileDlg.h"
#include "editor/TimeOfDayDlg.h"
#include "platform/Files.h"
#include "platform/Message.h"
#include "support/TestFolder.h"

namespace {

// Fills the fields, presses OK and answers the dialog's end code (0: still open).
template <class Dialog>
int FillAndOk(Dialog& d, std::initializer_list<std::pair<const char*, std::string>> fields) {
    d.Open();
    for (const auto& [name, text] : fields) EXPECT_TRUE(d.Gui().Fill(name, text)) << name;
    EXPECT_TRUE(d.Gui().Click("OK"));
    return d.GetEndCode();
}

}  // namespace

TEST(EditorDialogs, ANumberFieldTakesWholeNumbersWithinItsRange) {
    struct Row {
        const char* rule;
        const char* text;
        bool taken;
        int64_t value;
    };
    const Row rows[] = {
        {"at the low bound", "10", true, 10},
        {"below it", "9", false, 0},
        {"at the high bound", "20", true, 20},
        {"above it", "21", false, 0},
        {"blanks around", "  15 ", true, 15},
        {"a sign", "+12", true, 12},
        {"a minus below the range", "-12", false, 0},
        {"no digits", "", false, 0},
        {"letters after the digits", "12a", false, 0},
        {"a fraction", "12.5", false, 0},
        {"far more digits than any number holds", "99999999999999999999999999", false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        int64_t out = 0;
        EXPECT_EQ(CEditorDialog::ReadNumber(r.text, 10, 20, out), r.taken);
        EXPECT_EQ(out, r.value);
    }
}

TEST(AddWorldDlg, TakesOnlyASizeTheMapCanHold) {
    // At least the map's window of 51 x 48 cells; at most 2^24 cells in all.
    // A size left as proposed is 500 x 500.
    struct Row {
        const char* rule;
        const char* name;
        const char* width;   // null: left as proposed
        const char* height;  // null: left as proposed
        bool taken;
    };
    const Row rows[] = {
        {"the proposed size", "Isle", nullptr, nullptr, true},
        {"width one below the window", "Isle", "50", nullptr, false},
        {"width at the window", "Isle", "51", nullptr, true},
        {"width one above", "Isle", "52", nullptr, true},
        {"height one below the window", "Isle", nullptr, "47", false},
        {"height at the window", "Isle", nullptr, "48", true},
        {"height one above", "Isle", nullptr, "49", true},
        {"exactly the most cells", "Isle", "4096", "4096", true},
        {"one column more", "Isle", "4097", "4096", false},
        {"one column fewer", "Isle", "4095", "4096", true},
        {"a width far beyond 32 bits", "Isle", "123456789012345", nullptr, false},
        {"a negative height", "Isle", nullptr, "-500", false},
        {"not a number", "Isle", "wide", nullptr, false},
        {"no name", "", nullptr, nullptr, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        CAddWorldDlg d;
        d.Open();
        d.Gui().Fill("Name", r.name);
        if (r.width) d.Gui().Fill("Width (cells)", r.width);
        if (r.height) d.Gui().Fill("Height (cells)", r.height);
        EXPECT_TRUE(d.Gui().Click("OK"));
        EXPECT_EQ(d.GetEndCode(), r.taken ? CEditorDialog::IDOK : 0);
        // A refusal is said, and the values stay those proposed.
        EXPECT_EQ(messages.shown.size(), r.taken ? 0u : 1u);
        EXPECT_EQ(d.m_iWidth, r.taken && r.width ? std::stoi(r.width) : 500);
        EXPECT_EQ(d.m_iHeight, r.taken && r.height ? std::stoi(r.height) : 500);
        if (r.taken) {
            EXPECT_EQ(d.m_strName, r.name);
        }
    }
}

TEST(AddWorldDlg, CancelAndEscEndItWithoutValues) {
    struct Row {
        const char* rule;
        bool esc;
    };
    for (const Row& r : {Row{"the Cancel button", false}, Row{"Esc", true}}) {
        SCOPED_TRACE(r.rule);
        CAddWorldDlg d;
        d.Open();
        d.Gui().Fill("Width (cells)", "60");
        if (r.esc) {
            // Out of the field first: Esc in a field is the field's.
            d.Gui().ClickAt({280, 122});
            EXPECT_FALSE(d.Gui().WantsKeys());
            d.OnKeyDown(qv::VK_ESCAPE);
        } else {
            d.Gui().Click("Cancel");
        }
        EXPECT_EQ(d.GetEndCode(), CEditorDialog::IDCANCEL);
        EXPECT_EQ(d.m_iWidth, 500);
    }
}

TEST(TimeOfDayDlg, TakesHoursUpTo23AndMinutesUpTo55) {
    struct Row {
        const char* rule;
        const char* hour;
        const char* minute;
        bool taken;
    };
    const Row rows[] = {
        {"midnight", "0", "0", true},
        {"the last hour and minute", "23", "55", true},
        {"minute 59 is past the last", "23", "59", false},
        {"minute 56 likewise", "23", "56", false},
        {"hour 24", "24", "0", false},
        {"hour -1", "-1", "0", false},
        {"minute -1", "12", "-1", false},
        {"a quarter past", "6", "15", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        CTimeOfDayDlg d(12, 30);
        const int end = FillAndOk(d, {{"Hour:", r.hour}, {"Minute (15):", r.minute}});
        EXPECT_EQ(end, r.taken ? CEditorDialog::IDOK : 0);
        EXPECT_EQ(messages.shown.size(), r.taken ? 0u : 1u);
        EXPECT_EQ(d.m_iHour, r.taken ? std::stoi(r.hour) : 12);
        EXPECT_EQ(d.m_iMinute, r.taken ? std::stoi(r.minute) : 30);
    }
}

TEST(FileDlg, ListsTheFolderFilesOfItsExtensionAndTakesPlainNames) {
    test_support::TestFolder folder("editor-file-dialog");
    for (const char* name : {"b.qvr", "a.qvr", "land.lnd", "notes.txt"})
        qv::WriteWholeFile((folder.dir / name).string(), {1});
    struct Row {
        const char* rule;
        bool save;
        const char* typed;   // null: a double click on the file "a.qvr"
        const char* chosen;  // null: refused
    };
    const Row rows[] = {
        {"a listed world", false, "b.qvr", "b.qvr"},
        {"the extension is added", false, "b", "b.qvr"},
        {"a double click takes the file", false, nullptr, "a.qvr"},
        {"a world not in the folder cannot be opened", false, "c.qvr", nullptr},
        {"but a new land may be written", true, "marsh", "marsh.lnd"},
        {"no folder in the name", true, "../marsh.lnd", nullptr},
        {"no name", true, "", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        CFileDlg d(r.save, folder.dir.string() + "/", r.save ? "lnd" : "qvr", "");
        d.Open();
        if (!r.save) {
            EXPECT_EQ(d.m_Files, (std::vector<std::string>{"a.qvr", "b.qvr"}));
        }
        if (r.typed) {
            d.Gui().Fill("File name", r.typed);
            d.Gui().Click("OK");
        } else {
            ASSERT_TRUE(d.Gui().DoubleClick("file a.qvr"));
        }
        EXPECT_EQ(d.GetEndCode(), r.chosen ? CEditorDialog::IDOK : 0);
        EXPECT_EQ(d.m_strChosen, r.chosen ? r.chosen : "");
        EXPECT_EQ(messages.shown.size(), r.chosen ? 0u : 1u);
    }
}
