#include "SeExMissingElement.h"

#include "SeSelectorUpdaterScene.h"

#include "host/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using SeExMissingElementTest = SeSelectorUpdaterScene;

// A point or handle index that the shape does not have used to surface, while the updater mirrored
// it, as "null pointer dereferenced: Vo::PiCompositeInput*", saying neither which shape nor which
// index; the application's selection kept the old items and no callback ran.
TEST_F(SeExMissingElementTest, AnIndexWithoutElementNamesTheShapeAndTheIndex) {
    struct Case {
        const char *what;
        int shape;
        std::function<void(SeShapeSelector &)> change;
        SeExMissingElement::Part part;
        int index;
        std::string message;
        std::string pointerType;
    };
    const std::string prefix = "mirroring the editor's selection into the application's: ";
    const std::vector<Case> cases = {
        {"selectPoints", A,
         [](SeShapeSelector &s) {
             s.selectPoints({1, 99});
         },
         SeExMissingElement::Part::Point, 99,
         prefix + "shape \"A\" has no point 99 (its \"Points\" input has 6 elements, 0 to 5)",
         "Vo::PiCompositeInput*"},
        {"selectPoint negative", B, [](SeShapeSelector &s) { s.selectPoint(-1); },
         SeExMissingElement::Part::Point, -1,
         prefix + "shape \"B\" has no point -1 (its \"Points\" input has 6 elements, 0 to 5)",
         "Vo::PiCompositeInput*"},
        {"selectHandle", E, [](SeShapeSelector &s) { s.selectHandle(4); },
         SeExMissingElement::Part::Handle, 4,
         prefix + "shape \"E\" has no gradient handle 4 (its gradient input has 4 elements, 0 "
                  "to 3)",
         "Vo::PiStructuredInput*"},
        {"selectAllPoints past the end", C, [](SeShapeSelector &s) { s.selectAllPoints(7); },
         SeExMissingElement::Part::Point, 6,
         prefix + "shape \"C\" has no point 6 (its \"Points\" input has 6 elements, 0 to 5)",
         "Vo::PiCompositeInput*"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        selector->setPrimarySelectedShape(controller.shape(c.shape), 2);
        const std::vector<std::string> hostBefore = hostItems();
        settle();
        try {
            c.change(*selector);
            ADD_FAILURE() << "no error";
        } catch (const SeExMissingElement &error) {
            EXPECT_EQ(error.what(), c.message);
            EXPECT_EQ(error.getPart(), c.part);
            EXPECT_EQ(error.getIndex(), c.index);
            EXPECT_EQ(error.getPointerType(), c.pointerType);
            EXPECT_TRUE(dynamic_cast<const RCExNullPtr *>(&error) != nullptr);
        }
        EXPECT_EQ(hostItems(), hostBefore);
        EXPECT_EQ(hostWrites->getNbWrites(), 0);
        EXPECT_TRUE(log.empty());
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
