#pragma once
// The people: party members and townsfolk. Every human carries its own shirt,
// pants and hair colours, with which its look is recoloured when it is drawn;
// its look is one of three shared sets chosen by its sex (man, woman, child),
// kept while any human of that sex lives.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "creatures/Species.h"
#include "media/DDObjects.h"

class Human : public Species {
    QV_DECLARE_CLASS(Human)
public:
    Human();
    ~Human() override;

    // After the creature's record, the nine colour values: shirt, pants and
    // hair, each red, green, blue. Records older than the colours get colours
    // drawn from the name.
    void Serialize(qv::Archive& ar) override;
    const int32_t* SetSex(const int32_t* value) override;
    // Numbers of 10 and more are refused with a message.
    const int32_t* SetNPCNumber(const int32_t* value) override;
    int PlaySound() override { return kAttackSound; }
    int PlaySecondSound() override { return kHurtSound; }
    int AdvanceFrame() override;
    // Rows 0 to 7 are the facings; any other row leaves the frame as it was.
    void SetImageFrame(int* x, int* y) override;
    // The look's image; without one, the plain picture of every object (the
    // row images have none).
    CDDObject* GetImage() override;
    CreatureImageSet* GetClassImages() override;
    void SetClassImages(CreatureImageSet* set) override;
    using Player::LoadImages;
    // Loads the look of its sex, whatever name it is given.
    int LoadImages(const std::string& name) override;
    int GetLookColours(LookColours* colours) override;
    // The creature's pages and the "Human - Color" page of its three colours;
    // reading back takes the colours after the creature's pages.
    int FillPropertyPages(PlayerPropertyPages& pages) override;
    int ReadPropertyPages(const PlayerPropertyPages& pages) override;

    // The colours the name of an old record gives (the same name, the same
    // colours); the minimal standard generator is left where the draws leave it.
    static LookColours ColoursFromName(const std::string& name);
    // The look's section for a sex: "HumanMale", "HumanFemale", "HumanChild".
    static const char* LookName(int32_t sex);
    // The index of the per-sex tables for a sex; a sex outside them counts as male.
    static int SexIndex(int32_t sex) { return sex >= 0 && sex < kSexes ? sex : 0; }
    static int UseCount(int32_t sex) { return s_iUseCounts[SexIndex(sex)]; }
    static CreatureImageSet* SexImages(int32_t sex) { return s_pImageSets[SexIndex(sex)].get(); }
    // Forgets the per-sex looks and counts (the start of play).
    static void ResetClassImages();
    // The row image of a row (a facing, 0 to 7), shared by every human: a
    // human's current image is the one of its row, where the pose a fight
    // writes and the cell row it is drawn in are kept.
    static CDDObject& RowImage(int row) { return s_RowImages[static_cast<size_t>(row)]; }

    static constexpr int kRows = 8;

    static constexpr int kSexes = 3;
    static constexpr int32_t kNPCNumbers = 10;
    static constexpr int kAttackSound = 3;
    static constexpr int kHurtSound = 4;
    static constexpr uint32_t kSchema = 2;
    // The values a colour part takes in the editor: the whole reach of a
    // screen channel, either way for the pants and hair, which are added to
    // the picture's own colour; the shirt multiplies its green, so it is
    // never below 0.
    static constexpr int32_t kColourReach = 64;
    static constexpr int32_t kLeastShirtColour = 0;

    std::array<int32_t, 3> m_iShirtColor{1, 0, 0};
    std::array<int32_t, 3> m_iPantsColor{};
    std::array<int32_t, 3> m_iHairColor{};
    std::array<CDDObject*, kRows> m_pRowImages{};  // entry i is RowImage(i)

private:
    void GiveBackUse();
    void TakeUse();

    static std::array<std::unique_ptr<CreatureImageSet>, kSexes> s_pImageSets;
    static std::array<int32_t, kSexes> s_iUseCounts;
    static std::array<CDDObject, kRows> s_RowImages;
};
