#include "foundation/RCShdPtr.h"
#include "host/LkCounter.h"
#include "host/RCBase.h"
#include "host/RCExCastFailed.h"
#include "host/RCExNullPtr.h"

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

template <class C> class DerivedProbe : public Probe<C> {
public:
    using Probe<C>::Probe;
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

// The counting base is virtual here, so it does not lie at the start of the object.
class Layered : public virtual RCBase<int> {
public:
    int depth = 3;
};

} // namespace ShdPtrTesting

namespace {

using ShdPtrTesting::Circle;
using ShdPtrTesting::Layered;
using ShdPtrTesting::RoundedSquare;
using ShdPtrTesting::Shape;
using ShdPtrTesting::Sighting;
using ShdPtrTesting::Square;

static_assert(sizeof(RCShdPtr<Shape>) == sizeof(void *), "a shared pointer is one machine pointer");
static_assert(std::is_convertible<RCShdPtr<Circle>, RCShdPtr<Shape>>::value, "derived to base");
static_assert(std::is_convertible<RCShdPtr<Shape>, RCShdPtr<Shape const>>::value,
              "non-const to const");
static_assert(std::is_convertible<RCShdPtr<Circle>, RCShdPtr<Shape const>>::value,
              "derived to const base");
static_assert(!std::is_constructible<RCShdPtr<Circle>, RCShdPtr<Shape>>::value,
              "base to derived needs a dynamic conversion");
static_assert(!std::is_constructible<RCShdPtr<Shape>, RCShdPtr<Shape const>>::value,
              "const to non-const");
static_assert(!std::is_constructible<RCShdPtr<Circle>, RCShdPtr<Square>>::value, "siblings");
static_assert(!std::is_convertible<Shape *, RCShdPtr<Shape>>::value,
              "taking ownership of a raw pointer is explicit");
static_assert(std::is_nothrow_copy_constructible<RCShdPtr<Shape>>::value &&
                  std::is_nothrow_move_constructible<RCShdPtr<Shape>>::value &&
                  std::is_nothrow_copy_assignable<RCShdPtr<Shape>>::value &&
                  std::is_nothrow_move_assignable<RCShdPtr<Shape>>::value &&
                  std::is_nothrow_destructible<RCShdPtr<Shape>>::value,
              "counting never raises");
static_assert(noexcept(std::declval<RCShdPtr<Shape> &>().swap(std::declval<RCShdPtr<Shape> &>())),
              "swap never raises");
// Copying through the common base would share the object without counting it.
static_assert(!std::is_copy_assignable<RCBasePtr<Shape>>::value, "no uncounted copy");

template <class C> class RCShdPtrTest : public ::testing::Test {
protected:
    using Probe = ShdPtrTesting::Probe<C>;
    using DerivedProbe = ShdPtrTesting::DerivedProbe<C>;
    using Witness = ShdPtrTesting::Witness<C>;

    static int countOf(const RCShdPtr<Probe> &p) { return p->getRefCount(); }

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
    using DerivedProbe = typename TestFixture::DerivedProbe;
    {
        auto *raw = new DerivedProbe(this->live);
        EXPECT_EQ(raw->getRefCount(), 0);
        RCShdPtr<DerivedProbe> first(raw);
        EXPECT_EQ(raw->getRefCount(), 1);
        {
            RCShdPtr<DerivedProbe> copy(first);
            RCShdPtr<Probe> asBase(first);
            RCShdPtr<Probe const> asConstBase(asBase);
            EXPECT_EQ(raw->getRefCount(), 4);
            EXPECT_EQ(asConstBase.get(), raw);
            EXPECT_TRUE(asBase == first);
        }
        EXPECT_EQ(raw->getRefCount(), 1);
        RCShdPtr<DerivedProbe> moved(std::move(first));
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(raw->getRefCount(), 1);
        EXPECT_EQ(this->live, 1);
    }
    EXPECT_EQ(this->live, 0);
}

// The new object must be stored and counted before the old one goes: the old object's destructor
// may look at the very pointer that owned it.
TYPED_TEST(RCShdPtrTest, AssignmentStoresAndCountsNewObjectBeforeReleasingOld) {
    using Witness = typename TestFixture::Witness;
    RCShdPtr<Witness> owner;
    Sighting first, second, third, fourth;

    owner = new Witness(owner, first);
    {
        RCShdPtr<Witness> next(new Witness(owner, second));
        owner = next; // copy assignment releases the first object
        ASSERT_TRUE(first.destroyed);
        EXPECT_EQ(first.heldByOwner, next.get());
        EXPECT_EQ(first.countOfHeld, 2);
    }
    auto *raw = new Witness(owner, third);
    owner = raw; // assignment of a raw pointer releases the second object
    ASSERT_TRUE(second.destroyed);
    EXPECT_EQ(second.heldByOwner, raw);
    EXPECT_EQ(second.countOfHeld, 1);

    owner = RCShdPtr<Witness>(new Witness(owner, fourth)); // move assignment releases the third
    ASSERT_TRUE(third.destroyed);
    EXPECT_EQ(third.heldByOwner, owner.get());
    EXPECT_EQ(third.countOfHeld, 1);

    owner = nullptr;
    ASSERT_TRUE(fourth.destroyed);
    EXPECT_EQ(fourth.heldByOwner, nullptr);
}

TYPED_TEST(RCShdPtrTest, AssigningTheHeldObjectKeepsCount) {
    using Probe = typename TestFixture::Probe;
    RCShdPtr<Probe> only(new Probe(this->live));
    const RCShdPtr<Probe> &alias = only;
    only = alias;
    only = only.get();
    EXPECT_EQ(this->live, 1) << "a sole owner assigned its own object must not release it";
    EXPECT_EQ(TestFixture::countOf(only), 1);

    RCShdPtr<Probe> other(only);
    only = other;
    other = only.get();
    EXPECT_EQ(TestFixture::countOf(only), 2);
    only = std::move(other);
    EXPECT_EQ(TestFixture::countOf(only), 1);
    EXPECT_EQ(this->live, 1);
}

TYPED_TEST(RCShdPtrTest, IsUniqueOnlyForTheSoleOwner) {
    using Probe = typename TestFixture::Probe;
    RCShdPtr<Probe> empty;
    EXPECT_FALSE(empty.isUnique());

    RCShdPtr<Probe> first(new Probe(this->live));
    EXPECT_TRUE(first.isUnique());
    {
        RCShdPtr<Probe const> second(first);
        EXPECT_FALSE(first.isUnique());
        EXPECT_FALSE(second.isUnique());
    }
    EXPECT_TRUE(first.isUnique());
}

TYPED_TEST(RCShdPtrTest, SwapExchangesObjectsWithoutCounting) {
    using Probe = typename TestFixture::Probe;
    RCShdPtr<Probe> a(new Probe(this->live));
    RCShdPtr<Probe> b;
    Probe *held = a.get();
    a.swap(b);
    EXPECT_TRUE(a.isNull());
    EXPECT_EQ(b.get(), held);
    EXPECT_EQ(TestFixture::countOf(b), 1);
    EXPECT_EQ(this->live, 1);
}

TEST(RCShdPtrNullAccess, RaisesNamingThePointerTypeWithItsConstness) {
    RCShdPtr<Shape const> constant;
    try {
        (void)constant.operator->();
        FAIL() << "tested access through a null pointer did not raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::ShdPtrTesting::Shape const*");
    }
    RCShdPtr<Square> mutableSquare;
    try {
        (void)*mutableSquare;
        FAIL() << "tested access through a null pointer did not raise";
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "Vo::ShdPtrTesting::Square*");
    }
}

