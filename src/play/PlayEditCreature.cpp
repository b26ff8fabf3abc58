// The editor's creature sheet as properties: each of its fields is a property
// that a SetProperty order sets on a creature, through the pages the creature
// fills and reads back itself (Player::FillPropertyPages, ReadPropertyPages);
// and its "Spells" page, which teaches a creature spells of the catalogue's
// spell list and makes it forget them.

#include <charconv>
#include <cstdint>
#include <vector>

#include "creatures/Player.h"
#include "creatures/PlayerPropertyPages.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "play/Play.h"
#include "world/World.h"

namespace {

using Pages = PlayerPropertyPages;

// A field of whole numbers, of a name, of numbers written out.
struct NumberField {
    const char* name;
    int32_t& (*field)(Pages&);
};
struct TextField {
    const char* name;
    std::string& (*field)(Pages&);
};

#define QV_NUMBER(name, member)                             \
    {                                                       \
        name, [](Pages& p) -> int32_t& { return p.member; } \
    }
constexpr NumberField kNumbers[] = {
    QV_NUMBER("Hit Points", hitPoints),
    QV_NUMBER("X", x),
    QV_NUMBER("Y", y),
    QV_NUMBER("Can Be Named", canName),
    QV_NUMBER("Life State", lifeState),
    QV_NUMBER("Mana", mana),
    QV_NUMBER("Alertness", alertness),
    QV_NUMBER("Hostile by Magic", hostileByMagic),
    QV_NUMBER("Inactive", inactive),
    QV_NUMBER("Ghost", ghost),
    QV_NUMBER("Ethereal", ethereal),
    QV_NUMBER("Strength", strength),
    QV_NUMBER("Dexterity", dexterity),
    QV_NUMBER("Intelligence", intelligence),
    QV_NUMBER("Sex", sex),
    QV_NUMBER("Player Number", playerNumber),
    QV_NUMBER("Speed", speed),
    QV_NUMBER("Build Info", buildInfoValue),
    QV_NUMBER("Store Number", storeNumber),
    QV_NUMBER("Action", actionOption),
    QV_NUMBER("Attack Random Monsters", attackRandomMonsters),
    QV_NUMBER("Defence Cell X", defenseCell.x),
    QV_NUMBER("Defence Cell Y", defenseCell.y),
    QV_NUMBER("NPC Number", npcNumber),
    QV_NUMBER("Stay", stay),
    QV_NUMBER("Stay Cell X", stayCell.x),
    QV_NUMBER("Stay Cell Y", stayCell.y),
    QV_NUMBER("Portrait", portrait),
    QV_NUMBER("Mode of Combat", combat[0]),
    QV_NUMBER("Attack Whom", combat[1]),
    QV_NUMBER("Flee when Badly Wounded", combat[2]),
    QV_NUMBER("Magic Use Priority", combat[3]),
    QV_NUMBER("Attack Preference", combat[4]),
    QV_NUMBER("Attack Method", combat[5]),
};
#undef QV_NUMBER

#define QV_TEXT(name, member)                                   \
    {                                                           \
        name, [](Pages& p) -> std::string& { return p.member; } \
    }
constexpr TextField kTexts[] = {
    QV_TEXT(Play::Property::kCreatureName, specialName),
    QV_TEXT("Message Node", messageNode),
    QV_TEXT("Message File", messageFile),
    QV_TEXT("Death Node", deathNode),
    QV_TEXT("Portrait File", portraitFile),
};
#undef QV_TEXT

// Numbers written out, separated by spaces, exactly as they are kept.
template <typename T, size_t N>
std::string WriteNumbers(const std::array<T, N>& numbers) {
    std::string text;
    for (const T& n : numbers) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
        if (!text.empty()) text += ' ';
        text.append(buffer, end);
    }
    return text;
}

