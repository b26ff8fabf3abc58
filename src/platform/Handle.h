#pragma once
// Weak references between game objects.
//
// A reference that may outlive what it points at (a queued event's target, an
// opponent, a leader, the hover and drag holders) is held as a Handle: it reads
// null as soon as the object it names has been destroyed. The object carries a
// small shared block that its destructor clears; handles share that block.

#include <memory>
#include <type_traits>

namespace qv {

class Trackable {
public:
    Trackable() = default;
    // A copy is a different object: it gets its own block when first tracked.
    Trackable(const Trackable&) : m_block() {}
    Trackable& operator=(const Trackable&) { return *this; }
    virtual ~Trackable() {
        if (m_block) m_block->target = nullptr;
    }

    struct Block {
        Trackable* target;
    };

    const std::shared_ptr<Block>& TrackBlock() const {
        if (!m_block) m_block = std::make_shared<Block>(Block{const_cast<Trackable*>(this)});
        return m_block;
    }

private:
    mutable std::shared_ptr<Block> m_block;
};

template <class T>
class Handle {
public:
    Handle() = default;
    Handle(std::nullptr_t) {}
    Handle(T* p) { Reset(p); }

    Handle& operator=(T* p) {
        Reset(p);
        return *this;
    }
    Handle& operator=(std::nullptr_t) {
        m_block.reset();
        return *this;
    }
    void Reset(T* p = nullptr) {
        if (p)
            m_block = static_cast<const Trackable*>(p)->TrackBlock();
        else
            m_block.reset();
    }

    T* Get() const { return m_block ? static_cast<T*>(m_block->target) : nullptr; }
    T* operator->() const { return Get(); }
    T& operator*() const { return *Get(); }
    explicit operator bool() const { return m_block && m_block->target; }
    // The target seen as B, a class between Trackable and T, for code that
    // knows T only by name (a lower layer holding a handle to a class above
    // it reads the target through a base it knows).
    template <class B>
    B* As() const {
        return m_block ? static_cast<B*>(m_block->target) : nullptr;
    }
    operator T*() const { return Get(); }

    // Compares with a pointer to the named class or one derived from it; an
    // exact match, so that it is not confused with comparing the converted
    // pointer.
    template <class U>
    requires std::is_convertible_v<U*, const T*>
    friend bool operator==(const Handle& a, U* b) { return a.Get() == static_cast<const T*>(b); }

private:
    std::shared_ptr<Trackable::Block> m_block;
};

}  // namespace qv
