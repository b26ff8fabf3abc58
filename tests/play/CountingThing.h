#pragma once
// A thing for the tests of play and of the frame: it counts how it is worked
// and used, and accepts anyone.

#include <memory>
#include <string>
#include <vector>

#include "world/MapFixture.h"
#include "world/Object.h"

namespace play_test {

// A thing that counts how it is worked and used, and accepts anyone.
class Thing : public Object {
public:
    explicit Thing(const std::string& name = "Thing", int type = 0) : Object(name), m_type(type) {
        ++live;
    }
    ~Thing() override { --live; }
    Thing(const Thing&) = delete;
    Thing& operator=(const Thing&) = delete;
    static inline int live = 0;  // things in existence
    int Type() override { return m_type; }
    int CanBeUsedBy(Player*) override { return 1; }
    int Activate(int*, Player*) override { return ++activations, activateAnswer; }
    int Edit() override { return ++edits, editAnswer; }
    int Use(Player*, Object* target) override {
        usedOn = target;
        return ++uses, useAnswer;
    }
    Object* Clone() override {
        auto* copy = new Thing(m_strSpecialName, m_type);
        copy->m_iBulkNum = m_iBulkNum;
        copy->m_bStackable = m_bStackable;
        return copy;
    }
    int m_type;
    int activations = 0;
    int activateAnswer = 1;
    int edits = 0;
    int editAnswer = 0;
    int uses = 0;
    int useAnswer = 0;
    Object* usedOn = nullptr;
};

// The position (dx, dy) from p.
inline Position Beside(const Position& p, int dx, int dy) {
    return {p.x + dx, p.y + dy, 0};
}

// A `T` drawn with the test's `image`, its light sampled as its picture says.
template <class T = Thing>
T* Pictured(CDDObject* image) {
    auto* t = new maptest::Pictured<T>();
    t->image = image;
    t->m_iLightSampling = 2;
    return t;
}

// A stack of `count` arrows, kept in `kept`.
inline Thing* KeptStack(std::vector<std::unique_ptr<Object>>& kept, int count) {
    kept.push_back(std::make_unique<Thing>("Arrows"));
    auto* t = static_cast<Thing*>(kept.back().get());
    t->m_bStackable = 1;
    t->m_iBulkNum = count;
    return t;
}

}  // namespace play_test
