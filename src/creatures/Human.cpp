// The people: their colours, stored record, per-sex looks and frame stepping.

#include "creatures/Human.h"

#include "creatures/PlayerImages.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "world/Random.h"

QV_IMPLEMENT_SERIAL(Human, Player, Human::kSchema, true)

std::array<std::unique_ptr<CreatureImageSet>, Human::kSexes> Human::s_pImageSets;
std::array<int32_t, Human::kSexes> Human::s_iUseCounts{};
std::array<CDDObject, Human::kRows> Human::s_RowImages;

namespace {

const SpeciesRow& HumanRow() {
    static const SpeciesRow* row = Species::FindRow("Human");
    return *row;
}

// A human's frame steps only every third call.
constexpr int32_t kStepsPerFrame = 3;
constexpr int32_t kLastColumn = 2;

}  // namespace

Human::Human() : Species(HumanRow()) {
    // Built as a man; new people take the colours their name gives.
    TakeUse();
    const LookColours c = ColoursFromName(GetDisplayName());
    m_iShirtColor = c.shirt;
    m_iPantsColor = c.pants;
    m_iHairColor = c.hair;
    LoadImages("Human");
    for (int row = 0; row < kRows; ++row) m_pRowImages[static_cast<size_t>(row)] = &RowImage(row);
    m_pDDImage = m_pRowImages[static_cast<size_t>(m_iYImageNum)];
}

Human::~Human() {
    // The plain picture's use goes back with the object.
    m_pDDImage = m_pClassDDImage;
    GiveBackUse();
}

const char* Human::LookName(int32_t sex) {
    switch (sex) {
        case 1:
            return "HumanFemale";
        case 2:
            return "HumanChild";
        default:
            return "HumanMale";
    }
}

void Human::ResetClassImages() {
    for (auto& set : s_pImageSets) set.reset();
    s_iUseCounts.fill(0);
}

void Human::GiveBackUse() {
    const int i = SexIndex(m_iSex);
    if (s_iUseCounts[i] > 0 && --s_iUseCounts[i] == 0) s_pImageSets[i].reset();
}

void Human::TakeUse() {
    ++s_iUseCounts[SexIndex(m_iSex)];
}

LookColours Human::ColoursFromName(const std::string& name) {
    int32_t seed = 0;
    for (char ch : name) seed += static_cast<signed char>(ch);
    SetRandomSeed(seed);
    LookColours c;
    for (int32_t& v : c.shirt) v = RandomInt() % 4;
    if (c.shirt == std::array<int32_t, 3>{}) c.shirt[static_cast<size_t>(RandomInt() % 3)] = 1;
    for (int32_t& v : c.pants) v = RandomInt() % 5 - 3;
    for (int32_t& v : c.hair) v = RandomInt() % 4;
    switch (RandomInt() % 4) {
        case 0:
            for (int32_t& v : c.hair) v -= 10;
            break;
        case 1:
            c.hair[2] -= 7;
            break;
        case 2:
            c.hair[1] -= 11;
            c.hair[2] -= 11;
            break;
        default:
            for (int32_t& v : c.hair) v -= 16;
            break;
    }
    return c;
}

void Human::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.SerializeClass(&Player::classInfo);
        Player::Serialize(ar);
        for (const auto* colour : {&m_iShirtColor, &m_iPantsColor, &m_iHairColor})
            for (int32_t v : *colour) ar.WriteInt(v);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    ar.SerializeClass(&Player::classInfo);
    Player::Serialize(ar);
    m_iYImageNum = 0;
    m_pDDImage = m_pRowImages[0];
    for (CDDObject* image : m_pRowImages) image->m_iCurrentRow = 0;
    if (schema >= kSchema) {
        for (auto* colour : {&m_iShirtColor, &m_iPantsColor, &m_iHairColor})
            for (int32_t& v : *colour) v = ar.ReadInt();
    } else {
        const LookColours c = ColoursFromName(GetDisplayName());
        m_iShirtColor = c.shirt;
        m_iPantsColor = c.pants;
        m_iHairColor = c.hair;
    }
}

const int32_t* Human::SetSex(const int32_t* value) {
    GiveBackUse();
    m_iSex = *value;
    TakeUse();
    LoadImages("");
    return value;
}

const int32_t* Human::SetNPCNumber(const int32_t* value) {
    if (*value == m_iNPCNumber) return value;
    if (*value >= kNPCNumbers) {
        qv::ShowMessage(qv::Format("NPC number must be less than %d", kNPCNumbers),
                        qv::MessageButtons::Ok);
        return value;
    }
    GiveBackUse();
    m_iNPCNumber = *value;
    TakeUse();
    LoadImages(m_strGeneralName);
    return value;
}

int Human::AdvanceFrame() {
    // With a look it steps as every creature does.
    if (GetClassImages()) return Player::AdvanceFrame();
    if (++m_iStepCount < kStepsPerFrame) return m_iXImageNum;
    m_iStepCount = 0;
    // Without a look the column swings 1, 2, 1, 0, 1, 2 ...
    int column = m_iXImageNum;
    if (column < 0 || column > kLastColumn) return column;
    if (m_bFrameUp) {
        if (++column > kLastColumn) {
            column = 1;
            m_bFrameUp = 0;
        }
    } else if (--column < 0) {
        column = 1;
        m_bFrameUp = 1;
    }
    int row = -1;
    Object::SetImageFrame(&column, &row);
    return column;
}

void Human::SetImageFrame(int* x, int* y) {
    if (y && (*y < -1 || *y >= kRows)) {
        int keep = -1;
        Object::SetImageFrame(x, &keep);
        return;
    }
    Object::SetImageFrame(x, y);
    // The current image follows the row.
    if (y && *y >= 0) m_pDDImage = m_pRowImages[static_cast<size_t>(*y)];
}

CDDObject* Human::GetImage() {
    // The row images have no picture of their own: without the look's, the
    // plain picture every object has stands.
    CDDObject* image = Player::GetImage();
    return image == m_pDDImage ? m_pClassDDImage : image;
}

CreatureImageSet* Human::GetClassImages() {
    return s_pImageSets[SexIndex(m_iSex)].get();
}

void Human::SetClassImages(CreatureImageSet* set) {
    if (!set) return;
    auto& slot = s_pImageSets[SexIndex(m_iSex)];
    if (slot.get() != set) slot.reset(set);
    // A human's look is always drawn in its own colours.
    set->m_bRecoloured = 1;
}

int Human::LoadImages(const std::string&) {
    return Player::LoadImages(LookName(m_iSex));
}

int Human::FillPropertyPages(PlayerPropertyPages& pages) {
    Player::FillPropertyPages(pages);
    pages.hasColourPage = true;
    pages.hair = m_iHairColor;
    pages.shirt = m_iShirtColor;
    pages.pants = m_iPantsColor;
    return 1;
}

int Human::ReadPropertyPages(const PlayerPropertyPages& pages) {
    const int result = Player::ReadPropertyPages(pages);
    if (pages.hasColourPage) {
        m_iHairColor = pages.hair;
        m_iShirtColor = pages.shirt;
        m_iPantsColor = pages.pants;
    }
    return result;
}

int Human::GetLookColours(LookColours* colours) {
    if (!colours) return 0;
    colours->shirt = m_iShirtColor;
    colours->pants = m_iPantsColor;
    colours->hair = m_iHairColor;
    return 1;
}
