#pragma once
// What the editor's creature sheet shows and hands back: the values of its
// pages, which the creature fills (Player::FillPropertyPages) and reads back
// (Player::ReadPropertyPages) itself, so that the editor never sets a
// creature's fields.

#include <array>
#include <cstdint>
#include <string>

#include "platform/Geometry.h"

struct PlayerPropertyPages {
    // "General Info"
    std::string specialName;
    int32_t hitPoints = 0;
    int32_t x = 0, y = 0;  // world pixels
    int32_t canName = 0;
    int32_t lifeState = 1;
    int32_t mana = 0;
    int32_t alertness = 0;
    int32_t hostileByMagic = 0;
    int32_t inactive = 0;
    int32_t ghost = 0;
    int32_t ethereal = 0;
    int32_t strength = 0, dexterity = 0, intelligence = 0;
    int32_t sex = 0;
    int32_t playerNumber = -1;
    // "Stats"
    int32_t speed = 0;
    std::array<double, 3> experience{};
    // "Spells": the four schools' skills, Fire, Earth, Air, Water
    std::array<float, 4> skills{};
    // "Build Info"
    int32_t buildInfoValue = 0;
    int32_t storeNumber = -1;
    std::string messageNode, messageFile, deathNode;
    int32_t actionOption = 0;
    int32_t attackRandomMonsters = 0;
    qv::Point defenseCell;
    int32_t npcNumber = 0;
    int32_t stay = 0;  // it waits where it stands
    qv::Point stayCell;
    // "Chat Image"
    int32_t portrait = 0;
    std::string portraitFile;
    // "Combat Preferences": mode of combat, attack whom, flee, magic use
    // priority, attack preference, attack method.
    std::array<int32_t, 6> combat{};
    // "Human - Color", a human's only: "Hair", "Shirt" and "Pants", each
    // red, green, blue.
    bool hasColourPage = false;
    std::array<int32_t, 3> hair{}, shirt{}, pants{};
};
