#include "SeExMissingElement.h"
#include "SeSelectionHistory.h"
#include "SeSelectorUpdaterScene.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "base/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;
using Indices = std::vector<int>;
const std::string toOutput = "Roto>Output";

class SeShapeSelectorSetPartsTest : public SeSelectorUpdaterScene {
protected:
    // The parts of the selected item at place, as "points | handles", or "whole".
    std::string partsAt(int place) const {
        const RCShdPtr<SnItem const> &item = *std::next(selector->getSelection()->begin(), place);
        const auto parts = rcDynamicCastOrNull<SeShapeParts const>(item->getParts());
        if (parts.isNull()) {
            return "whole";
        }
        std::string text;
        for (int point : parts->getPoints()) {
            text += std::to_string(point) + " ";
        }
        text += "|";
        for (int handle : parts->getHandles()) {
            text += " " + std::to_string(handle);
        }
        return text;
    }
    // Asserts that the change raises SeExMissingElement and leaves both selections and the
    // callback lists alone.
    template <class Change> void expectRefused(Change change) {
        const RCShdPtr<SnSelection const> before(selector->getSelection()->clone());
        const Texts hostBefore = hostItems();
        settle();
        EXPECT_THROW(change(), SeExMissingElement);
        EXPECT_TRUE(selector->getSelection()->isEqual(before));
        EXPECT_EQ(hostItems(), hostBefore);
        EXPECT_TRUE(log.empty());
    }
};

TEST_F(SeShapeSelectorSetPartsTest, ShapesTakeExactlyTheGivenPartsInOneChange) {
    select({A, B});
    settle();
    const Vector<int> points{3, 1, 3};
    const Vector<int> none;
    selector->setShapeParts(controller.shape(B), &points, &none);
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B}));
    EXPECT_EQ(partsAt(0), "whole");
    EXPECT_EQ(partsAt(1), "3 1 |");
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    EXPECT_EQ(log, Texts{"selection"}); // the same shapes, the same primary one

    // An unselected shape comes last; null for both sets makes a selected one whole again.
    selector->setShapeParts(controller.shape(E), nullptr, &points);
    EXPECT_EQ(selectedIndices(), (std::vector<int>{A, B, E}));
    EXPECT_EQ(partsAt(2), "| 3 1");
    selector->setShapeParts(controller.shape(B), nullptr, nullptr);
    EXPECT_EQ(partsAt(1), "whole");
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(A), object(B), object(E)}));

    // Alone, the shape is primary and its parts are mirrored, points first.
    selector->resetSelection();
    settle();
    const Vector<int> handles{1};
    selector->setShapeParts(controller.shape(E), &points, &handles);
    EXPECT_EQ(partsAt(0), "3 1 | 1");
    EXPECT_EQ(
        hostItems(),
        (Texts{editorNode(), object(E), pointComponent(E, 3, "x", toOutput),
               pointComponent(E, 3, "y", toOutput), pointComponent(E, 1, "x", toOutput),
               pointComponent(E, 1, "y", toOutput), handleComponent(E, 1, "position", toOutput),
               handleComponent(E, 1, "color", toOutput)}));
    EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    EXPECT_EQ(hostWrites->getNbWrites(), 1);

    // The same parts again change nothing.
    settle();
    selector->setShapeParts(controller.shape(E), &points, &handles);
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());

    // A gone shape changes nothing; a null one is refused.
    const RCShdPtr<SeShape> gone = controller.shape(C);
    controller.deleteInterfaceOnly(C);
    selector->setShapeParts(gone, nullptr, nullptr);
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
    EXPECT_THROW(selector->setShapeParts(RCShdPtr<SeShape>(), &points, nullptr), RCExNullPtr);
}

TEST_F(SeShapeSelectorSetPartsTest, AnIndexWithoutElementIsRefusedWithNothingChanged) {
    const Vector<int> missing{2, 6};
    const Vector<int> present{0};
    // Into an empty selection, and in place of the single shape's parts.
    expectRefused([&] { selector->setShapeParts(controller.shape(A), &missing, nullptr); });
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
    selector->setShapeParts(controller.shape(E), &present, &present);
    expectRefused([&] { selector->setShapeParts(controller.shape(E), &present, &missing); });
    EXPECT_EQ(partsAt(0), "0 | 0");
    expectRefused([&] { selector->selectHandles(missing); });
}

