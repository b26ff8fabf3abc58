#pragma once
// The lists of things the in-game windows show (a bag, what a creature has in
// use, a spell book) as a grid of pictures or as rows of names, and the place
// a carried thing is let go over. A box never changes what it shows: what it
// is asked to take in becomes an order for play (its insert operation).

#include <functional>
#include <string>
#include <vector>

#include "media/DDWnd.h"
#include "platform/Handle.h"
#include "play/Order.h"

class CBag;
class Object;
class Play;
class Player;

// Whether the creature has the thing in use (in hand, worn).
bool IsInUse(const Player& creature, const Object* object);
// An order of `kind` that the actor carries out with the thing.
Order ItemOrder(Order::Kind kind, Player* actor, Object* object);
// Whether a thing let go over a list finds room in `bag`; when it does not,
// the player is told "No space to drop that." and no order is to be given.
bool RoomToDrop(Play& play, CBag* bag, Object* object);

// A thing's name as the windows write it: its display name, with the count
// of a stack ("Arrows (6)").
std::string ItemLabel(Object* object);

// Draws a thing's picture centred in a cell of a window, fully lit, clipped
// to the cell; the draw reads the thing and changes nothing of it.
void DrawItemPicture(qv::Surface* surface, Object* object, const qv::Rect& cell);

// A palette colour of the windows' own drawing, by its red, green and blue.
uint16_t WindowPixel(int r, int g, int b);

class CListDragBox : public CDDControl {
public:
    struct Layout {
        int cellWidth = 40;
        int cellHeight = 40;
        bool names = false;  // a row per thing with its name beside its picture
    };
    CListDragBox(const qv::Rect& rect, CDDWnd* parent, Layout layout);

    // What the box shows now; asked each time, so that it never keeps a
    // thing that went meanwhile.
    std::function<std::vector<Object*>()> m_Items;
    // Whether a thing let go over the box may come in, and the order that
    // brings it in (answering as Play::Give does).
    std::function<bool(Object*)> m_Accept;
    std::function<int(Object*)> m_Insert;
    bool Accept(Object* object) const { return object && m_Accept && m_Accept(object); }
    int Insert(Object* object) const { return Accept(object) && m_Insert ? m_Insert(object) : 0; }

    std::vector<Object*> Items() const { return m_Items ? m_Items() : std::vector<Object*>{}; }
    // How many cells show at once, and the thing under a point of the
    // window (null over an empty cell or outside the box).
    int Cells() const;
    Object* ItemAt(qv::Point local) const;
    // A cell's rectangle in the window, counted from the first one shown.
    qv::Rect CellRect(int shown) const;
    // The first thing shown: moves by a row, within the list.
    void Scroll(int rows);
    int m_iFirst = 0;

    // The carried thing, drawn dimmed where it lies until it is let go.
    qv::Handle<Object> m_pCarried;

    void Draw(qv::Surface* surface, qv::Point origin) override;

private:
    int Columns() const;
    Layout m_Layout;
};
