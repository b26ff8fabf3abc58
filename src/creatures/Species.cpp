// The species: a creature made from its table row, the run-time classes the
// rows register under their names, the class-wide looks, and the few rules of
// their own (the undead rising, the golem slowing, molds and slimes growing,
// the hounds feeding on their element).

#include "creatures/Species.h"

#include <algorithm>
#include <map>
#include <vector>

#include "creatures/Changeling.h"
#include "creatures/Human.h"
#include "creatures/PlayerImages.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/Weapon.h"
#include "media/DDWnd.h"
#include "media/DSound.h"
#include "platform/Archive.h"
#include "platform/GameTime.h"
#include "platform/Saturate.h"
#include "structures/LightSource.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

// The rows' class-wide state, by the row's place in the table.
struct ClassState {
    std::unique_ptr<CreatureImageSet> images;
    int uses = 0;
};

size_t IndexOf(const SpeciesRow& row) {
    const auto table = SpeciesTable();
    return static_cast<size_t>(&row - table.data());
}

std::vector<ClassState>& States() {
    static std::vector<ClassState> states(SpeciesTable().size());
    return states;
}

// The rows' run-time classes. Humans and changelings register their own,
// since they store fields of their own.
template <size_t I>
qv::Persistent* CreateRow() {
    return MakeSpeciesCreature(SpeciesTable()[I]);
}

template <size_t... I>
std::array<qv::Persistent* (*)(), sizeof...(I)> Creators(std::index_sequence<I...>) {
    return {&CreateRow<I>...};
}

constexpr size_t kRowCount = 32;

struct Registry {
    std::array<qv::RuntimeClass, kRowCount> classes{};
    std::map<std::string, const SpeciesRow*, std::less<>> byName;

    Registry() {
        const auto table = SpeciesTable();
        const auto creators = Creators(std::make_index_sequence<kRowCount>{});
        for (size_t i = 0; i < table.size() && i < kRowCount; ++i) {
            byName[table[i].className] = &table[i];
            classes[i] = {table[i].className, 1, true, creators[i], &Player::classInfo};
        }
        for (size_t i = 0; i < table.size() && i < kRowCount; ++i) {
            if (table[i].baseName) {
                const SpeciesRow* base = byName.at(table[i].baseName);
                classes[i].base = &classes[IndexOf(*base)];
            }
            if (table[i].behaviour != SpeciesBehaviour::Human &&
                table[i].behaviour != SpeciesBehaviour::Changeling)
                qv::RuntimeClass::Register(&classes[i]);
        }
    }
};

Registry& Classes() {
    static Registry registry;
    return registry;
}

// Every row's class is known by name before main runs.
const Registry& g_registered = Classes();

// Places `creature` as near `at` as the map lets it: 1 when placed.
int PlaceNear(Player* creature, const Position& at) {
    MapMaster* map = GetMapMaster();
    if (!map) return 0;
    static constexpr int kOffsets[][2] = {{12, 0},  {-12, 0},   {0, 12},   {0, -12},
                                          {12, 12}, {-12, -12}, {12, -12}, {-12, 12}};
    for (const auto& d : kOffsets) {
        Position pos(at.x + d[0], at.y + d[1], at.z);
        auto* holder = new ObjectHolder(pos, creature);
        if (map->AddHolder(pos, holder)) return 1;
        delete holder;  // the creature stays the caller's
    }
    return 0;
}

// Enters two creatures in each other's lists of opponents.
void PairOpponents(Player* a, Player* b) {
    if (!a || !b || a == b) return;
    auto has = [](Player* p, Player* q) {
        return std::any_of(p->m_Opponents.begin(), p->m_Opponents.end(),
                           [q](const qv::Handle<Player>& h) { return h.Get() == q; });
    };
    if (!has(a, b)) a->m_Opponents.emplace_back(b);
    if (!has(b, a)) b->m_Opponents.emplace_back(a);
}

}  // namespace

Player* MakeSpeciesCreature(const SpeciesRow& row) {
    switch (row.behaviour) {
        case SpeciesBehaviour::Human:
            return new Human;
        case SpeciesBehaviour::Changeling:
            return new Changeling;
        default:
            return new Species(row);
    }
}

const SpeciesRow* Species::FindRow(const std::string& className) {
    const auto& names = Classes().byName;
    auto it = names.find(className);
    return it == names.end() ? nullptr : it->second;
}

const qv::RuntimeClass* Species::ClassOf(const SpeciesRow& row) {
    if (row.behaviour == SpeciesBehaviour::Human) return &Human::classInfo;
    if (row.behaviour == SpeciesBehaviour::Changeling) return &Changeling::classInfo;
    return &Classes().classes[IndexOf(row)];
}

std::unique_ptr<Player> Species::Make(const std::string& className) {
    const SpeciesRow* row = FindRow(className);
    return std::unique_ptr<Player>(row ? MakeSpeciesCreature(*row) : nullptr);
}

CreatureImageSet* Species::ClassImages(const SpeciesRow& row) {
    return States()[IndexOf(row)].images.get();
}

