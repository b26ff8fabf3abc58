#pragma once
// The trading window of a store: the store's stock with its prices on the
// left, the trader's pack with what the store pays on the right, the gold of
// both under them, and Buy, Sell and Done. A row is chosen by a click; Buy
// and Sell hand play an order (Play::Buy, Play::Sell) for one of the chosen
// thing, and the rows show the world as it is after it. Each list shows
// kRows rows at a time; its Up and Down buttons under it move it by a page
// (one row of the last page staying in sight), so that every entry of a
// store can be reached. The trader is the controlled member (the leader when
// none is). The world stands still while the window is up.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/DDWnd.h"
#include "platform/Handle.h"

class Object;
class Play;
class Player;
class Store;
struct OpenWindows;

class CTradeWnd : public CDDWnd {
public:
    enum : int {
        kIdBuy = 3001,
        kIdSell = 3002,
        kIdDone = 3003,
        kIdStockUp = 3004,
        kIdStockDown = 3005,
        kIdPackUp = 3006,
        kIdPackDown = 3007,
        kIdFirstStock = 3100,
        kIdFirstPack = 3300
    };
    static constexpr qv::Rect kPlace{20, 4, 516, 370};
    static constexpr int kMargin = 12;
    static constexpr int kTitleY = 8;
    static constexpr int kHeadY = 30;
    static constexpr int kFirstRowY = 50;
    static constexpr int kRowHeight = 20;
    static constexpr int kRows = 11;  // rows shown of each list
    static constexpr int kColumnWidth = 228;
    static constexpr int kPackX = 256;
    static constexpr int kScrollTop = 274, kScrollBottom = 296;
    static constexpr int kScrollWidth = 108;
    static constexpr int kScrollStep = kRows - 1;  // a page, one row of the last kept
    static constexpr int kGoldY = 304;
    static constexpr qv::Rect kBuyRect{12, 328, 112, 354};
    static constexpr qv::Rect kSellRect{256, 328, 356, 354};
    static constexpr qv::Rect kDoneRect{384, 328, 484, 354};
    static constexpr size_t kRowColumns = 24;  // of a row's text: the name, then the price

    // The window enters itself in `open` while it exists.
    CTradeWnd(Play& play, OpenWindows& open, int32_t storeId, int32_t mode,
              CDDWnd* parent = nullptr);
    ~CTradeWnd() override;

    void OnCommand(int id) override;
    // Esc and Enter close the window.
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;

    // The store traded with (looked up by its number each time), and the
    // trader.
    Store* GetStore() const;
    Player* Trader() const;
    // The things of the rows as they stand: the stock, the pack (no coins,
    // no bags; what bags inside hold is listed).
    std::vector<Object*> StockRows() const;
    std::vector<Object*> PackRows() const;
    // The text of a row: the name, the count of a stack and the price.
    static std::string RowText(const Object& item, int32_t price);
    // A row shown is chosen (0 the first row in sight).
    void SelectStock(int row);
    void SelectPack(int row);
    // The entry chosen, counted from the first of the whole list; -1 none.
    int StockSelection() const { return m_iStockSelected; }
    int PackSelection() const { return m_iPackSelected; }
    // The lists move by `rows` (negative: up); they stop at either end.
    void ScrollStock(int rows);
    void ScrollPack(int rows);
    // The entry of the whole list shown in the first row.
    int StockFirst() const { return m_iStockFirst; }
    int PackFirst() const { return m_iPackFirst; }
    CDDButton* GetScrollButton(int id) const;
    // What Buy and Sell did: 1 a trade was made.
    int Buy();
    int Sell();
    // Called after a purchase or a sale went through: the game's windows
    // beside this one (the party's bag) stand still while it is up.
    std::function<void()> m_OnTraded;
    CDDButton* GetStockButton(int row) const;
    CDDButton* GetPackButton(int row) const;
    CDDButton* GetBuyButton() const { return m_pBuy.get(); }
    CDDButton* GetSellButton() const { return m_pSell.get(); }
    CDDButton* GetDoneButton() const { return m_pDone.get(); }
    int32_t Mode() const { return m_iMode; }

private:
    // Shows the lists as they now are, after an order that was `done`.
    void Traded(int done);
    // The rows' buttons again, from the world as it stands.
    void Refresh();

    Play& m_Play;
    OpenWindows& m_Open;
    int32_t m_iStoreId;
    int32_t m_iMode;
    // Every entry of each list; the buttons show the kRows from the first.
    std::vector<qv::Handle<Object>> m_Stock, m_Pack;
    int m_iStockSelected = -1, m_iPackSelected = -1;
    int m_iStockFirst = 0, m_iPackFirst = 0;
    std::vector<std::unique_ptr<CDDButton>> m_StockButtons, m_PackButtons;
    std::unique_ptr<CDDButton> m_pBuy, m_pSell, m_pDone;
    std::unique_ptr<CDDButton> m_pStockUp, m_pStockDown, m_pPackUp, m_pPackDown;
};
