#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "platform/Archive.h"
#include "platform/Message.h"
#include "platform/Surface.h"
#include "support/HandWrittenRecord.h"
#include "world/KeyStorage.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::PutBytes;
using record_test::PutInt;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutString;

// A thing with a picture of its own frames and a heavy constructor weight, to
// see what loading keeps from the class and what from the file.
class Anvil : public Object {
    QV_DECLARE_CLASS(Anvil)
public:
    Anvil() : Object("Anvil") {
        m_iWeight = 30;
        hardness = 4;
    }
    void Serialize(qv::Archive& ar) override {
        if (ar.IsLoading()) ar.GetObjectSchema();
        ar.SerializeClass(&Object::classInfo);
        Object::Serialize(ar);
        ar.Exchange(hardness);
    }
    void SetImageFrame(int* x, int* y) override {
        ++frameCalls;
        Object::SetImageFrame(x, y);
    }
    int hardness;
    int frameCalls = 0;
};
QV_IMPLEMENT_SERIAL(Anvil, Object, 2, true)

// An Object with every stored field away from its default.
void Fill(Object& o) {
    o.m_iXImageNum = 2;
    o.m_iYImageNum = 1;
    o.m_iWeight = 5;
    o.m_iValue = 7;
    o.m_strGeneralName = "Sword";
    o.m_strSpecialName = "Fine Sword";
    o.m_iItemNum = -1;
    o.m_iSpare1 = 1;
    o.m_iState = 3;
    o.m_iBulkNum = 4;
    o.m_bStackable = 1;
    o.m_bInteract = 0;
    o.m_iSpare2 = 6;
    o.m_iOwner = 9;
}
// Its record as the encoding lays it out.
void PutFilledRecord(Bytes& b) {
    for (int v : {2, 1, 5, 7}) PutInt(b, v);
    PutString(b, "Sword");
    PutString(b, "Fine Sword");
    for (int v : {-1, 1, 3, 4, 1, 0, 6, 9}) PutInt(b, v);
}

TEST(Object, DefaultsOfTheConstructor) {
    Object o("Lamp");
    EXPECT_EQ(o.m_strGeneralName, "Lamp");
    EXPECT_EQ(o.m_strSpecialName, "Lamp");
    EXPECT_EQ(o.m_iWeight, 1);
    EXPECT_EQ(o.m_iItemNum, -1);
    EXPECT_EQ(o.m_iState, 1);
    EXPECT_EQ(o.m_iMoveMode, 1);
    EXPECT_EQ(o.m_iSpare2, -1);
    EXPECT_EQ(o.m_iOwner, -1);
    EXPECT_EQ(o.m_bMoveable, 1);
    EXPECT_EQ(o.m_bInteract, 1);
    EXPECT_EQ(o.m_pDDImage, &Object::ClassImage());
    EXPECT_EQ(o.m_pClassDDImage, &Object::ClassImage());
    EXPECT_EQ(o.m_pHolder, nullptr);
    std::unique_ptr<qv::Persistent> made(Object::classInfo.CreateObject());
    EXPECT_EQ(static_cast<Object*>(made.get())->m_strSpecialName, "Object");
}

TEST(Object, StoredRecordOfSchema11ByteForByte) {
    Object o;
    Fill(o);
    Bytes expect;
    PutNewClass(expect, "Object", 11);
    PutFilledRecord(expect);
    EXPECT_EQ(record_test::StoreObject(o), expect);

    auto back = LoadObject<Object>(expect);
    EXPECT_EQ(back->m_iXImageNum, 2);
    EXPECT_EQ(back->m_iYImageNum, 1);
    EXPECT_EQ(back->m_iWeight, 1) << "the stored weight is not read back";
    EXPECT_EQ(back->m_iValue, 7);
    EXPECT_EQ(back->m_strGeneralName, "Sword");
    EXPECT_EQ(back->m_strSpecialName, "Fine Sword");
    EXPECT_EQ(back->m_iItemNum, -1);
    EXPECT_EQ(back->m_iSpare1, 1);
    EXPECT_EQ(back->m_iState, 3);
    EXPECT_EQ(back->m_iBulkNum, 4);
    EXPECT_EQ(back->m_bStackable, 1);
    EXPECT_EQ(back->m_bInteract, 0);
    EXPECT_EQ(back->m_iSpare2, 6);
    EXPECT_EQ(back->m_iOwner, 9);
}

