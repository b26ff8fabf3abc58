#include "world/World.h"

#include <vector>

#include "world/Global.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Map.h"
#include "world/Member.h"
#include "world/Object.h"
#include "world/TimeOfDay.h"
#include "world/UnusedNumbers.h"

// Set by a World's constructor, cleared when its destruction begins.
static World* g_pWorld = nullptr;

World* GetWorld() {
    return g_pWorld;
}

World::World() : m_pTimeOfDay(std::make_unique<CTimeOfDay>()), m_ActiveSpells(MakeActiveSpells()) {
    g_pWorld = this;
}

World::~World() {
    // What flies and the spells in effect go before the creatures they name;
    // flying objects take their holders off the map as they go, while the map
    // and the accessors still answer.
    m_FlyingObjects.clear();
    m_ActiveSpells.reset();
    // The groups go first: their creatures leave the map while it still exists.
    DeleteGroups();
    // From here on the accessors answer as if there were no world.
    if (g_pWorld == this) g_pWorld = nullptr;
}

void World::MakeCurrent() {
    g_pWorld = this;
}

void World::AddToKeyStorage(Object* object) {
    if (!QV_CHECK(object != nullptr)) return;
    // Records store full copies of what they list, and a creature or a group
    // belongs to the group tree alone: a record that listed one could not be
    // read back.
    if (object->IsKindOf(&Member::classInfo)) return;
    KeyStorage* record = nullptr;
    for (auto& k : m_KeyStorageList)
        if (k->m_iKeyNum == object->m_iItemNum) {
            record = k.get();
            break;
        }
    if (!record) {
        m_KeyStorageList.push_back(
            std::make_unique<KeyStorage>(object->m_iItemNum, "Lost or Temp Key"));
        record = m_KeyStorageList.back().get();
    }
    // Listed once: a signal works each object of the record once (a door
    // listed twice would open and close again).
    for (const auto& h : record->m_ObjectList)
        if (h.Get() == object) return;
    record->m_ObjectList.emplace_back(object);
}

void World::RemoveFromKeyStorage(Object* object) {
    if (!object) return;
    // Every record, whatever number the object carries now (the editor may
    // have changed it since it was entered); entries of objects already gone
    // go as well.
    for (auto& k : m_KeyStorageList)
        std::erase_if(k->m_ObjectList,
                      [object](const qv::Handle<Object>& h) { return !h || h.Get() == object; });
}

void World::CreateRootGroups() {
    if (m_pAllGroups) return;
    m_pAllGroups = new Group("Group");
    m_pAllGroups->SetName("All Groups");
    m_pRandomEncounters = new Group("Group");
    m_pRandomEncounters->SetName("Random Encounters");
    m_pAllGroups->AddMember(m_pRandomEncounters);
    m_pAllGroups->SetGroupNumber(-1);
    if (!m_pUnusedNumbers) m_pUnusedNumbers = std::make_unique<UnusedNumbers>(1000, -1, 0);
}

void World::DeleteGroups() {
    if (m_pAllGroups) {
        m_pAllGroups->RemoveFromMap();
        delete m_pAllGroups;
    }
    m_pAllGroups = nullptr;
    m_pRandomEncounters = nullptr;
    m_GroupArray.clear();
}

Group* World::AddNumberedGroup(int32_t number, const std::string& name) {
    if (!m_pAllGroups) CreateRootGroups();
    auto* group = new Group;
    group->m_strSpecialName = name;
    m_pAllGroups->AddMember(group);
    group->SetGroupNumber(number);
    return group;
}

Group* World::GetGroupByNumber(int32_t number) const {
    if (number < 0 || static_cast<size_t>(number) >= m_GroupArray.size()) return nullptr;
    return m_GroupArray[static_cast<size_t>(number)];
}

void World::UpdateFlyingObjects(int32_t now, MapMaster* map) {
    // The walk goes over the flights listed when it began; one ended by
    // another's step reads null and is passed over.
    std::vector<qv::Handle<Object>> walk;
    walk.reserve(m_FlyingObjects.size());
    for (const auto& o : m_FlyingObjects) walk.emplace_back(o.get());
    for (const auto& h : walk) {
        Object* o = h.Get();
        if (!o || o->Update(now, map) != Object::kLeaveGroup) continue;
        for (auto it = m_FlyingObjects.begin(); it != m_FlyingObjects.end(); ++it)
            if (it->get() == o) {
                m_FlyingObjects.erase(it);
                break;
            }
    }
}

bool World::IsFlying(const Object* object) const {
    for (const auto& o : m_FlyingObjects)
        if (o.get() == object) return true;
    return false;
}

void World::AddFlyingObject(Object* object) {
    if (object && !IsFlying(object)) m_FlyingObjects.emplace_back(object);
}
