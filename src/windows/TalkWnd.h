#pragma once
// The conversation window: a speaking creature's lines and the player's
// choices, over the map while the world stands still. Made when a creature
// is talked to, by a talk event, by a creature's TALK event and at a death
// with a conversation of its own; the leader listens. It runs the speaker's
// script (events/TalkScript.h) with play answering what the script asks, and
// closes when the script ends: at once when nothing is left to say, else
// once the player has read the last lines.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "events/TalkScript.h"
#include "media/DDWnd.h"
#include "platform/Handle.h"
#include "play/PlayTalk.h"

class Play;
struct OpenWindows;
class Player;

class CTalkWnd : public CDDWnd {
public:
    enum : int { kIdClose = 1990, kIdFirstChoice = 2000 };
    // Where the window lies (over the map view), its margins, the columns
    // its lines are wrapped to, and its choice buttons: one a row, from the
    // bottom up, at most kMaxChoices shown.
    static constexpr qv::Rect kPlace{40, 24, 500, 344};
    static constexpr int kMargin = 12;
    static constexpr int kTitleY = 10;
    static constexpr int kFirstLineY = 34;
    static constexpr int kTextColumns = (kPlace.right - kPlace.left - 2 * kMargin) / kCharWidth;
    static constexpr int kChoiceHeight = 20;
    static constexpr int kChoiceGap = 2;
    static constexpr int kMaxChoices = 6;
    // The button that closes a conversation whose last lines are shown.
    static constexpr const char* kCloseText = "[Close]";

    // The window enters itself in `open` while it exists.
    CTalkWnd(Play& play, OpenWindows& open, Player* listener, Player* speaker,
             CDDWnd* parent = nullptr);
    ~CTalkWnd() override;

    // Opens the speaker's script at `node`; false when it could not be read
    // (told to the player) or ended at once with nothing said.
    bool Start(const std::string& node);
    // Opens the game folder's book script at the node the sign, book or
    // letter names by its general name, under its name; false as Start.
    bool StartBook(Object& text);
    // Runs the window until the conversation is over.
    int Popup() override;
    // Takes the choice as the player's click does: false for one not offered.
    bool Choose(size_t index);
    void OnCommand(int id) override;
    // 1 to 9 take a choice, Enter closes an ended conversation, Esc ends it.
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;

    const CTalkScript& Script() const { return m_Script; }
    // The speaker's lines as shown, wrapped to the window.
    std::vector<std::string> ShownLines() const;
    // The buttons shown now: the choices, or the close button at the end.
    size_t ButtonCount() const { return m_Buttons.size(); }
    CDDButton* GetButton(size_t index) const;
    // The speaker's name, the window's title.
    const std::string& Title() const { return m_strTitle; }

private:
    // The buttons of the choices offered now, or the close button.
    void Refresh();
    // Opens the script at `node`, Refreshes; false as Start.
    bool Begin(const std::string& scriptFile, Player* speaker, const std::string& node);
    // Ends the window once the conversation is over and nothing is shown.
    void EndIfSilent();

    Play& m_Play;
    OpenWindows& m_Open;
    PlayTalkHost m_Host;
    CTalkScript m_Script;
    qv::Handle<Player> m_pListener, m_pSpeaker;
    std::string m_strTitle;
    std::vector<std::unique_ptr<CDDButton>> m_Buttons;
};

// Lets play open the conversation and trading windows: a conversation the
// world asks for opens a CTalkWnd with the leader listening, a store's
// trading window a CTradeWnd. `traded` (when given) shows the party's own
// windows again after a purchase or a sale, while the trading window is up.
void InstallTalkAndTradeWindows(Play& play, OpenWindows& open,
                                std::function<void()> traded = nullptr);
