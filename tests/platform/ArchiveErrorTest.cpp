// Bad files: every fault raises the archive's error, nothing is leaked (the
// sanitizers watch), and nothing is allocated from an unchecked number.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Archive.h"
#include "world/KeyStorage.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/UnusedNumbers.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A container that owns what it holds, to see adopted objects go with it.
class Crate : public Object {
    QV_DECLARE_CLASS(Crate)
public:
    Crate() : Object("Crate") {}
    std::vector<std::unique_ptr<Object>> contents;
    void Serialize(qv::Archive& ar) override {
        if (ar.IsLoading()) ar.GetObjectSchema();
        ar.SerializeClass(&Object::classInfo);
        Object::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount(contents.size());
            for (auto& c : contents) ar.WriteObject(c.get());
        } else {
            size_t n = ar.ReadCount();
            for (size_t i = 0; i < n; ++i) contents.emplace_back(ar.ReadObjectOf<Object>());
        }
    }
};
QV_IMPLEMENT_SERIAL(Crate, Object, 1, true)

qv::ArchiveError::Cause CauseOf(const Bytes& b, const qv::RuntimeClass* expected = nullptr) {
    qv::Archive in(b, "bad.lnd");
    try {
        std::unique_ptr<qv::Persistent> p(in.ReadObject(expected));
        std::unique_ptr<qv::Persistent> q(in.ReadObject(expected));
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.file, "bad.lnd");
        EXPECT_NE(std::string(e.what()).find("bad.lnd"), std::string::npos) << e.what();
        return e.cause;
    }
    ADD_FAILURE() << "no error";
    return qv::ArchiveError::Generic;
}

Bytes CrateFile() {
    Crate c;
    c.contents.push_back(std::make_unique<Object>("Coin"));
    c.contents.push_back(std::make_unique<Object>("Ring"));
    ObjectHolder h(Position(5, 6), &c);
    qv::Archive out;
    out.WriteObject(&h);
    out.WriteObject(&h);
    return out.TakeBytes();
}

TEST(ArchiveErrors, EveryTruncationFailsCleanly) {
    Bytes whole = CrateFile();
    for (size_t len = 0; len < whole.size() - 2; ++len) {
        Bytes part(whole.begin(), whole.begin() + long(len));
        qv::Archive in(part);
        std::unique_ptr<ObjectHolder> h;
        try {
            h.reset(in.ReadObjectOf<ObjectHolder>());
            in.ReadObjectOf<ObjectHolder>();
            ADD_FAILURE() << "read " << len << " bytes without error";
        } catch (const qv::ArchiveError& e) {
            EXPECT_TRUE(e.cause == qv::ArchiveError::EndOfFile ||
                        e.cause == qv::ArchiveError::BadCount ||
                        e.cause == qv::ArchiveError::BadString)
                << len << ": " << e.what();
        }
        if (h) delete h->m_pObject;  // the holder does not own its object
    }
}

TEST(ArchiveErrors, LengthsAndCountsBeyondTheBytesLeft) {
    Bytes str = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a'};
    qv::Archive in(str);
    EXPECT_THROW(in.ReadString(), qv::ArchiveError);

    Bytes list = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 0, 0};
    qv::Archive in2(list);
    try {
        in2.ReadCount();
        ADD_FAILURE();
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::BadCount);
    }

    // A crate claiming 60000 contents in a short file.
    Bytes crate = CrateFile();
    Crate c;
    qv::Archive out;
    out.WriteObject(&c);
    Bytes b = out.TakeBytes();
    b[b.size() - 2] = 0x60;
    b[b.size() - 1] = 0xEA;
    EXPECT_EQ(CauseOf(b), qv::ArchiveError::BadCount);

    // An id pool claiming a billion numbers.
    Bytes pool = {0xFF, 0xFF, 1, 0, 13, 0};
    for (char ch : std::string("UnusedNumbers")) pool.push_back(uint8_t(ch));
    for (int v : {0x00, 0xCA, 0x9A, 0x3B, 1, 0, 0, 0}) pool.push_back(uint8_t(v));
    EXPECT_EQ(CauseOf(pool), qv::ArchiveError::BadCount);

    // A class name longer than the file.
    EXPECT_EQ(CauseOf({0xFF, 0xFF, 1, 0, 0xFF, 0x7F, 'O'}), qv::ArchiveError::EndOfFile);
}

