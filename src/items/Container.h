#pragma once
// Containers: scenery that holds a bag of items (a chest, a coffin, a
// barrel). Acting on one shows its contents beside the party's inventory; it
// can be locked, and a barrel can be a rain barrel that never opens.

#include <cstdint>
#include <memory>
#include <string>

#include "items/Bag.h"
#include "structures/Scenery.h"

// The party's inventory window as a container reaches it. The windows put
// one in place; until they do no inventory window is open, and acting on a
// container shows nothing.
class InventoryWindows {
public:
    virtual ~InventoryWindows() = default;
    // Whether the party's inventory window is open.
    virtual bool IsInventoryOpen() = 0;
    // The party's window goes back to the member it shows, and a second
    // inventory window shows the bag (the frame keeps it as its second
    // inventory window).
    virtual void ShowContainer(CBag* bag) = 0;
};
InventoryWindows* GetInventoryWindows();
// Puts the windows in place (null takes them away); the caller keeps them.
void SetInventoryWindows(InventoryWindows* windows);

class Container : public Scenery {
    QV_DECLARE_CLASS(Container)
public:
    explicit Container(const std::string& name = "Container");
    ~Container() override;
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // The scenery part, a marker and the bag (or a 0 marker), then the lock.
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    // A frame its picture has no cell for shows the first.
    void GetImageFrame(int* x, int* y) override;
    // Code 3 turns the lock; a locked container plays its sound; an open one
    // is shown while the party's inventory window is open (1).
    int Activate(int* action, Player* actor) override;
    // The editor's "Container" dialog; it answers 0.
    int Edit() override;
    // The bag's entries (the editor lists them).
    const std::vector<std::unique_ptr<Object>>* GetItemList();

    CBag* GetBag() const { return m_pBag.get(); }
    // The bag kind of the container's class.
    virtual int32_t GetBagKind() const { return 0; }

    std::unique_ptr<CBag> m_pBag;
    int32_t m_bLocked = 0;

protected:
    // The kinds' shared setting up: their picture and their bag's kind.
    void SetUpKind(int bitmap, int width, int height, int hotX, int hotY, int across);
    // Without a bag (a record that named none), a new empty one.
    void EnsureBag();
};

class Chest : public Container {
    QV_DECLARE_CLASS(Chest)
public:
    explicit Chest(const std::string& name = "Chest");
    // An oldest record lists its items after the container part.
    void Serialize(qv::Archive& ar) override;
    int32_t GetBagKind() const override { return 4; }
};

class Coffin : public Container {
    QV_DECLARE_CLASS(Coffin)
public:
    explicit Coffin(const std::string& name = "Coffin");
    void Serialize(qv::Archive& ar) override;
    int32_t GetBagKind() const override { return 6; }
};

class Barrel : public Container {
    QV_DECLARE_CLASS(Barrel)
public:
    explicit Barrel(const std::string& name = "Barrel");
    // The container part, then the rain-barrel flag.
    void Serialize(qv::Archive& ar) override;
    // A rain barrel never opens.
    int Activate(int* action, Player* actor) override;
    int Edit() override;
    int32_t GetBagKind() const override { return 5; }
    // Makes it a rain barrel (named "RainBarrel", picture column 1) or a
    // plain one.
    void SetRainBarrel(int32_t rain);

    int32_t m_bRainBarrel = 0;
};
