#pragma once
// For the editor's dialogs that edit things of a world: the world with its
// play (play_test::PlayFixture) and the dialogs opened on it without their
// loop, each drawing itself headless in its own widgets.

#include <gtest/gtest.h>

#include "editor/PropertyDialog.h"
#include "platform/Message.h"
#include "platform/Surface.h"
#include "play/PlayFixture.h"

namespace editor_test {

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
