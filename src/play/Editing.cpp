// The changes the world editor makes to what it edits: the properties of an
// object, a container, a land or a monster generator, the things in a
// container and the templates of a generator, key records and the land
// tree. The editor's dialogs only ask; every change is made here, and a value
// outside what a property allows changes nothing.

#include "play/Editing.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "creatures/PlayerMoves.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Weapon.h"
#include "media/DDObjects.h"
#include "play/Play.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/RandomEncounter.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

namespace {

using Limits = Editing::Limits;

constexpr Limits Range(int32_t low, int32_t high) {
    return Limits{low, high, false};
}
constexpr Limits kFlag = Range(0, 1);
constexpr Limits kText{0, 0, true};

// The grid of the picture the object shows: its frame lies in it.
qv::Point FrameGrid(Object* object) {
    CDDObject* picture = object->GetImage();
    if (!picture) return {1, 1};
    return {std::max(1, picture->m_iCellsAcross), std::max(1, picture->m_iCellsDown)};
}

// The node of the land tree whose entry names the file, below `node`.
LandGraph* FindByFile(LandGraph* node, const std::string& fileName) {
    if (!node) return nullptr;
    if (node->info && node->info->filename == fileName) return node;
    for (auto& child : node->children)
        if (LandGraph* found = FindByFile(child.get(), fileName)) return found;
    return nullptr;
}

}  // namespace

void Editing::Install(EditorHooks hooks) {
    m_Hooks = std::move(hooks);
}

int Editing::EditObject(Object& object) const {
    return m_Hooks.editObject ? m_Hooks.editObject(object) : 0;
}

std::optional<std::string> Editing::ChooseFile(const FileDialogRequest& request) const {
    return m_Hooks.chooseFile ? m_Hooks.chooseFile(request) : std::nullopt;
}

bool Editing::AskNewWorld(NewWorldRequest& request) const {
    return m_Hooks.askNewWorld && m_Hooks.askNewWorld(request);
}

std::optional<Editing::Limits> Editing::PropertyLimits(Object* object,
                                                       const std::string& name) const {
    if (!object) return std::nullopt;
    using P = Property;
    // The properties every object has.
    if (name == P::kSpecialName || name == P::kGeneralName) return kText;
    if (name == P::kValue) return Range(INT32_MIN, INT32_MAX);
    if (name == P::kFrameColumn) return Range(0, FrameGrid(object).x - 1);
    if (name == P::kFrameRow) return Range(0, FrameGrid(object).y - 1);
    if (name == P::kKeyNumber) return Range(-1, INT32_MAX);
    if (name == P::kAmount) return Range(1, kMaxAmount);
    if (name == P::kInteract || name == P::kMoveable) return kFlag;
    if (name == P::kOwner) return Range(-1, INT32_MAX);
    if (qv::DynamicCast<Container>(object)) {
        if (name == P::kLocked) return kFlag;
        if (name == P::kRainBarrel && qv::DynamicCast<Barrel>(object)) return kFlag;
    }
    if (qv::DynamicCast<Land>(object)) {
        const MapMaster* map = m_Play.Map();
        const int32_t w = map && map->worldcellx > 0 ? map->worldcellx : 1;
        const int32_t h = map && map->worldcelly > 0 ? map->worldcelly : 1;
        if (name == P::kTerrain) return Range(0, kMaxTerrainCode);
        if (name == P::kOriginX) return Range(0, w - 1);
        if (name == P::kOriginY) return Range(0, h - 1);
        if (name == P::kTune || name == P::kCombatTune) return Range(0, INT32_MAX);
        if (name == P::kSunlight || name == P::kAmbient) return kFlag;
        if (name == P::kLightLevel) return Range(0, kMaxLightLevel);
        if (name == P::kPicture) return kText;
    }
    if (qv::DynamicCast<MonsterGenerator>(object)) {
        if (name == P::kMode || name == P::kSendParty) return kFlag;
        if (name == P::kExitX || name == P::kExitY) return Range(INT32_MIN, INT32_MAX);
        if (name == P::kSignalKey) return Range(-1, INT32_MAX);
    }
    if (qv::DynamicCast<RandomEncounter>(object) && name == P::kEncounterTime)
        return Range(1, kMaxEncounterTime);
    if (qv::DynamicCast<Weapon>(object)) {
        if (name == P::kSpeed) return Range(1, kMaxWeaponSpeed);
        if (name == P::kDamageBase || name == P::kDamageRange) return Range(0, kMaxWeaponDamage);
        if (name == P::kStun) return Range(0, kMaxWeaponStun);
    }
    return std::nullopt;
}

