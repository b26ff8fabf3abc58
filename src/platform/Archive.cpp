#include "platform/Archive.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qv {

namespace {
constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint32_t kNoSchema = 0xFFFFFFFFu;

const char* CauseText(ArchiveError::Cause c) {
    switch (c) {
        case ArchiveError::EndOfFile:
            return "unexpected end of file";
        case ArchiveError::BadIndex:
            return "bad object index";
        case ArchiveError::BadClass:
            return "bad class";
        case ArchiveError::BadSchema:
            return "unsupported schema";
        case ArchiveError::BadString:
            return "bad string";
        case ArchiveError::BadCount:
            return "bad count";
        default:
            return "archive error";
    }
}
}  // namespace

ArchiveError::ArchiveError(Cause c, const std::string& f, const std::string& w)
    : std::runtime_error((f.empty() ? std::string("archive") : f) + ": " + CauseText(c) +
                         (w.empty() ? "" : ": " + w)),
      cause(c),
      file(f) {}

void StoredIndex::Add(const void* p, uint32_t number) {
    Reserve(m_count + 1);
    Put(p, number);
    ++m_count;
}

void StoredIndex::Reserve(size_t n) {
    if (2 * n <= m_slots.size()) return;
    size_t size = 64;
    while (size < 2 * n) size *= 2;
    std::vector<Slot> old(size);
    old.swap(m_slots);
    m_mask = size - 1;
    for (const Slot& s : old)
        if (s.number != 0) Put(s.key, s.number);
}

void StoredIndex::Put(const void* p, uint32_t number) {
    size_t i = SlotOf(p);
    while (m_slots[i].number != 0) i = (i + 1) & m_mask;
    m_slots[i] = {p, number};
}

Archive::Archive(std::string fileName) : m_mode(Store), m_fileName(std::move(fileName)) {}

Archive::Archive(const uint8_t* data, size_t size, std::string fileName)
    : m_mode(Load), m_fileName(std::move(fileName)), m_data(data), m_size(size) {
    m_loadArray.push_back({nullptr, nullptr});
}

void Archive::Fail(ArchiveError::Cause cause, const std::string& what) const {
    throw ArchiveError(cause, m_fileName, what);
}

void Archive::Need(size_t n) {
    if (m_mode != Load) Fail(ArchiveError::Generic, "reading from a storing archive");
    if (n > m_size - m_pos)
        Fail(ArchiveError::EndOfFile, std::to_string(n) + " bytes wanted at offset " +
                                          std::to_string(m_pos) + ", " +
                                          std::to_string(m_size - m_pos) + " left");
}

void Archive::WrongWrite() const {
    Fail(ArchiveError::Generic, "writing to a loading archive");
}

void Archive::Write(const void* data, size_t n) {
    if (m_mode != Store) WrongWrite();
    if (n == 0) return;
    if (n > m_out.size() - m_used) Grow(n);
    std::memcpy(m_out.data() + m_used, data, n);
    m_used += n;
}

void Archive::Grow(size_t n) {
    m_out.resize(std::max({m_used + n, 2 * m_out.size(), size_t{256}}));
}

void Archive::Read(void* data, size_t n) {
    Need(n);
    if (n) std::memcpy(data, m_data + m_pos, n);
    m_pos += n;
}

void Archive::WriteFloat(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    WriteDWord(bits);
}
void Archive::WriteDouble(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    WriteDWord(uint32_t(bits));
    WriteDWord(uint32_t(bits >> 32));
}

