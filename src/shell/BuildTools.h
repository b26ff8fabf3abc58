#pragma once
// What build mode adds to the frame: the world editor, which stands above the
// shell, answers through this interface. The application owns it; the frame
// reaches it through GetBuildTools() and asks only in build mode. Without
// one, build mode opens on the start world and has no palette.

#include "creatures/Player.h"
#include "media/DDWnd.h"
#include "platform/Events.h"
#include "platform/Handle.h"

class CBuildTools {
public:
    virtual ~CBuildTools() = default;
    // Start-up in build mode: the world-creation dialog, run modally with
    // the game folder; whether a world was made or loaded.
    virtual int RunWorldCreation() = 0;
    // The first tick of play: any old tool palette goes and a new one opens
    // beside the game's picture, showing `leader` (null: none).
    virtual void OpenToolPalette(Player* leader) = 0;
    // The palette refreshes itself: with 0 every tick, with 1 from painting.
    virtual void Refresh(int fromPaint) = 0;
    // Mouse input of the game's window: true when it was the palette's.
    virtual bool OnPaletteInput(const qv::Event& e) = 0;
    // A double click in the map view while editing without a leader and
    // with nothing under it: a copy of the palette's chosen material is put
    // down at the world point under the client point. False when no material
    // is chosen.
    virtual bool PlaceChosenMaterial(qv::Point clientPoint) = 0;
};

// The tools of build mode, while there are any (not owned).
CBuildTools* GetBuildTools();
void SetBuildTools(CBuildTools* tools);

// A small dialog made from a template number, showing one creature (the
// first tick gives it the leader): the base of the tool palette.
class CDialogById : public CDDWnd {
public:
    CDialogById(int templateId, CDDWnd* parent, InPlay inPlay)
        : CDDWnd(parent, inPlay), m_iTemplateId(templateId) {}
    int m_iTemplateId;
    qv::Handle<Player> m_pPlayer;  // the creature it shows; null at first
};
