#pragma once
// The changeling: the one creature whose look is not fixed. The first time it
// meets a creature with a look in a fight, it takes that creature's name and
// look, goes through a timed change (two animations and a hardening shell it
// wears for a while), and then shows itself as the other.
//
// It owns the look it copied: a look of the same section read for itself, so
// that it never draws with a look its first owner has let go.

#include <cstdint>
#include <memory>
#include <string>

#include "creatures/Species.h"
#include "items/Armour.h"

class Changeling : public Species {
    QV_DECLARE_CLASS(Changeling)
public:
    // Where the change stands.
    static constexpr int32_t kUnchanged = 0;
    static constexpr int32_t kChanging = -1;
    static constexpr int32_t kChanged = 1;
    static constexpr int32_t kDying = 2;
    // The stages' lengths in game time.
    static constexpr int32_t kFirstWait = 2000;
    static constexpr int32_t kAnimation = 500;
    static constexpr int32_t kShellTime = 4000;
    // The shell is armour: its speed factor, absorption and body place.
    static constexpr int32_t kShellSpeedFactor = 100;
    static constexpr int32_t kShellAbsorption = 99;
    static constexpr int32_t kShellLocation = 5;

    Changeling();
    ~Changeling() override;

    // After the creature's record: the state, the copied look's name and the
    // copied name. A change under way resumes at its shell; a changed one
    // reads its copied look again.
    void Serialize(qv::Archive& ar) override;
    std::string GetDisplayName() override;
    // Copies the other's look and name the first time, and starts the change.
    int ResolveHit(Object* other, StrikeWeapon value) override;
    // The SPECIAL events carry the stage of the change.
    int HandleSpecialEvent(int32_t time, const int32_t* stage) override {
        return ShedShell(time, stage);
    }
    int ShedShell(int32_t time, const int32_t* stage);
    int Die() override;
    int PlaySound() override;
    int PlayThirdSound() override;
    CreatureImageSet* GetClassImages() override;
    void SetClassImages(CreatureImageSet* set) override;

    int32_t m_iChangeState = kUnchanged;
    std::unique_ptr<Armour> m_pShell;  // worn while it changes
    std::string m_strCopiedImages;
    std::string m_strCopiedName;
    std::unique_ptr<CreatureImageSet> m_pCopiedImages;  // its own copy

private:
    void QueueStage(int32_t time, int32_t stage);
    // The shell comes off, out of the worn armour, and goes.
    void DropShell();
    // Reads its own copy of the look named m_strCopiedImages: 1 when it has one.
    int CopyLook();
    void PlayAtHolder(int which);
};
