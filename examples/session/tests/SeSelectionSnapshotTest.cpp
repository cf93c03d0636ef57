#include "AppShapeEditor.h"
#include "AppShapeInterface.h"

#include "SeIdentityKey.h"
#include "SeSelectionSnapshot.h"

#include "host/RCExInvalidCall.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SeSelectionSnapshot;

// The example editor with shapes A (4 points, 2 handles), B (3 points) and C (5 points), and the
// resolver an application gives: its shapes by identity key.
class SeSelectionSnapshotTest : public ::testing::Test {
protected:
    SeSelectionSnapshotTest() {
        for (const char *name : {"A", "B", "C"}) {
            editor.getController().addShape(name,
                                            name[0] == 'B'   ? 3
                                            : name[0] == 'A' ? 4
                                                             : 5,
                                            name[0] == 'A' ? 2 : 0, false);
        }
    }
    RCShdPtr<Vo::SeShape> shape(const char *name) const {
        return editor.getController().getLayer().findShape(name)->getShape();
    }
    static std::uint64_t keyOf(const RCShdPtr<Vo::SeShape> &shape) {
        return dynamic_cast<const Vo::SeIdentityKey &>(*shape).getIdentityKey();
    }
    SeSelectionSnapshot::Resolver resolver() const {
        return [this](std::uint64_t key) {
            const VoExample::AppLayerInterface &layer = editor.getController().getLayer();
            for (int at = 0; at < layer.getNbShapes(); ++at) {
                const RCShdPtr<Vo::SeShape> model = layer.getShapeAt(at).getShape();
                if (keyOf(model) == key) {
                    return model;
                }
            }
            return RCShdPtr<Vo::SeShape>();
        };
    }
    RCShdPtr<Vo::SnSelection const> copy() const {
        return RCShdPtr<Vo::SnSelection const>(editor.getSelector().getSelection()->clone());
    }

    VoExample::AppShapeEditor editor;
    const RCShdPtr<Vo::SeShapeSelector> &selector = editor.getSharedSelector();
};

// Captured, written, read back and restored: the same selection, parts and picking state, in
// one change and one history step.
TEST_F(SeSelectionSnapshotTest, RestoresWhatItCapturedAsOneStep) {
    const Vo::Vector<int> points{3, 1};
    const Vo::Vector<int> handles{1};
    const Vo::Vector<int> fewer{2, 1};
    selector->setSelectedShapes({shape("C"), shape("B")});
    selector->setShapeParts(shape("A"), &points, &handles);
    selector->setShapeParts(shape("B"), &fewer, nullptr);
    selector->setPickingType(Vo::SeShapeSelector::PickingType{2});
    selector->setPickingIndex(1);
    const RCShdPtr<Vo::SnSelection const> saved = copy();
    const std::string text = SeSelectionSnapshot::capture(selector).toText();
    EXPECT_EQ(text, "voshape-selection 1\npicking 2 1 -1\nshape " +
                        std::to_string(keyOf(shape("C"))) + "\nshape " +
                        std::to_string(keyOf(shape("B"))) + " points 2 1 handles\nshape " +
                        std::to_string(keyOf(shape("A"))) + " points 3 1 handles 1\n");

    selector->setPrimarySelectedShape(shape("A"), 0);
    selector->setPickingType(Vo::SeShapeSelector::PickingType{0});
    const int steps = editor.getHistory().getNbUndoSteps();
    const SeSelectionSnapshot read = SeSelectionSnapshot::fromText("# saved\n\n" + text);
    EXPECT_TRUE(read.restore(selector, resolver()).empty());
    EXPECT_TRUE(selector->getSelection()->isEqual(saved));
    EXPECT_EQ(selector->getPickingType(), Vo::SeShapeSelector::PickingType{2});
    EXPECT_EQ(selector->getPickingIndex(), 1);
    EXPECT_EQ(editor.getHistory().getNbUndoSteps(), steps + 1);
    EXPECT_EQ(read.toText(), text);
}

// An entry that no longer resolves is refused, naming it, with nothing changed; or skipped and
// reported when asked.
TEST_F(SeSelectionSnapshotTest, EntriesThatNoLongerResolveAreRefusedOrSkipped) {
    const std::string a = std::to_string(keyOf(shape("A")));
    const std::string b = std::to_string(keyOf(shape("B")));
    const SeSelectionSnapshot gone = SeSelectionSnapshot::fromText(
        "voshape-selection 1\nshape " + a + "\nshape 7\nshape " + b + " points 2 handles\n");
    const SeSelectionSnapshot outside =
        SeSelectionSnapshot::fromText("voshape-selection 1\nshape " + a + " points 1 handles 2\n");
    selector->setSelectedShapes({shape("C")});
    const RCShdPtr<Vo::SnSelection const> before = copy();
    try {
        gone.restore(selector, resolver());
        ADD_FAILURE() << "a missing shape was restored";
    } catch (const Vo::RCExInvalidCall &error) {
        EXPECT_STREQ(error.what(), "cannot restore the selection: entry 2 (shape key 7): no live "
                                   "shape has that key");
    }
    try {
        outside.restore(selector, resolver());
        ADD_FAILURE() << "a handle out of range was restored";
    } catch (const Vo::RCExInvalidCall &error) {
        EXPECT_STREQ(error.what(), ("cannot restore the selection: entry 1 (shape key " + a +
                                    "): handle 2 out of range (the shape has 2)")
                                       .c_str());
    }
    EXPECT_TRUE(selector->getSelection()->isEqual(before));

    const std::vector<std::string> skipped =
        gone.restore(selector, resolver(), SeSelectionSnapshot::Unresolved::skip);
    EXPECT_EQ(skipped,
              std::vector<std::string>{"entry 2 (shape key 7): no live shape has that key"});
    EXPECT_EQ(selector->getNbSelectedShape(), 2);
    EXPECT_EQ(SeSelectionSnapshot::capture(selector).toText(),
              "voshape-selection 1\npicking 0 -1 -1\nshape " + a + "\nshape " + b +
                  " points 2 handles\n");
}

TEST_F(SeSelectionSnapshotTest, MalformedTextsAreRefusedWithTheirLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "line 1: an empty text (expected \"voshape-selection 1\")"},
        {"selection\n", "line 1: \"selection\" (expected \"voshape-selection 1\" first)"},
        {"voshape-selection 1\nshape 4 points x\n", "line 2: index \"x\" (expected an integer)"},
        {"voshape-selection 1\nshape 4 handles 1 points 2\n",
         "line 2: \"points\" (expected points, then handles)"},
        {"voshape-selection 1\n\npicking 1 2\n",
         "line 3: a malformed picking line (expected picking TYPE INDEX EXTREMITY)"},
        {"voshape-selection 1\nshapes 4\n", "line 2: \"shapes\" (expected picking or shape)"},
    };
    for (const auto &[text, message] : cases) {
        try {
            SeSelectionSnapshot::fromText(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const Vo::RCExInvalidCall &error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

} // namespace
