#include "windows/ListDragBox.h"

#include <algorithm>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "platform/Format.h"
#include "play/Play.h"
#include "world/Object.h"

bool IsInUse(const Player& creature, const Object* object) {
    return std::any_of(creature.m_InUseList.begin(), creature.m_InUseList.end(),
                       [object](const auto& u) { return u.get() == object; });
}

Order ItemOrder(Order::Kind kind, Player* actor, Object* object) {
    Order o = Order::Of(kind);
    o.actor = actor;
    o.object = object;
    return o;
}

bool RoomToDrop(Play& play, CBag* bag, Object* object) {
    if (!bag || !object || bag->CanHold(object)) return true;
    play.Ask().Tell("No space to drop that.");
    return false;
}

std::string ItemLabel(Object* object) {
    if (!object) return {};
    const std::string name = object->GetDisplayName();
    if (!object->m_bStackable || object->m_iBulkNum <= 1) return name;
    // Money names its count itself.
    const std::string count = qv::Format("(%d)", object->m_iBulkNum);
    if (name.size() >= count.size() &&
        name.compare(name.size() - count.size(), count.size(), count) == 0)
        return name;
    return name + " " + count;
}

uint16_t WindowPixel(int r, int g, int b) {
    return MakeScreenPixel(r >> 3, g >> 2, b >> 3);
}

void DrawItemPicture(qv::Surface* surface, Object* object, const qv::Rect& cell) {
    CDDObject* image = object ? object->GetImage() : nullptr;
    if (!surface || !image) return;
    int column = 0, row = 0;
    object->GetImageFrame(&column, &row);
    // The picture's own middle on the cell's middle, whatever its hot spot;
    // in full light, as a thing looks in the hand.
    const qv::Point at{
        cell.left + cell.Width() / 2 - image->m_iWidth / 2 + image->m_iHotX,
        cell.top + cell.Height() / 2 - image->m_iHeight / 2 + image->m_iHotY + image->m_iZOffset};
    const int level = image->m_iLightLevel;
    image->m_iLightLevel = 0;
    image->DrawFrame(surface, at, cell, column, row);
    image->m_iLightLevel = level;
}

CListDragBox::CListDragBox(const qv::Rect& rect, CDDWnd* parent, Layout layout)
    : CDDControl(rect, parent), m_Layout(layout) {}

int CListDragBox::Columns() const {
    if (m_Layout.names) return 1;
    return std::max(1, m_rcWindow.Width() / std::max(1, m_Layout.cellWidth));
}

int CListDragBox::Cells() const {
    const int rows = std::max(1, m_rcWindow.Height() / std::max(1, m_Layout.cellHeight));
    return rows * Columns();
}

qv::Rect CListDragBox::CellRect(int shown) const {
    const int columns = Columns();
    const int width = m_Layout.names ? m_rcWindow.Width() : m_Layout.cellWidth;
    const int x = m_rcWindow.left + (shown % columns) * width;
    const int y = m_rcWindow.top + (shown / columns) * m_Layout.cellHeight;
    return {x, y, x + width, y + m_Layout.cellHeight};
}

Object* CListDragBox::ItemAt(qv::Point local) const {
    if (!m_bVisible || !m_rcWindow.Contains(local)) return nullptr;
    const std::vector<Object*> items = Items();
    for (int i = 0; i < Cells(); ++i) {
        const size_t index = static_cast<size_t>(m_iFirst * Columns() + i);
        if (index >= items.size()) break;
        if (CellRect(i).Contains(local)) return items[index];
    }
    return nullptr;
}

void CListDragBox::Scroll(int rows) {
    const int columns = Columns();
    const int count = static_cast<int>(Items().size());
    const int lastFirst = std::max(0, (count - Cells() + columns - 1) / columns);
    m_iFirst = std::clamp(m_iFirst + rows, 0, lastFirst);
}

void CListDragBox::Draw(qv::Surface* surface, qv::Point origin) {
    if (!m_bVisible || !surface) return;
    const qv::Rect box = m_rcWindow.Offset(origin.x, origin.y);
    surface->FillRect(box, WindowPixel(40, 30, 20));
    const std::vector<Object*> items = Items();
    const int columns = Columns();
    if (m_iFirst * columns >= static_cast<int>(items.size())) m_iFirst = 0;
    const uint16_t edge = WindowPixel(90, 70, 45);
    for (int i = 0; i < Cells(); ++i) {
        const qv::Rect cell = CellRect(i).Offset(origin.x, origin.y);
        // The cells' edges, so that an empty place shows as one.
        surface->FillRect({cell.left, cell.bottom - 1, cell.right, cell.bottom}, edge);
        surface->FillRect({cell.right - 1, cell.top, cell.right, cell.bottom}, edge);
        const size_t index = static_cast<size_t>(m_iFirst * columns + i);
        if (index >= items.size()) continue;
        Object* item = items[index];
        const bool carried = m_pCarried.Get() == item;
        if (carried) surface->FillRect(cell, WindowPixel(20, 15, 10));
        const int pictureWidth = m_Layout.names ? m_Layout.cellHeight : cell.Width();
        const qv::Rect picture{cell.left, cell.top, cell.left + pictureWidth, cell.bottom - 1};
        if (!carried) DrawItemPicture(surface, item, picture);
        if (m_Layout.names) {
            const qv::Rect text{picture.right + 2, cell.top, cell.right - 1, cell.bottom - 1};
            DrawGameText(surface, {text.left, cell.top + (cell.Height() - kCharHeight) / 2},
                         ItemLabel(item), carried ? kColourTextDisabled : kColourText, text);
        } else if (item->m_bStackable && item->m_iBulkNum > 1) {
            // A stack's count in the cell's corner.
            const std::string count = std::to_string(item->m_iBulkNum);
            DrawGameText(surface,
                         {cell.right - 2 - kCharWidth * static_cast<int>(count.size()),
                          cell.bottom - kCharHeight - 1},
                         count, kColourTextDim, cell);
        }
    }
}
