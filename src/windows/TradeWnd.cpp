#include "windows/TradeWnd.h"

#include <algorithm>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Store.h"
#include "platform/Events.h"
#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "windows/OpenWindows.h"
#include "world/World.h"

namespace {

constexpr int kButtonUp = 0;
constexpr int kButtonPressed = 1;
constexpr int kButtonDisabled = 3;

}  // namespace

CTradeWnd::CTradeWnd(Play& play, OpenWindows& open, int32_t storeId, int32_t mode, CDDWnd* parent)
    : CDDWnd(parent), m_Play(play), m_Open(open), m_iStoreId(storeId), m_iMode(mode) {
    m_rcWindow = kPlace;
    m_iAbandonCode = 2;
    m_pBuy = std::make_unique<CDDButton>(kBuyRect, this, kIdBuy);
    m_pBuy->SetText("Buy");
    m_pSell = std::make_unique<CDDButton>(kSellRect, this, kIdSell);
    m_pSell->SetText("Sell");
    m_pDone = std::make_unique<CDDButton>(kDoneRect, this, kIdDone);
    m_pDone->SetText("Done");
    auto scroll = [this](int x, int id, const char* text) {
        auto b = std::make_unique<CDDButton>(
            qv::Rect{x, kScrollTop, x + kScrollWidth, kScrollBottom}, this, id);
        b->SetText(text);
        return b;
    };
    m_pStockUp = scroll(kMargin, kIdStockUp, "Up");
    m_pStockDown = scroll(kMargin + kColumnWidth - kScrollWidth, kIdStockDown, "Down");
    m_pPackUp = scroll(kPackX, kIdPackUp, "Up");
    m_pPackDown = scroll(kPackX + kColumnWidth - kScrollWidth, kIdPackDown, "Down");
    m_Open.m_pTradeWnd = this;
    Refresh();
}

CTradeWnd::~CTradeWnd() {
    m_StockButtons.clear();
    m_PackButtons.clear();
    if (m_Open.m_pTradeWnd == this) m_Open.m_pTradeWnd = nullptr;
}

Store* CTradeWnd::GetStore() const {
    return m_Play.Trade().FindStore(m_iStoreId);
}

Player* CTradeWnd::Trader() const {
    Player* p = m_Play.m_World.m_pControlPlayer.Get();
    return p ? p : m_Play.m_World.m_pLeader.Get();
}

std::vector<Object*> CTradeWnd::StockRows() const {
    std::vector<Object*> rows;
    if (const Store* store = GetStore())
        for (const auto& item : store->Items()) rows.push_back(item.get());
    return rows;
}

std::vector<Object*> CTradeWnd::PackRows() const {
    std::vector<Object*> all, rows;
    if (const Player* p = Trader(); p && p->m_pBag) p->m_pBag->CollectItems(all);
    for (Object* o : all)
        if (o && o->Type() != MONEY && o->Type() != BAG) rows.push_back(o);
    return rows;
}

namespace {

// A name made to fit `room` columns: its words, from the first on (never the
// last), are shortened to three letters and a point until it fits; only then
// is it cut, with a point where it ends.
std::string FitName(std::string name, size_t room) {
    constexpr size_t kShortWord = 3;
    size_t word = 0;
    while (name.size() > room) {
        const size_t end = name.find(' ', word);
        if (end == std::string::npos) break;  // the last word stays whole
        if (end - word > kShortWord + 1) {
            name.replace(word + kShortWord, end - word - kShortWord, ".");
            word += kShortWord + 2;
        } else {
            word = end + 1;
        }
    }
    if (name.size() > room && room > 0) {
        name.resize(room - 1);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        name += ".";
    }
    return name;
}

}  // namespace

