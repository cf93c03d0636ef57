#include "SeSelectionSnapshot.h"
#include "app/TestAllocator.h"
#include "app/TestController.h"

#include "base/RCExInvalidCall.h"
#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SeSelectionSnapshot;
using Elements = SeSelectionSnapshot::Elements;

std::string refusal(const std::string &text) {
    try {
        SeSelectionSnapshot::fromText(text);
    } catch (const Vo::RCExInvalidCall &error) {
        return error.what();
    }
    return "accepted";
}

void expectSameEntries(const SeSelectionSnapshot &a, const SeSelectionSnapshot &b) {
    ASSERT_EQ(a.getEntries().size(), b.getEntries().size());
    for (std::size_t at = 0; at < a.getEntries().size(); ++at) {
        const SeSelectionSnapshot::Entry &x = a.getEntries()[at];
        const SeSelectionSnapshot::Entry &y = b.getEntries()[at];
        EXPECT_EQ(x.key, y.key);
        EXPECT_EQ(x.whole, y.whole);
        EXPECT_EQ(x.points, y.points);
        EXPECT_EQ(x.handles, y.handles);
    }
    EXPECT_EQ(a.getPickingType(), b.getPickingType());
    EXPECT_EQ(a.getPickingIndex(), b.getPickingIndex());
    EXPECT_EQ(a.getPickingExtremity(), b.getPickingExtremity());
}

// Every number at its extremes, a shape repeated (a selection may repeat one), lists empty or
// left out: the text read is the snapshot whose text it is, and reads back to it.
TEST(SeSelectionSnapshotTextTest, ReadsEachSnapshotBackFromItsText) {
    const std::string text = "voshape-selection 1\n"
                             "picking -2147483648 2147483647 0\n"
                             "shape 18446744073709551615 points -2147483648 0 2147483647 handles\n"
                             "shape 0\n"
                             "shape 0 points handles 7 3\n";
    const SeSelectionSnapshot read = SeSelectionSnapshot::fromText(text);
    ASSERT_EQ(read.getEntries().size(), 3u);
    EXPECT_EQ(read.getEntries()[0].key, UINT64_MAX);
    EXPECT_EQ(read.getEntries()[0].points, (std::vector<int>{INT32_MIN, 0, INT32_MAX}));
    EXPECT_TRUE(read.getEntries()[1].whole);
    EXPECT_FALSE(read.getEntries()[2].whole);
    EXPECT_EQ(read.getEntries()[2].handles, (std::vector<int>{7, 3}));
    EXPECT_EQ(read.getPickingType(), Vo::SeShapeSelector::PickingType{INT32_MIN});
    EXPECT_EQ(read.getPickingIndex(), INT32_MAX);
    EXPECT_EQ(read.getPickingExtremity(), 0);
    EXPECT_EQ(read.toText(), text);
    expectSameEntries(SeSelectionSnapshot::fromText(read.toText()), read);
    expectSameEntries(SeSelectionSnapshot::fromText(SeSelectionSnapshot().toText()),
                      SeSelectionSnapshot());

    // Blanks, comments, a list left out and a last line without its end read as the form says.
    const SeSelectionSnapshot loose = SeSelectionSnapshot::fromText(
        "\t# saved\n\n  voshape-selection\t1  \n \t\nshape  5\tpoints 2\t\nshape 6 handles 1");
    EXPECT_EQ(loose.toText(),
              "voshape-selection 1\npicking 0 -1 -1\nshape 5 points 2 handles\nshape 6 points "
              "handles 1\n");
}

