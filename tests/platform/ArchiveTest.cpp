#include <gtest/gtest.h>

#include <memory>

#include "platform/Archive.h"

namespace {

// A small stored class with one integer, used to check the record framing.
class Probe : public qv::Persistent {
    QV_DECLARE_CLASS(Probe)
    int32_t value = 0;
    void Serialize(qv::Archive& ar) override { ar.Exchange(value); }
};
QV_IMPLEMENT_SERIAL(Probe, qv::Persistent, 3, false)

class ProbeChild : public Probe {
    QV_DECLARE_CLASS(ProbeChild)
    std::unique_ptr<Probe> inner;
    void Serialize(qv::Archive& ar) override {
        if (ar.IsLoading()) ar.GetObjectSchema();
        ar.SerializeClass(&Probe::classInfo);
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
