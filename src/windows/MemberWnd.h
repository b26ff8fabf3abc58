#pragma once
// What the party's windows of one member share: the member, held by handle,
// its name and portrait at the top, rows of figures with their labels, and a
// Close button. The window runs modally over the stopped game and records
// itself among the open windows meanwhile; Esc or Close ends it, and it ends
// by itself, drawing nothing of the member, once the member is gone.

#include <memory>
#include <string>
#include <vector>

#include "media/DDWnd.h"
#include "platform/Handle.h"

class CDDObject;
class Play;
class Player;

class CMemberWnd : public CDDWnd {
public:
    // What Popup answers.
    enum : int {
        kIdClose = 1,  // the player closed it
        kGone = 3,     // the member went away while it was up
    };
    // A labelled figure of a row.
    struct Row {
        std::string label, value;
    };
    static constexpr qv::Point kSize{404, 346};
    // Over the middle of the map view.
    static constexpr qv::Point kAt{69, 9};

    // `openFlag` (one of the flags of OpenWindows, or null) is set while the
    // window is up.
    CMemberWnd(Play& play, Player* member, int* openFlag, const std::string& title,
               CDDWnd* parent = nullptr);
    ~CMemberWnd() override;

    int Popup() override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    bool IsModalDone() const override;
    void Paint(qv::Surface* surface) override;

    Player* GetPlayer() const;
    CDDButton* GetCloseButton() const { return m_pClose.get(); }
    // The value of the row with that label among rows, or "" when none has it.
    static std::string ValueOf(const std::vector<Row>& rows, const std::string& label);

protected:
    // Draws what the window shows of the member below its name.
    virtual void PaintMember(qv::Surface* surface, Player& member) = 0;
    // Draws rows from a window point: labels in one column, values in the
    // next; an empty label leaves a gap. Answers the y below the last row.
    int PaintRows(qv::Surface* surface, qv::Point at, const std::vector<Row>& rows,
                  int valueColumn) const;
    // The window point at the left of the area under the name.
    static constexpr qv::Point kBodyAt{24, 84};
    static constexpr int kRowHeight = kCharHeight;

    Play& m_Play;
    qv::Handle<Player> m_pPlayer;

private:
    int* m_pOpenFlag;
    std::string m_strTitle;
    std::unique_ptr<CDDButton> m_pClose;
    std::unique_ptr<CDDObject> m_pPortrait;
};
