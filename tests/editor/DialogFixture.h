#pragma once
// For the editor's dialogs that edit things of a world: the world with its
// play (play_test::PlayFixture) and the dialogs opened on it without their
// loop, each drawing itself headless in its own widgets; the ranges of their
// numbers tried at each end and either side; and their pictures kept.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/CreatureArt.h"
#include "editor/PropertyDialog.h"
#include "platform/Message.h"
#include "platform/Surface.h"
#include "play/PlayFixture.h"
#include "world/KeyStorage.h"
#include "world/World.h"

namespace editor_test {

// A number of a dialog, the least and the most it takes, and where OK stores it
// (a member of the thing, or a part of one).
template <class Dialog, class Thing>
struct Range {
    const char* name;
    int32_t Dialog::*field;
    std::function<int32_t&(Thing&)> stored;
    int32_t least, most;
};

// The values at each end of [least, most] and either side of it, each with
// whether it lies inside; none beyond what 32 bits hold.
inline std::vector<std::pair<int32_t, bool>> Edges(int32_t least, int32_t most) {
    std::set<int64_t> values;
    for (int64_t end : {int64_t{least}, int64_t{most}})
        for (int64_t v : {end - 1, end, end + 1})
            if (v >= INT32_MIN && v <= INT32_MAX) values.insert(v);
    std::vector<std::pair<int32_t, bool>> out;
    for (int64_t v : values) out.emplace_back(static_cast<int32_t>(v), v >= least && v <= most);
    return out;
}

// Each value of each range at its ends and either side, in a dialog opened
// on a thing `make` lays anew: OK takes a value inside, with the dialog's
// other changes (its name, where it has one); a value outside is refused,
// says why and changes nothing.
template <class Dialog, class Thing, class Make>
void CheckRanges(Play& play, std::initializer_list<Range<Dialog, Thing>> ranges, Make make) {
    for (const auto& r : ranges)
        for (const auto& [value, inside] : Edges(r.least, r.most)) {
            SCOPED_TRACE(std::string(r.name) + " " + std::to_string(value));
            qv::ScriptedMessages messages;
            Thing& thing = make();
            const int32_t before = r.stored(thing);
            Dialog dialog(play, thing);
            dialog.*r.field = value;
            if constexpr (requires { dialog.m_strSpecialName; })
                dialog.m_strSpecialName = "Renamed";
            EXPECT_EQ(dialog.Ok(), inside);
            EXPECT_EQ(r.stored(thing), inside ? value : before);
            if constexpr (requires { dialog.m_strSpecialName; }) {
                EXPECT_EQ(thing.m_strSpecialName == "Renamed", inside);
            }
            EXPECT_EQ(dialog.Message().empty(), inside) << dialog.Message();
            EXPECT_EQ(dialog.GetEndCode(), inside ? int{CEditorDialog::IDOK} : 0);
        }
}

// The names of the objects listed under key number `key`.
inline std::set<std::string> Keyed(World& world, int key) {
    std::set<std::string> names;
    for (auto& record : world.m_KeyStorageList)
        if (record->m_iKeyNum == key)
            for (auto& h : record->m_ObjectList)
                if (h) names.insert(h->m_strSpecialName);
    return names;
}

// With QV_WRITE_WINDOW_PICTURES=<folder>, writes the picture there as
// editor-<title, lower case, dashes between words>.png (the pictures of docs/).
inline void KeepPicture(const qv::Surface& picture, const std::string& title) {
    const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES");
    if (!folder) return;
    std::string name = "editor-";
    for (char c : title) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u))
            name += static_cast<char>(std::tolower(u));
        else if (name.back() != '-')
            name += '-';
    }
    EXPECT_TRUE(art::SavePng(picture, std::string(folder) + "/" + name + ".png")) << name;
}

class DialogFixture : public play_test::PlayFixture {
protected:
    // Opens the dialog as its loop would and draws its face: the pixels
    // written.
    static size_t OpenAndDraw(CPropertyDialog& dialog) {
        dialog.Open();
        qv::Surface face(dialog.Gui().Size().x, dialog.Gui().Size().y);
        return dialog.Gui().Draw(face);
    }
    // A refusal's message box, answered at once.
    qv::ScriptedMessages refusals;
};

}  // namespace editor_test