float Archive::ReadFloat() {
    uint32_t bits = ReadDWord();
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}
double Archive::ReadDouble() {
    uint64_t lo = ReadDWord();
    uint64_t hi = ReadDWord();
    uint64_t bits = lo | hi << 32;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

void Archive::WriteString(const std::string& s) {
    size_t n = s.size();
    if (n < 0xFF) {
        WriteByte(uint8_t(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord(uint16_t(n));
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteDWord(uint32_t(n));
    }
    Write(s.data(), n);
}

std::string Archive::ReadLongString() {
    size_t n = ReadByte();
    if (n == 0xFF) {
        uint16_t w = ReadWord();
        if (w == 0xFFFE) Fail(ArchiveError::BadString, "wide-character strings are not used");
        n = w == 0xFFFF ? ReadDWord() : w;
    }
    if (n > Remaining())
        Fail(ArchiveError::BadString, "length " + std::to_string(n) + " with " +
                                          std::to_string(Remaining()) + " bytes left");
    std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
    m_pos += n;
    return s;
}

void Archive::WriteCount(size_t n) {
    // So many objects are about to be named: room for them at once, grown by
    // doubling at the least, so that many short lists cost no more.
    m_storeMap.Reserve(m_storeMap.Size() + n);
    if (n < 0xFFFF) {
        WriteWord(uint16_t(n));
    } else {
        WriteWord(0xFFFF);
        WriteDWord(uint32_t(n));
    }
}

size_t Archive::ReadCount() {
    size_t n = ReadWord();
    if (n == 0xFFFF) n = ReadDWord();
    // Every element takes at least one byte, so a larger count cannot be true.
    if (n > Remaining())
        Fail(ArchiveError::BadCount,
             "count " + std::to_string(n) + " with " + std::to_string(Remaining()) + " bytes left");
    // Room for the objects about to be read, as far as the bytes left could
    // hold them (a stored object takes some eight bytes at the least).
    // Grown by doubling at the least, so that many short lists cost no more.
    const size_t want = m_loadArray.size() + std::min(n, Remaining() / 8);
    if (want > m_loadArray.capacity())
        m_loadArray.reserve(std::max(want, 2 * m_loadArray.capacity()));
    return n;
}

void Archive::WriteIndexTag(uint32_t index, bool isClass) {
    if (index < kBigObjectTag) {
        WriteWord(uint16_t(isClass ? (kClassTag | index) : index));
    } else {
        WriteWord(kBigObjectTag);
        WriteDWord(isClass ? (kBigClassTag | index) : index);
    }
}

void Archive::WriteClass(const RuntimeClass* cls) {
    if (cls == m_lastClass) {
        WriteIndexTag(m_lastClassIndex, true);
        return;
    }
    if (const uint32_t index = m_storeMap.Find(cls)) {
        m_lastClass = cls;
        m_lastClassIndex = index;
        WriteIndexTag(index, true);
        return;
    }
    size_t len = std::strlen(cls->name);
    WriteWord(kNewClassTag);
    WriteWord(uint16_t(cls->schema));
    WriteWord(uint16_t(len));
    Write(cls->name, len);
    m_storeMap.Add(cls, m_mapCount++);
}

void Archive::WriteObject(const Persistent* obj) {
    if (m_mode != Store) Fail(ArchiveError::Generic, "writing to a loading archive");
    if (!obj) {
        WriteWord(kNullTag);
        return;
    }
    if (const uint32_t index = m_storeMap.Find(obj)) {
        WriteIndexTag(index, false);
        return;
    }
    WriteClass(obj->GetRuntimeClass());
    m_storeMap.Add(obj, m_mapCount++);
    const_cast<Persistent*>(obj)->Serialize(*this);
}

const RuntimeClass* Archive::ReadClass(const RuntimeClass* expected, const RuntimeClass* refused,
                                       uint32_t* schema, Persistent** objectRef, bool* isNull) {
    *isNull = false;
    *objectRef = nullptr;
    uint16_t tag = ReadWord();
    if (tag == kNullTag) {
        *isNull = true;
        return nullptr;
    }
    const RuntimeClass* cls = nullptr;
    if (tag == kNewClassTag) {
        uint32_t storedSchema = ReadWord();
        uint16_t len = ReadWord();
        Need(len);
        std::string name(reinterpret_cast<const char*>(m_data + m_pos), len);
        m_pos += len;
        cls = RuntimeClass::Find(name);
        if (!cls) Fail(ArchiveError::BadClass, "unknown class '" + name + "'");
        if (storedSchema != cls->schema && !cls->versioned)
            Fail(ArchiveError::BadSchema, "class '" + name + "' stored with schema " +
                                              std::to_string(storedSchema) + ", expected " +
                                              std::to_string(cls->schema));
        m_loadArray.push_back({cls, nullptr});
        m_loadSchemas[cls] = storedSchema;
        m_lastLoadClass = cls;
        m_lastLoadSchema = storedSchema;
        *schema = storedSchema;
    } else {
        uint32_t full =
            tag == kBigObjectTag ? ReadDWord() : (uint32_t(tag & kClassTag) << 16) | (tag & 0x7FFF);
        uint32_t index = full & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size())
            Fail(ArchiveError::BadIndex, "index " + std::to_string(index) + " of " +
                                             std::to_string(m_loadArray.size() - 1) + " read");
        const LoadEntry& e = m_loadArray[index];
        if (full & kBigClassTag) {
            if (!e.cls)
                Fail(ArchiveError::BadIndex, "index " + std::to_string(index) + " is not a class");
            cls = e.cls;
            if (cls != m_lastLoadClass) {
                m_lastLoadClass = cls;
                m_lastLoadSchema = m_loadSchemas[cls];
            }
            *schema = m_lastLoadSchema;
        } else {
            if (!e.obj)
                Fail(ArchiveError::BadIndex,
                     "index " + std::to_string(index) + " is not an object");
            if ((expected && !e.obj->IsKindOf(expected)) || (refused && e.obj->IsKindOf(refused)))
                Fail(ArchiveError::BadClass,
                     std::string("a '") + e.obj->GetRuntimeClass()->name + "' where a '" +
                         (expected ? expected->name : "object") + "' belongs");
            *objectRef = e.obj;
            return nullptr;
        }
    }
    if ((expected && !cls->IsDerivedFrom(expected)) || (refused && cls->IsDerivedFrom(refused)))
        Fail(ArchiveError::BadClass, std::string("a '") + cls->name + "' where a '" +
                                         (expected ? expected->name : "object") + "' belongs");
    return cls;
}

Archive::~Archive() {
    std::vector<std::pair<size_t, Persistent*>> order;
    order.reserve(m_unowned.size());
    for (auto& [p, index] : m_unowned) order.emplace_back(index, p);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a > b; });
    for (auto& [index, p] : order) delete p;
}

