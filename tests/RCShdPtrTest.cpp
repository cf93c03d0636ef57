#include "foundation/RCShdPtr.h"
#include "base/LkCounter.h"
#include "base/RCBase.h"
#include "base/RCExCastFailed.h"

#include "NullPointerError.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

namespace Vo {
namespace ShdPtrTesting {

// Counts the live objects of one test, so that every destruction is seen when it happens.
template <class C> class Probe : public RCBase<C> {
public:
    explicit Probe(int &liveCount) : live(liveCount) { ++live; }
    ~Probe() override { --live; }

private:
    int &live;
};

// What an object saw of the pointer that owned it, at the moment it was destroyed.
struct Sighting {
    bool destroyed = false;
    const void *heldByOwner = nullptr;
    int countOfHeld = 0;
};

// Looks, from its destructor, at the pointer that owned it.
template <class C> class Witness : public RCBase<C> {
public:
    Witness(const RCShdPtr<Witness> &ownerPtr, Sighting &record) : owner(ownerPtr), seen(record) {}
    ~Witness() override {
        seen.destroyed = true;
        seen.heldByOwner = owner.get();
        seen.countOfHeld = owner.isNull() ? 0 : owner->getRefCount();
    }

private:
    const RCShdPtr<Witness> &owner;
    Sighting &seen;
};

// A small hierarchy for conversions, type names and dump text.
class Shape : public RCBase<LkCounter<int>> {};
class Circle : public Shape {};
class Square : public Shape {};
class RoundedSquare : public Square {};
// A second base beside the counted one, and a class on a virtual base, for the casts that only
// the hierarchy walk can do (cross-casts, downcasts from a virtual base) and those that adjust the
// address.
class Tag {
public:
    virtual ~Tag() = default;
    int tag = 7;
};
class TaggedCircle : public Circle, public Tag {};
class OnVirtualBase : public virtual RCBase<LkCounter<int>> {};
class Leaf : public OnVirtualBase {};

// The counting base is virtual here, so it does not lie at the start of the object.
class Layered : public virtual RCBase<int> {};

static_assert(sizeof(RCShdPtr<Shape>) == sizeof(void *), "a shared pointer is one machine pointer");
static_assert(std::is_convertible_v<RCShdPtr<Circle>, RCShdPtr<Shape>> &&
                  std::is_convertible_v<RCShdPtr<Shape>, RCShdPtr<Shape const>> &&
                  std::is_convertible_v<RCShdPtr<Circle>, RCShdPtr<Shape const>>,
              "derived to base, non-const to const");
static_assert(!std::is_constructible_v<RCShdPtr<Circle>, RCShdPtr<Shape>> &&
                  !std::is_constructible_v<RCShdPtr<Shape>, RCShdPtr<Shape const>> &&
                  !std::is_constructible_v<RCShdPtr<Circle>, RCShdPtr<Square>>,
              "base to derived needs a dynamic conversion; no const to non-const, no siblings");
static_assert(!std::is_convertible_v<Shape *, RCShdPtr<Shape>>,
              "taking ownership of a raw pointer is explicit");
static_assert(std::is_nothrow_copy_constructible_v<RCShdPtr<Shape>> &&
                  std::is_nothrow_move_constructible_v<RCShdPtr<Shape>> &&
                  std::is_nothrow_copy_assignable_v<RCShdPtr<Shape>> &&
                  std::is_nothrow_move_assignable_v<RCShdPtr<Shape>> &&
                  std::is_nothrow_destructible_v<RCShdPtr<Shape>>,
              "counting never raises");
static_assert(noexcept(std::declval<RCShdPtr<Shape> &>().swap(std::declval<RCShdPtr<Shape> &>())));
// Copying through the common base would share the object without counting it.
static_assert(!std::is_copy_assignable_v<RCBasePtr<Shape>>, "no uncounted copy");

template <class C> class RCShdPtrTest : public ::testing::Test {
protected:
    using Probe = ShdPtrTesting::Probe<C>;
    using Witness = ShdPtrTesting::Witness<C>;

    int live = 0;
};

using CountingPolicies = ::testing::Types<int, LkCounter<int>>;
// Names each typed case after its counting policy.
struct PolicyName {
    template <class C> static std::string GetName(int) {
        return std::is_same<C, int>::value ? "PlainCount" : "AtomicCount";
    }
};
TYPED_TEST_SUITE(RCShdPtrTest, CountingPolicies, PolicyName);

TYPED_TEST(RCShdPtrTest, CountsEveryOwnerAndLastReleaseDestroys) {
    using Probe = typename TestFixture::Probe;
    using Base = RCBase<TypeParam>;
    {
        auto *raw = new Probe(this->live);
        RCShdPtr<Probe> first(raw);
        EXPECT_TRUE(first.isUnique());
        {
            RCShdPtr<Probe> copy(first);
            RCShdPtr<Base> asBase(first);
            RCShdPtr<Base const> asConstBase(asBase);
            EXPECT_EQ(raw->getRefCount(), 4);
            EXPECT_FALSE(first.isUnique());
            EXPECT_EQ(asConstBase.get(), raw);
            EXPECT_TRUE(asBase == first);
            EXPECT_FALSE(asBase != first);
        }
        EXPECT_TRUE(first.isUnique());

        // A pointer given the object it holds, alone or shared, keeps it and its count.
        const RCShdPtr<Probe> &alias = first;
        first = alias;
        first = first.get();
        EXPECT_EQ(raw->getRefCount(), 1)
            << "a sole owner assigned its own object must not release it";
        RCShdPtr<Probe> other(first);
        first = other;
        other = first.get();
        EXPECT_EQ(raw->getRefCount(), 2);
        first = std::move(other);
        EXPECT_EQ(raw->getRefCount(), 1);

        RCShdPtr<Probe> moved(std::move(first));
        EXPECT_TRUE(first.isNull());
        EXPECT_FALSE(first.isUnique());
        moved.swap(first);
        EXPECT_TRUE(moved.isNull());
        EXPECT_EQ(first.get(), raw);
        EXPECT_EQ(raw->getRefCount(), 1);
        EXPECT_EQ(this->live, 1);

        // Moved into a pointer to a base or const: the unit of count changes hands, no count
        // changes, and the source is left null.
        RCShdPtr<Base const> handed(std::move(first));
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(handed.get(), raw);
        EXPECT_TRUE(handed.isUnique());
        RCShdPtr<Base const> copied{RCShdPtr<Probe>(raw)};
        EXPECT_EQ(raw->getRefCount(), 2);
        EXPECT_EQ(this->live, 1);
    }
    EXPECT_EQ(this->live, 0);
}

// The new object must be stored and counted before the old one goes: the old object's destructor
// may look at the very pointer that owned it.
TYPED_TEST(RCShdPtrTest, AssignmentStoresAndCountsNewObjectBeforeReleasingOld) {
    using Witness = typename TestFixture::Witness;
    RCShdPtr<Witness> owner;
    Sighting seen[4];
    const void *held[4] = {};
    owner = new Witness(owner, seen[0]);
    {
        const RCShdPtr<Witness> next(new Witness(owner, seen[1]));
        owner = next; // copy assignment releases the first object
        held[0] = next.get();
    }
    owner = new Witness(owner, seen[2]); // raw pointer assignment releases the second
    held[1] = owner.get();
    owner = RCShdPtr<Witness>(new Witness(owner, seen[3])); // move assignment releases the third
    held[2] = owner.get();
    owner = nullptr;
    const int counts[] = {2, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(seen[i].destroyed);
        EXPECT_EQ(seen[i].heldByOwner, held[i]);
        EXPECT_EQ(seen[i].countOfHeld, counts[i]);
    }
}

TEST(RCShdPtrNullAccess, RaisesNamingThePointerTypeWithItsConstness) {
    expectNullPointerError([] { (void)RCShdPtr<Shape const>().operator->(); },
                           "Vo::ShdPtrTesting::Shape const*");
    expectNullPointerError([] { (void)*RCShdPtr<Square>(); }, "Vo::ShdPtrTesting::Square*");
}

TEST(RCShdPtrDynamicCast, ConvertsSharesOrRaisesWithActualAndTargetClass) {
    EXPECT_TRUE(rcDynamicCast<Circle>(RCShdPtr<Shape>()).isNull());
    EXPECT_TRUE(rcDynamicCastOrNull<Circle>(RCShdPtr<Shape>()).isNull());

    RCShdPtr<Shape> square(new RoundedSquare);
    RCShdPtr<Square> asSquare = rcDynamicCast<Square>(square);
    EXPECT_EQ(asSquare.get(), square.get());
    try {
        (void)rcDynamicCast<Circle>(square);
        FAIL() << "converting a square to a circle did not raise";
    } catch (const RCExCastFailed &error) {
        EXPECT_EQ(error.getActualType(), "Vo::ShdPtrTesting::RoundedSquare");
        EXPECT_EQ(error.getTargetType(), "Vo::ShdPtrTesting::Circle");
    }
    EXPECT_TRUE(rcDynamicCastOrNull<Circle>(square).isNull());
    EXPECT_EQ(square->getRefCount(), 2) << "only the successful conversion shares the object";

    RCShdPtr<Shape const> constSquare(square);
    EXPECT_THROW(rcDynamicCast<Circle const>(constSquare), RCExCastFailed);
    EXPECT_EQ(rcDynamicCastOrNull<RoundedSquare const>(constSquare).get(), square.get());

    Shape *const raw = square.get();
    EXPECT_EQ(rcCheckedCast<Square>(raw), asSquare.get());
    EXPECT_EQ(rcCheckedCast<Square>(static_cast<Shape *>(nullptr)), nullptr);
}

// Exact classes take the short way, every other case the walk; both must agree with dynamic_cast.
TEST(RCShdPtrFastCast, AgreesWithDynamicCastForExactDerivedCrossAndVirtualBaseCasts) {
    Square square;
    RoundedSquare rounded;
    TaggedCircle tagged;
    Leaf leaf;
    Shape *const squareAsShape = &square;
    EXPECT_EQ(rcFastCast<Square>(squareAsShape), &square);
    EXPECT_EQ(rcFastCast<Circle>(squareAsShape), nullptr);
    EXPECT_EQ(rcFastCast<RoundedSquare>(squareAsShape), nullptr);
    EXPECT_EQ(rcFastCast<Square>(static_cast<Shape *>(&rounded)), &rounded);
    EXPECT_EQ(rcFastCast<RoundedSquare const>(static_cast<const Shape *>(&rounded)), &rounded);
    EXPECT_EQ(rcFastCast<Square>(static_cast<Shape *>(nullptr)), nullptr);

    Tag *const tagOfCircle = &tagged;
    ASSERT_NE(static_cast<void *>(tagOfCircle), static_cast<void *>(&tagged));
    EXPECT_EQ(rcFastCast<TaggedCircle>(tagOfCircle), &tagged) << "the address is adjusted";
    EXPECT_EQ(rcFastCast<Tag>(static_cast<Shape *>(&tagged)), tagOfCircle) << "cross-cast";
    EXPECT_EQ(rcFastCast<Tag>(squareAsShape), nullptr);
    EXPECT_EQ(rcFastCast<TaggedCircle>(static_cast<Shape *>(&tagged))->tag, 7);

    RCBase<LkCounter<int>> *const virtualBase = &leaf;
    EXPECT_EQ(rcFastCast<Leaf>(virtualBase), &leaf);
    EXPECT_EQ(rcFastCast<OnVirtualBase>(virtualBase), &leaf);
    EXPECT_EQ(rcFastCast<Square>(virtualBase), nullptr);
}

std::string addressText(const void *address) {
    std::ostringstream text;
    text << address;
    return text.str();
}

template <class T> std::string dumpOf(const RCBasePtr<T> &pointer) {
    std::ostringstream out;
    pointer.dump(out);
    return out.str();
}

TEST(RCShdPtrDump, WritesOneLineWithActualClassCountAndAddresses) {
    RCShdPtr<Circle> circle(new Circle);
    RCShdPtr<Shape const> asConstShape(circle);
    const std::string address = addressText(circle.get());
    EXPECT_EQ(dumpOf(asConstShape), std::string("Pointee type =") + typeid(Circle).name() +
                                        ", T type =" + typeid(Shape).name() + ", ref:2, pointer:" +
                                        address + ", RCBase pointer:" + address);
    EXPECT_EQ(dumpOf(RCShdPtr<Shape const>()), std::string("Pointee type =null, T type =") +
                                                   typeid(Shape).name() +
                                                   ", ref:0, pointer:0, RCBase pointer:0");

    // A virtual counting base lies elsewhere in the object; counting must go through it.
    RCShdPtr<Layered> layered(new Layered);
    const RCBase<int> *base = layered.get();
    ASSERT_NE(static_cast<const void *>(base), static_cast<const void *>(layered.get()));
    RCShdPtr<Layered> copy(layered);
    EXPECT_EQ(dumpOf(layered), std::string("Pointee type =") + typeid(Layered).name() +
                                   ", T type =" + typeid(Layered).name() +
                                   ", ref:2, pointer:" + addressText(layered.get()) +
                                   ", RCBase pointer:" + addressText(base));
    EXPECT_EQ(base->getRefCount(), 2);
}

} // namespace ShdPtrTesting
} // namespace Vo
