#include "SeExMissingElement.h"

#include "SeSelectorUpdaterScene.h"

#include "base/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;
using SeExMissingElementTest = SeSelectorUpdaterScene;

// A point or handle index that the shape does not have used to surface, while the updater mirrored
// it, as "null pointer dereferenced: Vo::PiCompositeInput*", saying neither which shape nor which
// index, and left the two selections out of step: the editor's held the new index, the
// application's the old items.
TEST_F(SeExMissingElementTest, AnIndexWithoutElementIsNamedAndLeavesBothSelectionsAsTheyWere) {
    struct Case {
        const char *what;
        std::function<void()> before;
        std::function<void()> change;
        SeExMissingElement::Part part;
        int index;
        std::string message;
    };
    const SeExMissingElement::Part point = SeExMissingElement::Part::Point;
    const std::string prefix = "mirroring the editor's selection into the application's: shape ";
    const std::string sixPoints = " (its \"Points\" input has 6 elements, 0 to 5)";
    const std::vector<Case> cases = {
        {"selectPoints", [this] { selector->setPrimarySelectedShape(controller.shape(A), 2); },
         [this] {
             selector->selectPoints({1, 99});
         },
         point, 99, prefix + "\"A\" has no point 99" + sixPoints},
        {"selectPoint, negative", [this] { select({B}); }, [this] { selector->selectPoint(-1); },
         point, -1, prefix + "\"B\" has no point -1" + sixPoints},
        {"selectHandle", [this] { selector->setPrimarySelectedShape(controller.shape(E), 1); },
         [this] { selector->selectHandle(4); }, SeExMissingElement::Part::Handle, 4,
         prefix + "\"E\" has no gradient handle 4 (its gradient input has 4 elements, 0 to 3)"},
        {"selectAllPoints past the end", [this] { select({C}); },
         [this] { selector->selectAllPoints(7); }, point, 6,
         prefix + "\"C\" has no point 6" + sixPoints},
        {"setPrimarySelectedShape",
         [this] {
             select({A, B});
         },
         [this] { selector->setPrimarySelectedShape(controller.shape(E), 9); }, point, 9,
         prefix + "\"E\" has no point 9" + sixPoints},
        // Renumbering before the graph changed: the point moved to 6 has no element yet.
        {"renumbering first", [this] { selector->setPrimarySelectedShape(controller.shape(B), 5); },
         [this] { selector->updateSelectionPointAdded(controller.weak(B), 0); }, point, 6,
         prefix + "\"B\" has no point 6" + sixPoints},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.before();
        const Texts hostBefore = hostItems();
        const RCShdPtr<SnSelection const> editorBefore(selector->getSelection()->clone());
        settle();
        try {
            c.change();
            ADD_FAILURE() << "no error";
        } catch (const SeExMissingElement &error) {
            EXPECT_EQ(error.what(), c.message);
            EXPECT_EQ(error.getPart(), c.part);
            EXPECT_EQ(error.getIndex(), c.index);
            EXPECT_EQ(error.getPointerType(),
                      c.part == point ? "Vo::PiCompositeInput*" : "Vo::PiStructuredInput*");
            EXPECT_TRUE(dynamic_cast<const RCExNullPtr *>(&error) != nullptr);
        }
        EXPECT_TRUE(selector->getSelection()->isEqual(editorBefore));
        // An observer after the updater is told of the failed change, and of the way back.
        EXPECT_EQ(selectorWrites->getNbWrites(), 2);
        EXPECT_EQ(hostItems(), hostBefore);
        EXPECT_EQ(hostWrites->getNbWrites(), 0);
        EXPECT_TRUE(log.empty());

        // Both are in step: the next change is mirrored and notified as usual.
        selector->resetSelection();
        EXPECT_EQ(hostItems(), Texts{editorNode()});
        EXPECT_EQ(log, (Texts{"primary", "shapes", "selection"}));
    }
}

TEST_F(SeExMissingElementTest, TheMessageSaysWhenTheInputHasOneElementOrNone) {
    EXPECT_STREQ(SeExMissingElement(SeExMissingElement::Part::Point, "P", 3, 1).what(),
                 "mirroring the editor's selection into the application's: shape \"P\" has no "
                 "point 3 (its \"Points\" input has 1 element, 0)");
    EXPECT_STREQ(SeExMissingElement(SeExMissingElement::Part::Handle, "P", 0, 0).what(),
                 "mirroring the editor's selection into the application's: shape \"P\" has no "
                 "gradient handle 0 (its gradient input has no element)");
}

} // namespace
} // namespace VoTest