Persistent* Archive::ReadObject(const RuntimeClass* expected) {
    size_t created = 0;
    return ReadObjectImpl(expected, nullptr, true, &created);
}

Persistent* Archive::ReadObject(const RuntimeClass* expected, const RuntimeClass* refused) {
    size_t created = 0;
    return ReadObjectImpl(expected, refused, true, &created);
}

Persistent* Archive::ReadObjectUnowned(const RuntimeClass* expected, const RuntimeClass* refused) {
    size_t created = 0;
    Persistent* p = ReadObjectImpl(expected, refused, false, &created);
    if (created) m_unowned.emplace(p, created);
    return p;
}

Persistent* Archive::ReadObjectImpl(const RuntimeClass* expected, const RuntimeClass* refused,
                                    bool claim, size_t* created) {
    uint32_t schema = kNoSchema;
    Persistent* ref = nullptr;
    bool isNull = false;
    const RuntimeClass* cls = ReadClass(expected, refused, &schema, &ref, &isNull);
    if (isNull) return nullptr;
    if (ref) {
        // Every object has one owner: a second owning read of the same object
        // (a crafted or damaged file) would end in a double delete.
        if (claim) {
            auto it = m_unowned.find(ref);
            if (it == m_unowned.end())
                Fail(ArchiveError::BadIndex, std::string("a '") + ref->GetRuntimeClass()->name +
                                                 "' already kept elsewhere in the file");
            m_claims.push_back(it->second);
            m_unowned.erase(it);
        }
        return ref;
    }
    if (m_depth >= kMaxNesting)
        Fail(ArchiveError::Generic,
             "objects nested more than " + std::to_string(kMaxNesting) + " deep");
    Persistent* obj = cls->CreateObject();
    if (!obj)
        Fail(ArchiveError::BadClass, std::string("class '") + cls->name + "' cannot be loaded");
    struct Nesting {
        int& depth;
        explicit Nesting(int& d) : depth(++d) {}
        ~Nesting() { --depth; }
    } nesting(m_depth);
    const size_t slot = m_loadArray.size();
    const size_t claimsBefore = m_claims.size();
    m_loadArray.push_back({nullptr, obj});
    m_objectSchema = schema;
    try {
        obj->Serialize(*this);
    } catch (...) {
        // The object goes, and with it what it had adopted, made inside it or
        // claimed from the archive: no later back-reference may reach them.
        // Objects the archive keeps stay.
        for (size_t i = slot; i < m_loadArray.size(); ++i)
            if (m_loadArray[i].obj && !m_unowned.count(m_loadArray[i].obj))
                m_loadArray[i].obj = nullptr;
        for (size_t i = claimsBefore; i < m_claims.size(); ++i)
            m_loadArray[m_claims[i]].obj = nullptr;
        m_claims.resize(claimsBefore);
        delete obj;
        throw;
    }
    m_objectSchema = kNoSchema;
    *created = slot;
    return obj;
}

void Archive::SerializeClass(const RuntimeClass* cls) {
    if (IsStoring()) {
        WriteClass(cls);
        return;
    }
    uint32_t schema = kNoSchema;
    Persistent* ref = nullptr;
    bool isNull = false;
    const RuntimeClass* got = ReadClass(cls, nullptr, &schema, &ref, &isNull);
    if (!got)
        Fail(ArchiveError::BadClass,
             std::string("no class record where '") + cls->name + "' belongs");
    if (got != cls)
        Fail(ArchiveError::BadClass,
             std::string("a '") + got->name + "' where the base '" + cls->name + "' belongs");
    m_objectSchema = schema;
}

uint32_t Archive::GetObjectSchema() {
    uint32_t s = m_objectSchema;
    m_objectSchema = kNoSchema;
    return s;
}

}  // namespace qv
