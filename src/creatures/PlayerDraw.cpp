// A creature's picture: taking its look, stepping its animation, and drawing
// it with the marks a player reads off it (who attacks it, how hurt it is,
// whether it is see-through or ghostly, and the flash of a hit).

#include <algorithm>
#include <memory>

#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "media/Resources.h"
#include "platform/Rand.h"
#include "structures/Looks.h"
#include "world/Global.h"
#include "world/MapLight.h"
#include "world/World.h"

namespace {

// The palette colours of the party members 1 to 4 (slots 0 to 3) when this
// creature is their target, and of the creature under the cursor.
constexpr int kMemberMarks[4] = {166, 38, 2, 103};
constexpr int kHoverMark = 255;
constexpr int kHoverFlag = 4;

// The hit-point bar: one pixel per point past the last whole 20, 5 high, its
// left end this far left of the picture's middle, one pixel above the picture.
constexpr int kBarHeight = 5;
constexpr int kBarLeftOfCentre = 10;
constexpr int kBarPointsPerWidth = 20;

// A hit flash shows for this many drawings, shaken by up to 3 pixels.
constexpr int kFlashDrawings = 3;
constexpr int kFlashShake = 6;

constexpr int kLevelsOfDarkness = 128;
constexpr int kFullLight = 128;

// The plain body a creature shows when its look cannot be read: one picture
// in eight facings, kept for the run.
constexpr ClassLook kFallbackLook{kBitmapCreature, 64, 64, 32, 56, 8, 1};
constexpr int kFallbackFacings = 8;

CDDObject* FallbackLook() {
    static CDDObject* const look = UseLook(kFallbackLook);
    return look;
}

}  // namespace

const CDDObject* Player::DrawFallbackLook(qv::Surface* surface, qv::Point screen,
                                          const qv::Rect& view, const Position& pos) {
    CDDObject* look = FallbackLook();
    const int level = look ? ScaleLightAt(pos, look->m_iNumLevels) : -1;
    if (level < 0) {
        m_bNotDrawn = 1;
        return nullptr;
    }
    look->m_iLightLevel = level;
    // A facing out of range (a number from a file) shows the first.
    int column = m_sFacing >= 0 && m_sFacing < kFallbackFacings ? m_sFacing : 0, row = 0;
    look->DrawFrame(surface, screen, view, column, row, kDrawModePlain, 0);
    m_bNotDrawn = 0;
    return look;
}

bool Player::HasOpponents() const {
    return std::any_of(m_Opponents.begin(), m_Opponents.end(),
                       [](const qv::Handle<Player>& h) { return h.Get() != nullptr; });
}

int Player::TargetMarkColour() const {
    World* world = GetWorld();
    if (!world) return 0;
    Player* control = world->m_pControlPlayer.Get();
    if (!control || !control->HasOpponents()) return 0;
    int colour = 0;
    for (int member = 3; member >= 0; --member) {
        Player* p = world->m_Party[static_cast<size_t>(member)].Get();
        if (p && p->m_pTarget.Get() == this) colour = kMemberMarks[member];
    }
    return colour;
}

qv::Rect Player::HitPointBarRect(int32_t hitPoints, qv::Point top, int width) {
    int length = hitPoints % kBarPointsPerWidth;
    if (length == 0) length = kBarPointsPerWidth;
    const int left = top.x + width / 2 - kBarLeftOfCentre;
    return {left, top.y - 1 - kBarHeight, left + length, top.y - 1};
}

int Player::HitPointBarColour(int32_t hitPoints) {
    if (hitPoints <= 20) return 1;
    if (hitPoints <= 40) return 3;
    if (hitPoints <= 60) return 4;
    if (hitPoints <= 80) return 5;
    if (hitPoints <= 100) return 6;
    return 1;
}

int Player::AdvanceFrame() {
    if (++m_iStepCount < 3) return m_iFrame;
    m_iStepCount = 0;
    if (CreatureImageSet* set = GetClassImages()) {
        const int32_t frames = set->FrameCount(m_iAction);
        if (++m_iFrame > frames - 1) m_iFrame = 0;
        return frames - 1;
    }
    int column = m_iXImageNum;
    if (column < m_iCycleLimit) {
        if (m_bFrameUp) {
            ++column;
            m_bFrameUp = 0;
        } else if (--column < 1) {
            column = 0;
            m_bFrameUp = 1;
        }
        int row = -1;
        SetImageFrame(&column, &row);
    }
    return column;
}

// The creature's look starts an action at `time`: 1, or 0 when it has no
// frames for it (or there is no look).
int Player::StartLookAction(int32_t action, int32_t time) {
    return CreatureImageSet::StartAction(GetClassImages(), this, action, &time, nullptr);
}

