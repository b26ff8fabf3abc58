#pragma once
// The dialog of one land: its terrain code (the code of every cell of a land
// without a picture), the picture and the world cell of its top-left pixel
// (which give its rectangle), its tunes out of and in combat, whether its
// light follows the hour or stays at a fixed level, and its ambient sounds.
// Its rectangle and encounter rate are shown as play works them out. Its
// random encounters are listed by group and time: "Add" makes one of a group
// of creatures of a chosen species with the time given, "Set Time" gives the
// chosen one that time, "Delete" drops it; each change is made at once.

#include <cstdint>
#include <string>
#include <vector>

#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class Land;
class RandomEncounter;

// The refusal of a land picture's name that leads out of the "Images\" folder
// (the add and modify dialogs both refuse it before anything changes).
std::string PictureNameRefused(const std::string& name);

class CModifyLandDlg : public CPropertyDialog {
public:
    CModifyLandDlg(Play& play, Land& land);

    bool Validate() override;
    void Apply() override;

    std::string m_strPicture;
    int32_t m_iTerrain = 0;
    int32_t m_iOriginX = 0, m_iOriginY = 0;
    int32_t m_iTune = 1, m_iCombatTune = 1;
    int32_t m_bSunlight = 0;
    int32_t m_iLightLevel = 0;
    int32_t m_bAmbient = 0;

    // The encounters' names with their times, in the land's order.
    std::vector<std::string> EncounterLines() const;
    // A new encounter of `count` creatures of the species table's row
    // `species`, met with `time`.
    bool AddEncounter(size_t species, int32_t count, int32_t time);
    bool SetEncounterTime(size_t line, int32_t time);
    bool DeleteEncounter(size_t line);
    // The largest group a new encounter is made with.
    static constexpr int32_t kMaxEncounterCreatures = 10;
    int m_iSpecies = 0;
    int32_t m_iEncounterCount = 1;
    int32_t m_iEncounterTime = 10;
    int m_iEncounter = -1;  // the chosen line, -1 for none

protected:
    void DrawFields() override;

private:
    std::vector<Field> Fields() const;
    Land* Target() const;
    RandomEncounter* Encounter(size_t line) const;
    qv::Handle<Object> m_pLand;
};