TEST(ArchiveErrors, IndicesPastWhatWasRead) {
    EXPECT_EQ(CauseOf({0x05, 0x00}), qv::ArchiveError::BadIndex);
    EXPECT_EQ(CauseOf({0x01, 0x80}), qv::ArchiveError::BadIndex);
    EXPECT_EQ(CauseOf({0xFF, 0x7F, 0x00, 0x00, 0x01, 0x00}), qv::ArchiveError::BadIndex);
    EXPECT_EQ(CauseOf({0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80}), qv::ArchiveError::BadIndex);

    // Index 1 is a class, not an object; index 2 an object, not a class.
    UnusedNumbers pool(1, 4, 1);
    qv::Archive out;
    out.WriteObject(&pool);
    Bytes b = out.Bytes();
    Bytes asObject = b;
    asObject.insert(asObject.end(), {0x01, 0x00});
    EXPECT_EQ(CauseOf(asObject), qv::ArchiveError::BadIndex);
    Bytes asClass = b;
    asClass.insert(asClass.end(), {0x02, 0x80});
    EXPECT_EQ(CauseOf(asClass), qv::ArchiveError::BadIndex);
}

TEST(ArchiveErrors, UnknownAndWrongClasses) {
    Bytes unknown = {0xFF, 0xFF, 1, 0, 7, 0, 'D', 'r', 'a', 'g', 'o', 'n', 'X'};
    EXPECT_EQ(CauseOf(unknown), qv::ArchiveError::BadClass);

    UnusedNumbers pool;
    qv::Archive out;
    out.WriteObject(&pool);
    EXPECT_EQ(CauseOf(out.Bytes(), &Object::classInfo), qv::ArchiveError::BadClass);

    // A holder whose object is an id pool.
    Bytes holder = {0xFF, 0xFF, 10, 0, 12, 0};
    for (char ch : std::string("ObjectHolder")) holder.push_back(uint8_t(ch));
    for (int i = 0; i < 8; ++i) holder.push_back(0);
    holder.insert(holder.end(), out.Bytes().begin(), out.Bytes().end());
    EXPECT_EQ(CauseOf(holder), qv::ArchiveError::BadClass);

    // The same, through a back-reference to an object of the wrong class.
    ObjectHolder h(Position(1, 2), nullptr);
    qv::Archive out2;
    out2.WriteObject(&pool);
    out2.WriteObject(&h);
    Bytes b = out2.TakeBytes();
    ASSERT_EQ(b[b.size() - 2], 0x00);
    b[b.size() - 2] = 0x02;  // the holder's null object becomes the pool
    qv::Archive in(b);
    std::unique_ptr<qv::Persistent> p(in.ReadObject());
    EXPECT_THROW(in.ReadObject(), qv::ArchiveError);
}

TEST(ArchiveErrors, AnotherSchemaForAClassWithoutTheVersionedMark) {
    UnusedNumbers pool(2, 1, 1);
    qv::Archive out;
    out.WriteObject(&pool);
    Bytes b = out.TakeBytes();
    ASSERT_EQ(b[2], 1);
    b[2] = 2;
    EXPECT_EQ(CauseOf(b), qv::ArchiveError::BadSchema);

    // A versioned class takes any schema.
    Object o;
    qv::Archive out2;
    out2.WriteObject(&o);
    Bytes v = out2.TakeBytes();
    v[2] = 12;
    qv::Archive in(v);
    std::unique_ptr<qv::Persistent> p(in.ReadObject());
    EXPECT_NE(p, nullptr);
}

TEST(ArchiveErrors, AFailedContainerTakesWhatItHadAdopted) {
    // Break the second content's class tag: the crate has adopted the first.
    Crate c;
    c.contents.push_back(std::make_unique<Object>("Coin"));
    c.contents.push_back(std::make_unique<Object>("Ring"));
    qv::Archive out;
    out.WriteObject(&c);
    Bytes bytes = out.TakeBytes();
    // The second content starts with its class tag 0x8003 (Crate 1, crate 2,
    // Object 3, coin 4); make it name index 9.
    Bytes tag = {0x03, 0x80};
    auto at = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
    ASSERT_NE(at, bytes.end());
    at = std::search(at + 2, bytes.end(), tag.begin(), tag.end());  // past the coin's
    ASSERT_NE(at, bytes.end());
    ASSERT_EQ(bytes.end() - at, 2 + 58) << "the ring's tag and record end the file";
    at[0] = 0x09;
    at[1] = 0x00;
    bytes.erase(at + 2, bytes.end());
    EXPECT_EQ(CauseOf(bytes), qv::ArchiveError::BadIndex);

    // A reader that goes on after the error cannot reach the deleted coin.
    bytes.insert(bytes.end(), {0x04, 0x00});
    qv::Archive in(bytes);
    EXPECT_THROW(in.ReadObject(), qv::ArchiveError);
    try {
        in.ReadObject();
        ADD_FAILURE() << "the deleted coin was handed out";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::BadIndex);
    }
}