TEST(Object, SameObjectTwiceIsABackReference) {
    Object o;
    qv::Archive out;
    out.WriteObject(&o);
    out.WriteObject(&o);
    Bytes expect;
    PutNewClass(expect, "Object", 11);  // class 1, object 2
    PutObjectDefaults(expect, "Object");
    PutBytes(expect, {0x02, 0x00});
    EXPECT_EQ(out.Bytes(), expect);

    qv::Archive in(expect);
    std::unique_ptr<qv::Persistent> a(in.ReadObject());
    EXPECT_EQ(in.ReadObjectUnowned(), a.get());
}

TEST(Object, TwoClassesWithClassTagsAndTheBaseRecordedByTheDerived) {
    Anvil a1, a2;
    a2.hardness = 8;
    Object plain;
    qv::Archive out;
    out.WriteObject(&a1);
    out.WriteObject(&plain);
    out.WriteObject(&a2);

    Bytes e;
    PutNewClass(e, "Anvil", 2);    // class 1, object 2
    PutNewClass(e, "Object", 11);  // class 3: the base, recorded by Anvil
    for (int v : {0, 0, 30, 0}) PutInt(e, v);
    PutString(e, "Anvil");
    PutString(e, "Anvil");
    for (int v : {-1, 0, 1, 1, 0, 1, -1, -1}) PutInt(e, v);
    PutInt(e, 4);
    PutBytes(e, {0x03, 0x80});  // Object again: a class tag; object 4
    PutObjectDefaults(e, "Object");
    PutBytes(e, {0x01, 0x80});  // Anvil again; object 5
    PutBytes(e, {0x03, 0x80});  // its base
    for (int v : {0, 0, 30, 0}) PutInt(e, v);
    PutString(e, "Anvil");
    PutString(e, "Anvil");
    for (int v : {-1, 0, 1, 1, 0, 1, -1, -1}) PutInt(e, v);
    PutInt(e, 8);
    EXPECT_EQ(out.Bytes(), e);

    qv::Archive in(e);
    std::unique_ptr<Anvil> b1(in.ReadObjectOf<Anvil>());
    std::unique_ptr<Object> b2(in.ReadObjectOf<Object>());
    std::unique_ptr<Anvil> b3(in.ReadObjectOf<Anvil>());
    EXPECT_EQ(b1->hardness, 4);
    EXPECT_EQ(b2->GetRuntimeClass(), &Object::classInfo);
    EXPECT_EQ(b3->hardness, 8);
    EXPECT_EQ(b3->m_iWeight, 30);
    EXPECT_EQ(b3->frameCalls, 1) << "loading hands the frame to SetImageFrame";
}

