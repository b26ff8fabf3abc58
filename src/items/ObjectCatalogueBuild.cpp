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
#include "items/Trinkets.h"
#include "items/Weapon.h"
#include "media/Resources.h"
#include "structures/Fixtures.h"
#include "structures/Furnishings.h"
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
    AddEach<Whistle, Trash, SnakeSkin>(catalogue, list);
    for (int variant : {0, 1, 4, 5, 2, 3, 6, 7})
        catalogue.Add(list, std::make_unique<Gem>(variant));
    AddEach<Money, BookCase, Book, Letter, Bed, Table, Bench>(catalogue, list);
    for (int direction : {0, 1}) catalogue.Add(list, std::make_unique<DrawBridge>(direction));
    AddEach<Ship, FloorChange, Gas, CampFire, Torch, Candle, Explosion, WallTorch, Hearth,
            Candelabra, Candelabra2, Rug, Rug2, Rug3, Column, StatueBow, Fountain, Forge>(catalogue,
                                                                                          list);
    for (int variant = 0; variant < kPictureVariants; ++variant)
        catalogue.Add(list, std::make_unique<Picture>(variant));
    AddEach<Altar, Target, LightSource, CBag, Clock, Flowers, Blocks, SpriteTest>(catalogue, list);
}

void AddMagic(ObjectCatalogue& catalogue) {
    constexpr CatalogueList list = CatalogueList::Magic;
    catalogue.Add(list, std::make_unique<BandAid>());
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
    // The first wall piece, then the weapons before the rest of the walls.
    constexpr CatalogueList walls = CatalogueList::Walls;
    catalogue.Add(walls, std::make_unique<PegBrick>());
    step(kCatalogueFirstWall);
    AddEach<Axe, AxeBattle, Dagger, Flail, HammerForge, HammerWar, Mace, Pitchfork, Scythe, Spear,
            Sword, SwordLong, Whip, WhipBarbed, Bow, Longbow>(catalogue, CatalogueList::Weapons);
    step(kCatalogueWeapons);
    AddEach<Net, Rope, LivePine, LivePineSmall>(catalogue, walls);
    for (int variant = 4; variant >= 0; --variant)
        catalogue.Add(walls, std::make_unique<Shrub>(variant));
    AddEach<BigMountain, Rocks, Rocks2, DarkPatch, Flower, FrontWallBrick, FrontDoorBrick,
            SideWallBrick, SideDoorBrick, Key, Lever, Chest, Coffin, Barrel, Sign, Flowers>(
        catalogue, walls);
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
