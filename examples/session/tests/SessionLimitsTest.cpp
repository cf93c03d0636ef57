#include "Session.h"
#include "SessionCommands.h"
#include "SessionLineReader.h"
#include "SessionRunner.h"
#include "SessionScene.h"
#include "SessionTextPrinter.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <istream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

using VoSession::SessionLineReader;
using VoSession::SessionScene;
using Result = SessionLineReader::Result;

// A stream without end, of zero bytes, that counts what it handed out: /dev/zero in memory.
class ZeroBuffer : public std::streambuf {
public:
    std::size_t served = 0;

protected:
    int_type underflow() override {
        served += sizeof block;
        setg(block, block, block + sizeof block);
        return traits_type::to_int_type(block[0]);
    }

private:
    char block[1000] = {};
};

std::string rest(std::istream &in) {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines across chunk boundaries and at the limit, zero bytes and a last line without '\n'; a line
// past the limit is cut right after it, and the rest of the stream stays unread.
TEST(SessionLineReaderTest, ReadsLinesUpToTheLimitAndNoFurther) {
    const std::size_t limit = 10000; // beyond one chunk
    const std::string atLimit(limit, 'a');
    const std::string zeros(5000, '\0');
    std::istringstream text("\n" + zeros + "\n" + atLimit + "\n" + std::string(limit + 7, 'b') +
                            "\nnever read\n");
    SessionLineReader reader(text, limit);
    std::string line;
    const std::vector<std::string> expected{"", zeros, atLimit};
    for (const std::string &wanted : expected) {
        ASSERT_EQ(reader.read(line), Result::Line);
        EXPECT_EQ(line, wanted);
    }
    ASSERT_EQ(reader.read(line), Result::TooLong);
    EXPECT_EQ(line, std::string(limit + 1, 'b'));
    EXPECT_EQ(rest(text), "bbbbbb\nnever read\n");

    std::istringstream unterminated("first\nlast");
    SessionLineReader ends(unterminated, limit);
    for (const char *wanted : {"first", "last"}) {
        ASSERT_EQ(ends.read(line), Result::Line);
        EXPECT_EQ(line, wanted);
    }
    EXPECT_EQ(ends.read(line), Result::End);
    EXPECT_EQ(ends.read(line), Result::End);
}

// A line that never ends costs the limit, not the stream; the message quotes its first 40 bytes
// only, escaped, and a cut never splits a character.
TEST(SessionLineReaderTest, AnEndlessLineStopsAtTheLimitWithAShortMessage) {
    ZeroBuffer zeros;
    std::istream endless(&zeros);
    SessionLineReader reader(endless);
    std::string line;
    ASSERT_EQ(reader.read(line), Result::TooLong);
    EXPECT_EQ(line.size(), SessionLineReader::maxLength + 1);
    EXPECT_LE(zeros.served, SessionLineReader::maxLength + 1000 + 1);
    std::string quoted;
    for (int i = 0; i < 40; ++i) {
        quoted += "\\x00";
    }
    EXPECT_EQ(reader.describeTooLong(line), "line longer than 1048576 bytes, starting \"" + quoted +
                                                "\"... (expected at most 1048576 bytes a line)");

    std::istringstream accents(std::string(39, 'x') + "\xc3\xa9" + std::string(20, 'y'));
    SessionLineReader small(accents, 50);
    ASSERT_EQ(small.read(line), Result::TooLong);
    EXPECT_EQ(small.describeTooLong(line), "line longer than 50 bytes, starting \"" +
                                               std::string(39, 'x') +
                                               "\"... (expected at most 50 bytes a line)");
}

std::string readError(SessionScene &scene, const std::string &text) {
    std::istringstream in(text);
    std::string error;
    EXPECT_FALSE(scene.read(in, "t.scene", error)) << text.substr(0, 80);
    return error;
}

// The scene's bounds on names and on shapes, each refused at its line; the shape command meets the
// same bound, deleted shapes counted.
TEST(SessionSceneTest, BoundsNamesAndShapes) {
    SessionScene names({"Roto"});
    const std::string longest(SessionScene::maxNameLength, 'n');
    const std::string tooLong = std::string(SessionScene::maxNameLength + 1, 'n');
    std::istringstream fine("shape " + longest + " 0\n");
    std::string error;
    EXPECT_TRUE(names.read(fine, "t.scene", error)) << error;
    EXPECT_EQ(readError(names, "\nshape " + tooLong + " 1\n"),
              "t.scene:2: shape name \"" + std::string(40, 'n') +
                  "\"... is 257 bytes long (expected at most 256 bytes)");
    EXPECT_EQ(readError(names, "shape " + longest + " 2\n"),
              "t.scene:1: shape name \"" + longest + "\" is taken (expected a new name)");
    EXPECT_EQ(readError(names, "# long\nshape X " + std::string(2 << 20, '1') + "\n"),
              "t.scene:2: line longer than 1048576 bytes, starting \"shape X " +
                  std::string(32, '1') + "\"... (expected at most 1048576 bytes a line)");

    SessionScene three({"Roto"}, 3);
    EXPECT_EQ(readError(three, "shape A 0\nshape B 0\nshape C 0\nshape D 0\n"),
              "t.scene:4: shape \"D\" makes the scene too large (expected at most 3 shapes, "
              "deleted ones included)");
    EXPECT_EQ(three.getShapes().size(), 3u);

    VoSession::Session session(2);
    SessionScene scene(session.getNodeNames(), 2);
    std::istringstream two("shape A 1\nshape B 0\n");
    ASSERT_TRUE(scene.read(two, "t.scene", error)) << error;
    ASSERT_EQ(session.build(scene), nullptr);
    ASSERT_TRUE(session.getController().deleteShape("A"));
    SessionScene::Shape shape;
    EXPECT_EQ(session.getScene().parseShape({"C", "0"}, 0, shape),
              "shape \"C\" makes the scene too large (expected at most 2 shapes, deleted ones "
              "included)");
}

// Layer lines take a name as shapes do, with their editor node's; the shapes after one are its.
TEST(SessionSceneTest, LayersTakeTheirNamesAndTheShapesAfterThem) {
    SessionScene scene({"Roto", "ShapeEditor"});
    EXPECT_EQ(readError(scene, "shape A 1\nlayer Mask\nshape B 1\nlayer Mask2 x\n"),
              "t.scene:4: a layer line holds one name (expected \"layer NAME\")");
    ASSERT_EQ(scene.getShapes().size(), 2u);
    EXPECT_EQ(scene.getShapes()[0].layer, 0);
    EXPECT_EQ(scene.getShapes()[1].layer, 1);
    EXPECT_EQ(readError(scene, "layer B\n"),
              "t.scene:1: shape name \"B\" is taken (expected a new name)");
    EXPECT_EQ(readError(scene, "shape Mask 1\n"),
              "t.scene:1: shape name \"Mask\" is taken (expected a new name)");
    EXPECT_EQ(readError(scene, "shape Mask.Editor 1\n"),
              "t.scene:1: shape name \"Mask.Editor\" is taken (expected a new name)");
    EXPECT_EQ(readError(scene, "layer Roto\n"),
              "t.scene:1: \"Roto\" names a node of the graph (expected a shape name other than "
              "Roto, ShapeEditor)");
    EXPECT_EQ(scene.getLayers(), std::vector<std::string>{"Mask"});

    SessionScene many({"Roto"});
    std::string lines;
    for (std::size_t layer = 0; layer <= SessionScene::maxLayers; ++layer) {
        lines += "layer L" + std::to_string(layer) + "\n";
    }
    EXPECT_EQ(readError(many, lines),
              "t.scene:65: layer \"L64\" makes the scene too large (expected at most 64 layers "
              "beyond the first)");

    // Built, each layer is an editor of its own on one graph; shapes are found in the active one.
    VoSession::Session session;
    SessionScene two(session.getNodeNames());
    std::istringstream text("shape A 2\nlayer Mask\nshape B 2\n");
    std::string error;
    ASSERT_TRUE(two.read(text, "t.scene", error)) << error;
    ASSERT_EQ(session.build(two), nullptr);
    EXPECT_EQ(session.getLayerNames(), (std::vector<std::string>{"Roto", "Mask"}));
    EXPECT_NE(session.findShape("A"), nullptr);
    EXPECT_EQ(session.findShape("B"), nullptr);
    EXPECT_FALSE(session.activateLayer("Nowhere"));
    ASSERT_TRUE(session.activateLayer("Mask"));
    EXPECT_EQ(session.getActiveLayer(), 1);
    EXPECT_NE(session.findShape("B"), nullptr);
    EXPECT_EQ(session.capture().layer, "Mask");
    EXPECT_EQ(session.capture().host.front().name, "Mask.Editor"); // written out on activation
}

struct ScriptRun {
    std::string transcript;
    std::string errors;
    bool cutShort = false;
};

ScriptRun runScript(const std::string &script) {
    VoSession::Session session;
    SessionScene scene(session.getNodeNames());
    std::istringstream sceneText("shape A 3\nshape B 2\n");
    std::string error;
    EXPECT_TRUE(scene.read(sceneText, "t.scene", error)) << error;
    EXPECT_EQ(session.build(scene), nullptr);
    VoSession::SessionCommands commands(session);
    std::ostringstream out;
    std::ostringstream err;
    VoSession::SessionTextPrinter printer(out, err);
    VoSession::SessionRunner runner(session, commands, printer);
    std::istringstream in(script);
    runner.run(in, "t.script", nullptr, out);
    return {out.str(), err.str(), runner.wasCutShort()};
}

// Where a run ends: a batch left open is abandoned at quit's line, or after the last line; a line
// too long ends the run there, after the lines before it ran.
TEST(SessionRunnerTest, EndsAtQuitOrALineTooLongAndReportsBatchesAndHelp) {
    const std::string openBatch = "the batch opened at line 1 is not ended (expected \"end\")\n";
    EXPECT_EQ(runScript("batch\nselect A\nquit\nselect B\n").errors, "t.script:3: " + openBatch);
    EXPECT_EQ(runScript("batch\nselect A\n").errors, "t.script:3: " + openBatch);

    const ScriptRun cut = runScript("select A\n" + std::string(3 << 20, 'x') + "\nselect B\n");
    EXPECT_TRUE(cut.cutShort);
    EXPECT_EQ(cut.errors, "t.script:2: line longer than 1048576 bytes, starting \"" +
                              std::string(40, 'x') +
                              "\"... (expected at most 1048576 bytes a line)\n");
    EXPECT_NE(cut.transcript.find("> select A"), std::string::npos);
    EXPECT_EQ(cut.transcript.find("> select B"), std::string::npos);
    EXPECT_FALSE(runScript("select A\nquit\n").cutShort);

    // Batches nest: each "end" tells the depth it leaves, the last commits.
    const std::string nested = runScript("batch\nbatch\nselect A\nend\nend\n").transcript;
    EXPECT_NE(nested.find("nested batch ended (depth 1 left)"), std::string::npos) << nested;
    EXPECT_NE(nested.find("batch committed"), std::string::npos) << nested;

    // Help prints its lines as they are: no result block, no state, no callbacks.
    const std::string help = runScript("help\n").transcript;
    EXPECT_NE(help.find("\n  save-file FILE"), std::string::npos) << help;
    EXPECT_EQ(help.find("callbacks:"), std::string::npos) << help;
    EXPECT_EQ(help.find("result:"), std::string::npos) << help;
}

// Undoing a deletion: the shape comes back in its own layer with the counts it had when it went,
// under its name, as a new shape (a new id); the scene's names stay as they were.
TEST(SessionTest, DeletedShapeIsBuiltAgainWithItsCounts) {
    VoSession::Session session;
    SessionScene described(session.getNodeNames());
    std::istringstream in("shape A 3 2\nshape B 4 0 single\nlayer Mask\nshape M 2\n");
    std::string error;
    ASSERT_TRUE(described.read(in, "<test>", error)) << error;
    session.build(described);
    ASSERT_TRUE(session.getController().insertPoint(*session.findShape("A"), 1));

    SessionScene::Shape a;
    SessionScene::Shape b;
    ASSERT_TRUE(session.describeShape("A", a));
    ASSERT_TRUE(session.describeShape("B", b));
    EXPECT_FALSE(session.describeShape("M", b)); // another layer's: not the active one's
    EXPECT_EQ(a.nbPoints, 4);
    EXPECT_EQ(a.nbHandles, 2);
    EXPECT_TRUE(b.singleValuedPoints);
    const int oldId = session.findShape("A")->getId();
    // A live shape of that name: nothing is built.
    EXPECT_EQ(session.rebuildShape(a), nullptr);

    ASSERT_TRUE(session.getController().deleteShape("A"));
    session.takeEvents();
    const VoExample::AppShapeInterface *made = session.rebuildShape(a);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made, session.findShape("A"));
    EXPECT_EQ(made->getNbPoints(), 4);
    EXPECT_EQ(made->getNbHandles(), 2);
    EXPECT_NE(made->getId(), oldId);
    EXPECT_EQ(session.takeEvents(),
              std::vector<std::string>(
                  {"ShapeAdded A (id " + std::to_string(made->getId()) + "), owner Roto"}));
    EXPECT_EQ(session.getShapeNames(), std::vector<std::string>({"B", "A"}));
    EXPECT_EQ(session.getScene().getShapes().size(), 3u);

    // A layer the session does not have.
    SessionScene::Shape elsewhere = b;
    elsewhere.name = "Z";
    elsewhere.layer = 5;
    EXPECT_EQ(session.rebuildShape(elsewhere), nullptr);
}

} // namespace
