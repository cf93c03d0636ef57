#pragma once

#include "SeShape.h"
#include "TestFaults.h"

#include "foundation/Iterator.h"
#include "foundation/IteratorImp.h"
#include "foundation/RCPvtEngPtr.h"
#include "foundation/RCShdPtr.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace VoTest {

// The application's iterator engine over a list of shapes, as selectAllShapes walks it. Owns a
// share of each shape; every operation is counted by the fault switch and raises when armed.
class TestShapeIterator : public Vo::IteratorImp<Vo::RCShdPtr<Vo::SeShape>> {
public:
    using Shape = Vo::RCShdPtr<Vo::SeShape>;

    // An iterator at the first of the shapes.
    static Vo::Iterator<Shape> over(std::vector<Shape> shapes) {
        return Vo::Iterator<Shape>(
            Vo::RCPvtEngPtr<Vo::IteratorImp<Shape>>(new TestShapeIterator(std::move(shapes))));
    }

    const Shape &item() const override {
        TestFaults::count();
        return shapes[position];
    }
    Shape &item() override {
        TestFaults::count();
        return shapes[position];
    }
    void first() override { moveTo(0); }
    void last() override { moveTo(shapes.size() - 1); }
    void end() override { moveTo(shapes.size()); }
    bool atEnd() const override {
        TestFaults::count();
        return position == shapes.size();
    }
    bool atBegin() const override {
        TestFaults::count();
        return position == 0;
    }
    void next() override { moveTo(position + 1); }
    void previous() override { moveTo(position - 1); }
    int getCardinality() const override {
        TestFaults::count();
        return static_cast<int>(shapes.size());
    }
    TestShapeIterator *clone() const override {
        TestFaults::count();
        return new TestShapeIterator(*this);
    }

private:
    explicit TestShapeIterator(std::vector<Shape> list) : shapes(std::move(list)) {}
    TestShapeIterator(const TestShapeIterator &) = default;
    ~TestShapeIterator() override = default;

    void moveTo(std::size_t to) {
        TestFaults::count();
        position = to;
    }

    std::vector<Shape> shapes;
    std::size_t position = 0;
};

} // namespace VoTest