// The numbers of `text`, all of them and nothing else; false otherwise.
template <typename T, size_t N>
bool ReadNumbers(const std::string& text, std::array<T, N>& numbers) {
    std::array<T, N> read{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (size_t i = 0; i < N; ++i) {
        if (i > 0 && (at == end || *at++ != ' ')) return false;
        const auto result = std::from_chars(at, end, read[i]);
        if (result.ec != std::errc()) return false;
        at = result.ptr;
    }
    if (at != end) return false;
    numbers = read;
    return true;
}

// The lists of numbers: the experiences, the schools' skills, a human's
// three colours.
struct ListField {
    const char* name;
    std::string (*write)(const Pages&);
    bool (*read)(Pages&, const std::string&);
};
#define QV_LIST(name, member)                                                             \
    {                                                                                     \
        name, [](const Pages& p) { return WriteNumbers(p.member); },                      \
            [](Pages& p, const std::string& text) { return ReadNumbers(text, p.member); } \
    }
// "Spells" comes first: whether the creature keeps its magic is settled
// before its mana is set.
constexpr ListField kLists[] = {
    QV_LIST(Play::Property::kSkills, skills),
    QV_LIST("Experience", experience),
    QV_LIST("Hair", hair),
    QV_LIST("Shirt", shirt),
    QV_LIST("Pants", pants),
};
#undef QV_LIST

bool IsColour(const std::string& name) {
    return name == "Hair" || name == "Shirt" || name == "Pants";
}

Order SheetOrder(Object* creature, const char* name) {
    Order order = Order::Of(Order::Kind::SetProperty);
    order.object = creature;
    order.name = name;
    return order;
}

}  // namespace

std::vector<Order> Editing::CreatureSheetOrders(Object* creature,
                                                const PlayerPropertyPages& pages) {
    std::vector<Order> orders;
    Pages values = pages;
    for (const ListField& list : kLists) {
        if (IsColour(list.name) && !pages.hasColourPage) continue;
        orders.push_back(SheetOrder(creature, list.name));
        orders.back().text = list.write(values);
    }
    for (const TextField& text : kTexts) {
        orders.push_back(SheetOrder(creature, text.name));
        orders.back().text = text.field(values);
    }
    for (const NumberField& number : kNumbers) {
        orders.push_back(SheetOrder(creature, number.name));
        orders.back().value = number.field(values);
    }
    return orders;
}

std::optional<int> Editing::SetCreatureProperty(Object* object, const std::string& name,
                                                int32_t value, const std::string& text) {
    auto* creature = qv::DynamicCast<Player>(object);
    if (!creature) return std::nullopt;
    Pages pages;
    creature->FillPropertyPages(pages);
    bool found = false;
    for (const NumberField& number : kNumbers)
        if (name == number.name) {
            number.field(pages) = value;
            found = true;
        }
    for (const TextField& field : kTexts)
        if (name == field.name) {
            field.field(pages) = text;
            found = true;
        }
    for (const ListField& list : kLists)
        if (name == list.name) {
            if (IsColour(name) && !pages.hasColourPage) return 0;
            if (!list.read(pages, text)) return 0;
            found = true;
        }
    if (!found) return std::nullopt;
    return creature->ReadPropertyPages(pages);
}

int Play::GiveLearnSpell(const Order& order, Player*) {
    auto* creature = qv::DynamicCast<Player>(order.object.Get());
    const auto& spells = m_World.m_Catalogue.Get(CatalogueList::Spells);
    if (!creature || order.value < 0 || static_cast<size_t>(order.value) >= spells.size()) return 0;
    const auto* spell = qv::DynamicCast<Spell>(spells[static_cast<size_t>(order.value)].get());
    if (!spell) return 0;
    // One of each kind: a second copy would only fill the spell books.
    if (creature->m_pMagic)
        for (const auto& known : creature->m_pMagic->m_SpellList)
            if (known->GetRuntimeClass() == spell->GetRuntimeClass()) return 0;
    creature->AddSpell(*spell);
    return 1;
}

int Play::GiveForgetSpell(const Order& order, Player*) {
    auto* creature = qv::DynamicCast<Player>(order.object.Get());
    Magic* magic = creature ? creature->m_pMagic.get() : nullptr;
    if (!magic || order.value < 0 || static_cast<size_t>(order.value) >= magic->m_SpellList.size())
        return 0;
    creature->RemoveSpell(magic->m_SpellList[static_cast<size_t>(order.value)].get());
    return 1;
}