std::string CTradeWnd::RowText(const Object& item, int32_t price) {
    std::string name = const_cast<Object&>(item).GetDisplayName();
    if (item.m_bStackable && item.m_iBulkNum > 1) name += " x" + std::to_string(item.m_iBulkNum);
    // The price stands at the right; the name has the rest but a blank.
    const std::string amount = std::to_string(price);
    const size_t room = kRowColumns - std::min<size_t>(amount.size() + 1, kRowColumns);
    name = FitName(name, room);
    return name +
           std::string(kRowColumns - std::min(kRowColumns, name.size() + amount.size()), ' ') +
           amount;
}

CDDButton* CTradeWnd::GetStockButton(int row) const {
    return row >= 0 && row < static_cast<int>(m_StockButtons.size())
               ? m_StockButtons[static_cast<size_t>(row)].get()
               : nullptr;
}

CDDButton* CTradeWnd::GetPackButton(int row) const {
    return row >= 0 && row < static_cast<int>(m_PackButtons.size())
               ? m_PackButtons[static_cast<size_t>(row)].get()
               : nullptr;
}

CDDButton* CTradeWnd::GetScrollButton(int id) const {
    switch (id) {
        case kIdStockUp:
            return m_pStockUp.get();
        case kIdStockDown:
            return m_pStockDown.get();
        case kIdPackUp:
            return m_pPackUp.get();
        case kIdPackDown:
            return m_pPackDown.get();
        default:
            return nullptr;
    }
}

namespace {

// The first entry shown of a list of `count`, kept within its ends.
int ClampFirst(int first, int count) {
    return std::clamp(first, 0, std::max(0, count - CTradeWnd::kRows));
}

}  // namespace

void CTradeWnd::Refresh() {
    m_StockButtons.clear();
    m_PackButtons.clear();
    m_Stock.clear();
    m_Pack.clear();
    const Store* store = GetStore();
    auto fill = [this, store](const std::vector<Object*>& rows, int x, int firstId, bool selling,
                              std::vector<qv::Handle<Object>>& handles,
                              std::vector<std::unique_ptr<CDDButton>>& buttons, int& selected,
                              int& first, CDDButton& up, CDDButton& down) {
        const int count = static_cast<int>(rows.size());
        if (selected >= count) selected = count - 1;
        first = ClampFirst(first, count);
        for (Object* item : rows) handles.emplace_back(item);
        const int shown = std::min(count - first, kRows);
        for (int i = 0; i < shown; ++i) {
            Object* item = rows[static_cast<size_t>(first + i)];
            const int top = kFirstRowY + i * kRowHeight;
            auto b = std::make_unique<CDDButton>(
                qv::Rect{x, top, x + kColumnWidth, top + kRowHeight - 1}, this, firstId + i);
            const int32_t price = !store    ? 0
                                  : selling ? store->OfferFor(*item)
                                            : store->PriceOf(*item);
            b->SetText(RowText(*item, price));
            b->SetState(first + i == selected ? kButtonPressed : kButtonUp);
            buttons.push_back(std::move(b));
        }
        up.SetState(first > 0 ? kButtonUp : kButtonDisabled);
        down.SetState(first + kRows < count ? kButtonUp : kButtonDisabled);
    };
    fill(StockRows(), kMargin, kIdFirstStock, false, m_Stock, m_StockButtons, m_iStockSelected,
         m_iStockFirst, *m_pStockUp, *m_pStockDown);
    fill(PackRows(), kPackX, kIdFirstPack, true, m_Pack, m_PackButtons, m_iPackSelected,
         m_iPackFirst, *m_pPackUp, *m_pPackDown);
    m_pBuy->SetState(m_iStockSelected >= 0 && Trader() ? kButtonUp : kButtonDisabled);
    m_pSell->SetState(m_iPackSelected >= 0 && Trader() ? kButtonUp : kButtonDisabled);
}

void CTradeWnd::SelectStock(int row) {
    if (row < 0 || row >= static_cast<int>(m_StockButtons.size())) return;
    m_iStockSelected = m_iStockFirst + row;
    Refresh();
    if (IsOpen()) Redraw();
}

