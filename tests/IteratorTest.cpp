#include "foundation/Iterator.h"
#include "foundation/IteratorImp.h"
#include "foundation/RCPvtEngPtr.h"
#include "host/IteratorImpVector.h"
#include "host/RCExNullPtr.h"
#include "host/RCTypeName.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace Vo {
namespace IteratorTesting {

static_assert(std::is_same<std::iterator_traits<Iterator<int>>::iterator_category,
                           std::bidirectional_iterator_tag>::value,
              "standard algorithms see a bidirectional iterator");
static_assert(std::is_same<std::iterator_traits<Iterator<int>>::value_type, int>::value, "");
static_assert(std::is_same<std::iterator_traits<Iterator<int>>::reference, int &>::value, "");
static_assert(std::is_same<std::iterator_traits<Iterator<int>>::pointer, int *>::value, "");
static_assert(
    std::is_same<std::iterator_traits<Iterator<int>>::difference_type, std::ptrdiff_t>::value, "");

// What the engines of one test report: how many clones were asked for, how many engines live.
struct Tally {
    int clones = 0;
    int live = 0;
};

// An engine over a fixed vector that reports every clone; with failClone its clones are null.
class CountingEngine : public IteratorImp<int> {
public:
    CountingEngine(std::vector<int> items, Tally &record, bool failClone = false)
        : values(std::move(items)), tally(record), nullClone(failClone) {
        ++tally.live;
    }

    const int &item() const override { return values[position]; }
    int &item() override { return values[position]; }
    void first() override { position = 0; }
    void last() override { position = values.size() - 1; }
    void end() override { position = values.size(); }
    bool atEnd() const override { return position == values.size(); }
    bool atBegin() const override { return position == 0; }
    void next() override { ++position; }
    void previous() override { --position; }
    int getCardinality() const override { return static_cast<int>(values.size()); }
    CountingEngine *clone() const override {
        ++tally.clones;
        return nullClone ? nullptr : new CountingEngine(*this);
    }

private:
    CountingEngine(const CountingEngine &other)
        : IteratorImp<int>(other), values(other.values), position(other.position),
          tally(other.tally), nullClone(other.nullClone) {
        ++tally.live;
    }
    ~CountingEngine() override { --tally.live; }