int Editing::SetProperty(Object* object, const std::string& name, int32_t value,
                         const std::string& text) {
    if (const std::optional<int> set = SetCreatureProperty(object, name, value, text)) return *set;
    const std::optional<Limits> limits = PropertyLimits(object, name);
    if (!limits || !limits->Allows(value)) return 0;
    using P = Property;
    if (name == P::kSpecialName) {
        object->SetName(text);
    } else if (name == P::kGeneralName) {
        object->m_strGeneralName = text;
    } else if (name == P::kValue) {
        object->m_iValue = value;
    } else if (name == P::kFrameColumn) {
        object->m_iXImageNum = value;
    } else if (name == P::kFrameRow) {
        object->m_iYImageNum = value;
    } else if (name == P::kKeyNumber) {
        return value < 0 ? RemoveKey(object) : AddKey(object, value, {});
    } else if (name == P::kAmount) {
        object->m_iBulkNum = value;
    } else if (name == P::kInteract) {
        object->m_bInteract = value;
    } else if (name == P::kMoveable) {
        object->m_bMoveable = value;
    } else if (name == P::kOwner) {
        object->SetOwner(value);
    } else if (name == P::kLocked) {
        qv::DynamicCast<Container>(object)->m_bLocked = value;
    } else if (name == P::kRainBarrel) {
        qv::DynamicCast<Barrel>(object)->SetRainBarrel(value);
    } else if (auto* land = qv::DynamicCast<Land>(object)) {
        if (name == P::kPicture) {
            // The old picture stays when the new one is refused or cannot be
            // loaded.
            if (!land->ChooseBitmap(text)) return 0;
        } else if (name == P::kTerrain) {
            land->terraincode = value;
        } else if (name == P::kOriginX) {
            land->origin.x = value;
        } else if (name == P::kOriginY) {
            land->origin.y = value;
        } else if (name == P::kTune) {
            land->tune = value;
        } else if (name == P::kCombatTune) {
            land->combattune = value;
        } else if (name == P::kSunlight) {
            land->sunlight = value;
        } else if (name == P::kLightLevel) {
            land->lightlevel = value;
        } else if (name == P::kAmbient) {
            land->ambient = value;
        }
        if (name == P::kPicture || name == P::kOriginX || name == P::kOriginY) {
            // Its picture sets its rectangle, and the rectangle its place
            // in the tree.
            land->ComputeBounds(1);
            if (LandInfo* info = land->landinfo) {
                info->bounds = land->bounds;
                if (MapMaster* map = m_Play.Map(); map && map->landgraph)
                    map->landgraph->Reinsert(info, map);
            }
        }
        land->ComputeEncounterRate();
    } else if (auto* generator = qv::DynamicCast<MonsterGenerator>(object)) {
        if (name == P::kMode) generator->m_iMode = value;
        if (name == P::kExitX) generator->m_iExitX = value;
        if (name == P::kExitY) generator->m_iExitY = value;
        if (name == P::kSignalKey) generator->m_iKeyNumber = value;
        if (name == P::kSendParty) generator->m_bSendParty = value;
    } else if (auto* encounter = qv::DynamicCast<RandomEncounter>(object)) {
        encounter->time = value;
        if (Land* land = LandOfEncounter(encounter)) land->ComputeEncounterRate();
    } else if (auto* weapon = qv::DynamicCast<Weapon>(object)) {
        if (name == P::kSpeed) weapon->m_iSpeed = value;
        if (name == P::kDamageBase) weapon->m_iDamageBase = value;
        if (name == P::kDamageRange) weapon->m_iDamageRange = value;
        if (name == P::kStun) weapon->m_iStun = value;
    }
    return 1;
}