TEST(ArchiveErrors, AFailedContainerTakesWhatItClaimedFromTheArchive) {
    // A coin named first by a list that does not keep it, then kept by a
    // crate that fails to load: the coin goes with the crate.
    auto coin = std::make_unique<Object>("Coin");
    Object* coinAt = coin.get();
    Crate c;
    c.contents.push_back(std::move(coin));
    c.contents.push_back(std::make_unique<Object>("Ring"));
    qv::Archive out;
    out.WriteObject(coinAt);  // class Object 1, coin 2
    out.WriteObject(&c);      // class Crate 3, crate 4
    Bytes bytes = out.TakeBytes();
    // The crate's contents: the coin by its index, then the ring, whose class
    // tag 0x8001 is made to name index 9.
    Bytes contents = {0x02, 0x00, 0x02, 0x00, 0x01, 0x80};
    auto at = std::search(bytes.begin(), bytes.end(), contents.begin(), contents.end());
    ASSERT_NE(at, bytes.end());
    at[4] = 0x09;
    at[5] = 0x00;
    bytes.erase(at + 6, bytes.end());
    bytes.insert(bytes.end(), {0x02, 0x00});  // the coin named once more

    qv::Archive in(bytes, "bad.lnd");
    ASSERT_NE(in.ReadObjectUnowned(&Object::classInfo), nullptr);
    EXPECT_THROW(delete in.ReadObject(), qv::ArchiveError);
    try {
        in.ReadObjectUnowned(&Object::classInfo);
        ADD_FAILURE() << "the deleted coin was handed out";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::BadIndex);
    }
}

TEST(ArchiveErrors, KeyRecordListsAreReadAndDropped) {
    Object door("Door"), lever("Lever");
    KeyStorage k(4, "Gate");
    k.m_ObjectList.emplace_back(&door);
    k.m_ObjectList.emplace_back(&lever);
    ObjectHolder h(Position(0, 0), &lever);
    qv::Archive out;
    out.WriteObject(&k);
    out.WriteObject(&h);
    Bytes b = out.TakeBytes();

    Bytes head = {0xFF, 0xFF, 1, 0, 10, 0};
    for (char ch : std::string("KeyStorage")) head.push_back(uint8_t(ch));
    head.insert(head.end(), {4, 0, 0, 0, 4, 'G', 'a', 't', 'e', 2, 0, 0xFF, 0xFF, 11, 0, 6, 0});
    ASSERT_TRUE(std::equal(head.begin(), head.end(), b.begin()));

    qv::Archive in(b);
    std::unique_ptr<KeyStorage> back(in.ReadObjectOf<KeyStorage>());
    EXPECT_EQ(back->m_iKeyNum, 4);
    EXPECT_EQ(back->m_strName, "Gate");
    EXPECT_TRUE(back->m_ObjectList.empty());
    // The lever is named again by its holder, which takes it; the door stays
    // the archive's and goes with it (the leak checker watches).
    std::unique_ptr<ObjectHolder> hb(in.ReadObjectOf<ObjectHolder>());
    ASSERT_NE(hb->m_pObject, nullptr);
    EXPECT_EQ(hb->m_pObject->m_strSpecialName, "Lever");
    std::unique_ptr<Object> owned(hb->m_pObject);
}

}  // namespace

namespace {

// `depth` crates, each inside the one before.
Bytes NestedCrates(int depth) {
    Crate outer;
    Crate* at = &outer;
    for (int i = 1; i < depth; ++i) {
        at->contents.push_back(std::make_unique<Crate>());
        at = static_cast<Crate*>(at->contents.back().get());
    }
    qv::Archive out;
    out.WriteObject(&outer);
    return out.TakeBytes();
}

TEST(ArchiveErrors, ObjectsNestedPastTheLimitAreRefusedBeforeTheStackRunsOut) {
    {
        Bytes b = NestedCrates(qv::Archive::kMaxNesting);
        qv::Archive in(b);
        std::unique_ptr<Crate> c(in.ReadObjectOf<Crate>());
        EXPECT_EQ(in.Remaining(), 0u);
    }
    Bytes b = NestedCrates(qv::Archive::kMaxNesting + 1);
    qv::Archive in(b, "deep.lnd");
    try {
        delete in.ReadObject();
        ADD_FAILURE() << "read without error";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::Generic);
        EXPECT_NE(std::string(e.what()).find("deep.lnd"), std::string::npos) << e.what();
    }
}

}  // namespace