void CTradeWnd::SelectPack(int row) {
    if (row < 0 || row >= static_cast<int>(m_PackButtons.size())) return;
    m_iPackSelected = m_iPackFirst + row;
    Refresh();
    if (IsOpen()) Redraw();
}

void CTradeWnd::ScrollStock(int rows) {
    m_iStockFirst = ClampFirst(m_iStockFirst + rows, static_cast<int>(m_Stock.size()));
    Refresh();
    if (IsOpen()) Redraw();
}

void CTradeWnd::ScrollPack(int rows) {
    m_iPackFirst = ClampFirst(m_iPackFirst + rows, static_cast<int>(m_Pack.size()));
    Refresh();
    if (IsOpen()) Redraw();
}

void CTradeWnd::Traded(int done) {
    Refresh();
    if (IsOpen()) Redraw();
    if (done && m_OnTraded) m_OnTraded();
}

int CTradeWnd::Buy() {
    if (m_iStockSelected < 0 || m_iStockSelected >= static_cast<int>(m_Stock.size())) return 0;
    Order order = Order::With(Order::Kind::Buy, m_iStoreId);
    order.actor = Trader();
    order.object = m_Stock[static_cast<size_t>(m_iStockSelected)].Get();
    const int done = order.object ? m_Play.Give(order) : 0;
    Traded(done);
    return done;
}

int CTradeWnd::Sell() {
    if (m_iPackSelected < 0 || m_iPackSelected >= static_cast<int>(m_Pack.size())) return 0;
    Order order = Order::With(Order::Kind::Sell, m_iStoreId);
    order.actor = Trader();
    order.object = m_Pack[static_cast<size_t>(m_iPackSelected)].Get();
    const int done = order.object ? m_Play.Give(order) : 0;
    Traded(done);
    return done;
}

void CTradeWnd::OnCommand(int id) {
    if (id == kIdBuy) {
        Buy();
    } else if (id == kIdSell) {
        Sell();
    } else if (id == kIdDone) {
        EndPopup(1);
    } else if (id == kIdStockUp || id == kIdStockDown) {
        ScrollStock(id == kIdStockUp ? -kScrollStep : kScrollStep);
    } else if (id == kIdPackUp || id == kIdPackDown) {
        ScrollPack(id == kIdPackUp ? -kScrollStep : kScrollStep);
    } else if (id >= kIdFirstStock && id < kIdFirstStock + kRows) {
        SelectStock(id - kIdFirstStock);
    } else if (id >= kIdFirstPack && id < kIdFirstPack + kRows) {
        SelectPack(id - kIdFirstPack);
    }
}

void CTradeWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE || vk == qv::VK_RETURN) EndPopup(1);
}

void CTradeWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    const qv::Point o{m_rcWindow.left, m_rcWindow.top};
    Store* store = GetStore();
    const std::string title = store ? store->GetDisplayName() : std::string("Store");
    DrawGameText(surface, {o.x + kMargin, o.y + kTitleY}, title, kColourTextDim, m_rcWindow);
    DrawGameText(surface, {o.x + kMargin, o.y + kHeadY}, "For sale           Price", kColourTextDim,
                 m_rcWindow);
    DrawGameText(surface, {o.x + kPackX, o.y + kHeadY}, "Your pack          Offer", kColourTextDim,
                 m_rcWindow);
    const Player* trader = Trader();
    const std::string gold =
        qv::Format("Your gold: %lld", static_cast<long long>(Play::GoldOf(trader)));
    DrawGameText(surface, {o.x + kPackX, o.y + kGoldY}, gold, kColourText, m_rcWindow);
    if (store)
        DrawGameText(surface, {o.x + kMargin, o.y + kGoldY},
                     qv::Format("Store's gold: %d", store->m_iGold), kColourText, m_rcWindow);
}
