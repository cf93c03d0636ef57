#include "foundation/Iterator.h"
#include "base/RCTypeName.h"
#include "foundation/IteratorImp.h"
#include "foundation/RCPvtEngPtr.h"
#include "host/IteratorImpVector.h"

#include "NullPointerError.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace Vo {
namespace IteratorTesting {

using Traits = std::iterator_traits<Iterator<int>>;
static_assert(std::is_same_v<Traits::iterator_category, std::bidirectional_iterator_tag> &&
                  std::is_same_v<Traits::value_type, int> &&
                  std::is_same_v<Traits::reference, int &> &&
                  std::is_same_v<Traits::pointer, int *> &&
                  std::is_same_v<Traits::difference_type, std::ptrdiff_t>,
              "standard algorithms see a bidirectional iterator");

// An engine over {10, 20, 30} that counts the clones asked of it; with failClone its clones are
// null.
class CountingEngine : public IteratorImp<int> {
public:
    CountingEngine(int &cloneCount, bool failClone) : clones(&cloneCount), nullClone(failClone) {}

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
        ++*clones;
        return nullClone ? nullptr : new CountingEngine(*this);
    }

private:
    CountingEngine(const CountingEngine &) = default;

    std::vector<int> values{10, 20, 30};
    std::size_t position = 0;
    int *clones;
    bool nullClone;
};

Iterator<int> makeCounting(int &clones, bool failClone = false) {
    return Iterator<int>(RCPvtEngPtr<IteratorImp<int>>(new CountingEngine(clones, failClone)));
}

// Whether two iterators read through one engine: a constant read gives the engine's own element.
bool shareAnEngine(const Iterator<int> &a, const Iterator<int> &b) {
    return &a.item() == &b.item();
}

void expectNullEngineError(const std::function<void()> &call) {
    expectNullPointerError(call, "Vo::IteratorImp<int>*");
}

// Every operation but copying, assignment and isNull reaches the engine.
TEST(IteratorTest, EveryOperationOfANullIteratorRaisesNamingTheEnginePointer) {
    using It = Iterator<int>;
    It null;
    const It &constant = null;
    using Move = It &(It::*)();
    for (Move move : {Move(&It::first), Move(&It::last), Move(&It::end), Move(&It::next),
                      Move(&It::previous), Move(&It::operator++), Move(&It::operator--)}) {
        expectNullEngineError([&] { (null.*move)(); });
    }
    using Test = bool (It::*)() const;
    for (Test test : {Test(&It::atEnd), Test(&It::atBegin)}) {
        expectNullEngineError([&] { (void)(constant.*test)(); });
    }
    for (const std::function<void()> &call : std::vector<std::function<void()>>{
             [&] { null++; }, [&] { null--; }, [&] { (void)null.item(); }, [&] { (void)*null; },
             [&] { (void)null.operator->(); }, [&] { (void)constant.item(); },
             [&] { (void)*constant; }, [&] { (void)constant.operator->(); },
             [&] { (void)constant.getCardinality(); }}) {
        expectNullEngineError(call);
    }
    EXPECT_TRUE(null.isNull());
}

TEST(IteratorTest, CopiesShareTheEngineUntilOneMovesOrWrites) {
    int clones = 0;
    Iterator<int> original = makeCounting(clones);
    Iterator<int> copy(original);
    const Iterator<int> &reader = copy;
    EXPECT_EQ(reader.item(), 10);
    EXPECT_EQ(*reader, 10);
    EXPECT_EQ(*reader.operator->(), 10);
    EXPECT_FALSE(reader.atEnd());
    EXPECT_TRUE(reader.atBegin());
    EXPECT_EQ(reader.getCardinality(), 3);
    EXPECT_TRUE(shareAnEngine(original, copy)) << "constant reads never clone";

    copy.item() = 11;
    EXPECT_EQ(clones, 1);
    EXPECT_FALSE(shareAnEngine(original, copy));
    EXPECT_EQ(original.item(), 10);
    copy.next();
    ++copy;
    --copy;
    *original = 12;
    EXPECT_EQ(clones, 1) << "an iterator alone on its engine moves and writes it without cloning";
    EXPECT_EQ(copy.item(), 20);

    original = copy;
    EXPECT_TRUE(shareAnEngine(original, copy));
    const Iterator<int> &self = original;
    original = self;
    EXPECT_EQ(std::as_const(original).item(), 20);
}

TEST(IteratorTest, PostStepsReturnTheOldPositionOnAnotherEngine) {
    int clones = 0;
    Iterator<int> it = makeCounting(clones);
    Iterator<int> old = it++;
    EXPECT_EQ(clones, 1);
    EXPECT_EQ(old.item(), 10);
    EXPECT_EQ(it.item(), 20);
    ++it;
    ++old;
    EXPECT_EQ(clones, 1);
    Iterator<int> back = it--;
    EXPECT_EQ(clones, 2);
    EXPECT_EQ(back.item(), 30);
    EXPECT_EQ(it.item(), 20);
    EXPECT_EQ(old.item(), 20);
}

TEST(IteratorTest, NullCloneRaisesAndTheIteratorKeepsTheSharedEngine) {
    int clones = 0;
    const Iterator<int> original = makeCounting(clones, true);
    Iterator<int> copy(original);
    expectNullEngineError([&] { ++copy; });
    expectNullEngineError([&] { copy++; });
    EXPECT_EQ(clones, 2);
    EXPECT_TRUE(shareAnEngine(original, copy));
    EXPECT_EQ(std::as_const(copy).item(), 10);
}

TEST(IteratorTest, VectorEngineStaysWithinItsBoundsAndNeverWritesTheVector) {
    auto items = std::make_shared<const std::vector<int>>(std::vector<int>{1, 2, 3});
    Iterator<int> it = IteratorImpVector<int>::makeIterator(items);
    EXPECT_EQ(it.getCardinality(), 3);
    std::vector<int> walked;
    for (Iterator<int> walk(it); !walk.atEnd(); walk.next()) {
        walked.push_back(walk.item());
    }
    EXPECT_EQ(walked, *items);

    it.item() = 7;
    EXPECT_EQ((*items)[0], 1);
    EXPECT_EQ(it.item(), 1);
    it.next().next().next().next().previous();
    EXPECT_EQ(it.item(), 3) << "a step past the end stays there";
    it.first().previous();
    EXPECT_TRUE(it.atBegin());
    EXPECT_EQ(it.item(), 1);
    it.last();
    EXPECT_EQ(it.item(), 3);
    it.end();
    EXPECT_TRUE(it.atEnd());
    EXPECT_FALSE(it.atBegin());

    Iterator<int> empty =
        IteratorImpVector<int>::makeIterator(std::make_shared<const std::vector<int>>());
    EXPECT_TRUE(empty.atBegin());
    empty.last();
    EXPECT_TRUE(empty.atEnd());
    expectNullPointerError([] { IteratorImpVector<int>::makeIterator(nullptr); },
                           RCTypeName::readable(typeid(const std::vector<int> *)));
}

} // namespace IteratorTesting
} // namespace Vo
