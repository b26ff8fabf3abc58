#pragma once
// The archive: the byte format of every stored file (worlds, lands, saved
// games, the players file, network files).
//
// Little-endian integers and floats; strings with a 1-, 3- or 7-byte length
// prefix; object references as 16-bit tags (null, new class with schema and
// name, class tag, back-reference, and a 32-bit form for indices past 0x7FFE),
// classes and objects counted together from 1; object-list counts as a 16-bit
// word or 0xFFFF and a 32-bit count.
//
// Loading never trusts the file: every length, count and index is checked
// against what is left or what has been read, objects may nest only so deep
// (the reader recurses), and a fault raises ArchiveError naming the file. An object whose own data
// fails to load is deleted before the error leaves ReadObject; objects it had already adopted go
// with it.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Persistent.h"

namespace qv {

// The storing archive's numbers of what it has written, by address: one flat
// open-addressed table (a save names tens of thousands of objects, and a
// table of nodes would make and free one for each). Numbers start at 1, so 0
// marks a free slot.
class StoredIndex {
public:
    // The number stored for p; 0 when it has none.
    uint32_t Find(const void* p) const {
        if (m_slots.empty()) return 0;
        for (size_t i = SlotOf(p);; i = (i + 1) & m_mask)
            if (m_slots[i].key == p || m_slots[i].number == 0) return m_slots[i].number;
    }
    // Enters p, which has no number yet, under `number` (not 0).
    void Add(const void* p, uint32_t number);
    // Room for n entries in all without growing.
    void Reserve(size_t n);
    size_t Size() const { return m_count; }

private:
    struct Slot {
        const void* key = nullptr;
        uint32_t number = 0;
    };
    // Puts p in the first free slot from its own (the table has room).
    void Put(const void* p, uint32_t number);
    size_t SlotOf(const void* p) const {
        const auto bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
        return static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & m_mask;
    }
    std::vector<Slot> m_slots;  // a power of two long, at most half full
    size_t m_mask = 0;
    size_t m_count = 0;
};

class ArchiveError : public std::runtime_error {
public:
    enum Cause { EndOfFile, BadIndex, BadClass, BadSchema, BadString, BadCount, Generic };
    ArchiveError(Cause cause, const std::string& file, const std::string& what);
    Cause cause;
    std::string file;
};

class Archive {
public:
    enum Mode { Store, Load };
    // Far deeper than any group tree or container in a world, and shallow
    // enough that reading it cannot run out of stack.
    static constexpr int kMaxNesting = 256;

    // A storing archive that collects its bytes in memory.
    explicit Archive(std::string fileName = {});
    // A loading archive over bytes held by the caller for the archive's life.
    Archive(const uint8_t* data, size_t size, std::string fileName = {});
    explicit Archive(const std::vector<uint8_t>& bytes, std::string fileName = {})
        : Archive(bytes.data(), bytes.size(), std::move(fileName)) {}
    // The bytes must outlive the archive: a temporary would not.
    Archive(std::vector<uint8_t>&&, std::string = {}) = delete;

    // Deletes the objects read with ReadObjectUnowned that nobody claimed, the
    // last read first: a group read later may have joined one read earlier, and
    // leaves it as it goes.
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const { return m_mode == Store; }
    bool IsLoading() const { return m_mode == Load; }
    const std::string& FileName() const { return m_fileName; }

    // The bytes written so far (storing).
    const std::vector<uint8_t>& Bytes() const {
        m_out.resize(m_used);
        return m_out;
    }
    std::vector<uint8_t> TakeBytes() {
        m_out.resize(m_used);
        m_used = 0;
        return std::move(m_out);
    }
    // Room made at once for n bytes in all (storing), so that a large record
    // is not copied each time it outgrows its buffer.
    void Reserve(size_t n) {
        if (n > m_out.size()) m_out.resize(n);
    }
    // Bytes not yet read (loading).
    size_t Remaining() const { return m_size - m_pos; }

    // Raw blocks, as they lie in memory.
    void Write(const void* data, size_t n);
    void Read(void* data, size_t n);

