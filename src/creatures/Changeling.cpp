// The changeling's change: its stages, the look and name it copies, and its
// stored record.

#include "creatures/Changeling.h"

#include <algorithm>

#include "creatures/PlayerImages.h"
#include "items/Armour.h"
#include "media/DSound.h"
#include "platform/Archive.h"
#include "platform/GameTime.h"

QV_IMPLEMENT_SERIAL(Changeling, Player, 1, true)

namespace {

const SpeciesRow& ChangelingRow() {
    static const SpeciesRow* row = Species::FindRow("Changeling");
    return *row;
}

// Its three sounds, shared while any changeling lives.
constexpr int kSoundIds[3] = {1069, 1070, 1071};
int g_iUseCount = 0;
std::array<std::unique_ptr<CDSound>, 3> g_Sounds;

constexpr int32_t kChangeAction = 7;  // ATTACK3
constexpr int32_t kShellAction = 8;   // ATTACK4

}  // namespace

Changeling::Changeling() : Species(ChangelingRow()) {
    if (g_iUseCount++ == 0)
        for (size_t i = 0; i < g_Sounds.size(); ++i)
            g_Sounds[i] = std::make_unique<CDSound>(kSoundIds[i]);
}

Changeling::~Changeling() {
    DropShell();
    m_pCopiedImages.reset();
    if (--g_iUseCount == 0)
        for (auto& s : g_Sounds) s.reset();
}

void Changeling::DropShell() {
    if (!m_pShell) return;
    std::erase_if(m_WornList,
                  [&](const qv::Handle<Object>& h) { return h.Get() == m_pShell.get(); });
    m_pShell.reset();
}

void Changeling::QueueStage(int32_t time, int32_t stage) {
    m_pEvents->Post(ObjectEventType::SPECIAL, time, nullptr, 0, stage);
}

int Changeling::CopyLook() {
    if (m_strCopiedImages.empty()) return 0;
    std::string text;
    if (!FindImageNode(m_strCopiedImages, text)) return 0;
    auto set = std::make_unique<CreatureImageSet>();
    if (!set->Parse(m_strCopiedImages, text)) return 0;
    m_pCopiedImages = std::move(set);
    return 1;
}

void Changeling::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.SerializeClass(&Player::classInfo);
        Player::Serialize(ar);
        ar.WriteInt(m_iChangeState);
        ar.WriteString(m_strCopiedImages);
        ar.WriteString(m_strCopiedName);
        return;
    }
    ar.GetObjectSchema();
    ar.SerializeClass(&Player::classInfo);
    Player::Serialize(ar);
    const int32_t state = ar.ReadInt();
    if (state < kChanging || state > kDying) ar.Fail(qv::ArchiveError::Generic, "changeling state");
    m_iChangeState = state;
    m_strCopiedImages = ar.ReadString();
    m_strCopiedName = ar.ReadString();
    if (m_iChangeState == kChanging) {
        // A change under way starts again at its shell.
        m_pEvents->Clear();
        QueueStage(0, 3);
    } else if (m_iChangeState == kChanged) {
        CopyLook();
    }
}

std::string Changeling::GetDisplayName() {
    return m_iChangeState == kChanged ? m_strCopiedName : Species::GetDisplayName();
}

int Changeling::ResolveHit(Object* other, StrikeWeapon value) {
    Species::ResolveHit(other, value);
    if (m_iChangeState != kUnchanged || !other) return 1;
    m_bEvading = 1;
    if (Player* creature = qv::DynamicCast<Player>(other)) {
        if (CreatureImageSet* look = creature->GetClassImages()) {
            m_strCopiedImages = look->m_strName;
            CopyLook();
        }
    }
    m_strCopiedName = other->GetDisplayName();
    QueueStage(0, 1);
    return 1;
}

int Changeling::ShedShell(int32_t time, const int32_t* stage) {
    if (!stage) return 1;
    switch (*stage) {
        case 1:
            m_bEvading = 1;
            m_iChangeState = kChanging;
            QueueStage(qv::TimeAdd(time, kFirstWait), 2);
            HandleThinkEvent(time, nullptr);
            break;
        case 2: {
            m_pEvents->Clear();
            int32_t start = time, length = kAnimation;
            CreatureImageSet::StartAction(Species::GetClassImages(), this, kChangeAction, &start,
                                          &length);
            QueueStage(qv::TimeAdd(time, kAnimation), 3);
            PlayAtHolder(1);
            break;
        }
        case 3: {
            m_pEvents->Clear();
            int32_t start = time, length = kShellTime;
            CreatureImageSet::StartAction(Species::GetClassImages(), this, kShellAction, &start,
                                          &length);
            DropShell();
            m_pShell = std::make_unique<Armour>(kShellSpeedFactor, kShellAbsorption, kShellLocation,
                                                "Shell");
            AddWorn(m_pShell.get());
            QueueStage(qv::TimeAdd(time, kShellTime), 4);
            break;
        }
        case 4:
            DropShell();
            RecomputeLoad();
            m_pEvents->Clear();
            m_bEvading = 0;
            m_iChangeState = kChanged;
            if (!m_pCopiedImages) CopyLook();
            break;
        default:
            break;
    }
    return 1;
}

int Changeling::Die() {
    m_iChangeState = kDying;
    return Species::Die();
}

void Changeling::PlayAtHolder(int which) {
    CDSound* sound = g_Sounds[static_cast<size_t>(which)].get();
    if (m_pHolder && sound) sound->PlayAt(m_pHolder->pos.x, m_pHolder->pos.y);
}

int Changeling::PlaySound() {
    PlayAtHolder(0);
    return 1;
}

int Changeling::PlayThirdSound() {
    PlayAtHolder(2);
    return 1;
}

CreatureImageSet* Changeling::GetClassImages() {
    return m_iChangeState == kChanged ? m_pCopiedImages.get() : Species::GetClassImages();
}

void Changeling::SetClassImages(CreatureImageSet* set) {
    if (!set) return;
    if (m_iChangeState == kChanged) {
        if (m_pCopiedImages.get() != set) m_pCopiedImages.reset(set);
    } else {
        Species::SetClassImages(set);
    }
}
