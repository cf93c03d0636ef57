// Scene lines that give positions: what they hold reaches the graph's inputs, a shape without
// them is placed as before, and a malformed one is refused at its line with what was expected,
// the shapes before it kept. The bounds on counts are the scene's options.

#include "Session.h"
#include "SessionCommands.h"
#include "SessionPlacement.h"
#include "SessionScene.h"

#include "AppShapeInterface.h"

#include "host/graph/PiMultivaluedInput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using VoSession::SessionScene;

std::string readError(SessionScene &scene, const std::string &text) {
    std::istringstream in(text);
    std::string error;
    EXPECT_FALSE(scene.read(in, "p.scene", error)) << text.substr(0, 80);
    return error;
}

// The value of component (0: x or position, 1: y) of element index of a multi-valued input.
double valueOf(const Vo::RCShdPtr<Vo::PiInput> &input, int index, int component) {
    const auto elements = Vo::rcDynamicCastOrNull<Vo::PiMultivaluedInput>(input);
    return elements->getElement(index)->getSubInput(component)->getValue();
}

// Positions over several lines, decimal forms included, land in the shape's description and,
// once built, in the x and y inputs of its points and the position inputs of its handles, read
// through the graph; the shape without positions holds SessionPlacement's.
TEST(SessionPositionsTest, PositionsReachTheGraphInputs) {
    VoSession::Session session;
    SessionScene scene(session.getNodeNames());
    std::istringstream text("shape Leaf 4 2  # a leaf\n"
                            "points 0,0 10.5,5\n"
                            "\n"
                            "points -2e1,0 +30,-0.25\n"
                            "handles 0 0.75\n"
                            "shape Plain 3 1\n"
                            "shape Line 2 single\n");
    std::string error;
    ASSERT_TRUE(scene.read(text, "p.scene", error)) << error;
    EXPECT_EQ(scene.getShapes()[0].points, (std::vector<double>{0, 0, 10.5, 5, -20, 0, 30, -0.25}));
    EXPECT_EQ(scene.getShapes()[0].handles, (std::vector<double>{0, 0.75}));
    ASSERT_EQ(session.build(scene), nullptr);

    VoExample::AppShapeInterface &leaf = *session.findShape("Leaf");
    const Vo::RCShdPtr<Vo::PiInput> points = leaf.getCurveInput()->getSubInput(0);
    const std::vector<double> expected{0, 0, 10.5, 5, -20, 0, 30, -0.25};
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(valueOf(points, index, 0), expected[static_cast<std::size_t>(2 * index)]);
        EXPECT_EQ(valueOf(points, index, 1), expected[static_cast<std::size_t>(2 * index + 1)]);
    }
    EXPECT_EQ(valueOf(leaf.getGradientInput(), 1, 0), 0.75);

    VoExample::AppShapeInterface &plain = *session.findShape("Plain");
    for (int index = 0; index < 3; ++index) {
        const VoSession::SessionPlacement::Point placed =
            VoSession::SessionPlacement::getPoint(1, 3, index, 3);
        double x = 0;
        double y = 0;
        ASSERT_TRUE(plain.getPoint(index, x, y));
        EXPECT_EQ(x, placed.x);
        EXPECT_EQ(y, placed.y);
    }
    EXPECT_EQ(plain.getHandle(0), 0.5);
    // Placed shapes do not overlap: the second slot's cell starts where the first's ends.
    EXPECT_GE(VoSession::SessionPlacement::getPoint(1, 3, 0, 3).x,
              VoSession::SessionPlacement::cellWidth);
    // A single-valued curve has no input per point to hold a position.
    double x = 0;
    double y = 0;
    EXPECT_FALSE(session.findShape("Line")->getPoint(0, x, y));
}

