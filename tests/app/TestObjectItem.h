#pragma once

#include "TestFaults.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnItem.h"

namespace VoTest {

// An application's own item for a graph object in its selection: its comparison and its copy are
// calls into the application, counted by the fault switch and raising when it is armed. Holds the
// object as its base does; never equal to an item of another class.
class TestObjectItem : public Vo::PiGraphObjectSnItemConst {
public:
    explicit TestObjectItem(const Vo::RCShdPtr<Vo::PiGraphObject const> &object)
        : Vo::PiGraphObjectSnItemConst(object) {}

    TestObjectItem *clone() const override {
        TestFaults::count();
        return new TestObjectItem(*this);
    }
    bool isEqualImp(const Vo::SnItem &other) const override {
        TestFaults::count();
        return Vo::PiGraphObjectSnItemConst::isEqualImp(other);
    }

protected:
    TestObjectItem(const TestObjectItem &other) = default;
    ~TestObjectItem() noexcept override = default;
};

} // namespace VoTest