int Species::UseCount(const SpeciesRow& row) {
    return States()[IndexOf(row)].uses;
}

void Species::ResetClassImages() {
    for (ClassState& s : States()) {
        s.images.reset();
        s.uses = 0;
    }
}

void InitCreatureImages() {
    Species::ResetClassImages();
    Human::ResetClassImages();
    CreatureImageSet::s_strImageFile = kCreatureImageFile;
    CreatureImageSet::WorkImage();
}

Species::Species(const SpeciesRow& row) : m_pRow(&row) {
    ++States()[IndexOf(row)].uses;
    // A species built on another is first a creature of that one.
    std::vector<const SpeciesRow*> chain;
    for (const SpeciesRow* r = &row; r; r = r->baseName ? FindRow(r->baseName) : nullptr)
        chain.push_back(r);
    m_bPoseSheet = 1;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) ApplyRow(**it);
    if (row.behaviour == SpeciesBehaviour::Golem) m_iStrengthBonus = 1;
    // Its teeth, claws or fists: what it fights with when it holds nothing.
    if (const NaturalWeaponRow& w = m_NaturalWeapon; w.name)
        EquipObject(new IntrinsicWeapon(w.kind, w.speed, w.damageRange, w.damageBase, w.parameter,
                                        w.stun, w.name));
    // A human's look depends on its sex; it loads it itself.
    if (row.behaviour != SpeciesBehaviour::Human) LoadImages(row.look);
    ResetTimings();
}

Species::~Species() {
    ClassState& state = States()[IndexOf(*m_pRow)];
    if (--state.uses <= 0) {
        state.uses = 0;
        state.images.reset();
    }
}

void Species::ApplyRow(const SpeciesRow& row) {
    m_strSpecialName = row.displayName;
    m_strGeneralName = row.displayName;
    if (row.weapon.name) m_NaturalWeapon = row.weapon;
    if (row.speed != 0) m_iSpeed = m_iLoadedSpeed = row.speed;
    if (row.hpPerLevel != 0) m_iHPPerLevel = row.hpPerLevel;
    if (row.abilities[0] != 0) {
        m_iStrength = m_iCurStr = row.abilities[0];
        m_iDexterity = m_iCombatDexterity = row.abilities[1];
        m_iIntelligence = m_iCurInt = row.abilities[2];
    }
    // Each body-type code goes to the head of the list.
    for (int32_t code : row.traits)
        if (code != 0) m_TraitList.insert(m_TraitList.begin(), code);
    for (int32_t location : row.slots)
        if (location != 0) m_BodySlotList.emplace_back(location);
    if (row.smallInt != 0) m_iUnused2 = row.smallInt;
    if (row.radius != 0) m_iRadius = row.radius;
    if (row.poseCount != 0) m_iPoseCount = row.poseCount;
    if (row.hostile != 0) m_iHostileMode = row.hostile;
    if (row.cycleLimit != 0) m_iCycleLimit = row.cycleLimit;
    if (row.beforePortrait != 0) m_iUnused9 = row.beforePortrait;
    if (row.portraits[0] != 0) m_iPortraitBitmap = row.portraits;
    if (row.speciesMark != 0) m_sSpeciesMark = row.speciesMark;
    if (row.regenRate != 0) m_iRegenRate = row.regenRate;
    if (row.own != std::array<int32_t, 2>{}) m_iOwn = row.own;
    if (row.experience != std::array<double, 3>{}) m_dExperience = row.experience;
    if (row.fireProtection) m_bFireProtection = 1;
    if (row.invisible) m_bInvisible = 1;
    if (row.grounded) m_bGrounded = 1;
    // A light it cannot take up burns out at once.
    if (row.carriesLight && !EquipObject(new MageLight)) ShowGameMessage("Eh?");
    if (row.spell) {
        if (const qv::RuntimeClass* cls = qv::RuntimeClass::Find(row.spell)) {
            std::unique_ptr<qv::Persistent> made(cls->CreateObject());
            if (auto* spell = qv::DynamicCast<Spell>(made.get())) AddSpell(*spell);
        }
    }
}

const qv::RuntimeClass* Species::GetRuntimeClass() const {
    return ClassOf(*m_pRow);
}

void Species::Serialize(qv::Archive& ar) {
    // What it carries (a hound's light) comes with the record, not again
    // from the constructor.
    if (ar.IsLoading()) {
        m_InUseList.clear();
        m_pBag = std::make_unique<CBag>("Bag");
        m_pBag->m_bOwnBag = 1;
    }
    // The record names every species the class is built on, each with its
    // schema, then the creature's record.
    for (const qv::RuntimeClass* c = GetRuntimeClass(); c && c != &Player::classInfo; c = c->base) {
        if (ar.IsLoading()) ar.GetObjectSchema();
        ar.SerializeClass(c->base);
    }
    Player::Serialize(ar);
}

int Species::PlaySound() {
    if (!m_pRow->ownSound) return Player::PlaySound();
    CDSound* sound = SharedSound();
    if (m_pHolder && sound) sound->PlayAt(m_pHolder->pos.x, m_pHolder->pos.y);
    return 1;
}