    void WriteByte(uint8_t v) { Append(&v, 1); }
    void WriteWord(uint16_t v) {
        const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        Append(b, 2);
    }
    void WriteDWord(uint32_t v) {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        Append(b, 4);
    }
    void WriteInt(int32_t v) { WriteDWord(static_cast<uint32_t>(v)); }
    void WriteShort(int16_t v) { WriteWord(static_cast<uint16_t>(v)); }
    void WriteFloat(float v);
    void WriteDouble(double v);
    uint8_t ReadByte() {
        const uint8_t* p = Take(1);
        return p[0];
    }
    uint16_t ReadWord() {
        const uint8_t* p = Take(2);
        return uint16_t(p[0] | (p[1] << 8));
    }
    uint32_t ReadDWord() {
        const uint8_t* p = Take(4);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    int32_t ReadInt() { return static_cast<int32_t>(ReadDWord()); }
    int16_t ReadShort() { return static_cast<int16_t>(ReadWord()); }
    float ReadFloat();
    double ReadDouble();

    // Stores or loads one integer field, as a class's Serialize does.
    void Exchange(int32_t& v) { IsStoring() ? WriteInt(v) : void(v = ReadInt()); }
    void Exchange(uint32_t& v) { IsStoring() ? WriteDWord(v) : void(v = ReadDWord()); }
    void Exchange(int16_t& v) { IsStoring() ? WriteShort(v) : void(v = ReadShort()); }
    void Exchange(uint16_t& v) { IsStoring() ? WriteWord(v) : void(v = ReadWord()); }
    void Exchange(uint8_t& v) { IsStoring() ? WriteByte(v) : void(v = ReadByte()); }
    void Exchange(double& v) { IsStoring() ? WriteDouble(v) : void(v = ReadDouble()); }
    void Exchange(float& v) { IsStoring() ? WriteFloat(v) : void(v = ReadFloat()); }
    void Exchange(std::string& v) { IsStoring() ? WriteString(v) : void(v = ReadString()); }

    void WriteString(const std::string& s);
    std::string ReadString() {
        // A short string that lies whole within the bytes left is read here;
        // anything else (a longer length form, or a fault) takes the checked
        // path from the same place.
        if (m_pos < m_size) {
            const size_t n = m_data[m_pos];
            if (n < 0xFF && n < m_size - m_pos) {
                const char* from = reinterpret_cast<const char*>(m_data + m_pos + 1);
                m_pos += 1 + n;
                return std::string(from, n);
            }
        }
        return ReadLongString();
    }

    // Counts of object lists.
    void WriteCount(size_t n);
    size_t ReadCount();

    // Object references. ReadObject checks the object is of `expected` (or a
    // class derived from it) when `expected` is given; the caller owns a new
    // object it gets back. A back-reference to an object that an earlier
    // ReadObject already handed out is refused: it would have two owners.
    void WriteObject(const Persistent* obj);
    Persistent* ReadObject(const RuntimeClass* expected = nullptr);
    // As ReadObject, and refuses an object of `refused` (or a class derived
    // from it) before it is made, so that its own reading never runs.
    Persistent* ReadObject(const RuntimeClass* expected, const RuntimeClass* refused);
    // Reads an object reference that the caller does not keep (a list that
    // only names objects stored elsewhere). An object first made by this read
    // stays the archive's until a later ReadObject names it again; otherwise it
    // is deleted with the archive.
    Persistent* ReadObjectUnowned(const RuntimeClass* expected = nullptr,
                                  const RuntimeClass* refused = nullptr);
    template <class T>
    T* ReadObjectOf() {
        return static_cast<T*>(ReadObject(&T::classInfo));
    }

    // A class reference without an object (a class's base in its Serialize).
    // Loading wants exactly that class: a derived class's schema would drive
    // the base's conversions.
    void SerializeClass(const RuntimeClass* cls);
    // The stored schema of the class whose data is about to be read; a second
    // call answers 0xFFFFFFFF.
    uint32_t GetObjectSchema();

    [[noreturn]] void Fail(ArchiveError::Cause cause, const std::string& what) const;

private:
    void Need(size_t n);
    std::string ReadLongString();
    // The fixed-size reads and writes, kept inline: one comparison each.
    const uint8_t* Take(size_t n) {
        if (n > m_size - m_pos) Need(n);  // fails: past the end, or not loading
        const uint8_t* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    void Append(const uint8_t* p, size_t n) {
        if (m_mode != Store) WrongWrite();
        if (n > m_out.size() - m_used) Grow(n);
        uint8_t* to = m_out.data() + m_used;
        for (size_t i = 0; i < n; ++i) to[i] = p[i];
        m_used += n;
    }
    // Room for n more bytes past m_used, the buffer at least doubled: a
    // write then only copies its bytes.
    void Grow(size_t n);
    [[noreturn]] void WrongWrite() const;
    void WriteClass(const RuntimeClass* cls);
    // Reads a class reference; answers null for a null tag. For a back-reference
    // to an object, stores it in *objectRef and answers null.
    const RuntimeClass* ReadClass(const RuntimeClass* expected, const RuntimeClass* refused,
                                  uint32_t* schema, Persistent** objectRef, bool* isNull);
    void WriteIndexTag(uint32_t index, bool isClass);
    // Sets *created to the load index of an object this read made.
    Persistent* ReadObjectImpl(const RuntimeClass* expected, const RuntimeClass* refused,
                               bool claim, size_t* created);

    Mode m_mode;
    std::string m_fileName;
    // The bytes stored are the first m_used; the rest is room already made,
    // cut off when the bytes are asked for.
    mutable std::vector<uint8_t> m_out;
    size_t m_used = 0;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;

    uint32_t m_mapCount = 1;  // next index; classes and objects share the count
    StoredIndex m_storeMap;
    struct LoadEntry {
        const RuntimeClass* cls;  // set for a class entry
        Persistent* obj;          // set for an object entry
    };
    // The class stored last, so that a run of objects of one class looks it
    // up once.
    const RuntimeClass* m_lastClass = nullptr;
    uint32_t m_lastClassIndex = 0;
    // The stored schema of the class read last, for the same reason.
    const RuntimeClass* m_lastLoadClass = nullptr;
    uint32_t m_lastLoadSchema = 0;
    std::vector<LoadEntry> m_loadArray;  // index 0 unused
    std::unordered_map<const RuntimeClass*, uint32_t> m_loadSchemas;
    uint32_t m_objectSchema = 0xFFFFFFFF;
    std::unordered_map<Persistent*, size_t> m_unowned;  // the archive's, by load index
    std::vector<size_t> m_claims;  // load indices of objects claimed from the archive
    int m_depth = 0;               // objects being read inside one another
};

}  // namespace qv

// The Serialize of a class without stored fields of its own: its record is
// the base's record under its own class and schema.
#define QV_SERIALIZE_BASE_ONLY(Name, Base)        \
    void Name::Serialize(qv::Archive& ar) {       \
        if (ar.IsLoading()) ar.GetObjectSchema(); \
        ar.SerializeClass(&Base::classInfo);      \
        Base::Serialize(ar);                      \
    }
