#include "SeShapeEventDispatchers.h"

#include "SeShapeEvent.h"

#include "foundation/CbFunction.h"
#include "foundation/RCShdPtr.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace {

using namespace Vo;

static_assert(!std::is_copy_constructible_v<SeShapeEventDispatchers>);

// An event of no kind: derived from the base only.
class OtherEvent : public SeShapeEvent {};
// An application's own refinement of a kind still belongs to that kind.
class TaggedRemoval : public SeShapeEvent::ShapeRemoved {
public:
    TaggedRemoval() : ShapeRemoved(5, RCShdPtr<SeObject const>()) {}
};

std::string kindOf(const SeShapeEvent &event) {
    if (dynamic_cast<const SeShapeEvent::ShapeAdded *>(&event) != nullptr) {
        return "added";
    }
    if (dynamic_cast<const SeShapeEvent::ShapeRemoved *>(&event) != nullptr) {
        return "removed";
    }
    if (dynamic_cast<const SeShapeEvent::ShapeMoved *>(&event) != nullptr) {
        return "moved";
    }
    return "renamed";
}

TEST(SeShapeEventDispatchersTest, EachEventReachesTheHandlersOfItsKindOnly) {
    SeShapeEventDispatchers events;
    std::vector<std::string> log;
    CbFunction<SeShapeEvent const> removals(
        [&log](const SeShapeEvent &e) { log.push_back("removals:" + kindOf(e)); });
    CbFunction<SeShapeEvent const> everything(
        [&log](const SeShapeEvent &e) { log.push_back("all:" + kindOf(e)); });
    const RCShdPtr<SeObject const> owner;
    const SeShapeEvent::ShapeAdded added;
    const SeShapeEvent::ShapeRemoved removed{3, owner};
    const SeShapeEvent::ShapeMoved moved;
    const SeShapeEvent::ShapeRenamed renamed;
    EXPECT_TRUE(events.addHandler(removed, &removals));
    for (const SeShapeEvent *kind :
         std::vector<const SeShapeEvent *>{&added, &removed, &moved, &renamed}) {
        EXPECT_TRUE(events.addHandler(*kind, &everything));
    }
    EXPECT_EQ(everything.getNbDispatchers(), 4);

    for (const SeShapeEvent *event :
         std::vector<const SeShapeEvent *>{&renamed, &removed, &added, &moved}) {
        EXPECT_TRUE(events.send(*event));
    }
    EXPECT_TRUE(events.send(TaggedRemoval()));
    EXPECT_EQ(log, (std::vector<std::string>{"all:renamed", "removals:removed", "all:removed",
                                             "all:added", "all:moved", "removals:removed",
                                             "all:removed"}));

    log.clear();
    events.removeHandler(removed, &everything);
    EXPECT_TRUE(events.send(removed));
    EXPECT_EQ(log, (std::vector<std::string>{"removals:removed"}));
}

TEST(SeShapeEventDispatchersTest, AnEventOfNoKindHasNoListAndReachesNoOne) {
    SeShapeEventDispatchers events;
    int calls = 0;
    CbFunction<SeShapeEvent const> handler([&calls](const SeShapeEvent &) { ++calls; });
    const OtherEvent other;
    EXPECT_EQ(events.getDispatcher(other), nullptr);
    EXPECT_FALSE(events.addHandler(other, &handler));
    EXPECT_EQ(handler.getNbDispatchers(), 0);
    EXPECT_FALSE(events.send(other));
    events.removeHandler(other, &handler); // nothing to do, nothing raised
    EXPECT_EQ(calls, 0);
}

TEST(SeShapeEventDispatchersTest, DestroyingTheListsUnlinksTheirHandlers) {
    CbFunction<SeShapeEvent const> handler;
    {
        SeShapeEventDispatchers events;
        events.addHandler(SeShapeEvent::ShapeRemoved(1, RCShdPtr<SeObject const>()), &handler);
        EXPECT_EQ(handler.getNbDispatchers(), 1);
    }
    EXPECT_EQ(handler.getNbDispatchers(), 0);
}

} // namespace
