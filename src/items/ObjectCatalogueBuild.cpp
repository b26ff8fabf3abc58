#include "items/ObjectCatalogueBuild.h"

#include <memory>

#include "creatures/MonsterGenerator.h"
#include "items/Armour.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Missile.h"
#include "items/Money.h"
#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "items/Token.h"
#include "items/Weapon.h"
#include "structures/Fixtures.h"
#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "structures/Traps.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "world/ObjectCatalogue.h"

namespace {

// Adds prototypes of the classes given, in order, to one list.
template <class... Kinds>
void AddEach(ObjectCatalogue& catalogue, CatalogueList list) {
    (catalogue.Add(list, std::make_unique<Kinds>()), ...);
}

// The armour of one material: the kinds every material has, then those that
// only some materials come in.
struct MaterialKinds {
    bool cape;
    bool shield;
    bool doggie;
};
constexpr MaterialKinds kMaterialKinds[] = {
    {true, true, true},   {false, true, true},  {false, true, true}, {false, true, true},
    {false, false, true}, {false, true, false}, {true, true, true},
};

void AddArmour(ObjectCatalogue& catalogue) {
    constexpr CatalogueList list = CatalogueList::Armour;
    for (int32_t material = 0; material < static_cast<int32_t>(std::size(kMaterialKinds));
         ++material) {
        const MaterialKinds& kinds = kMaterialKinds[material];
        catalogue.Add(list, std::make_unique<Shirt>(material));
        catalogue.Add(list, std::make_unique<Leggings>(material));
        catalogue.Add(list, std::make_unique<Boots>(material));
        catalogue.Add(list, std::make_unique<Helm>(material));
        if (kinds.cape) catalogue.Add(list, std::make_unique<Cape>(material));
        catalogue.Add(list, std::make_unique<Gloves>(material));
        if (kinds.shield) catalogue.Add(list, std::make_unique<Shield>(material));
        if (kinds.doggie) catalogue.Add(list, std::make_unique<Doggie>(material));
    }
    for (int32_t variant : {0, 1}) catalogue.Add(list, std::make_unique<Amulet>(variant));
    for (int32_t variant : {0, 1}) catalogue.Add(list, std::make_unique<Ring>(variant));
}

void AddSpells(ObjectCatalogue& catalogue) {
    constexpr CatalogueList list = CatalogueList::Spells;
    AddEach<Light, Dazzle, FlameDart, FlameWeapon, ProtectFromFire, Sunlight, Aurasight, Incinerate,
            FireAura, Fireball, MajorDazzle, Immolation, InvokeDaemon>(catalogue, list);
    AddEach<Alertness, DispelThirst, WaterWalk, Hesitation, Translation, MindSense, MindShield,
            ColdRay, FreezeMonster, WaterBreathing, QuenchFire, Confusion, CharmMonster,
            MajorFreeze, Mindshatter>(catalogue, list);
    AddEach<Shock, WindChange, Telekinesis, Shelter, Dispel, Blink, SummonAnimals, LightningBolt,
            Invisibility, Levitate, ForceBarrier, WeatherChange, Teleport, ForceBlast>(catalogue,
                                                                                       list);
    AddEach<Heal, Weaken, Materialize, Toughskin, CurePoison, Haste, Grounding, Slow, Strength,
            Stoneskin, Etherealize, MajorHeal, Revive, Depetrification, Petrification, Earthquake>(
        catalogue, list);
}

void AddMisc(ObjectCatalogue& catalogue) {
    constexpr CatalogueList list = CatalogueList::Misc;
    catalogue.Add(list, std::make_unique<Money>());
    catalogue.Add(list, std::make_unique<Bed>());
    for (int direction : {0, 1}) catalogue.Add(list, std::make_unique<DrawBridge>(direction));
    AddEach<Ship, Explosion, Rug, Rug2, Rug3, StatueBow, LightSource, CBag, Flowers>(catalogue,
                                                                                     list);
}

void AddMagic(ObjectCatalogue& catalogue) {
    constexpr CatalogueList list = CatalogueList::Magic;
    for (int32_t type = 0; type < PotionType::Count; ++type)
        catalogue.Add(list, std::make_unique<Potion>(type));
    for (int32_t type = 0; type < ScrollType::Count; ++type)
        catalogue.Add(list, std::make_unique<Scroll>(type));
    AddEach<PowerCube, PowerCube>(catalogue, list);
    AddEach<PowerCubeStand, PowerCubeStand, PowerCubeStand, PowerCubeStand>(catalogue, list);
    AddEach<MonsterGenerator, Token, TokenTaker>(catalogue, list);
}

}  // namespace

void BuildObjectCatalogue(ObjectCatalogue& catalogue,
                          const std::function<void(int percent)>& progress) {
    auto step = [&](int percent) {
        if (progress) progress(percent);
    };
    catalogue.Free();
    // The first wall piece (the peg brick, which the game does not make yet),
    // then the weapons before the rest of the walls.
    constexpr CatalogueList walls = CatalogueList::Walls;
    step(kCatalogueFirstWall);
    AddEach<Axe, AxeBattle, Dagger, Flail, HammerForge, HammerWar, Mace, Pitchfork, Scythe, Spear,
            Sword, SwordLong, Whip, WhipBarbed, Bow, Longbow>(catalogue, CatalogueList::Weapons);
    step(kCatalogueWeapons);
    AddEach<LivePine, LivePineSmall>(catalogue, walls);
    for (int variant = 4; variant >= 0; --variant)
        catalogue.Add(walls, std::make_unique<Shrub>(variant));
    AddEach<BigMountain, Rocks, Rocks2, DarkPatch, Flower, FrontDoorBrick, SideDoorBrick, Key,
            Lever, Chest, Coffin, Barrel, Flowers>(catalogue, walls);
    step(kCatalogueWalls);
    AddArmour(catalogue);
    step(kCatalogueArmour);
    AddEach<Caltrops, Stairs, MissileShooter>(catalogue, CatalogueList::Traps);
    step(kCatalogueTraps);
    AddSpells(catalogue);
    step(kCatalogueSpells);
    AddMisc(catalogue);
    step(kCatalogueMisc);
    AddMagic(catalogue);
    step(kCatalogueMagic);
}