TEST(Object, ListOf70000ObjectsUsesTheLongCountAndTheLongIndex) {
    const size_t n = 70000;
    std::vector<std::unique_ptr<Object>> objs;
    objs.reserve(n);
    for (size_t i = 0; i < n; ++i) objs.push_back(std::make_unique<Object>());
    Anvil late1, late2;

    qv::Archive out;
    out.WriteCount(n);
    for (auto& o : objs) out.WriteObject(o.get());
    // Object k has index k + 2 (class Object is 1).
    out.WriteObject(objs[0x7FFC].get());  // index 0x7FFE: still a short tag
    out.WriteObject(objs[0x7FFD].get());  // index 0x7FFF: the long form
    out.WriteObject(objs[n - 1].get());   // index 70001
    out.WriteObject(&late1);              // class Anvil 70002, object 70003
    out.WriteObject(&late2);              // Anvil by a long class tag

    Bytes rec;
    PutObjectDefaults(rec, "Object");
    const Bytes& b = out.Bytes();
    size_t at = 0;
    auto expectNext = [&](const Bytes& want, const char* what) {
        ASSERT_LE(at + want.size(), b.size()) << what;
        ASSERT_TRUE(std::equal(want.begin(), want.end(), b.begin() + long(at)))
            << what << " at " << at;
        at += want.size();
    };
    expectNext({0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}, "count 70000");
    Bytes first;
    PutNewClass(first, "Object", 11);
    first.insert(first.end(), rec.begin(), rec.end());
    expectNext(first, "first object");
    Bytes later = {0x01, 0x80};
    later.insert(later.end(), rec.begin(), rec.end());
    for (size_t i = 1; i < n; ++i) {
        expectNext(later, "later object");
        if (HasFatalFailure()) return;
    }
    expectNext({0xFE, 0x7F}, "index 0x7FFE");
    expectNext({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00}, "index 0x7FFF");
    expectNext({0xFF, 0x7F, 0x71, 0x11, 0x01, 0x00}, "index 70001");
    Bytes anvil;
    PutNewClass(anvil, "Anvil", 2);
    PutBytes(anvil, {0x01, 0x80});  // its base, Object
    expectNext(anvil, "new class late in the file");
    at += 60 + 4;  // the first anvil's Object record and own field
    expectNext({0xFF, 0x7F, 0x72, 0x11, 0x01, 0x80, 0x01, 0x80},
               "class tag 70002 in the long form, then its base");
    EXPECT_EQ(at + 60 + 4, b.size());

    qv::Archive in(b);
    size_t count = in.ReadCount();
    ASSERT_EQ(count, n);
    std::vector<std::unique_ptr<qv::Persistent>> back;
    for (size_t i = 0; i < count; ++i) back.emplace_back(in.ReadObject());
    EXPECT_EQ(in.ReadObjectUnowned(), back[0x7FFC].get());
    EXPECT_EQ(in.ReadObjectUnowned(), back[0x7FFD].get());
    EXPECT_EQ(in.ReadObjectUnowned(), back[n - 1].get());
    std::unique_ptr<Anvil> a1(in.ReadObjectOf<Anvil>());
    std::unique_ptr<Anvil> a2(in.ReadObjectOf<Anvil>());
    EXPECT_NE(a1, a2);
    EXPECT_EQ(in.Remaining(), 0u);
}

// Records of older schemas, built by hand.
Bytes OldRecord(int schema, bool frame, std::initializer_list<int> tail) {
    Bytes b;
    PutNewClass(b, "Anvil", 2);
    PutNewClass(b, "Object", schema);
    if (frame) PutInt(b, 3), PutInt(b, 2);
    PutInt(b, 55);  // weight
    PutInt(b, 12);  // value
    PutString(b, "Old");
    PutString(b, "Old One");
    for (int v : tail) PutInt(b, v);
    PutInt(b, 6);  // Anvil's own field
    return b;
}

TEST(Object, OldSchemasReadWithDefaultsAndConversions) {
    {
        SCOPED_TRACE("schema 1: no frame, weight 1, no first spare");
        auto a = LoadObject<Anvil>(OldRecord(1, false, {-1}));
        EXPECT_EQ(a->m_iXImageNum, 0);
        EXPECT_EQ(a->m_iYImageNum, 0);
        EXPECT_EQ(a->frameCalls, 0);
        EXPECT_EQ(a->m_iWeight, 1);
        EXPECT_EQ(a->m_iValue, 12);
        EXPECT_EQ(a->m_strSpecialName, "Old One");
        EXPECT_EQ(a->m_iSpare1, 0);
        EXPECT_EQ(a->hardness, 6);
    }
    {
        SCOPED_TRACE("schema 3: frame and first spare, the rest default");
        auto a = LoadObject<Anvil>(OldRecord(3, true, {-1, 5}));
        EXPECT_EQ(a->m_iXImageNum, 3);
        EXPECT_EQ(a->m_iYImageNum, 2);
        EXPECT_EQ(a->frameCalls, 1);
        EXPECT_EQ(a->m_iWeight, 1);
        EXPECT_EQ(a->m_iSpare1, 5);
        EXPECT_EQ(a->m_iState, 1);
        EXPECT_EQ(a->m_iBulkNum, 1);
        EXPECT_EQ(a->m_bStackable, 0);
        EXPECT_EQ(a->m_bInteract, 1);
        EXPECT_EQ(a->m_iSpare2, -1);
        EXPECT_EQ(a->m_iOwner, -1);
    }
    {
        SCOPED_TRACE("schema 7: state read, the class's own weight kept");
        auto a = LoadObject<Anvil>(OldRecord(7, true, {-1, 5, 2}));
        EXPECT_EQ(a->m_iWeight, 30);
        EXPECT_EQ(a->m_iState, 2);
        EXPECT_EQ(a->m_iBulkNum, 1);
        EXPECT_EQ(a->m_iOwner, -1);
        EXPECT_EQ(a->hardness, 6);
    }
}

