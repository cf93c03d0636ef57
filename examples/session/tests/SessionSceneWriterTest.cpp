// The scene writer against the scene reader: what it writes reads back to the same shapes, in
// the same layers and order, holding the same doubles, and to the same text again.

#include "SessionSceneWriter.h"
#include "Session.h"
#include "SessionScene.h"

#include "AppShapeInterface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using VoSession::Session;
using VoSession::SessionScene;
using VoSession::SessionSceneWriter;

void build(Session &session, const std::string &text) {
    SessionScene scene(session.getNodeNames());
    std::istringstream in(text);
    std::string error;
    ASSERT_TRUE(scene.read(in, "w.scene", error)) << error;
    ASSERT_EQ(session.build(scene), nullptr);
}

std::vector<double> valuesOf(const VoExample::AppShapeInterface &shape) {
    std::vector<double> values;
    for (int index = 0; index < shape.getNbPoints(); ++index) {
        double x = 0;
        double y = 0;
        if (shape.getPoint(index, x, y)) {
            values.insert(values.end(), {x, y});
        }
    }
    for (int index = 0; index < shape.getNbHandles(); ++index) {
        values.push_back(shape.getHandle(index));
    }
    return values;
}

// Layers (an empty one too), single-valued curves, handles, a shape of more points than a line
// holds, and numbers that take all seventeen digits, the extremes and a negative zero: the text
// builds the same shapes with the same values, and writes the same text again.
TEST(SessionSceneWriterTest, WrittenSceneReadsBackToTheSameShapes) {
    std::ostringstream scene;
    scene << std::setprecision(17) << "shape Long " << SessionSceneWriter::perLine + 3 << " 2\n";
    for (int index = 0; index < SessionSceneWriter::perLine + 3; ++index) {
        scene << "points " << index / 3.0 << ",-" << index * 1e-300 << "\n";
    }
    scene << "handles 0.1 1\nshape Odd 2\npoints 1.7976931348623157e308,-0 "
             "0.30000000000000004,5e-324\n"
             "layer Empty\nlayer Mask\nshape Line 4 single\nshape Cut 3 1 single\nhandles 0\n";
    Session first;
    build(first, scene.str());
    const std::string text = SessionSceneWriter::text(first);
    EXPECT_NE(text.find("\nlayer Empty\nlayer Mask\nshape Line 4 0 single\nshape Cut 3 1 single\n"
                        "handles 0\n"),
              std::string::npos)
        << text;
    std::size_t pointLines = 0;
    for (std::size_t at = text.find("\npoints "); at != std::string::npos;
         at = text.find("\npoints ", at + 1)) {
        ++pointLines;
    }
    EXPECT_EQ(pointLines, 3U) << "Long's two, Odd's one";
    Session second;
    build(second, text);
    EXPECT_EQ(SessionSceneWriter::text(second), text);
    EXPECT_EQ(second.getLayerNames(), first.getLayerNames());
    for (const char *name : {"Long", "Odd"}) {
        EXPECT_EQ(valuesOf(*second.findShape(name)), valuesOf(*first.findShape(name))) << name;
    }
    double x = 0;
    double y = 0;
    ASSERT_TRUE(second.findShape("Odd")->getPoint(0, x, y));
    EXPECT_EQ(x, std::numeric_limits<double>::max());
    EXPECT_TRUE(std::signbit(y));
    ASSERT_TRUE(second.activateLayer("Mask"));
    EXPECT_TRUE(second.findShape("Line")->hasSingleValuedPoints());
    EXPECT_EQ(second.findShape("Cut")->getNbHandles(), 1);
}

// A deleted shape is left out; one built again (what undoing its deletion does) keeps its place
// in the scene's order, wherever its layer lists it now.
TEST(SessionSceneWriterTest, DeletedShapesGoAndRebuiltOnesKeepTheirPlace) {
    Session session;
    build(session, "shape A 2\npoints 0,0 1,1\nshape B 1\npoints 5,5\nshape C 1\npoints 7,7\n");
    const std::string before = SessionSceneWriter::text(session);
    SessionScene::Shape a;
    ASSERT_TRUE(session.describeShape("A", a));
    ASSERT_TRUE(session.getController().deleteShape("B"));
    ASSERT_TRUE(session.getController().deleteShape("A"));
    EXPECT_EQ(SessionSceneWriter::text(session), "shape C 1\npoints 7,7\n");
    ASSERT_NE(session.rebuildShape(a), nullptr);
    EXPECT_EQ(SessionSceneWriter::text(session),
              "shape A 2\npoints 0,0 1,1\nshape C 1\npoints 7,7\n");
    EXPECT_NE(before.find("shape B 1\npoints 5,5\n"), std::string::npos);
}

} // namespace