CreatureImageSet* Species::GetClassImages() {
    return States()[IndexOf(*m_pRow)].images.get();
}

void Species::SetClassImages(CreatureImageSet* set) {
    if (!set) return;
    auto& images = States()[IndexOf(*m_pRow)].images;
    if (images.get() != set) images.reset(set);
}

int Species::Update(int32_t now, MapMaster* context) {
    switch (m_pRow->behaviour) {
        case SpeciesBehaviour::Undead:
            return UndeadUpdate(now, context);
        case SpeciesBehaviour::Golem:
            if (!IsAlive() || m_bInactive) return 0;
            // Its strength spent, it slows; with none left at all, less so.
            m_iSpeed = m_iLoadedSpeed = m_iStrengthBonus == 1 ? 80 : (m_iStrength != 0 ? 10 : 40);
            RecomputeLoad();
            return Player::Update(now, context);
        default:
            return Player::Update(now, context);
    }
}

int Species::UndeadUpdate(int32_t now, MapMaster* context) {
    if (IsAlive()) return Player::Update(now, context);
    if (m_sLifeState < -9) return 1;
    if (m_iOwn[0] != m_iRegenRate) {
        m_iOwn[1] = m_iRegenRate;
        m_iRegenRate = m_iOwn[0];
        m_iFrame = 0;
    }
    if (m_uLastRegenTime == 0) {
        m_uLastRegenTime = now;
        return 1;
    }
    // One hit point for every whole interval; the interval is never shorter
    // than one unit of game time, whatever the rate and the maximum.
    const double product = static_cast<double>(m_iRegenRate) * m_iMaxHitPoints;
    const int64_t interval =
        product >= 1.0 ? std::max<int64_t>(1, static_cast<int64_t>(600000.0 / product)) : 1;
    const int64_t passed = qv::TimeDiff(now, m_uLastRegenTime);
    if (passed >= interval) {
        const int64_t n = passed / interval;
        m_iHitPoints = static_cast<int32_t>(
            std::min<int64_t>(int64_t{m_iHitPoints} + n, std::max(m_iMaxHitPoints, m_iHitPoints)));
        m_iHitPoints = std::min(m_iHitPoints, m_iMaxHitPoints);
        m_uLastRegenTime = qv::TimeAdd(m_uLastRegenTime, static_cast<int32_t>(n * interval));
    }
    if (m_iHitPoints > static_cast<int32_t>(int64_t{m_iMaxHitPoints} * kRisePercent / 100)) {
        m_sLifeState = 1;
        m_iRegenRate = m_iOwn[1];
        m_iFrame = 0;
        m_iAction = PlayerAction::Stop;
        m_pEvents->Clear();
        m_iHostileMode = 1;
    }
    return 1;
}

void Species::TakeDamage(int amount, int kind) {
    if (!IsAlive()) return;
    switch (m_pRow->behaviour) {
        case SpeciesBehaviour::Elemental:
            if (kind == m_pRow->healKind) {
                m_iHitPoints = static_cast<int32_t>(
                    std::min<int64_t>(int64_t{m_iHitPoints} + amount, m_iMaxHitPoints));
                return;
            }
            if (kind == m_pRow->doubleKind) amount = qv::ClampToInt32(int64_t{amount} * 2);
            Player::TakeDamage(amount, kind);
            return;
        case SpeciesBehaviour::Growing:
            if (kind == m_pRow->hurtKind)
                Player::TakeDamage(amount, kind);
            else
                Grow(amount / 3);
            return;
        default:
            Player::TakeDamage(amount, kind);
    }
}

void Species::Grow(int amount) {
    int32_t& pool = m_iOwn[0];
    const int32_t threshold = m_iOwn[1];
    pool = static_cast<int32_t>(std::clamp<int64_t>(int64_t{pool} + amount, 0, INT32_MAX));
    const int64_t missing = int64_t{m_iMaxHitPoints} - m_iHitPoints;
    if (missing <= pool) {
        if (missing > 0) {
            m_iHitPoints = m_iMaxHitPoints;
            pool -= static_cast<int32_t>(missing);
        }
    } else {
        m_iHitPoints += pool;
        pool = 0;
    }
    if (threshold < 1 || pool < threshold) return;
    std::unique_ptr<Player> made(MakeSpeciesCreature(*m_pRow));
    auto* child = static_cast<Species*>(made.get());
    child->m_iMaxHitPoints = child->m_iHitPoints = m_iHPPerLevel;
    pool -= threshold;
    const Position at = m_pHolder ? m_pHolder->pos : m_Position;
    if (!PlaceNear(child, at)) {
        pool += threshold;
        return;  // no room: it goes again
    }
    made.release();  // the map holds it; its group owns it below
    child->m_Position = child->m_pHolder->pos;
    if (m_pGroup) m_pGroup->AddMemberDirect(child);
    child->m_iHostileMode = 1;
    // It fights whoever fights its parent, and they fight it.
    for (const auto& opponent : m_Opponents) PairOpponents(child, opponent.Get());
    for (int i = 0; i < 3; ++i) child->m_dExperience[i] = m_dExperience[i] / 10;
}