// Memory running out while a text is written or read raises std::bad_alloc: a text cut short (the
// stream used to swallow the failure) would read back as another selection, or be refused.
TEST(SeSelectionSnapshotTextTest, MemoryRunningOutRaisesInsteadOfCuttingTheText) {
    std::string text = "voshape-selection 1\npicking 1 2 0\n";
    for (int shape = 0; shape < 40; ++shape) {
        text += "shape " + std::to_string(shape) + " points 1 2 3 handles 4 5\n";
    }
    const SeSelectionSnapshot read = SeSelectionSnapshot::fromText(text);
    long failures = 0;
    for (long nth = 1;; ++nth) {
        std::string written;
        const bool raised =
            VoTest::TestAllocator::raisesAt(nth, [&] { written = read.toText(); });
        if (VoTest::TestAllocator::allocations() < nth) {
            break;
        }
        failures += raised ? 1 : 0;
        EXPECT_TRUE(raised || written == text) << "allocation " << nth;
    }
    EXPECT_GT(failures, 0);
    for (long nth = 1;; ++nth) {
        VoTest::TestAllocator::arm(nth);
        try {
            expectSameEntries(SeSelectionSnapshot::fromText(text), read);
        } catch (const std::bad_alloc &) {
        }
        VoTest::TestAllocator::disarm();
        if (VoTest::TestAllocator::allocations() < nth) {
            break;
        }
    }
}

// What the form does not describe is refused, naming its line and what it expected; what a
// message quotes is printable and short. Keys used to be read as unsigned numbers that wrap
// ("-18446744073709551612" was key 4) and indices with a '+' or leading zeros.
TEST(SeSelectionSnapshotTextTest, RefusesWhatTheFormDoesNotDescribe) {
    const std::string head = "voshape-selection 1\n";
    const std::string integer = "(expected an integer from -2147483648 to 2147483647)";
    const std::string key = "(expected a number from 0 to 18446744073709551615)";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "line 1: the text ends (expected \"voshape-selection 1\" first)"},
        {"# only\n\n", "line 3: the text ends (expected \"voshape-selection 1\" first)"},
        {"selection\n", "line 1: \"selection\" (expected \"voshape-selection 1\" first)"},
        {"voshape-selection 2\n", "line 1: version \"2\" (expected \"voshape-selection 1\", the "
                                  "version this library reads)"},
        {"voshape-selection\n",
         "line 1: no version (expected \"voshape-selection 1\", the version this library reads)"},
        {"voshape-selection 1 x\n",
         "line 1: \"x\" after the version (expected the end of the line)"},
        {head + "shape -18446744073709551612\n",
         "line 2: shape key \"-18446744073709551612\" " + key},
        {head + "shape +4\n", "line 2: shape key \"+4\" " + key},
        {head + "shape 04\n", "line 2: shape key \"04\" " + key},
        {head + "shape 18446744073709551616\n",
         "line 2: shape key \"18446744073709551616\" " + key},
        {head + "shape\n", "line 2: a shape line without key (expected shape KEY [points I...] "
                           "[handles I...])"},
        {head + "shape 4 points +1\n", "line 2: point \"+1\" " + integer},
        {head + "shape 4 points -0\n", "line 2: point \"-0\" " + integer},
        {head + "shape 4 points 01\n", "line 2: point \"01\" " + integer},
        {head + "shape 4 points -2147483649\n", "line 2: point \"-2147483649\" " + integer},
        {head + "shape 4 points 1x\n", "line 2: point \"1x\" " + integer},
        {head + "shape 4 points 3 1 3\n", "line 2: point 3 twice (expected each point once)"},
        {head + "shape 4 handles 1 points 2\n",
         "line 2: \"points\" (expected points, then handles)"},
        {head + "shape 4 whole\n", "line 2: \"whole\" (expected points, then handles)"},
        {head + "shape 4 # note\n", "line 2: \"#\" (expected points, then handles)"},
        {head + "\npicking 1 2\n",
         "line 3: a picking line of 2 values (expected picking TYPE INDEX EXTREMITY)"},
        {head + "picking +1 2 3\n", "line 2: picking type \"+1\" " + integer},
        {head + "picking 1 2 2147483648\n", "line 2: picking extremity \"2147483648\" " + integer},
        {head + "picking 0 -1 -1\npicking 0 -1 -1\n",
         "line 3: a second picking line (expected at most one, before the shapes)"},
        {head + "shape 1\npicking 0 -1 -1\n",
         "line 3: a picking line after the shapes (expected at most one, before the shapes)"},
        {head + "shapes 4\n", "line 2: \"shapes\" (expected picking or shape)"},
        // Control bytes, quotes and bytes past ASCII are escaped; a long word is cut.
        {"voshape-selection 1\r\n",
         "line 1: control byte \"\\x0d\" in \"voshape-selection 1\\x0d\" (expected printable "
         "words separated by spaces or tabs)"},
        {head + "shape 4\x7f\n", "line 2: control byte \"\\x7f\" in \"shape 4\\x7f\" (expected "
                                 "printable words separated by spaces or tabs)"},
        {head + std::string("shape 4 points 1\0", 17) + "\n",
         "line 2: control byte \"\\x00\" in \"shape 4 points 1\\x00\" (expected printable words "
         "separated by spaces or tabs)"},
        {head + "\"\\\xc3\xa9" + std::string(50, 'w') + "\n",
         "line 2: \"\\\"\\\\\\xc3\\xa9" + std::string(36, 'w') +
             "\"... (expected picking or shape)"},
    };
    for (const auto &[text, message] : cases) {
        EXPECT_EQ(refusal(text), message) << text;
    }
}

