#pragma once
// Conversations: the part of play that keeps what talk and reading need. The
// conversation, book and trading windows as the layers above install them,
// the game folder's conversation scripts as read, and the rules that open
// them: a talk event's conversation, the conversations that wait for the end
// of the groups' turns, the text of a sign or book, a store's trading window
// and a creature a conversation takes into the party. Play owns one; the
// windows read it, and change play only through orders.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "events/TalkScriptFile.h"

class Object;
class Play;
class Player;
class Store;

class Conversations {
public:
    // Opens a conversation: the listener null means the leader listens.
    using ConversationWindow =
        std::function<void(Player* listener, Player* speaker, const std::string& node)>;
    // Shows the text of a sign, book or letter.
    using BookWindow = std::function<void(Object& text)>;
    // Opens a store's trading window.
    using TradeWindow = std::function<void(Store& store, int32_t mode)>;

    explicit Conversations(Play& play) : m_Play(play) {}
    Conversations(const Conversations&) = delete;
    Conversations& operator=(const Conversations&) = delete;

    // ---- The windows, as the layers above put them in place (empty: none)
    void InstallConversation(ConversationWindow open) { m_OpenConversation = std::move(open); }
    void InstallBook(BookWindow open) { m_OpenBook = std::move(open); }
    void InstallTrade(TradeWindow open) { m_OpenTrade = std::move(open); }
    const ConversationWindow& ConversationOpener() const { return m_OpenConversation; }

    // ---- The conversation scripts, kept between conversations
    // The script `name` of the game folder, as read the first time (a
    // TalkScriptError when it is refused).
    std::shared_ptr<const TalkScriptFile> Script(const std::string& name);
    // A new game folder empties it.
    void ClearScripts() { m_TalkScripts.Clear(); }

    // ---- The rules
    // A talk event's conversation, the leader listening; false (none opens,
    // the event waits) while there is no conversation window.
    bool OpenConversation(Player* speaker, const std::string& node);
    // Shows the text of a sign, book or letter (structures/Furnishings.h's
    // IsReadable), the leader reading; false for anything else, or while
    // there is no window for it.
    bool ReadText(Object* text);
    // A TALK event's conversation between the creature and its speaker
    // waits for the end of the groups' turns; it is dropped when either of
    // them is gone by then.
    void AskConversation(Player* listener, Player* speaker);
    // The conversations asked for during the groups' turns (a death with a
    // conversation of its own), opened once the turns are over, in order.
    void OpenWaitingConversations();
    // The leader trades with the store of that id, when there is one.
    // True when a store was found and its window asked to open.
    bool OpenTradeWindow(const int32_t* storeId, int32_t mode);
    // The creature becomes a member of the party, in the first free slot of
    // 1 to 5; 0 (told) when the party is full, or for a creature that is
    // already in it or dead.
    int JoinParty(Player* creature);

private:
    Play& m_Play;
    ConversationWindow m_OpenConversation;
    BookWindow m_OpenBook;
    TradeWindow m_OpenTrade;
    TalkScriptCache m_TalkScripts;
};