// Each malformed position is refused at its line, saying what was expected; a shape whose
// positions stop short is refused where the next line or the end of the file shows it.
TEST(SessionPositionsTest, MalformedPositionsAreRefusedAtTheirLine) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"shape A 2\npoints 1;2 3,4\n",
         "p.scene:2: malformed point position \"1;2\" (expected X,Y: two decimal numbers and a "
         "comma, no blank)"},
        {"shape A 2\npoints 1,2 3,\n",
         "p.scene:2: malformed point position \"3,\" (expected X,Y: two decimal numbers and a "
         "comma, no blank)"},
        {"shape A 2\npoints 1,2 0x1,2\n",
         "p.scene:2: malformed point position \"0x1,2\" (expected X,Y: two decimal numbers and a "
         "comma, no blank)"},
        {"shape A 2\npoints nan,2 3,4\n",
         "p.scene:2: point position \"nan,2\" is not finite (expected X,Y: two finite numbers)"},
        {"shape A 2\npoints 1,-inf 3,4\n",
         "p.scene:2: point position \"1,-inf\" is not finite (expected X,Y: two finite numbers)"},
        {"shape A 2\npoints 1,2 3,4 5,6\n",
         "p.scene:2: shape \"A\" has 2 points, and \"5,6\" is one more position (expected 2 "
         "positions or none)"},
        {"shape A 3\npoints 1,2\npoints 3,4\n\nshape B 1\n",
         "p.scene:5: shape \"A\" of line 1 has 2 of its 3 point positions (expected all or "
         "none)"},
        {"shape A 3\npoints 1,2\n",
         "p.scene:3: shape \"A\" of line 1 has 1 of its 3 point positions (expected all or none)"},
        {"points 1,2\n", "p.scene:1: \"points\" line before any shape (expected \"shape NAME "
                         "POINTS [HANDLES] [single]\" before it)"},
        {"shape A 2 single\npoints 1,2 3,4\n",
         "p.scene:2: shape \"A\" has a single-valued curve, with no input per point (expected no "
         "points line)"},
        {"shape A 2 2\nhandles 0.5 1.5\n",
         "p.scene:2: handle place \"1.5\" out of range (expected a number from 0 to 1)"},
        {"shape A 2 2\nhandles 0.5 nan\n",
         "p.scene:2: handle place \"nan\" out of range (expected a number from 0 to 1)"},
        {"shape A 2 1\nhandles half\n",
         "p.scene:2: malformed handle place \"half\" (expected a decimal number from 0 to 1)"},
        {"shape A 2\nhandles 0.5\n", "p.scene:2: shape \"A\" has 0 handles, and \"0.5\" is one "
                                     "more position (expected 0 positions or none)"},
        {"shape A 1\nlayer L\npoints 1,1\n",
         "p.scene:3: \"points\" line before any shape (expected \"shape NAME POINTS [HANDLES] "
         "[single]\" before it)"},
        // A long word is quoted by its first 40 bytes: the messages used to hold it whole.
        {"shape A 1\npoints " + std::string(39, '1') + "\x01,2\n",
         "p.scene:2: malformed point position \"" + std::string(39, '1') +
             "\\x01\"... (expected X,Y: two decimal numbers and a comma, no blank)"},
        {"shape A " + std::string(50, '9') + "\n",
         "p.scene:1: point count \"" + std::string(40, '9') +
             "\"... out of range (expected an integer from 0 to 10000)"},
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        SessionScene scene({"Roto"});
        EXPECT_EQ(readError(scene, text), expected);
    }
    // The shapes before the bad line stay described.
    SessionScene kept({"Roto"});
    readError(kept, "shape Before 1\npoints 5,5\nshape A 2\npoints 1,2 nan,1\n");
    ASSERT_EQ(kept.getShapes().size(), 2U);
    EXPECT_EQ(kept.getShapes()[0].points, (std::vector<double>{5, 5}));
}

// The per-shape and total bounds are options: the defaults refuse what larger bounds take, up
// to 10^6 points in one shape, each message naming the bound in force.
TEST(SessionPositionsTest, CountBoundsAreOptions) {
    SessionScene defaults({"Roto"});
    EXPECT_EQ(readError(defaults, "shape A 10001\n"),
              "p.scene:1: point count \"10001\" out of range (expected an integer from 0 to "
              "10000)");
    SessionScene::Limits large;
    large.maxCount = 1000000;
    large.maxTotal = 1500000;
    SessionScene wide({"Roto"}, large);
    std::string text = "shape Big 1000000\npoints";
    for (int index = 0; index < 1000000; ++index) {
        text += index % 50000 == 49999 ? " 1,2\npoints" : " 1,2";
    }
    text += "\n";
    std::istringstream in(text);
    std::string error;
    ASSERT_TRUE(wide.read(in, "p.scene", error)) << error;
    EXPECT_EQ(wide.getShapes()[0].points.size(), 2000000U);
    EXPECT_EQ(readError(wide, "shape Over 500001\n"),
              "p.scene:1: shape \"Over\" makes the scene too large (expected at most 1500000 "
              "points and handles over all shapes; 500000 are left)");
    EXPECT_EQ(readError(wide, "shape Huge 1000001\n"),
              "p.scene:1: point count \"1000001\" out of range (expected an integer from 0 to "
              "1000000)");
}

// insert-point between two points near the largest double used to place the new one at their sum
// over two, an infinite position that the scene reader refuses and the editor converted to int. A
// point (handle) inserted at an end takes its neighbour's place.
TEST(SessionPositionsTest, AnInsertedPointOrHandleLiesMidwayOrOnItsNeighbour) {
    VoSession::Session session;
    SessionScene::Shape far;
    far.name = "Far";
    far.nbPoints = 2;
    far.nbHandles = 2;
    far.points = {1.7e308, -1.5e308, 1.5e308, -1.7e308};
    far.handles = {0.25, 0.75};
    session.addShape(far);
    VoSession::SessionCommands commands(session);
    for (const char *index : {"1", "0", "4"}) {
        for (const char *command : {"insert-point", "insert-handle"}) {
            VoSession::SessionReport report;
            commands.run({command, "Far", index}, report);
            ASSERT_EQ(report.error, "") << command << " " << index;
        }
    }
    const VoExample::AppShapeInterface &shape = *session.findShape("Far");
    const std::vector<double> xs{1.7e308, 1.7e308, 1.6e308, 1.5e308, 1.5e308};
    const std::vector<double> handles{0.25, 0.25, 0.5, 0.75, 0.75};
    for (int index = 0; index < 5; ++index) {
        double x = 0;
        double y = 0;
        ASSERT_TRUE(shape.getPoint(index, x, y));
        EXPECT_DOUBLE_EQ(x, xs[static_cast<std::size_t>(index)]) << index;
        EXPECT_DOUBLE_EQ(y, -xs[static_cast<std::size_t>(4 - index)]) << index;
        EXPECT_DOUBLE_EQ(shape.getHandle(index), handles[static_cast<std::size_t>(index)]) << index;
    }
}

} // namespace
