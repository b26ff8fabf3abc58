#include "windows/TalkWnd.h"

#include <algorithm>
#include <sstream>

#include "creatures/Player.h"
#include "events/TalkScriptFile.h"
#include "platform/Events.h"
#include "play/Play.h"
#include "structures/Furnishings.h"
#include "windows/OpenWindows.h"
#include "windows/TradeWnd.h"
#include "world/World.h"

CTalkWnd::CTalkWnd(Play& play, OpenWindows& open, Player* listener, Player* speaker, CDDWnd* parent)
    : CDDWnd(parent),
      m_Play(play),
      m_Open(open),
      m_Host(play),
      m_Script(play.m_World, m_Host),
      m_pListener(listener),
      m_pSpeaker(speaker) {
    m_rcWindow = kPlace;
    if (speaker) m_strTitle = speaker->GetDisplayName();
    m_iAbandonCode = 2;
    m_Open.m_pTalkWnd = this;
}

CTalkWnd::~CTalkWnd() {
    m_Buttons.clear();
    if (m_Open.m_pTalkWnd == this) m_Open.m_pTalkWnd = nullptr;
}

bool CTalkWnd::Start(const std::string& node) {
    Player* speaker = m_pSpeaker.Get();
    if (!speaker) return false;
    return Begin(speaker->m_strMessageFile, speaker,
                 node.empty() ? speaker->m_strMessageNode : node);
}

bool CTalkWnd::StartBook(Object& text) {
    m_strTitle = text.GetDisplayName();
    return Begin(kBookScript, nullptr, text.m_strGeneralName);
}

bool CTalkWnd::Begin(const std::string& scriptFile, Player* speaker, const std::string& node) {
    bool opened = false;
    try {
        auto script = m_Play.Talks().Script(scriptFile);
        opened = m_Script.Open(m_pListener.Get(), speaker, std::move(script), node);
    } catch (const TalkScriptError& e) {
        m_Host.ReportScriptError(e.what());
        return false;
    }
    if (!opened) return false;
    Refresh();
    return !(m_Script.IsOver() && m_Script.Lines().empty());
}

int CTalkWnd::Popup() {
    if (m_Script.IsOver() && m_Script.Lines().empty()) return 1;
    return CDDWnd::Popup();
}

std::vector<std::string> CTalkWnd::ShownLines() const {
    std::vector<std::string> shown;
    for (const std::string& line : m_Script.Lines()) {
        std::istringstream wrapped(WrapText(line, kTextColumns));
        std::string part;
        bool any = false;
        while (std::getline(wrapped, part)) {
            shown.push_back(part);
            any = true;
        }
        if (!any) shown.emplace_back();
    }
    return shown;
}

CDDButton* CTalkWnd::GetButton(size_t index) const {
    return index < m_Buttons.size() ? m_Buttons[index].get() : nullptr;
}

void CTalkWnd::Refresh() {
    m_Buttons.clear();
    std::vector<std::string> texts = m_Script.Choices();
    int firstId = kIdFirstChoice;
    if (m_Script.IsOver()) {
        texts = {kCloseText};
        firstId = kIdClose;
    }
    const int shown = std::min<int>(static_cast<int>(texts.size()), kMaxChoices);
    const int width = kPlace.right - kPlace.left;
    const int height = kPlace.bottom - kPlace.top;
    for (int i = 0; i < shown; ++i) {
        const int bottom = height - kMargin - (shown - 1 - i) * (kChoiceHeight + kChoiceGap);
        const qv::Rect r{kMargin, bottom - kChoiceHeight, width - kMargin, bottom};
        auto button = std::make_unique<CDDButton>(r, this, firstId + i);
        std::string text = texts[static_cast<size_t>(i)];
        const size_t room = static_cast<size_t>(kTextColumns - 4);
        if (text.size() > room) text = text.substr(0, room - 3) + "...";
        button->SetText(m_Script.IsOver() ? text : std::to_string(i + 1) + ". " + text);
        m_Buttons.push_back(std::move(button));
    }
}

void CTalkWnd::EndIfSilent() {
    if (m_Script.IsOver() && m_Script.Lines().empty() && IsOpen()) EndPopup(1);
}

bool CTalkWnd::Choose(size_t index) {
    if (!m_Script.Choose(index)) return false;
    Refresh();
    EndIfSilent();
    if (IsOpen()) Redraw();
    return true;
}

void CTalkWnd::OnCommand(int id) {
    if (id == kIdClose) {
        EndPopup(1);
        return;
    }
    if (id >= kIdFirstChoice && id < kIdFirstChoice + kMaxChoices)
        Choose(static_cast<size_t>(id - kIdFirstChoice));
}

void CTalkWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE) {
        m_Script.Close();
        EndPopup(2);
    } else if (vk == qv::VK_RETURN && m_Script.IsOver()) {
        EndPopup(1);
    } else if (vk >= '1' && vk <= '9' && !m_Script.IsOver()) {
        Choose(static_cast<size_t>(vk - '1'));
    }
}

void CTalkWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    // The panel and the buttons; the lines lie above the buttons.
    CDDWnd::Paint(surface);
    const qv::Point origin{m_rcWindow.left, m_rcWindow.top};
    DrawGameText(surface, {origin.x + kMargin, origin.y + kTitleY}, m_strTitle, kColourTextDim,
                 m_rcWindow);
    // The lines fill the space above the buttons; the last ones are kept
    // when they do not fit.
    const int buttonsTop =
        m_Buttons.empty() ? m_rcWindow.Height() - kMargin : m_Buttons.front()->m_rcWindow.top;
    const int room = std::max(0, (buttonsTop - kFirstLineY - 4) / kCharHeight);
    const std::vector<std::string> lines = ShownLines();
    const size_t first = lines.size() > static_cast<size_t>(room) ? lines.size() - room : 0;
    int y = origin.y + kFirstLineY;
    for (size_t i = first; i < lines.size(); ++i, y += kCharHeight)
        DrawGameText(surface, {origin.x + kMargin, y}, lines[i], kColourText, m_rcWindow);
}

void InstallTalkAndTradeWindows(Play& play, OpenWindows& open, std::function<void()> traded) {
    play.InstallWindows(
        [&play, &open](Player* listener, Player* speaker, const std::string& node) {
            CTalkWnd window(play, open, listener ? listener : play.m_World.m_pLeader.Get(),
                            speaker);
            if (window.Start(node)) window.Popup();
        },
        [&play, &open](Object& text) {
            CTalkWnd window(play, open, play.m_World.m_pLeader.Get(), nullptr);
            if (window.StartBook(text)) window.Popup();
        },
        [&play, &open, traded](Store& store, int32_t mode) {
            CTradeWnd window(play, open, store.m_iStoreId, mode);
            window.m_OnTraded = traded;
            window.Popup();
        });
}
