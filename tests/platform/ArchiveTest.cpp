#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Archive.h"

namespace {

// A small stored class with one integer, used to check the record framing.
class Probe : public qv::Persistent {
    QV_DECLARE_CLASS(Probe)
    int32_t value = 0;
    void Serialize(qv::Archive& ar) override { ar.Exchange(value); }
};
QV_IMPLEMENT_SERIAL(Probe, qv::Persistent, 3, false)

// A versioned class on Probe that notes the schemas the archive hands it.
class ProbeChild : public Probe {
    QV_DECLARE_CLASS(ProbeChild)
public:
    std::unique_ptr<Probe> inner;
    std::vector<uint32_t> schemas;  // own, own asked again, base's
    void Serialize(qv::Archive& ar) override {
        if (ar.IsLoading()) {
            schemas.push_back(ar.GetObjectSchema());
            schemas.push_back(ar.GetObjectSchema());
        }
        ar.SerializeClass(&Probe::classInfo);
        if (ar.IsLoading()) schemas.push_back(ar.GetObjectSchema());
        Probe::Serialize(ar);
        if (ar.IsStoring())
            ar.WriteObject(inner.get());
        else
            inner.reset(ar.ReadObjectOf<Probe>());
    }
};
QV_IMPLEMENT_SERIAL(ProbeChild, Probe, 7, true)

using Bytes = std::vector<uint8_t>;

TEST(Archive, StringPrefixesHaveOneThreeAndSevenBytes) {
    for (size_t len : {0u, 254u, 255u, 65533u, 65534u, 70000u}) {
        qv::Archive out;
        out.WriteString(std::string(len, 'a'));
        const Bytes& b = out.Bytes();
        size_t prefix = len < 255 ? 1 : len < 65534 ? 3 : 7;
        ASSERT_EQ(b.size(), prefix + len) << len;
        if (prefix == 1) {
            EXPECT_EQ(b[0], len);
        } else if (prefix == 3) {
            EXPECT_EQ(Bytes(b.begin(), b.begin() + 3),
                      (Bytes{0xFF, uint8_t(len), uint8_t(len >> 8)}));
        } else {
            EXPECT_EQ(
                Bytes(b.begin(), b.begin() + 7),
                (Bytes{0xFF, 0xFF, 0xFF, uint8_t(len), uint8_t(len >> 8), uint8_t(len >> 16), 0}));
        }
        qv::Archive in(b);
        EXPECT_EQ(in.ReadString().size(), len);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, BytesAskedForMidwayAndTakenLeaveTheArchiveWritingOn) {
    qv::Archive out;
    out.WriteWord(0x0102);
    out.WriteString("ab");
    EXPECT_EQ(out.Bytes(), (Bytes{0x02, 0x01, 2, 'a', 'b'}));
    std::vector<uint8_t> block(300, 0x5A);
    out.Write(block.data(), block.size());
    out.WriteDWord(0x0A0B0C0D);
    Bytes want{0x02, 0x01, 2, 'a', 'b'};
    want.insert(want.end(), block.begin(), block.end());
    want.insert(want.end(), {0x0D, 0x0C, 0x0B, 0x0A});
    EXPECT_EQ(out.Bytes(), want);
    EXPECT_EQ(out.TakeBytes(), want);
    out.WriteByte(7);
    EXPECT_EQ(out.Bytes(), Bytes{7});
}

TEST(Archive, AShortStringReadsWholeOrFailsWithoutReadingPastTheEnd) {
    {
        const Bytes b{3, 'a', 'b', 'c', 0, 1, 'z'};
        qv::Archive in(b);
        EXPECT_EQ(in.ReadString(), "abc");
        EXPECT_EQ(in.ReadString(), "");
        EXPECT_EQ(in.ReadString(), "z");
        EXPECT_EQ(in.Remaining(), 0u);
    }
    Bytes longest{254};
    longest.insert(longest.end(), 254, 'q');
    qv::Archive whole(longest);
    EXPECT_EQ(whole.ReadString(), std::string(254, 'q'));
    // One byte short of its length, or nothing at all.
    for (const Bytes& b : {Bytes{3, 'a', 'b'}, Bytes{1}, Bytes{}}) {
        qv::Archive in(b);
        try {
            in.ReadString();
            ADD_FAILURE() << b.size() << " bytes read as a string";
        } catch (const qv::ArchiveError& e) {
            EXPECT_EQ(e.cause,
                      b.empty() ? qv::ArchiveError::EndOfFile : qv::ArchiveError::BadString);
        }
    }
}

TEST(Archive, NewClassThenClassTagThenBackReference) {
    Probe a, b;
    a.value = 5;
    b.value = -2;
    qv::Archive out;
    out.WriteObject(&a);
    out.WriteObject(&b);
    out.WriteObject(&a);
    out.WriteObject(nullptr);
    Bytes expect = {0xFF, 0xFF, 3,    0,    5,    0,    'P', 'r',
                    'o',  'b',  'e',  5,    0,    0,    0,  // class 1, object 2
                    0x01, 0x80, 0xFE, 0xFF, 0xFF, 0xFF,     // object 3
                    0x02, 0x00,                             // a again
                    0x00, 0x00};
    EXPECT_EQ(out.Bytes(), expect);

    qv::Archive in(expect);
    std::unique_ptr<qv::Persistent> ra(in.ReadObject());
    std::unique_ptr<qv::Persistent> rb(in.ReadObject());
    EXPECT_EQ(in.ReadObjectUnowned(), ra.get());
    EXPECT_EQ(in.ReadObject(), nullptr);
    EXPECT_EQ(static_cast<Probe*>(ra.get())->value, 5);
    EXPECT_EQ(static_cast<Probe*>(rb.get())->value, -2);
}

TEST(Archive, AnObjectWrittenAgainNamesItsOwnNumberHoweverManyCameBetween) {
    // Rows at the first growth of the names' table, and past the 16-bit names.
    for (size_t objects : {size_t{1}, size_t{31}, size_t{32}, size_t{33}, size_t{0x7FFF + 10}}) {
        SCOPED_TRACE(objects);
        std::vector<Probe> probes(objects);
        qv::Archive out;
        for (size_t i = 0; i < objects; ++i) {
            probes[i].value = int32_t(i);
            out.WriteObject(&probes[i]);
        }
        for (size_t i = objects; i-- > 0;) out.WriteObject(&probes[i]);
        const Bytes bytes = out.TakeBytes();
        EXPECT_EQ(Bytes(bytes.end() - 2, bytes.end()), (Bytes{0x02, 0x00}));  // the first object
        qv::Archive in(bytes);
        std::vector<std::unique_ptr<qv::Persistent>> read;
        for (size_t i = 0; i < objects; ++i) read.emplace_back(in.ReadObject());
        for (size_t i = objects; i-- > 0;) {
            ASSERT_EQ(in.ReadObjectUnowned(), read[i].get()) << i;
            EXPECT_EQ(static_cast<Probe*>(read[i].get())->value, int32_t(i));
        }
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, NumbersAreLittleEndianWhateverTheHost) {
    qv::Archive out;
    out.WriteByte(0xA5);
    out.WriteWord(0x1234);
    out.WriteShort(-2);
    out.WriteDWord(0x89ABCDEF);
    out.WriteInt(-300);
    out.WriteFloat(1.5f);   // 0x3FC00000
    out.WriteDouble(-2.0);  // 0xC000000000000000
    const uint8_t block[3] = {7, 8, 9};
    out.Write(block, 3);
    out.WriteCount(0xFFFE);  // the largest short count
    out.WriteCount(0xFFFF);  // the smallest long one
    Bytes expect = {0xA5, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0xD4, 0xFE, 0xFF,
                    0xFF, 0x00, 0x00, 0xC0, 0x3F, 0,    0,    0,    0,    0,    0,    0,
                    0xC0, 7,    8,    9,    0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    EXPECT_EQ(out.Bytes(), expect);

    qv::Archive in(expect);
    EXPECT_EQ(in.ReadByte(), 0xA5);
    EXPECT_EQ(in.ReadWord(), 0x1234);
    EXPECT_EQ(in.ReadShort(), -2);
    EXPECT_EQ(in.ReadDWord(), 0x89ABCDEFu);
    EXPECT_EQ(in.ReadInt(), -300);
    EXPECT_EQ(in.ReadFloat(), 1.5f);
    EXPECT_EQ(in.ReadDouble(), -2.0);
    uint8_t back[3];
    in.Read(back, 3);
    EXPECT_EQ(back[2], 9);
    // A count is checked against the bytes left; give it some.
    Bytes counts = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    counts.resize(counts.size() + 0xFFFF);
    qv::Archive in2(counts);
    EXPECT_EQ(in2.ReadCount(), 0xFFFEu);
    EXPECT_EQ(in2.ReadCount(), 0xFFFFu);
}

TEST(Archive, TheBaseClassRecordAndTheSchemaAskedOnce) {
    ProbeChild c;
    c.value = 9;
    c.inner = std::make_unique<Probe>();
    c.inner->value = 1;
    qv::Archive out;
    out.WriteObject(&c);
    Bytes expect = {0xFF, 0xFF, 7,   0,   10,  0, 'P', 'r', 'o', 'b', 'e',
                    'C',  'h',  'i', 'l', 'd',                              // class 1, object 2
                    0xFF, 0xFF, 3,   0,   5,   0, 'P', 'r', 'o', 'b', 'e',  // class 3
                    9,    0,    0,   0,                                     // the base's field
                    0x03, 0x80, 1,   0,   0,   0};                          // object 4
    EXPECT_EQ(out.Bytes(), expect);

    expect[2] = 5;  // an older schema of the versioned class
    qv::Archive in(expect);
    std::unique_ptr<ProbeChild> back(in.ReadObjectOf<ProbeChild>());
    EXPECT_EQ(back->schemas, (std::vector<uint32_t>{5, 0xFFFFFFFF, 3}));
    EXPECT_EQ(back->value, 9);
    ASSERT_NE(back->inner, nullptr);
    EXPECT_EQ(back->inner->value, 1);
    EXPECT_EQ(in.GetObjectSchema(), 0xFFFFFFFFu) << "nothing is about to be read";
}

TEST(Archive, AnObjectKeptTwiceIsRefused) {
    // A file naming one object from two places that each keep it would end in
    // a double delete: the second owning read is refused.
    Bytes twice = {0xFF, 0xFF, 3, 0, 5, 0, 'P', 'r', 'o', 'b', 'e', 5, 0, 0, 0, 0x02, 0x00};
    qv::Archive in(twice);
    std::unique_ptr<qv::Persistent> first(in.ReadObject());
    try {
        in.ReadObject();
        ADD_FAILURE() << "a second owner was accepted";
    } catch (const qv::ArchiveError& err) {
        EXPECT_EQ(err.cause, qv::ArchiveError::BadIndex);
    }

    // Read first without ownership, the object stays the archive's until an
    // owning read claims it; one claim is allowed, and nothing leaks.
    qv::Archive in2(twice);
    qv::Persistent* named = in2.ReadObjectUnowned();
    std::unique_ptr<qv::Persistent> owner(in2.ReadObject());
    EXPECT_EQ(owner.get(), named);

    // Never claimed: the archive deletes it.
    qv::Archive in3(twice);
    in3.ReadObjectUnowned();
    EXPECT_NE(in3.ReadObjectUnowned(), nullptr);
}

}  // namespace

namespace {

TEST(ArchiveDeathTest, TwoClassesUnderOneNameStopTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static const qv::RuntimeClass impostor = {"Probe", 3, false, nullptr,
                                              &qv::Persistent::classInfo};
    qv::RuntimeClass::Register(&Probe::classInfo);  // the same class again is harmless
    EXPECT_EQ(qv::RuntimeClass::Find("Probe"), &Probe::classInfo);
    EXPECT_DEATH(qv::RuntimeClass::Register(&impostor), "two classes registered as 'Probe'");
}

}  // namespace