// A shape without a gradient has no element for any handle: every way of selecting one is refused
// as an index past a gradient's end is, with both selections, the callbacks and the history as they
// were. (The updater used to dereference the missing gradient: a null-pointer error with the
// editor's selection holding the handle, a step recorded, and the application's left behind.)
TEST_F(SeShapeSelectorSetPartsTest, AHandleOfAShapeWithoutAGradientIsRefusedWithNothingChanged) {
    Vo::SeSelectionHistory history(selector);
    const Vector<int> handles{0};
    expectRefused([&] { selector->setShapeParts(controller.shape(D), nullptr, &handles); });
    selector->setPrimarySelectedShape(controller.shape(A), 2);
    const int steps = history.getNbUndoSteps();
    expectRefused([&] { selector->selectHandle(0); });
    expectRefused([&] { selector->addSelectedHandle(1); });
    expectRefused([&] { selector->selectHandles(handles); });
    expectRefused([&] { selector->setShapeParts(controller.shape(A), nullptr, &handles); });
    EXPECT_EQ(history.getNbUndoSteps(), steps);
    EXPECT_EQ(partsAt(0), "2 |");
    try {
        selector->selectHandle(3);
        ADD_FAILURE() << "no error";
    } catch (const SeExMissingElement &error) {
        EXPECT_EQ(std::string(error.what()).find("shape \"A\" has no gradient, so no gradient "
                                                 "handle 3") == std::string::npos,
                  false)
            << error.what();
        EXPECT_EQ(error.getNbElements(), -1);
    }
    ASSERT_TRUE(history.undo()); // the step before the refusals is still the last one
    EXPECT_EQ(selector->getNbSelectedShape(), 0);
}

TEST_F(SeShapeSelectorSetPartsTest, SelectHandlesReplacesTheHandlesAndKeepsThePoints) {
    selector->setPrimarySelectedShape(controller.shape(E), 2);
    selector->selectHandle(0);
    settle();
    selector->selectHandles({3, 1, 3});
    EXPECT_EQ(partsAt(0), "2 | 3 1");
    EXPECT_EQ(log, Texts{"selection"});
    EXPECT_EQ(hostWrites->getNbWrites(), 1);
    EXPECT_EQ(hostItems().back(), handleComponent(E, 1, "color", toOutput));

    // No primary shape: nothing happens.
    selector->resetSelection();
    settle();
    selector->selectHandles({1});
    EXPECT_EQ(selectorWrites->getNbWrites(), 0);
}

// Parts of a shape that is not primary follow the application's insertions and removals as the
// primary's do: once the shape is left alone, the application's selection names the points the
// user selected, where they now are. (Only the primary item used to be renumbered.)
TEST_F(SeShapeSelectorSetPartsTest, PartsOfEverySelectedItemFollowInsertedAndRemovedElements) {
    select({A, B, E});
    const Vector<int> points{1, 3};
    const Vector<int> handles{2, 0};
    selector->setShapeParts(controller.shape(B), &points, nullptr);
    selector->setShapeParts(controller.shape(E), &points, &handles);
    selector->selectPoints({5});
    settle();
    const auto elements = [this](int shape) {
        return Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(shape));
    };
    ASSERT_FALSE(elements(B)->insertElement(0).isNull());
    selector->updateSelectionPointAdded(controller.weak(B), 0);
    EXPECT_EQ(partsAt(0), "5 |");
    EXPECT_EQ(partsAt(1), "2 4 |");
    EXPECT_EQ(partsAt(2), "1 3 | 2 0");
    EXPECT_EQ(selectorWrites->getNbWrites(), 1);
    EXPECT_EQ(log, Texts{"selection"});

    // A removed element leaves the order; the later ones move down, the primary's included.
    ASSERT_TRUE(elements(E)->removeElement(1));
    selector->updateSelectionPointDeleted(controller.weak(E), 1);
    ASSERT_TRUE(elements(A)->removeElement(2));
    selector->updateSelectionPointDeleted(controller.weak(A), 2);
    selector->updateSelectionHandleDeleted(controller.weak(E), 0);
    EXPECT_EQ(partsAt(0), "4 |");
    EXPECT_EQ(partsAt(2), "2 | 1");

    selector->unselectShape(controller.shape(A));
    selector->unselectShape(controller.shape(E));
    EXPECT_EQ(partsAt(0), "2 4 |");
    EXPECT_EQ(hostItems(), (Texts{editorNode(), object(B), pointComponent(B, 2, "x", toOutput),
                                  pointComponent(B, 2, "y", toOutput),
                                  pointComponent(B, 4, "x", toOutput),
                                  pointComponent(B, 4, "y", toOutput)}));
}

} // namespace
} // namespace VoTest