// Whether the creature's look has frames for the action.
bool Player::LookHasFrames(int32_t action) const {
    // The class's look does not depend on the creature's state.
    CreatureImageSet* set = const_cast<Player*>(this)->GetClassImages();
    return set && set->FrameCount(action) > 0;
}

int Player::LoadImages(const std::string& requested) {
    SetClassImages(nullptr);
    CreatureImageSet* set = GetClassImages();
    const std::string name = requested.empty() && set ? set->m_strName : requested;
    if (!set || !set->IsNamed(name)) {
        std::string text;
        if (!FindImageNode(name, text)) return 0;
        std::unique_ptr<CreatureImageSet> made;
        if (!set) {
            made = std::make_unique<CreatureImageSet>();
            set = made.get();
        }
        if (!set->Parse(name, text)) return 0;
        SetClassImages(set);
        if (GetClassImages() != set) return 0;  // a class without a look of its own
        made.release();                         // the class keeps it now
    }
    m_iSpeed = set->m_iSpeed;
    m_dHasteFactor = set->m_dHasteFactor;
    RecomputeLoad();
    return 1;
}

CDDObject* Player::GetImage() {
    CreatureImageSet* set = GetClassImages();
    if (!set) return Object::GetImage();
    // The action's own pictures, else standing, else the plain picture.
    for (int32_t action : {m_iAction, ImageAction::STOP}) {
        const int32_t borrowed = set->Borrowed(action);
        CDDObject* image = set->Image(borrowed >= 0 ? borrowed : action);
        if (image && image->m_iSurfaceCnt > 0) return image;
    }
    return Object::GetImage();
}

int Player::Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
                 int flags) {
    const int darkness = ScaleLightAt(pos, kLevelsOfDarkness);
    if (m_bInactive || darkness < 0) {
        m_bNotDrawn = 1;
        return 0;
    }
    const CDDObject* shown = nullptr;
    if (CreatureImageSet* set = GetClassImages()) {
        const int mark = (flags & kHoverFlag) ? kHoverMark : TargetMarkColour();
        const int32_t facing = m_sFacing;
        CDDObject* image = set->GetFrame(&m_iAction, &facing, &m_iFrame);
        // The lighting pass leaves the light under the creature; where it did
        // not run (full light), the map's darkness here stands in.
        const int light =
            m_iDrawLight >= 0 ? std::min(m_iDrawLight, kFullLight) : kFullLight - darkness;
        const bool showHidden = IsDebugView() != 0;
        // A look without frames for the action shows nothing for it.
        if (!image || (m_bInvisible && (HasOpponents() || m_bGhost) && !showHidden)) {
            m_bNotDrawn = 1;
        } else {
            LookColours colours;
            if (set->m_bRecoloured && GetPlayerType() == 10 && GetLookColours(&colours))
                set->DrawRecoloured(image, light, colours);
            else
                set->DrawShaded(image, light);
            if (m_bEthereal) set->DrawEthereal();
            if (m_bInvisible)
                set->DrawInvisible(surface, screen, view, image, mark);
            else
                set->DrawWorkImage(surface, screen, view, image, mark);
            m_bNotDrawn = 0;
            shown = image;
            CDDObject* flash = set->Image(ImageAction::WOUNDED);
            if (m_iFlashFrame != 0 && flash && flash->m_iSurfaceCnt > 0) {
                flash->m_iWhichSurf = std::clamp(m_iFlashFrame, 0, flash->m_iSurfaceCnt - 1);
                const int dx = qv::Rand() % kFlashShake - 3;
                const int dy = qv::Rand() % kFlashShake - 3;
                int column = 0, row = 0;
                flash->DrawFrame(surface, {screen.x + dx, screen.y + dy}, view, column, row);
                if (++m_iFlashCount >= kFlashDrawings) m_iFlashFrame = m_iFlashCount = 0;
            }
        }
        m_iDrawLight = -1;
    } else if (m_bInvisible && (HasOpponents() || m_bGhost) && IsDebugView() == 0) {
        m_bNotDrawn = 1;
    } else {
        // No look could be read for the creature: the plain body, never
        // nothing.
        shown = DrawFallbackLook(surface, screen, view, pos);
    }
    if (shown && surface && m_iHitPoints >= 1) {
        const qv::Point top{screen.x - shown->m_iHotX,
                            screen.y - (shown->m_iHotY + shown->m_iZOffset)};
        const qv::Rect bar = HitPointBarRect(m_iHitPoints, top, shown->m_iWidth).Intersect(view);
        const uint16_t colour = PaletteIndexToPixel(HitPointBarColour(m_iHitPoints));
        if (!bar.IsEmpty() && surface->FillRect(bar, colour) == qv::kDrawSurfaceLost) {
            surface->Restore();
            surface->FillRect(bar, colour);
        }
    }
    return 0;
}