int Editing::AddItem(Object* into, Object* item) {
    if (!into || !item || into == item) return 0;
    if (auto* container = qv::DynamicCast<Container>(into)) {
        CBag* bag = container->GetBag();
        if (!bag || !bag->CanHold(item)) return 0;
        return bag->PutItem(item) != 0 ? 1 : 0;
    }
    if (auto* creature = qv::DynamicCast<Player>(into)) {
        CBag* bag = creature->m_pBag.get();
        if (!bag || qv::DynamicCast<Player>(item) || !bag->CanHold(item)) return 0;
        return bag->PutItem(item) != 0 ? 1 : 0;
    }
    if (auto* generator = qv::DynamicCast<MonsterGenerator>(into)) {
        // Only creatures are templates: a group among them could not be
        // copied into a fight.
        auto* creature = qv::DynamicCast<Player>(item);
        if (!creature || creature->m_pGroup) return 0;
        if (!generator->m_pTemplates) {
            generator->m_pTemplates = std::make_unique<Group>("Group");
            generator->m_pTemplates->SetName("Group");
            // Kept whole: stored with its creatures, and in no table of groups.
            generator->m_pTemplates->m_bGrouped = 1;
        }
        generator->m_pTemplates->AddMemberDirect(creature);
        return 1;
    }
    if (auto* land = qv::DynamicCast<Land>(into)) {
        // An encounter the land could meet: a group of creatures, kept whole,
        // and a time within what the editor gives.
        auto* encounter = qv::DynamicCast<RandomEncounter>(item);
        if (!encounter || !encounter->group || encounter->group->Members().empty() ||
            encounter->time < 1 || encounter->time > kMaxEncounterTime ||
            LandOfEncounter(encounter))
            return 0;
        land->encounters.emplace_back(encounter);
        land->ComputeEncounterRate();
        return 1;
    }
    return 0;
}

int Editing::DeleteItem(Object* from, Object* item) {
    if (!from || !item) return 0;
    if (auto* container = qv::DynamicCast<Container>(from)) {
        CBag* bag = container->GetBag();
        if (!bag || !bag->Contains(item)) return 0;
        return bag->RemoveItem(item, item->m_iBulkNum, nullptr);
    }
    if (auto* creature = qv::DynamicCast<Player>(from)) {
        // A thing in use comes off into the bag first; its natural weapon
        // is part of it.
        if (!creature->m_pBag || Player::IsNaturalItem(item) || !creature->Owns(item)) return 0;
        if (!creature->m_pBag->Contains(item)) creature->UnequipObject(item, 1);
        return creature->m_pBag->RemoveItem(item, item->m_iBulkNum, nullptr);
    }
    if (auto* generator = qv::DynamicCast<MonsterGenerator>(from)) {
        auto* creature = qv::DynamicCast<Player>(item);
        Group* templates = generator->m_pTemplates.get();
        if (!creature || !templates || !templates->RemoveMember(creature)) return 0;
        delete creature;
        // A generator left without templates has none at all, rather than
        // an empty group it would draw from.
        if (templates->Members().empty()) generator->m_pTemplates.reset();
        return 1;
    }
    if (auto* land = qv::DynamicCast<Land>(from)) {
        auto& list = land->encounters;
        const auto it = std::find_if(list.begin(), list.end(),
                                     [item](const auto& e) { return e.get() == item; });
        if (it == list.end()) return 0;
        list.erase(it);
        land->ComputeEncounterRate();
        return 1;
    }
    return 0;
}

