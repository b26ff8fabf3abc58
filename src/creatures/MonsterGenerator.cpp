// Monster generators: firing a levelled group from the templates, and the
// reset after the fight.

#include "creatures/MonsterGenerator.h"

#include "creatures/KeySignal.h"
#include "creatures/Player.h"
#include "items/Bag.h"
#include "media/DSound.h"
#include "platform/Archive.h"
#include "platform/Rand.h"
#include "structures/Looks.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Map.h"
#include "world/World.h"
#include "world/WorldRules.h"

QV_IMPLEMENT_SERIAL(MonsterGenerator, Object, MonsterGenerator::kSchema, true)

namespace {

constexpr int kWinSound = 1108;
constexpr int kLoseSound = 1107;
constexpr int kKeySignal = 3;
// A spawned monster's level is the activating creature's, give or take 3.
constexpr int kLevelSpread = 7;
constexpr int kLevelBelow = 3;
// The bag kinds the revived get back.
constexpr int32_t kHumanBag = 1;
constexpr int32_t kDogBag = 2;
constexpr PlayerType kHuman = 10;
constexpr PlayerType kDog = 1;

Player* AsCreatureMember(Member* m) {
    return m && !m->IsGroup() ? qv::DynamicCast<Player>(m) : nullptr;
}

}  // namespace

MonsterGenerator::MonsterGenerator()
    : Object("MonsterGenerator"),
      m_pWinSound(std::make_unique<CDSound>(kWinSound)),
      m_pLoseSound(std::make_unique<CDSound>(kLoseSound)) {
    // Shown only to the world maker.
    WearLook(*this, {kBitmapMonsterGenerator, 32, 32, 16, 24, 1, 1});
}

MonsterGenerator::~MonsterGenerator() = default;

void MonsterGenerator::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.SerializeClass(&Object::classInfo);
        Object::Serialize(ar);
        ar.WriteObject(m_pTemplates.get());
        for (int32_t v : {m_iMode, m_iExitX, m_iExitY, m_iKeyNumber, m_bSendParty}) ar.WriteInt(v);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    // The templates are the generator's own; a creature alone is no template group.
    m_pTemplates.reset(ar.ReadObjectOf<Group>());
    if (schema < 3) return;
    m_iMode = ar.ReadInt();
    m_iExitX = ar.ReadInt();
    m_iExitY = ar.ReadInt();
    m_iKeyNumber = ar.ReadInt();
    m_bSendParty = ar.ReadInt();
}

int MonsterGenerator::MonsterCount(int32_t level, int32_t n) {
    const int64_t d = int64_t{level} - n;
    return d >= 1 && d <= 3 ? static_cast<int>(d) + 1 : 1;
}

int MonsterGenerator::Activate(int*, Player* actor) {
    // Only a creature sets it off, only with a creature to copy, only once
    // until its group is gone.
    if (!actor || !m_pTemplates || m_pSpawned) return 0;
    std::vector<Player*> templates;
    for (Member* m : m_pTemplates->Members())
        if (Player* p = AsCreatureMember(m)) templates.push_back(p);
    if (templates.empty()) return 0;
    World* world = GetWorld();
    if (!world || !world->m_pAllGroups) return 0;

    actor->UpdateLevel();
    const int32_t level = actor->m_iLevel;
    int32_t n = level + qv::Rand() % kLevelSpread - kLevelBelow;
    if (n < 1) n = 1;
    const int count = MonsterCount(level, n);
    Player* model = templates[static_cast<size_t>(qv::Rand()) % templates.size()];

    auto group = std::make_unique<Group>("Group");
    group->m_bGrouped = 1;  // a group of its own, kept whole
    int corner = qv::Rand() % 4;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<Object> made(model->Clone());
        Player* monster = qv::DynamicCast<Player>(made.get());
        if (!QV_CHECK_TEXT(monster && monster->IsKindOf(model->GetRuntimeClass()),
                           "pNewPlayer->IsKindOf( pSrcPlayer->GetRuntimeClass() )"))
            continue;
        made.release();
        monster->m_Position = Position((corner % 2 == 0 ? -kCornerX : kCornerX),
                                       (corner < 2 ? -kCornerY : kCornerY), 0);
        monster->SetLevel(n);
        monster->m_iHitPoints = monster->m_iMaxHitPoints;
        monster->m_iActionOption = ActionOption::Attack;
        group->AddMemberDirect(monster);
        corner = (corner + 1) % 4;
    }
    if (m_iMode == 1) world->m_pActiveGenerator = this;
    const Position at = m_pHolder ? m_pHolder->pos : actor->m_Position;
    Group* spawned = group.release();
    m_pSpawned = spawned;
    spawned->AddToWorld(at.x, at.y, 1);

    // A key number that no record holds signals nothing.
    if (m_iKeyNumber >= 0) SignalKey(m_iKeyNumber, kKeySignal, actor, this);
    return kWorldChanged;
}

void MonsterGenerator::CheckReset(Group* group) {
    if (!group) return;
    int left = group->GetMemberCount();
    for (Member* m : group->Members())
        if (Player* p = AsCreatureMember(m); p && p->m_sLifeState == 0) --left;
    if (left == 0) Reset(group);
}

void MonsterGenerator::Reset(Group* group) {
    bool revived = false;
    if (group) {
        for (Member* m : group->Members()) {
            Player* p = AsCreatureMember(m);
            if (!p) continue;
            if (p->m_sLifeState == 0) {
                p->m_sLifeState = 1;
                p->m_iHitPoints = 1;
                if (p->m_pBag && p->GetPlayerType() == kHuman) p->m_pBag->m_iBagKind = kHumanBag;
                if (p->m_pBag && p->GetPlayerType() == kDog) p->m_pBag->m_iBagKind = kDogBag;
                revived = true;
            }
            p->m_iPoison = 0;
        }
    }
    CDSound* sound = revived ? m_pLoseSound.get() : m_pWinSound.get();
    if (sound) sound->Play();
    if (Group* spawned = m_pSpawned.Get()) {
        // Out of the tree first, then gone; the generator is idle again.
        m_pSpawned = nullptr;
        if (spawned != group) {
            spawned->RemoveFromMap();
            if (spawned->m_pGroup) spawned->m_pGroup->RemoveMember(spawned);
            delete spawned;
        }
    }
    World* world = GetWorld();
    if (m_iMode != 1 || !world) return;
    if (world->m_pActiveGenerator.Get() == this) world->m_pActiveGenerator = nullptr;
    // The party wakes at the exit: the generator's own cell and the exit
    // offsets. The journey may take the generator's land away with it, so
    // nothing of the generator is touched after it.
    MapMaster* map = world->map_master.get();
    if (!m_bSendParty || !m_pHolder || !map || !world->m_pRules) return;
    if (map->worldcellx < 1 || map->worldcelly < 1) return;
    // Offsets read from a file may be of any size: the world wraps them.
    const CellPoint at = MapMaster::PixelToCell(m_pHolder->pos);
    auto wrap = [](int64_t v, int64_t n) { return static_cast<int32_t>(((v % n) + n) % n); };
    world->m_pRules->SendPartyTo({wrap(int64_t{at.x} + m_iExitX, map->worldcellx),
                                  wrap(int64_t{at.y} + m_iExitY, map->worldcelly)});
}

int MonsterGenerator::ForceReset(Group* group) {
    Reset(group);
    return 0;
}

int MonsterGenerator::Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                           const Position& pos, int flags) {
    if (!IsEditMode()) {
        m_bNotDrawn = 1;
        return 0;
    }
    return Object::Draw(surface, screen, view, pos, flags);
}
