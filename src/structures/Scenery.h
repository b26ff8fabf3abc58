#pragma once
// Placed scenery: the base of standing and flat scenery, of containers, and
// the scenery kinds that random population scatters over the cells.

#include <string>

#include "platform/Archive.h"
#include "world/Object.h"

class Scenery : public Object {
    QV_DECLARE_CLASS(Scenery)
public:
    explicit Scenery(const std::string& name = "Scenery");
    void Serialize(qv::Archive& ar) override;
    int Type() override { return SCENERY; }

    // The resource bitmap of its picture (not stored: it is the kind's).
    int GetPictureBitmap() const { return m_iPictureBitmap; }
    // Scenery pictured by the two bed bitmaps is worked through its use
    // prompt when a creature reaches it.
    bool HasUsePrompt() const {
        return m_iPictureBitmap == kBedBitmap || m_iPictureBitmap == kBedBitmap2;
    }
    static constexpr int kBedBitmap = 408;
    static constexpr int kBedBitmap2 = 232;

protected:
    int m_iPictureBitmap = 283;  // Object's own picture until a kind has its own
};

// Bed: scenery to rest on. Its use prompt is the rest.
class Bed : public Scenery {
    QV_DECLARE_CLASS(Bed)
public:
    explicit Bed(const std::string& name = "Bed");
    void Serialize(qv::Archive& ar) override;
    int GetUsePrompt(Player* user, int flag) override;
    // A party member asks how many hours (up to 10 offered) the party rests:
    // every creature rests, the user's lasting spells end and the clock
    // moves on. 1 when the party rested, 0 otherwise.
    int Rest(Player* user);
    // The rest itself, for the hours chosen: 0 for anyone but a party member
    // or for no hours.
    int RestFor(Player* user, int32_t hours);
};

// Rugs: flat scenery that anything walks over.
#define QV_RUG_KIND(Name)                               \
    class Name : public Scenery {                       \
        QV_DECLARE_CLASS(Name)                          \
    public:                                             \
        explicit Name(const std::string& name = #Name); \
        void Serialize(qv::Archive& ar) override;       \
        int StepOn(Position*, Object* mover) override;  \
    };

QV_RUG_KIND(Rug)
QV_RUG_KIND(Rug2)
QV_RUG_KIND(Rug3)

#undef QV_RUG_KIND

// The scenery kinds of random population. Standing kinds block through their
// picture; flat kinds lie on the floor and never block.
#define QV_SCENERY_KIND(Name)                           \
    class Name : public Scenery {                       \
        QV_DECLARE_CLASS(Name)                          \
    public:                                             \
        explicit Name(const std::string& name = #Name); \
        void Serialize(qv::Archive& ar) override;       \
    };

QV_SCENERY_KIND(LivePine)
QV_SCENERY_KIND(LivePineSmall)
QV_SCENERY_KIND(DeadPine)
QV_SCENERY_KIND(BigMountain)
QV_SCENERY_KIND(IceMountain)
QV_SCENERY_KIND(Rocks)
QV_SCENERY_KIND(Rocks2)
QV_SCENERY_KIND(DarkPatch)
QV_SCENERY_KIND(Flower)
QV_SCENERY_KIND(Flowers)

#undef QV_SCENERY_KIND

// A shrub in one of five looks (0..4), its frame column.
class Shrub : public Scenery {
    QV_DECLARE_CLASS(Shrub)
public:
    explicit Shrub(int variant = 0);
    void Serialize(qv::Archive& ar) override;
    int m_iVariant = 0;
};

// A statue that comes alive when burnt, if it carries a statue text.
class StatueBow : public Scenery {
    QV_DECLARE_CLASS(StatueBow)
public:
    explicit StatueBow(const std::string& name = "StatueBow");
    void Serialize(qv::Archive& ar) override;
    // May delete the statue and its holder: the caller must not touch it after.
    void TakeDamage(int amount, int kind) override;

    std::string m_strStatueText = "STATUE";
    static constexpr int kActorNumber = 2369;
};
