// Many changes as one (a batch), undo and redo (the history), and a selection saved as text and
// put back (a snapshot), on the example application's editor. The API reference quotes its parts.
#include "ExampleCheck.h"

#include "AppShapeEditor.h"

#include <VoShape/VoShape.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

int main() {
    VoExample::AppShapeEditor editor;
    VoExample::AppEditorController &controller = editor.getController();
    for (const char *name : {"A", "B", "C", "D"}) {
        controller.addShape(name, 4, 0, false);
    }
    VoExample::AppLayerInterface &layer = controller.getLayer();
    const Vo::RCShdPtr<Vo::SeShapeSelector> selector = editor.getSharedSelector();
    Vo::SeSelectionHistory &history = editor.getHistory();
    editor.takeCallbacks();

    //! [batch]
    {
        Vo::SeSelectionBatch batch(selector);
        Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> all;
        for (const char *name : {"A", "B", "C"}) {
            all.push_back(layer.findShape(name)->getShape());
        }
        selector->setSelectedShapes(all);
        controller.deleteShape("B"); // its ShapeRemoved: B leaves the working selection
        selector->setPrimarySelectedShape(layer.findShape("C")->getShape(), -1);
        selector->addSelectedShape(layer.findShape("A")->getShape());
        exampleCheck(editor.takeCallbacks().empty(), "no callback before the commit");
        batch.commit(); // one write, one mirroring, each callback list at most once
    }
    exampleCheck(editor.takeCallbacks() ==
                     std::vector<std::string>{"primary", "shapes", "selection"},
                 "each callback list once at the commit");
    exampleCheck(selector->getNbSelectedShape() == 2, "C then A selected");
    //! [batch]

    //! [history]
    exampleCheck(history.getNbUndoSteps() == 1, "the whole batch as one step");
    exampleCheck(history.undo(), "a step to undo");
    exampleCheck(selector->getNbSelectedShape() == 0, "the selection before the batch");
    exampleCheck(history.redo(), "a step to redo");
    exampleCheck(selector->getNbSelectedShape() == 2, "C and A again");
    //! [history]

    //! [snapshot]
    // The example application's shapes promise identity keys (their graph object's id), which a
    // snapshot stores; the application resolves them back to shapes.
    const std::string text = Vo::SeSelectionSnapshot::capture(selector).toText();
    selector->resetSelection();
    const auto resolve = [&](std::uint64_t key) {
        VoExample::AppShapeInterface *shape = key > static_cast<std::uint64_t>(INT_MAX)
                                                  ? nullptr
                                                  : layer.findShapeById(static_cast<int>(key));
        return shape == nullptr ? Vo::RCShdPtr<Vo::SeShape>() : shape->getShape();
    };
    Vo::SeSelectionSnapshot::fromText(text).restore(selector, resolve); // one change, one step
    exampleCheck(Vo::SeSelectionSnapshot::capture(selector).toText() == text, "the same selection");
    //! [snapshot]

    //! [snapshot-refused]
    // A text that does not read is refused with its line, and nothing is restored.
    try {
        Vo::SeSelectionSnapshot::fromText("voshape-selection 1\nshape -4\n");
        exampleCheck(false, "RCExInvalidCall for a negative key");
    } catch (const Vo::RCExInvalidCall &error) {
        exampleCheck(std::string(error.what()).find("line 2:") != std::string::npos,
                     "the error to name line 2");
    }
    //! [snapshot-refused]
    return 0;
}
