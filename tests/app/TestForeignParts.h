#pragma once

#include "foundation/RCShdPtr.h"
#include "host/selection/SnParts.h"

#include <ostream>

namespace VoTest {

// Parts of another class than the ones under test, which every operation must treat as foreign.
class TestForeignParts : public Vo::SnParts {
public:
    Vo::SnParts *clone() const override { return new TestForeignParts(); }
    bool isEqual(const Vo::RCShdPtr<Vo::SnParts const> &) const override { return true; }
    bool contains(const Vo::RCShdPtr<Vo::SnParts const> &) const override { return true; }
    bool isEmpty() const override { return true; }
    int getSize() const override { return 0; }
    void clear() override {}
    void replaceAllParts(const Vo::RCShdPtr<Vo::SnParts const> &) override {}
    bool unionWith(const Vo::RCShdPtr<Vo::SnParts const> &) override { return true; }
    bool differenceWith(const Vo::RCShdPtr<Vo::SnParts const> &) override { return true; }
    bool xorWith(const Vo::RCShdPtr<Vo::SnParts const> &) override { return true; }
    void dump(std::ostream &) const override {}
};

} // namespace VoTest
