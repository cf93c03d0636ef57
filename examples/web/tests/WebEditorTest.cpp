// The page's view of the application: the shapes it draws, the changes it follows (which shapes
// came and went, the primary shape, the points in and out, shapes deleted since), the selections
// it reads whole, and a refused scene or command that leaves everything as it was.

#include "WebEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using VoWeb::WebEditor;

// The JSON text of a command's change, or "null".
std::string changeOf(const std::string &answer) {
    const std::size_t at = answer.find("\"change\":");
    return at == std::string::npos ? answer : answer.substr(at + 9, answer.size() - at - 10);
}

bool has(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// The built-in scene's shapes with their points; a scene with an error is refused, named and
// located, and the session stays the one before; a new scene is a new session.
TEST(WebEditorTest, OpensScenesAndGivesTheShapesToDraw) {
    WebEditor editor;
    const std::string demo = editor.getShapes();
    EXPECT_EQ(demo.find("{\"name\":\"A\",\"points\":["), 1u) << demo;
    for (const char *name : {"\"B\"", "\"D\""}) {
        EXPECT_TRUE(has(demo, name)) << name;
    }
    EXPECT_TRUE(has(demo, "{\"name\":\"C\",\"points\":[null,null,null,null,null,null,null,null,"
                          "null,null,null,null]}"))
        << "C's points have no positions of their own: " << demo;
    editor.run("select A");
    const std::string error = editor.open("shape S 2\npoints 1,2 3,x\n");
    EXPECT_TRUE(has(error, "<page>") && has(error, "2") && has(error, "3,x")) << error;
    EXPECT_EQ(editor.getShapes(), demo);
    EXPECT_TRUE(has(editor.getSelection(), "\"shape\":\"A\"")) << "the old session stays";

    EXPECT_EQ(editor.open("shape S 2\npoints 1,2 -0.5,1e-3\n"), "");
    EXPECT_EQ(editor.getShapes(), "[{\"name\":\"S\",\"points\":[1,2,-0.5,0.001]}]");
    EXPECT_FALSE(has(editor.getSelection(), "\"shape\":\"A\""));
}

// The application's selection mirrored in full is a whole change; the editor's own changes, small
// ones of the whole list too, give the shapes that came and went and the primary shape before and
// after, with the revisions a page follows by. No change when a command changes nothing or is
// refused.
TEST(WebEditorTest, GivesTheChangeOfEachCommand) {
    WebEditor editor;
    const std::string whole = editor.run("host-select A");
    EXPECT_TRUE(has(whole, "\"error\":null")) << whole;
    EXPECT_TRUE(has(changeOf(whole), "\"whole\":true")) << whole;
    const std::string answer = editor.run("select B");
    EXPECT_EQ(answer.substr(answer.size() - 3), "]}}") << "the change closed, then the answer";
    const std::string small = changeOf(answer);
    EXPECT_TRUE(has(small, "\"whole\":false,")) << small;
    EXPECT_TRUE(has(small, "\"removed\":[\"A\"],\"added\":[\"B\"]")) << small;
    editor.run("select A");

    const std::string before = editor.getSelection();
    const std::string change = changeOf(editor.run("select A B"));
    EXPECT_TRUE(has(change, "\"revisionBefore\":" + before.substr(12, before.find(',') - 12) + ","))
        << before << " before " << change;
    EXPECT_TRUE(has(change, "\"whole\":false")) << change;
    EXPECT_TRUE(has(change, "\"removed\":[],\"added\":[\"B\"]")) << change;
    EXPECT_TRUE(has(change, "\"primaryBefore\":\"A\",\"primaryAfter\":\"A\"")) << change;
    EXPECT_TRUE(has(change, "\"partsChanged\":false")) << change;
    const std::string selection = editor.getSelection();
    const std::string after = change.substr(change.find("\"revisionAfter\":") + 16);
    EXPECT_EQ(selection.substr(12, selection.find(',') - 12), after.substr(0, after.find(',')))
        << selection << " after " << change;

    EXPECT_EQ(changeOf(editor.run("select A B")), "null");
    editor.run("batch");
    const std::string raised = editor.run("undo");
    EXPECT_TRUE(has(raised, "\"error\":\"a selection history cannot restore while a batch is open"))
        << raised;
    EXPECT_EQ(changeOf(raised), "null");
    editor.run("end");
    const std::string refused = editor.run("select A Nope");
    EXPECT_TRUE(has(refused, "Nope")) << refused;
    EXPECT_FALSE(has(refused, "\"error\":null"));
    EXPECT_EQ(changeOf(refused), "null");
    EXPECT_EQ(editor.getSelection(), selection);

    const std::string swapped = changeOf(editor.run("select B"));
    EXPECT_TRUE(has(swapped, "\"removed\":[\"A\"],\"added\":[]")) << swapped;
    EXPECT_TRUE(has(swapped, "\"primaryBefore\":\"A\",\"primaryAfter\":\"B\"")) << swapped;
}

// The primary shape's points one at a time: the index that came or went; a list rewrites them,
// and the page reads them whole.
TEST(WebEditorTest, GivesThePointsThatChanged) {
    WebEditor editor;
    editor.run("primary A 2");
    EXPECT_EQ(editor.getPrimaryPoints(), "[2]");
    const std::string added = changeOf(editor.run("add-point 4"));
    EXPECT_TRUE(has(added, "\"partsChanged\":true,\"partsRewritten\":false")) << added;
    EXPECT_TRUE(has(added, "\"pointsAdded\":[4],\"pointsRemoved\":[]")) << added;
    editor.run("add-point 0");
    EXPECT_EQ(editor.getPrimaryPoints(), "[2,4,0]");
    const std::string removed = changeOf(editor.run("unselect-point 4"));
    EXPECT_TRUE(has(removed, "\"pointsAdded\":[],\"pointsRemoved\":[4]")) << removed;
    EXPECT_EQ(editor.getPrimaryPoints(), "[2,0]");
    EXPECT_TRUE(has(changeOf(editor.run("select-points 3 1")), "\"partsRewritten\":true"));
    EXPECT_EQ(editor.getPrimaryPoints(), "[3,1]");
    EXPECT_TRUE(has(editor.getSelection(), "A.curve/Points[3]")) << "the points' inputs";
    editor.run("select");
    EXPECT_EQ(editor.getPrimaryPoints(), "[]");
}

// A shape deleted since the change names it reads as null: the page reads the selection whole.
TEST(WebEditorTest, NamesADeletedShapeNull) {
    WebEditor editor;
    editor.run("select A B");
    const std::string removal = changeOf(editor.run("delete A"));
    EXPECT_TRUE(has(removal, "\"removed\":[null]")) << removal;
    EXPECT_TRUE(has(removal, "\"primaryBefore\":null,\"primaryAfter\":\"B\"")) << removal;
}

// The mirror's whole reading: the items' shapes in order, the primary one and its points in
// selection order, at the revision getSelection gives; inside a batch, the working selection. A
// shape deleted while its item stays is named as the session names it.
TEST(WebEditorTest, ReadsTheEditorSelectionWhole) {
    WebEditor editor;
    const std::string selection = editor.getSelection();
    const std::string revision = selection.substr(0, selection.find(','));
    EXPECT_EQ(editor.getEditorSelection(), revision + ",\"shapes\":[],\"primary\":null,\"points\":[]}");

    editor.run("select D B A");
    editor.run("add-point 2");
    editor.run("add-point 0");
    EXPECT_TRUE(has(editor.getEditorSelection(),
                    ",\"shapes\":[\"D\",\"B\",\"A\"],\"primary\":\"D\",\"points\":[2,0]}"))
        << editor.getEditorSelection();
    editor.run("batch");
    editor.run("primary B 1");
    EXPECT_TRUE(has(editor.getEditorSelection(), "\"shapes\":[\"B\"],\"primary\":\"B\",\"points\":[1]}"))
        << "the batch's working selection: " << editor.getEditorSelection();
    editor.run("end");
    const std::string after = editor.getSelection();
    EXPECT_EQ(editor.getEditorSelection().substr(0, after.find(',')), after.substr(0, after.find(',')));

    editor.run("select A B");
    editor.run("delete B no-event");
    const std::string deleted = editor.getEditorSelection();
    EXPECT_TRUE(has(deleted, "\"shapes\":[\"A\",\"B\"],\"primary\":\"A\"")) << deleted;
    EXPECT_TRUE(has(editor.getSelection(), "\"shape\":\"B\",\"alive\":false"))
        << "B's item stays, its shape gone: " << editor.getSelection();
}

// The application's selection by its first items, described as getSelection describes them, and
// counted whole.
TEST(WebEditorTest, ReadsTheApplicationsFirstItems) {
    WebEditor editor;
    editor.run("select A D");
    editor.run("add-point 3");
    const std::string whole = editor.getSelection();
    const std::string items = whole.substr(whole.find("\"host\":"));
    const std::size_t count = static_cast<std::size_t>(std::count(items.begin(), items.end(), '{'));
    ASSERT_GE(count, 3u) << whole;
    EXPECT_EQ(editor.getHostSelection(100), "{\"count\":" + std::to_string(count) + "," + items);
    const std::string first = editor.getHostSelection(2);
    EXPECT_EQ(first, "{\"count\":" + std::to_string(count) + "," +
                         items.substr(0, items.find("},{", items.find("},{") + 1) + 1) + "]}")
        << first;
    EXPECT_EQ(editor.getHostSelection(0), "{\"count\":" + std::to_string(count) + ",\"host\":[]}");
}

} // namespace
