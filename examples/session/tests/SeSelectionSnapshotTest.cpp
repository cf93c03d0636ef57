#include "AppShapeEditor.h"
#include "AppShapeInterface.h"
#include "Session.h"
#include "SessionDemo.h"
#include "SessionScene.h"

#include "SeIdentityKey.h"
#include "SeSelectionSnapshot.h"

#include "base/RCExInvalidCall.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
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

// The driver's restores (load-file, recall) count the points of a single-valued curve as its
// point commands do: a point past the end of the built-in scene's C is refused, changing nothing,
// or skipped. They used to select points 6 and on, which C does not have.
TEST(SessionSnapshotTest, RefusesPointsPastTheEndOfASingleValuedCurve) {
    VoSession::Session session;
    VoSession::SessionScene scene(session.getNodeNames());
    std::istringstream sceneText(VoSession::SessionDemo::scene());
    std::string error;
    ASSERT_TRUE(scene.read(sceneText, "demo", error)) << error;
    ASSERT_EQ(session.build(scene), nullptr);
    VoExample::AppShapeInterface &c = *session.findShape("C");
    ASSERT_TRUE(c.hasSingleValuedPoints());
    const std::string entry = "entry 1 (shape key " + std::to_string(c.getId()) + "): point ";
    const std::string text = "voshape-selection 1\nshape " + std::to_string(c.getId()) + " points ";
    EXPECT_TRUE(session.restore(SeSelectionSnapshot::fromText(text + "5\n"), false).empty());
    const std::string before = session.captureSelection().toText();
    try {
        session.restore(SeSelectionSnapshot::fromText(text + "6\n"), false);
        ADD_FAILURE() << "a point past the end was restored";
    } catch (const Vo::RCExInvalidCall &refused) {
        EXPECT_STREQ(refused.what(),
                     ("cannot restore the selection: " + entry + "6 out of range (the shape has 6)")
                         .c_str());
    }
    EXPECT_EQ(session.captureSelection().toText(), before);
    EXPECT_EQ(session.restore(SeSelectionSnapshot::fromText(text + "1000000\n"), true),
              std::vector<std::string>{entry + "1000000 out of range (the shape has 6)"});

    // Saved with point 5, recalled once C has lost a point.
    EXPECT_TRUE(session.restore(SeSelectionSnapshot::fromText(text + "5\n"), false).empty());
    session.saveSelection("last");
    ASSERT_TRUE(session.getController().deletePoint(c, 0));
    std::vector<std::string> skipped;
    EXPECT_THROW(session.recallSelection("last", false, skipped), Vo::RCExInvalidCall);
    EXPECT_TRUE(session.recallSelection("last", true, skipped));
    EXPECT_EQ(skipped, std::vector<std::string>{entry + "5 out of range (the shape has 5)"});
}

} // namespace
