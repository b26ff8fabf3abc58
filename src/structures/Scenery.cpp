#include "structures/Scenery.h"

#include "creatures/Player.h"
#include "items/ItemPictures.h"
#include "items/Spell.h"
#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "structures/Looks.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Scenery, Object, 1, true)
QV_IMPLEMENT_SERIAL(Bed, Scenery, 1, true)
QV_IMPLEMENT_SERIAL(Shrub, Scenery, 1, true)
QV_IMPLEMENT_SERIAL(StatueBow, Scenery, 1, true)

Scenery::Scenery(const std::string& name) : Object(name) {}

QV_SERIALIZE_BASE_ONLY(Scenery, Object)

Bed::Bed(const std::string& name) : Scenery(name) {
    m_iLightSampling = 2;
    m_iPictureBitmap = kBedBitmap;
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject image;
    DressItem(*this, image, ItemLook{kBedBitmap, 64, 48, 32, 30, 1, 1, 4});
}

QV_SERIALIZE_BASE_ONLY(Bed, Scenery)

int Bed::GetUsePrompt(Player* user, int) {
    return Rest(user);
}

int Bed::Rest(Player* user) {
    if (!user || user->m_iPartySlot == 0) return 0;
    constexpr int kHoursOffered = 10;
    int32_t hours = 0;
    {
        int offered = kHoursOffered;
        CQuantityWnd ask(&offered);
        if (ask.Popup() != 1) return 0;
        hours = ask.m_iAmount;
    }
    return RestFor(user, hours);
}

int Bed::RestFor(Player* user, int32_t hours) {
    if (!user || user->m_iPartySlot == 0 || hours <= 0) return 0;
    World* world = GetWorld();
    if (world) {
        // Resting never adds or removes creatures: the array is walked as it is.
        for (Player* p : world->m_PlayerArray)
            if (p) p->RestHours(&hours, 0);
    }
    user->CancelCastSpells(SpellEffectKind::Any);
    if (world && world->m_pTimeOfDay) world->m_pTimeOfDay->AdvanceHours(hours);
    return 1;
}

// Rugs lie on the floor: anything steps onto them.
#define QV_RUG_KIND_IMPL(Name, Kind)                                  \
    QV_IMPLEMENT_SERIAL(Name, Scenery, 1, true)                       \
    Name::Name(const std::string& name) : Scenery(name) {             \
        m_iLightSampling = 0;                                         \
        WearLook(*this, {kBitmapRug + (Kind), 80, 48, 40, 24, 1, 1}); \
    }                                                                 \
    QV_SERIALIZE_BASE_ONLY(Name, Scenery)                             \
    int Name::StepOn(Position*, Object* mover) {                      \
        return mover ? 1 : 0;                                         \
    }

QV_RUG_KIND_IMPL(Rug, 0)
QV_RUG_KIND_IMPL(Rug2, 1)
QV_RUG_KIND_IMPL(Rug3, 2)

// Standing kinds block through their picture; flat kinds are placed as points.
#define QV_SCENERY_KIND_IMPL(Name, CollisionKind)         \
    QV_IMPLEMENT_SERIAL(Name, Scenery, 1, true)           \
    Name::Name(const std::string& name) : Scenery(name) { \
        m_iLightSampling = (CollisionKind);               \
        WearLook(*this, k##Name##Look);                   \
    }                                                     \
    QV_SERIALIZE_BASE_ONLY(Name, Scenery)

QV_SCENERY_KIND_IMPL(LivePine, 2)
QV_SCENERY_KIND_IMPL(LivePineSmall, 2)
QV_SCENERY_KIND_IMPL(DeadPine, 2)
QV_SCENERY_KIND_IMPL(BigMountain, 2)
QV_SCENERY_KIND_IMPL(IceMountain, 2)
QV_SCENERY_KIND_IMPL(Rocks, 2)
QV_SCENERY_KIND_IMPL(Rocks2, 2)
QV_SCENERY_KIND_IMPL(DarkPatch, 0)
QV_SCENERY_KIND_IMPL(Flower, 0)
QV_SCENERY_KIND_IMPL(Flowers, 0)

Shrub::Shrub(int variant) : Scenery("Shrub"), m_iVariant(variant) {
    m_iLightSampling = 2;
    m_iXImageNum = variant;
    WearLook(*this, kShrubLook);
}

void Shrub::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Scenery::classInfo);
    Scenery::Serialize(ar);
    ar.Exchange(m_iVariant);
}

StatueBow::StatueBow(const std::string& name) : Scenery(name) {
    m_iLightSampling = 2;
    WearLook(*this, {kBitmapStatueBow, 40, 80, 20, 74, 1, 1});
}

void StatueBow::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Scenery::classInfo);
    Scenery::Serialize(ar);
    ar.Exchange(m_strStatueText);
}

void StatueBow::TakeDamage(int amount, int kind) {
    if (amount < 1 || kind != 2 || m_strStatueText.empty() || m_strStatueText == "STATUE") return;
    if (Player* creature = ResolveActor(kActorNumber))
        creature->SetActive(1);
    else
        ShowGameMessage("Invalid Player Number in NPC_ACTIVATE.");
    if (ObjectHolder* holder = m_pHolder) {
        if (MapMaster* map = GetMapMaster()) map->RemoveHolder(holder->pos, holder);
        m_pHolder = nullptr;
        delete holder;
    }
    delete this;
}
