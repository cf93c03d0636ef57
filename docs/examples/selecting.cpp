// Selecting shapes and points in an editor made of the example application, and what the library
// does in answer: which callback lists run, what the application's selection holds, what a view
// reads of a change, and how a refused operation leaves both selections. The API reference quotes
// its parts.
#include "ExampleCheck.h"

#include "AppShapeEditor.h"

#include <VoShape/VoShape.h>

#include <string>
#include <vector>

int main() {
    //! [editor]
    // The example application's editor: a controller owning the graph and the layer, the
    // selector it shares, the updater made for it and handlers on the selector's callback lists.
    VoExample::AppShapeEditor editor;
    VoExample::AppEditorController &controller = editor.getController();
    const Vo::RCShdPtr<Vo::SeShape> a = controller.addShape("A", 5, 0, false)->getShape();
    const Vo::RCShdPtr<Vo::SeShape> b = controller.addShape("B", 4, 3, false)->getShape();
    const Vo::RCShdPtr<Vo::SeShapeSelector> selector = editor.getSharedSelector();
    //! [editor]
    editor.takeCallbacks();

    //! [select]
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapes;
    shapes.push_back(a);
    shapes.push_back(b);
    selector->setSelectedShapes(shapes); // A primary, then B
    // The updater mirrored the change: the editor's node, then A's and B's graph objects, and ran
    // the three callback lists in their order.
    const Vo::RCShdPtr<Vo::SnSelection> application = controller.getApplicationSelection();
    exampleCheck(application->getNbItems() == 3, "the editor's node and two graph objects");
    exampleCheck(editor.takeCallbacks() ==
                     std::vector<std::string>{"primary", "shapes", "selection"},
                 "primary, shapes and selection to run, in that order");
    // The same selection again is no change: nothing is written, nothing runs.
    selector->setSelectedShapes(shapes);
    exampleCheck(editor.takeCallbacks().empty(), "no callback for an unchanged selection");
    //! [select]

    //! [points]
    selector->setPrimarySelectedShape(a, -1); // A alone, as a whole
    Vo::Vector<int> indices;
    indices.push_back(4);
    indices.push_back(1);
    selector->selectPoints(indices); // in selection order: 4 has rank 1, 1 rank 2
    exampleCheck(selector->getPointSelectionRank(1) == 2, "point 1 to have rank 2");
    // With one shape selected, each selected point's x and y inputs join the application's
    // selection: node, object, and two inputs a point.
    exampleCheck(application->getNbItems() == 2 + 2 * 2, "the inputs of two points");
    //! [points]
    editor.takeCallbacks();

    //! [last-change]
    // A view follows the change from its callback instead of reading the whole selection again.
    std::vector<int> marked;
    Vo::CbFunction<Vo::CbEmptyType> view([&] {
        const Vo::SeSelectionChange &change = selector->getLastChange();
        for (int point : change.getPointsAdded()) {
            marked.push_back(point);
        }
    });
    selector->addSelectionChangedCallback(&view);
    selector->addSelectedPoint(3); // one index more: one point's inputs mirrored
    selector->removeSelectionChangedCallback(&view);
    exampleCheck(marked == std::vector<int>{3}, "the view to hear of point 3 alone");
    //! [last-change]
    editor.takeCallbacks();

    //! [refused]
    // An index the shape does not have: the updater cannot mirror it, the selector puts its items
    // back, and neither selection changes; no callback runs.
    try {
        selector->selectPoint(99);
        exampleCheck(false, "SeExMissingElement for point 99 of a shape of 5 points");
    } catch (const Vo::SeExMissingElement &error) {
        exampleCheck(error.getIndex() == 99 && error.getNbElements() == 5, "point 99 of 5");
    }
    exampleCheck(selector->getPointSelectionRank(3) == 3, "the points selected before");
    exampleCheck(application->getNbItems() == 2 + 3 * 2, "the application's selection as before");
    exampleCheck(editor.takeCallbacks().empty(), "no callback for a refused change");
    //! [refused]
    return 0;
}
