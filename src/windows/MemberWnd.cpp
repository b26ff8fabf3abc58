#include "windows/MemberWnd.h"

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "platform/Events.h"
#include "play/Play.h"
#include "windows/WindowPictures.h"

namespace {

constexpr int kPicture = 568;  // the plain panel of the load window
constexpr int kPortraitSize = 66;
constexpr qv::Point kPortraitAt{CMemberWnd::kSize.x - 24 - kPortraitSize, 14};
constexpr qv::Point kNameAt{24, 22};
constexpr qv::Rect kCloseRect{CMemberWnd::kSize.x / 2 - 45, CMemberWnd::kSize.y - 46,
                              CMemberWnd::kSize.x / 2 + 45, CMemberWnd::kSize.y - 18};

}  // namespace

CMemberWnd::CMemberWnd(Play& play, Player* member, int* openFlag, const std::string& title,
                       CDDWnd* parent)
    : CDDWnd(parent), m_Play(play), m_pPlayer(member), m_pOpenFlag(openFlag), m_strTitle(title) {
    m_rcWindow = {kAt.x, kAt.y, kAt.x + kSize.x, kAt.y + kSize.y};
    SetPicture(kPicture);
    m_pClose = std::make_unique<CDDButton>(kCloseRect, this, kIdClose);
    m_pClose->SetText("Close");
    if (member)
        m_pPortrait = MakeWindowPicture(member->m_iPortraitBitmap[0], kPortraitSize, kPortraitSize);
    m_iAbandonCode = kIdClose;
}

CMemberWnd::~CMemberWnd() {
    if (m_pOpenFlag) *m_pOpenFlag = 0;
}

bool CMemberWnd::IsModalDone() const {
    return CDDWnd::IsModalDone() || !m_pPlayer;
}

Player* CMemberWnd::GetPlayer() const {
    return m_pPlayer.Get();
}

int CMemberWnd::Popup() {
    if (!m_pPlayer) return kGone;
    if (m_pOpenFlag) *m_pOpenFlag = 1;
    const int code = CDDWnd::Popup();
    if (m_pOpenFlag) *m_pOpenFlag = 0;
    return m_pPlayer ? code : kGone;
}

void CMemberWnd::OnCommand(int id) {
    if (id == kIdClose) EndPopup(kIdClose);
}

void CMemberWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE || vk == qv::VK_RETURN) EndPopup(kIdClose);
}

std::string CMemberWnd::ValueOf(const std::vector<Row>& rows, const std::string& label) {
    for (const Row& r : rows)
        if (r.label == label) return r.value;
    return "";
}

int CMemberWnd::PaintRows(qv::Surface* surface, qv::Point at, const std::vector<Row>& rows,
                          int valueColumn) const {
    int y = m_rcWindow.top + at.y;
    for (const Row& r : rows) {
        if (!r.label.empty()) {
            DrawGameText(surface, {m_rcWindow.left + at.x, y}, r.label, kColourTextDim, m_rcWindow);
            DrawGameText(surface, {m_rcWindow.left + at.x + valueColumn, y}, r.value, kColourText,
                         m_rcWindow);
        }
        y += kRowHeight;
    }
    return y - m_rcWindow.top;
}

void CMemberWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    Player* member = m_pPlayer.Get();
    if (!member) return;  // gone: nothing of it is read
    const qv::Point origin{m_rcWindow.left, m_rcWindow.top};
    if (m_pPortrait)
        m_pPortrait->DrawAt(surface, {origin.x + kPortraitAt.x, origin.y + kPortraitAt.y},
                            m_rcWindow);
    DrawGameText(surface, {origin.x + kNameAt.x, origin.y + kNameAt.y}, member->GetDisplayName(),
                 kColourText, m_rcWindow);
    DrawGameText(surface, {origin.x + kNameAt.x, origin.y + kNameAt.y + kCharHeight + 4},
                 m_strTitle, kColourTextDim, m_rcWindow);
    PaintMember(surface, *member);
}
