#include "world/Object.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "media/DDObjects.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/MapLight.h"
#include "world/ObjectHolder.h"
#include "world/World.h"
#include "world/WorldRules.h"

QV_IMPLEMENT_SERIAL(Object, qv::Persistent, 11, true)

Object::Object(const std::string& name) : m_strGeneralName(name), m_strSpecialName(name) {
    Object::LoadImages();
}

Object::~Object() {
    // Whatever deletes a placed object, no cell is left naming it.
    if (ObjectHolder* holder = m_pHolder) {
        m_pHolder = nullptr;
        holder->ForgetObject(this);
    }
    if (World* world = GetWorld())
        if (m_iItemNum >= 0) world->RemoveFromKeyStorage(this);
    Object::ReleaseImages();
}

void Object::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(m_iXImageNum);
        ar.WriteInt(m_iYImageNum);
        ar.WriteInt(m_iWeight);
        ar.WriteInt(m_iValue);
        ar.WriteString(m_strGeneralName);
        ar.WriteString(m_strSpecialName);
        ar.WriteInt(m_iItemNum);
        ar.WriteInt(m_iSpare1);
        ar.WriteInt(m_iState);
        ar.WriteInt(m_iBulkNum);
        ar.WriteInt(m_bStackable);
        ar.WriteInt(m_bInteract);
        ar.WriteInt(m_iSpare2);
        ar.WriteInt(m_iOwner);
        return;
    }
    const uint32_t s = ar.GetObjectSchema();
    if (s >= 2) {
        int x = ar.ReadInt();
        int y = ar.ReadInt();
        m_iXImageNum = x;
        m_iYImageNum = y;
        SetImageFrame(&x, &y);
    }
    ar.ReadInt();  // the stored weight: the class's own weight stands
    if (s < 4) m_iWeight = 1;
    m_iValue = ar.ReadInt();
    m_strGeneralName = ar.ReadString();
    m_strSpecialName = ar.ReadString();
    m_iItemNum = ar.ReadInt();
    if (m_iItemNum >= 0)
        if (World* world = GetWorld()) world->AddToKeyStorage(this);
    if (s >= 3) m_iSpare1 = ar.ReadInt();
    if (s >= 7) m_iState = ar.ReadInt();
    if (s >= 8) {
        m_iBulkNum = ar.ReadInt();
        m_bStackable = ar.ReadInt();
    }
    if (s >= 9) m_bInteract = ar.ReadInt();
    if (s >= 10) m_iSpare2 = ar.ReadInt();
    if (s >= 11) m_iOwner = ar.ReadInt();
}

int Object::SetOwner(int owner) {
    m_iOwner = owner;
    return m_iOwner;
}

int Object::IsActive() {
    return 1;
}

void Object::GetImageFrame(int* x, int* y) {
    if (x && *x >= 0) *x = m_iXImageNum;
    if (y && *y >= 0) *y = m_iYImageNum;
}

void Object::SetImageFrame(int* x, int* y) {
    if (x && *x >= 0) m_iXImageNum = *x;
    if (y && *y >= 0) m_iYImageNum = *y;
}

int Object::GetState() {
    return m_iState;
}

void Object::SetState(int* state) {
    if (!state) return;
    // A door's state decides the steps through it.
    if (*state != m_iState) NoteStepChange();
    m_iState = *state;
}

int Object::CanInteract() {
    return 0;
}

int Object::CanBeUsedBy(Player* creature) {
    if (!creature) return 0;
    const int32_t type = CreatureSide(creature)->MapSpecies();
    return type == 10 || type == 1 || type == 18 ? m_bInteract : 0;
}

CDDObject* Object::GetImage() {
    return m_pDDImage;
}

std::string Object::GetInfoText() {
    return GetDisplayName() + qv::Format("\nWeight: %d", m_iWeight);
}

void Object::SetName(const std::string& name) {
    m_strSpecialName = name;
}

std::string Object::GetValueText(int* width, double* factor) {
    const int w = width ? *width : 0;
    std::string name = GetDisplayName();
    if (static_cast<int>(name.size()) < w) name.append(static_cast<size_t>(w) - name.size(), ' ');
    double price = std::trunc(GetValue() * (factor ? *factor : 0.0));
    // A price beyond the integer range is held at its edge.
    if (!(price >= std::numeric_limits<int>::min())) price = std::numeric_limits<int>::min();
    if (price > std::numeric_limits<int>::max()) price = std::numeric_limits<int>::max();
    std::string text = qv::Format("%d", static_cast<int>(price));
    if (static_cast<int>(text.size()) >= w) return text;
    return name.substr(0, static_cast<size_t>(w) - text.size()) + text;
}

std::string Object::GetDisplayName() {
    if (m_iBulkNum == 1) return m_strSpecialName;
    return qv::Format("%s (%d)", m_strSpecialName.c_str(), m_iBulkNum);
}

int Object::GetValue() {
    return m_iValue;
}

void Object::SetValue(int* value) {
    if (value) m_iValue = *value;
}

int Object::GetWeight() {
    return m_iWeight;
}

void Object::SetWeight(int* weight) {
    if (weight) m_iWeight = *weight;
}

int Object::IsSameKind(Object* other) {
    return other && m_strSpecialName == other->m_strSpecialName ? 1 : 0;
}

