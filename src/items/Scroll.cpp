#include "items/Scroll.h"

#include <vector>

#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/Potions.h"
#include "items/SharedSound.h"
#include "items/SpellsFire.h"
#include "items/TargetChoice.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "structures/Looks.h"
#include "world/Global.h"
#include "world/Group.h"

QV_IMPLEMENT_SERIAL(Scroll, Useable, 2, true)

namespace {

SharedSound s_readSound(kWaveRead);

constexpr const char* kScrollNames[ScrollType::Count] = {
    "Blank Scroll",    "Scroll of Healing",   "Scroll of Restore Mana", "Scroll of Strength",
    "Scroll of Speed", "Scroll of Toughskin", "Scroll of SunLight",     "Scroll of Invisibility"};

// Invisibility for every creature of the group, a spell of its own each; a
// reader without a group makes only itself invisible.
void GroupInvisibility(Player& target) {
    Group* group = target.m_pGroup;
    if (!QV_CHECK_TEXT(group != nullptr, "pGroup != NULL")) {
        GiveBoon(Boon::Invisibility, target);
        return;
    }
    std::vector<qv::Handle<Player>> creatures;
    for (Member* m : group->Members())
        if (Player* p = AsCreature(m)) creatures.emplace_back(p);
    for (const auto& p : creatures)
        if (p) GiveBoon(Boon::Invisibility, *p.Get());
}

}  // namespace

Scroll::Scroll(int32_t type) : Useable("Scroll") {
    m_iValue = kValue;
    m_iLightSampling = 1;
    m_iWeight = 1;
    WearLook(*this, {kBitmapItemGround + kItemScroll, 32, 24, 16, 16, 1, 1});
    s_readSound.Take();
    SetScrollType(type);
}

Scroll::~Scroll() {
    s_readSound.Give();
}

void Scroll::SetScrollType(int32_t type) {
    m_iScrollType = type;
    const std::string shown = GetDisplayName();
    if (shown != "Scroll" && shown != kScrollNames[ScrollType::Blank]) return;
    if (type < 0 || type >= ScrollType::Count) return;
    SetName(m_bGroup ? qv::Format("%s - Group", kScrollNames[type]) : kScrollNames[type]);
}

bool Scroll::ActsOnReader() const {
    return m_iScrollType == ScrollType::SunLight ||
           (m_iScrollType == ScrollType::Invisibility && m_bGroup);
}

void Scroll::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Useable::classInfo);
    Useable::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(m_iScrollType);
        ar.WriteInt(m_bGroup);
        return;
    }
    const int32_t type = ar.ReadInt();
    if (schema > 1) m_bGroup = ar.ReadInt();
    SetScrollType(type);
}

int Scroll::GetUsePrompt(Player* user, int) {
    if (m_iScrollType == ScrollType::Blank) {
        SetMessageLine("Blank scroll...");
        return 2;
    }
    // Read at once: whoever asked takes the used-up scroll out of the
    // reader's bag, as after a target was picked.
    if (ActsOnReader()) return user && Use(user, user) != 0 ? 1 : 0;
    return BeginTargetChoice(*this, user, UseSelect::kItem, UseSelect::kPause, "Use Scroll on...");
}

int Scroll::IsValidTarget(Object* target) {
    return qv::DynamicCast<Player>(target) ? 1 : 0;
}

Object* Scroll::Clone() {
    Object* copy = Object::Clone();
    if (auto* scroll = qv::DynamicCast<Scroll>(copy)) {
        // A group scroll copied (bought, split) stays a group scroll.
        scroll->m_bGroup = m_bGroup;
        scroll->SetScrollType(m_iScrollType);
    }
    return copy;
}

int Scroll::Use(Player* user, Object* target) {
    if (!QV_CHECK_TEXT(user != nullptr && target != nullptr, "pUsing != NULL && pUsedOn != NULL"))
        return 0;
    Player* p = AsCreature(target);
    if (!p) return 0;
    bool used = false;
    switch (m_iScrollType) {
        case ScrollType::Blank:
            SetName(kScrollNames[ScrollType::Blank]);
            break;
        case ScrollType::Healing:
            used = GiveBoon(Boon::Healing, *p);
            break;
        case ScrollType::RestoreMana:
            used = GiveBoon(Boon::Mana, *p);
            break;
        case ScrollType::Strength:
            used = GiveBoon(Boon::Strength, *p);
            break;
        case ScrollType::Speed:
            used = GiveBoon(Boon::Speed, *p);
            break;
        case ScrollType::Toughskin:
            used = GiveBoon(Boon::Toughskin, *p);
            break;
        case ScrollType::SunLight: {
            // Cast by the reader, at nothing in particular.
            auto sunlight = std::make_unique<Sunlight>();
            sunlight->ApplyEffect(user, nullptr);
            SettleSpell(std::move(sunlight));
            used = true;
            break;
        }
        case ScrollType::Invisibility:
            if (m_bGroup)
                GroupInvisibility(*p);
            else
                GiveBoon(Boon::Invisibility, *p);
            used = true;
            break;
        default:
            break;
    }
    EndUsePause();
    if (!used) return 0;
    s_readSound.Play();
    return 1;
}