Land* Editing::LandOfEncounter(const RandomEncounter* encounter) const {
    const MapMaster* map = m_Play.Map();
    if (!map || !encounter) return nullptr;
    for (Land* land : map->loadedlands)
        for (const auto& e : land->encounters)
            if (e.get() == encounter) return land;
    return nullptr;
}

int Editing::AddKey(Object* object, int32_t key, const std::string& name) {
    if (!object || key < 0) return 0;
    m_Play.m_World.RemoveFromKeyStorage(object);
    object->m_iItemNum = key;
    m_Play.m_World.AddToKeyStorage(object);
    for (auto& record : m_Play.m_World.m_KeyStorageList)
        if (record->m_iKeyNum == key) {
            const bool listed =
                std::any_of(record->m_ObjectList.begin(), record->m_ObjectList.end(),
                            [object](const auto& h) { return h.Get() == object; });
            if (!listed) return 0;  // a kind the records never list
            if (!name.empty()) record->m_strName = name;
            return 1;
        }
    return 0;
}

int Editing::RemoveKey(Object* object) {
    if (!object) return 0;
    m_Play.m_World.RemoveFromKeyStorage(object);
    object->m_iItemNum = -1;
    return 1;
}

LandInfo* Editing::FindLandInfo(const std::string& fileName) const {
    MapMaster* map = m_Play.Map();
    LandGraph* node = map ? FindByFile(map->landgraph, fileName) : nullptr;
    return node ? node->info.get() : nullptr;
}

int Editing::RemoveLand(const std::string& fileName) {
    MapMaster* map = m_Play.Map();
    if (!map || !map->landgraph) return 0;
    LandInfo* info = FindLandInfo(fileName);
    // The world's own land holds every other: it is never taken out.
    if (!info || info == map->landgraph->info.get()) return 0;
    map->landgraph->Remove(info, map);
    m_Play.Saves().ReloadWindowAtFocus();
    return 1;
}

int Editing::ChangeScriptedMoves(Object* object, int32_t change, int32_t line, qv::Point cell) {
    auto* creature = qv::DynamicCast<Player>(object);
    if (!creature) return 0;
    const auto at = static_cast<size_t>(line);
    switch (change) {
        case kMoveAdd:
            creature->AddScriptedMove(cell.x, cell.y);
            return 1;
        case kMoveSet:
            return line >= 0 ? creature->SetScriptedMove(at, cell.x, cell.y) : 0;
        case kMoveDelete:
            return line >= 0 ? creature->DeleteScriptedMove(at) : 0;
        case kMoveRandom:
            return m_Play.Map() ? AddRandomMoves(*creature, *m_Play.Map()) : 0;
        default:
            return 0;
    }
}

int Editing::MovePlaced(ObjectHolder* holder, const Position& point) {
    MapMaster* map = m_Play.Map();
    if (!map) return 0;
    qv::Handle<ObjectHolder> moved(holder);
    const Position from = holder->pos;
    Position to = point;
    map->WrapPosition(to);
    map->RemoveHolder(from, holder);
    if (map->AddHolder(to, holder) == 1) {
        // A creature stays in its new cell when left alone.
        if (auto* creature = qv::DynamicCast<Player>(holder->m_pObject)) {
            const CellPoint home = MapMaster::PixelToCell(holder->pos);
            creature->m_ptStay = {home.x, home.y};
        }
        return 1;
    }
    Position back = from;
    ObjectIgnoreList none;
    if (map->AddHolder(back, holder, &none, 1) != 1) {
        // Neither place takes it: it is off every cell, so nothing would
        // ever own it again. It goes, as a drag onto another window would
        // take it away.
        m_Play.Ask().Tell("Problems putting object back where it came from.\n  :(");
        if (moved) DeleteHolderWithObject(holder);
    }
    return 0;
}