namespace {
// Stack counts come from files: a sum beyond the integer range is held at its
// edge.
int ClampToInt(int64_t v) {
    return static_cast<int>(
        std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
}  // namespace

int Object::AddBulk(Object* other) {
    if (!m_bStackable || !other) return 0;
    m_iBulkNum = ClampToInt(int64_t{m_iBulkNum} + other->m_iBulkNum);
    return m_iBulkNum;
}

int Object::RemoveBulk(Object* other) {
    if (!m_bStackable || !other) return 0;
    m_iBulkNum = ClampToInt(int64_t{m_iBulkNum} - other->m_iBulkNum);
    QV_CHECK(m_iBulkNum >= 0);
    return m_iBulkNum;
}

int Object::Update(int32_t, MapMaster*) {
    return 0;
}

int Object::GetUsePrompt(Player*, int) {
    return 0;
}

int Object::Use(Player*, Object*) {
    return 0;
}

std::pair<int, int> Object::GetUseRange(Player*) {
    return {3, 0};
}

int Object::IsValidTarget(Object*) {
    return 0;
}

int Object::IsUsableBy(Player*) {
    return 1;
}

int Object::StepOn(Position*, Object*) {
    return 0;
}

int Object::Activate(int*, Player*) {
    return -1;
}

int Object::Edit() {
    // The dialog belongs to the editor, which the world's rules reach; it
    // opens only in build mode.
    if (!IsEditMode()) return -1;
    if (World* world = GetWorld(); world && world->m_pRules) world->m_pRules->EditObject(*this);
    return -1;
}

void Object::SetPosition(MapCell*, Position*) {}

Object* Object::Clone() {
    Object* copy = qv::DynamicCast<Object>(GetRuntimeClass()->CreateObject());
    if (!copy) return nullptr;
    copy->m_iBulkNum = m_iBulkNum;
    copy->m_bMoveable = m_bMoveable;
    return copy;
}

int Object::Type() {
    return 0;
}

int Object::GetKind() {
    return Type();
}

CDDObject& Object::ClassImage() {
    // The global image list must outlive the image that joins it.
    static const size_t listFirst = CDDObject::GlobalImageCount();
    static CDDObject image;
    (void)listFirst;
    return image;
}

int Object::LoadImages() {
    CDDObject& image = ClassImage();
    if (++image.m_iUseCount == 1) {
        m_iNumLevels = 1;
        int across = 1, down = 1;
        image.SetCellGrid(across, down);
        image.SetFrameCount(m_iNumLevels);
        image.m_iWidth = 64;
        image.m_iHeight = 64;
        image.m_iZOffset = 0;
        image.m_iHotX = 32;
        image.m_iHotY = 32;
        image.m_iNumLevels = m_iNumLevels;
        for (int i = 0; i < m_iNumLevels; ++i) {
            int levels = m_iNumLevels;
            image.SetFrameLevels(i, levels);
            int bitmap = 283;
            int frame = i;
            image.SetFrameImage(bitmap, 0, 0, frame);
        }
        image.Load();
    }
    m_pDDImage = &image;
    m_pClassDDImage = &image;
    return 1;
}

namespace {
// Gives back one use of an image; the last use releases its surfaces. A count
// already at 0 stays there.
void GiveBackUse(CDDObject* image) {
    if (image->m_iUseCount <= 0) return;
    if (--image->m_iUseCount == 0) image->Release();
}
}  // namespace

int Object::ReleaseImages() {
    CDDObject* current = GetImage();
    if (current && current != m_pDDImage) GiveBackUse(current);
    if (!m_pDDImage) return 0;
    GiveBackUse(m_pDDImage);
    return 1;
}

int Object::Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
                 int flags) {
    int column = 0, row = 0;
    GetImageFrame(&column, &row);
    return DrawLit(GetImage(), column, row, surface, screen, view, pos, flags);
}

int Object::DrawLit(CDDObject* image, int column, int row, qv::Surface* surface, qv::Point screen,
                    const qv::Rect& view, const Position& pos, int flags) {
    const int levels = m_pClassDDImage ? m_pClassDDImage->m_iNumLevels : m_iNumLevels;
    int level = ScaleLightAt(pos, levels);
    if (m_iLightSampling > 1 && level > 0 && m_pClassDDImage) {
        // A corner of the picture whose level is 1 or more and not above the
        // level so far takes its place; a corner in full light (0) or outside
        // the lit window (-1) is ignored.
        const qv::Rect r = m_pClassDDImage->GetCellRect();
        const qv::Point corners[4] = {
            {r.left, r.top}, {r.left, r.bottom}, {r.right, r.top}, {r.right, r.bottom}};
        for (const qv::Point& c : corners) {
            int corner = ScaleLightAt(Position(pos.x + c.x, pos.y + c.y, pos.z), levels);
            if (corner >= 1 && corner <= level) level = corner;
        }
    }
    if (level < 0) {
        m_bNotDrawn = 1;
        return 0;
    }
    m_bNotDrawn = 0;
    if (!image) return 0;
    image->m_iLightLevel = level;
    image->DrawFrame(surface, screen, view, column, row,
                     (flags & 4) ? kDrawModeHover : kDrawModePlain, 0);
    return 0;
}

int Object::GetTag() {
    return m_iTag;
}

Object* Object::GetLightSource() {
    return nullptr;
}

void Object::TakeDamage(int, int) {}