TEST(RCShdPtrDynamicCast, ConvertsSharesOrRaisesWithActualAndTargetClass) {
    RCShdPtr<Shape> none;
    EXPECT_TRUE(rcDynamicCast<Circle>(none).isNull());
    EXPECT_TRUE(rcDynamicCastOrNull<Circle>(none).isNull());

    RCShdPtr<Shape> square(new RoundedSquare);
    RCShdPtr<Square> asSquare = rcDynamicCast<Square>(square);
    EXPECT_EQ(asSquare.get(), square.get());
    EXPECT_EQ(square->getRefCount(), 2);

    try {
        (void)rcDynamicCast<Circle>(square);
        FAIL() << "converting a square to a circle did not raise";
    } catch (const RCExCastFailed &error) {
        EXPECT_EQ(error.getActualType(), "Vo::ShdPtrTesting::RoundedSquare");
        EXPECT_EQ(error.getTargetType(), "Vo::ShdPtrTesting::Circle");
    }
    EXPECT_EQ(square.get(), asSquare.get());
    EXPECT_EQ(square->getRefCount(), 2);

    EXPECT_TRUE(rcDynamicCastOrNull<Circle>(square).isNull());
    EXPECT_EQ(square->getRefCount(), 2);

    RCShdPtr<Shape const> constSquare(square);
    try {
        (void)rcDynamicCast<Circle const>(constSquare);
        FAIL() << "converting a constant square to a circle did not raise";
    } catch (const RCExCastFailed &error) {
        EXPECT_EQ(error.getTargetType(), "Vo::ShdPtrTesting::Circle");
    }
    EXPECT_EQ(rcDynamicCastOrNull<RoundedSquare const>(constSquare).get(), square.get());
}

TEST(RCShdPtrDynamicCast, CheckedCastOfRawPointer) {
    RoundedSquare object;
    Shape *asShape = &object;
    EXPECT_EQ(rcCheckedCast<Square>(asShape), &object);
    EXPECT_EQ(rcCheckedCast<Square>(static_cast<Shape *>(nullptr)), nullptr);
    EXPECT_THROW(rcCheckedCast<Circle>(asShape), RCExCastFailed);
}

std::string addressText(const void *address) {
    std::ostringstream text;
    text << address;
    return text.str();
}

std::string dumpOf(const RCBasePtr<Shape const> &pointer) {
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

    RCShdPtr<Shape const> none;
    EXPECT_EQ(dumpOf(none), std::string("Pointee type =null, T type =") + typeid(Shape).name() +
                                ", ref:0, pointer:0, RCBase pointer:0");
}

TEST(RCShdPtrDump, VirtualCountingBaseShowsItsOwnAddress) {
    RCShdPtr<Layered> layered(new Layered);
    const RCBase<int> *base = layered.get();
    ASSERT_NE(static_cast<const void *>(base), static_cast<const void *>(layered.get()));

    std::ostringstream out;
    layered.dump(out);
    EXPECT_EQ(out.str(), std::string("Pointee type =") + typeid(Layered).name() +
                             ", T type =" + typeid(Layered).name() + ", ref:1, pointer:" +
                             addressText(layered.get()) + ", RCBase pointer:" + addressText(base));

    RCShdPtr<Layered> copy(layered);
    EXPECT_EQ(base->getRefCount(), 2) << "counting must go through the virtual base";
}

} // namespace
} // namespace Vo