    std::vector<int> values;
    std::size_t position = 0;
    Tally &tally;
    bool nullClone;
};

Iterator<int> makeCounting(Tally &tally, CountingEngine **engine = nullptr,
                           bool failClone = false) {
    auto *made = new CountingEngine({10, 20, 30}, tally, failClone);
    if (engine != nullptr) {
        *engine = made;
    }
    return Iterator<int>(RCPvtEngPtr<IteratorImp<int>>(made));
}

template <class Call> void expectNullEngineError(Call call) {
    try {
        call();
        ADD_FAILURE() << "no null-pointer error";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::IteratorImp<int>*");
    }
}

TEST(IteratorTest, NullIteratorRaisesNamingTheEnginePointer) {
    Iterator<int> null;
    const Iterator<int> &constNull = null;
    EXPECT_TRUE(null.isNull());
    expectNullEngineError([&] { null.next(); });
    expectNullEngineError([&] { ++null; });
    expectNullEngineError([&] { null--; });
    expectNullEngineError([&] { null.first(); });
    expectNullEngineError([&] { null.item(); });
    expectNullEngineError([&] { constNull.item(); });
    expectNullEngineError([&] { constNull.atEnd(); });
    expectNullEngineError([&] { constNull.getCardinality(); });

    Tally tally;
    Iterator<int> it = makeCounting(tally);
    it = null;
    EXPECT_TRUE(it.isNull());
    EXPECT_EQ(tally.live, 0);
}

TEST(IteratorTest, AdvancingACopyClonesOnceAndLeavesTheOriginal) {
    Tally tally;
    const Iterator<int> original = makeCounting(tally);
    Iterator<int> copy(original);
    EXPECT_EQ(tally.clones, 0);

    copy.next();
    EXPECT_EQ(tally.clones, 1);
    EXPECT_EQ(original.item(), 10);
    EXPECT_EQ(copy.item(), 20);

    ++copy;
    --copy;
    copy.last();
    EXPECT_EQ(tally.clones, 1);
    EXPECT_EQ(*copy, 30);
    EXPECT_EQ(tally.live, 2);
}

TEST(IteratorTest, ConstantReadsShareAndTheWritableReadClones) {
    Tally tally;
    Iterator<int> original = makeCounting(tally);
    Iterator<int> copy(original);
    const Iterator<int> &reader = copy;

    EXPECT_EQ(reader.item(), 10);
    EXPECT_EQ(*reader, 10);
    EXPECT_EQ(*reader.operator->(), 10);
    EXPECT_FALSE(reader.atEnd());
    EXPECT_TRUE(reader.atBegin());
    EXPECT_EQ(reader.getCardinality(), 3);
    EXPECT_EQ(tally.clones, 0);

    copy.item() = 11;
    EXPECT_EQ(tally.clones, 1);
    EXPECT_EQ(reader.item(), 11);
    EXPECT_EQ(original.item(), 10);
    EXPECT_TRUE(reader.atBegin());

    // The first iterator is now alone on its engine: writing through it clones nothing.
    *original = 12;
    EXPECT_EQ(tally.clones, 1);
}

TEST(IteratorTest, PostStepsReturnTheOldPositionOnAnotherEngine) {
    Tally tally;
    Iterator<int> it = makeCounting(tally);

    Iterator<int> old = it++;
    EXPECT_EQ(tally.clones, 1);
    EXPECT_EQ(old.item(), 10);
    EXPECT_EQ(it.item(), 20);
    EXPECT_EQ(tally.live, 2);

    ++it;
    ++old;
    EXPECT_EQ(tally.clones, 1);
    EXPECT_EQ(it.item(), 30);
    EXPECT_EQ(old.item(), 20);

    Iterator<int> back = it--;
    EXPECT_EQ(tally.clones, 2);
    EXPECT_EQ(back.item(), 30);
    EXPECT_EQ(it.item(), 20);
}

TEST(IteratorTest, AssigningTheSameEngineKeepsItAndItsCount) {
    Tally tally;
    CountingEngine *engine = nullptr;
    Iterator<int> it = makeCounting(tally, &engine);
    const Iterator<int> &self = it;
    it = self;
    EXPECT_EQ(tally.live, 1);
    EXPECT_EQ(engine->getRefCount(), 1);

    Iterator<int> copy(it);
    copy = it;
    EXPECT_EQ(engine->getRefCount(), 2);

    Iterator<int> other = makeCounting(tally);
    copy = other;
    EXPECT_EQ(engine->getRefCount(), 1);
    EXPECT_EQ(tally.live, 2);
    EXPECT_EQ(tally.clones, 0);
}

TEST(IteratorTest, NullCloneRaisesAndTheIteratorKeepsTheSharedEngine) {
    Tally tally;
    CountingEngine *engine = nullptr;
    const Iterator<int> original = makeCounting(tally, &engine, true);
    Iterator<int> copy(original);
    const Iterator<int> &reader = copy;

    expectNullEngineError([&] { ++copy; });
    expectNullEngineError([&] { copy++; });
    EXPECT_EQ(tally.clones, 2);
    EXPECT_EQ(engine->getRefCount(), 2);
    EXPECT_EQ(reader.item(), 10);
    EXPECT_EQ(original.item(), 10);
}

TEST(IteratorTest, VectorEngineWalksForwardAndBackWithinItsBounds) {
    auto items = std::make_shared<const std::vector<int>>(std::vector<int>{1, 2, 3});
    Iterator<int> it = IteratorImpVector<int>::makeIterator(items);
    EXPECT_TRUE(it.atBegin());
    EXPECT_EQ(it.getCardinality(), 3);

    std::vector<int> walked;
    for (Iterator<int> walk(it); !walk.atEnd(); walk.next()) {
        walked.push_back(walk.item());
    }
    EXPECT_EQ(walked, *items);
    EXPECT_EQ(it.item(), 1);

    it.next().next().next();
    EXPECT_TRUE(it.atEnd());
    it.next();
    it.previous();
    EXPECT_EQ(it.item(), 3);
    it.first().previous();
    EXPECT_TRUE(it.atBegin());
    EXPECT_EQ(it.item(), 1);
    it.last();
    EXPECT_EQ(it.item(), 3);
    it.end();
    EXPECT_TRUE(it.atEnd());
    EXPECT_FALSE(it.atBegin());
}

TEST(IteratorTest, VectorEngineNeverWritesTheSharedVector) {
    auto items = std::make_shared<const std::vector<int>>(std::vector<int>{1, 2});
    Iterator<int> it = IteratorImpVector<int>::makeIterator(items);
    it.item() = 7;
    EXPECT_EQ((*items)[0], 1);
    EXPECT_EQ(it.item(), 1);

    Iterator<int> empty =
        IteratorImpVector<int>::makeIterator(std::make_shared<const std::vector<int>>());
    EXPECT_TRUE(empty.atEnd());
    EXPECT_TRUE(empty.atBegin());
    empty.last();
    EXPECT_TRUE(empty.atEnd());

    try {
        IteratorImpVector<int>::makeIterator(nullptr);
        ADD_FAILURE() << "no null-pointer error";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), RCTypeName::readable(typeid(const std::vector<int> *)));
    }
}

} // namespace IteratorTesting
} // namespace Vo