// Shapes keyed by their place in the controller: A with a multi-valued curve of 6 points, D with
// a single-valued "Points" input and a single-valued gradient input, whose counts the library
// cannot read.
class SeSelectionSnapshotRestoreTest : public ::testing::Test {
protected:
    SeSelectionSnapshotRestoreTest() {
        controller.addShape("A", 6, 2);
        controller.addShape("D", 6, 0, true);
        controller.editing(1).setGradientInput(controller.toolNode()->addInput("D.gradient"));
    }

    SeSelectionSnapshot::Resolver resolver() const {
        return [this](std::uint64_t key) {
            return key < static_cast<std::uint64_t>(controller.getNbShapes())
                       ? controller.shape(static_cast<int>(key))
                       : RCShdPtr<Vo::SeShape>();
        };
    }
    // The application's counts: 6 points and 2 handles; the library asks only for D's.
    static int count(const Vo::SeShapeInterface &, Elements elements) {
        return elements == Elements::points ? 6 : 2;
    }
    std::string refusal(const std::string &text, const SeSelectionSnapshot::Counter &counter) {
        const RCShdPtr<Vo::SnSelection const> before(selector->getSelection()->clone());
        try {
            SeSelectionSnapshot::fromText("voshape-selection 1\n" + text)
                .restore(selector, resolver(), SeSelectionSnapshot::Unresolved::refuse, counter);
        } catch (const Vo::RCExInvalidCall &error) {
            EXPECT_TRUE(selector->getSelection()->isEqual(before)) << text;
            return error.what();
        }
        return "restored";
    }

    VoTest::TestController controller;
    const RCShdPtr<Vo::SeShapeSelector> selector = controller.getShapeSelector();
};