TEST(Object, NamesAmountsAndPriceLines) {
    Object o("Gem");
    EXPECT_EQ(o.GetDisplayName(), "Gem");
    o.m_iBulkNum = 12;
    EXPECT_EQ(o.GetDisplayName(), "Gem (12)");
    EXPECT_EQ(o.GetInfoText(), "Gem (12)\nWeight: 1");

    o.m_iBulkNum = 1;
    o.m_iValue = 7;
    int width = 20;
    double factor = 1.5;
    EXPECT_EQ(o.GetValueText(&width, &factor), "Gem               10");
    o.SetName("A very long gem name indeed");
    EXPECT_EQ(o.GetValueText(&width, &factor), "A very long gem na10");
    width = 1;
    EXPECT_EQ(o.GetValueText(&width, &factor), "10") << "a price wider than the line stands alone";
    factor = -1.0;
    width = 6;
    EXPECT_EQ(o.GetValueText(&width, &factor), "A ve-7");
}

TEST(Object, StackingAndKinds) {
    Object a("Arrow"), b("Arrow"), c("Bolt");
    Anvil d;
    d.SetName("Arrow");
    EXPECT_EQ(a.IsSameKind(&b), 1);
    EXPECT_EQ(a.IsSameKind(&c), 0);
    EXPECT_EQ(a.IsSameKind(&d), 1) << "equal special names, whatever the class";

    b.m_iBulkNum = 5;
    EXPECT_EQ(a.AddBulk(&b), 0);
    EXPECT_EQ(a.m_iBulkNum, 1);
    a.m_bStackable = 1;
    EXPECT_EQ(a.AddBulk(&b), 6);
    EXPECT_EQ(a.RemoveBulk(&b), 1);

    qv::ScriptedMessages script({qv::MessageAnswer::Retry});
    EXPECT_EQ(a.RemoveBulk(&b), -4) << "Retry keeps the negative amount";
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].starts_with("assertion failed (")) << script.shown[0];
    EXPECT_TRUE(script.shown[0].ends_with(":Object.cpp)\nm_iBulkNum >= 0")) << script.shown[0];
}

TEST(Object, FramesStatesAndDefaults) {
    Object o;
    o.m_iXImageNum = 4;
    o.m_iYImageNum = 2;
    int x = -1, y = 0;
    o.GetImageFrame(&x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, 2);
    x = 7;
    y = -3;
    o.SetImageFrame(&x, &y);
    EXPECT_EQ(o.m_iXImageNum, 7);
    EXPECT_EQ(o.m_iYImageNum, 2);
    int s = 9;
    o.SetState(&s);
    EXPECT_EQ(o.GetState(), 9);
    EXPECT_EQ(o.SetOwner(3), 3);
    EXPECT_EQ(o.GetUseRange(nullptr), std::make_pair(3, 0));
    EXPECT_EQ(o.Activate(&s, nullptr), -1);
    EXPECT_EQ(o.Edit(), -1);
    EXPECT_EQ(o.IsUsableBy(nullptr), 1);
    EXPECT_EQ(o.Type(), 0);
    EXPECT_EQ(o.GetKind(), 0);
    EXPECT_EQ(o.CanBeUsedBy(nullptr), 0);
}

TEST(Object, OnlyThreeSpeciesMayUseAPlainObject) {
    struct Species : Player {
        explicit Species(PlayerType t) : type(t) {}
        PlayerType GetPlayerType() override { return type; }
        PlayerType type;
    };
    Object o;
    for (PlayerType t : {10, 1, 18}) {
        Species s(t);
        EXPECT_EQ(o.CanBeUsedBy(&s), 1) << t;
    }
    Species other(2);
    EXPECT_EQ(o.CanBeUsedBy(&other), 0);
    o.m_bInteract = 0;
    Species human(10);
    EXPECT_EQ(o.CanBeUsedBy(&human), 0) << "the Interact flag answers";
}