// A point or handle past the application's count of a single-valued input is refused with
// nothing changed, or skipped, like one past a multi-valued input's end. Restore used to bound
// only negative indices there, selecting points that do not exist.
TEST_F(SeSelectionSnapshotRestoreTest, BoundsSingleValuedInputsByTheApplicationsCount) {
    selector->setSelectedShapes({controller.shape(0)});
    const std::string entry = "cannot restore the selection: entry 1 (shape key 1): ";
    EXPECT_EQ(refusal("shape 1 points 5 6\n", count),
              entry + "point 6 out of range (the shape has 6)");
    EXPECT_EQ(refusal("shape 1 points 1000000\n", count),
              entry + "point 1000000 out of range (the shape has 6)");
    EXPECT_EQ(refusal("shape 1 handles 2\n", count),
              entry + "handle 2 out of range (the shape has 2)");
    EXPECT_EQ(refusal("shape 1 points -1\n", count),
              entry + "point -1 out of range (the shape has 6)");
    // A's multi-valued inputs tell their own counts: the application is not asked.
    EXPECT_EQ(
        refusal("shape 0 points 6\n", [](const Vo::SeShapeInterface &, Elements) { return 100; }),
        "cannot restore the selection: entry 1 (shape key 0): point 6 out of range (the shape "
        "has 6)");

    const SeSelectionSnapshot past =
        SeSelectionSnapshot::fromText("voshape-selection 1\nshape 0 points 5\nshape 1 points 6\n");
    EXPECT_EQ(
        past.restore(selector, resolver(), SeSelectionSnapshot::Unresolved::skip, count),
        std::vector<std::string>{"entry 2 (shape key 1): point 6 out of range (the shape has 6)"});
    EXPECT_EQ(selector->getNbSelectedShape(), 1);
    Vo::Vector<int> points;
    selector->getSelectedPoints(points);
    EXPECT_EQ(std::vector<int>(points.begin(), points.end()), std::vector<int>{5});

    EXPECT_EQ(refusal("shape 1 points 5 0 handles 1\n", count), "restored");
    EXPECT_EQ(selector->getNbSelectedShape(), 1);
    selector->getSelectedPoints(points);
    EXPECT_EQ(std::vector<int>(points.begin(), points.end()), (std::vector<int>{5, 0}));
}

// Without the application's count, or when it does not know, a single-valued input bounds only
// negative indices, as before.
TEST_F(SeSelectionSnapshotRestoreTest, LeavesSingleValuedInputsUnboundedWithoutACount) {
    const auto unknown = [](const Vo::SeShapeInterface &, Elements) { return -1; };
    EXPECT_EQ(refusal("shape 1 points 99 handles 7\n", nullptr), "restored");
    EXPECT_EQ(refusal("shape 1 points 99 handles 7\n", unknown), "restored");
    EXPECT_EQ(refusal("shape 1 handles -2\n", unknown),
              "cannot restore the selection: entry 1 (shape key 1): handle -2 out of range (an "
              "index is 0 or more)");
}

// What a capture cannot key is named by its place; a stretch to restore must lie inside the
// selection. Both refusals leave the selection as it was.
TEST_F(SeSelectionSnapshotRestoreTest, RefusesWhatItCannotKeyOrPlace) {
    selector->addSelectedShape(controller.shape(0));
    selector->addSelectedShape(controller.shape(1));
    const RCShdPtr<Vo::SnSelection const> before(selector->getSelection()->clone());
    const Vo::Vector<RCShdPtr<Vo::SnItem const>> first{*before->begin()};
    for (const auto &[position, count] : {std::pair{1, 2}, {2, 1}, {3, 0}, {-1, 1}, {0, -1}}) {
        try {
            selector->restoreRange(position, count, first);
            ADD_FAILURE() << position << " " << count;
        } catch (const Vo::RCExInvalidCall &error) {
            EXPECT_EQ(std::string(error.what()),
                      "cannot restore " + std::to_string(count) + " items from place " +
                          std::to_string(position) + " of a selection of 2 items");
        }
        EXPECT_TRUE(selector->getSelection()->isEqual(before));
    }
    selector->restoreRange(2, 0, first); // at the end: appended
    EXPECT_EQ(selector->getSelection()->getNbItems(), 3);
    // A curve that is no structured input has no points to restore.
    controller.addShape("E", 3);
    controller.editing(2).setCurveInput(controller.toolNode()->addInput("E.curve"));
    EXPECT_EQ(refusal("shape 2 points 0\n", count),
              "cannot restore the selection: entry 1 (shape key 2): point 0 out of range (the "
              "shape has 0)");
    try { // these shapes make no promise of a key
        SeSelectionSnapshot::capture(selector);
        ADD_FAILURE() << "captured a shape without a key";
    } catch (const Vo::RCExInvalidCall &error) {
        EXPECT_EQ(std::string(error.what()), "selected shape 1 makes no identity-key promise");
    }
}

} // namespace