TEST(Object, CloneMakesTheSameClassWithAmountAndMoveable) {
    Anvil a;
    a.m_iBulkNum = 3;
    a.m_bMoveable = 2;
    a.m_iValue = 99;
    a.hardness = 1;
    std::unique_ptr<Object> c(a.Clone());
    ASSERT_EQ(c->GetRuntimeClass(), &Anvil::classInfo);
    EXPECT_EQ(c->m_iBulkNum, 3);
    EXPECT_EQ(c->m_bMoveable, 2);
    EXPECT_EQ(c->m_iValue, 0) << "only the amount and the moveable mark are copied";
    EXPECT_EQ(static_cast<Anvil*>(c.get())->hardness, 4);
}

TEST(Object, KeyNumbersEnterTheKeyRecordsOnLoadingAndLeaveOnDestruction) {
    World world;
    Object door;
    door.m_iItemNum = 3;
    qv::Archive out;
    out.WriteObject(&door);
    {
        qv::Archive in(out.Bytes());
        std::unique_ptr<Object> back(in.ReadObjectOf<Object>());
        ASSERT_EQ(world.m_KeyStorageList.size(), 1u);
        KeyStorage& k = *world.m_KeyStorageList[0];
        EXPECT_EQ(k.m_iKeyNum, 3);
        EXPECT_EQ(k.m_strName, "Lost or Temp Key");
        ASSERT_EQ(k.m_ObjectList.size(), 1u);
        EXPECT_EQ(k.m_ObjectList[0].Get(), back.get());
    }
    EXPECT_TRUE(world.m_KeyStorageList[0]->m_ObjectList.empty())
        << "the record stays, without the destroyed object";
}

TEST(Object, TheClassImageIsBuiltByTheFirstUserAndReleasedByTheLast) {
    CDDObject& image = Object::ClassImage();
    const int before = image.m_iUseCount;
    {
        Object a;
        EXPECT_EQ(image.m_iUseCount, before + 1);
        EXPECT_TRUE(image.IsLoaded());
        EXPECT_EQ(image.m_iWidth, 64);
        EXPECT_EQ(image.m_iHeight, 64);
        EXPECT_EQ(image.m_iHotX, 32);
        EXPECT_EQ(image.m_iHotY, 32);
        EXPECT_EQ(image.m_iNumLevels, 1);
        EXPECT_EQ(image.m_iSurfaceCnt, 1);
        EXPECT_EQ(image.GetCellRect(), (qv::Rect{-32, -32, 32, 32}));
        Object b;
        EXPECT_EQ(image.m_iUseCount, before + 2);
        EXPECT_EQ(b.ReleaseImages(), 1);
        EXPECT_EQ(image.m_iUseCount, before + 1);
        b.m_pDDImage = nullptr;
        EXPECT_EQ(b.ReleaseImages(), 0) << "nothing left to give back";
    }
    EXPECT_EQ(image.m_iUseCount, before);
    if (before == 0) {
        EXPECT_FALSE(image.IsLoaded()) << "the last user releases the surfaces";
    }
    Object c;
    EXPECT_TRUE(image.IsLoaded()) << "and the next one builds it again";
}

TEST(Object, DrawsItsFrameWithTheHotSpotOnThePoint) {
    // A picture of one lit pixel, in place of the class image.
    auto bits = std::make_shared<CDIBitmap>(64, 64);
    CDDObject picture;
    int across = 1, down = 1;
    picture.SetCellGrid(across, down);
    picture.SetFrameCount(1);
    picture.m_iWidth = picture.m_iHeight = 64;
    picture.m_iHotX = picture.m_iHotY = 32;
    bits->SetPixel(32, 32, 15);
    picture.SetFrameBitmap(0, bits);
    ASSERT_TRUE(picture.Load());

    Object o;
    o.m_pDDImage = &picture;
    qv::Surface screen(640, 480);
    const Position where(1000, 800);
    o.m_bNotDrawn = 5;
    // Without a running map every place counts as lit.
    EXPECT_EQ(o.Draw(&screen, {320, 240}, screen.Bounds(), where, 0), 0);
    EXPECT_EQ(o.m_bNotDrawn, 0);
    EXPECT_NE(screen.GetPixel(320, 240), 0) << "the hot spot lands on the point";
    EXPECT_EQ(screen.GetPixel(321, 240), 0);
    o.m_pDDImage = &Object::ClassImage();
}

}  // namespace
