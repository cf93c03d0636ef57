// vo-shape-editor under the offscreen platform: real mouse and key events at the drawn places of
// shapes, points and handles, checked against the selector, the application's selection, the docks
// and the rendered image.

// Qt first, with its keywords (signals, slots, emit) defined as macros, then every public header:
// a header that used one of them as a name would break each Qt application including Qt first.
#include <QObject>

#include "VoShape.h"

#include "EditorPainter.h"
#include "EditorWindow.h"

#include "SessionFileReader.h"
#include "SessionLineReader.h"
#include "SessionState.h"

#include "SeShapeSelector.h"

#include "foundation/Vector.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

#include <array>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using VoEditor::EditorLayout;
using VoEditor::EditorPainter;
using VoEditor::EditorWindow;

class EditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void clicksOnShapesSelectAndToggleThem();
    void clicksOnPointsKeepSelectionOrder();
    void clicksOnHandlesKeepSelectionOrder();
    void draggedRectangleSelectsPointsOrShapes();
    void keysSelectStepAndClear();
    void deleteAndInsertEditTheGraphFirst();
    void undoRestoresDeletedPartsShapesAndTheirSelection();
    void undoCanSkipSelectionChanges();
    void undoOfAStepTheSceneNoLongerFitsChangesNothing();
    void emptyClicksModifiedRectanglesAndInversion();
    void actionsAreGreyedWhileTheyCannotApply();
    void windowKeepsAMinimumSize();
    void errorsShowInColourAndOpeningIsLogged();
    void logKeepsShowingItsEndAfterAWideLine();
    void keyboardReachesEveryPartAndTheCanvasShowsItsFocus();
    void layerSwitcherShowsEachLayerAndItsSelection();
    void savedSelectionLoadsBackOrIsRefusedWhole();
    void hoverSetsThePickingState();
    void rowsOfTheApplicationDockWriteItsSelection();
    void commandLineRunsCommandsAndRejectsBadOnes();
    void renderedImageShowsWhatIsSelected();
    void renderedImageStaysLegibleAtEveryScale_data();
    void renderedImageStaysLegibleAtEveryScale();
    void malformedSceneKeepsTheOpenScene();

private:
    void click(const QPoint &at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void drag(const QPoint &from, const QPoint &to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void open(const std::string &scene);
    VoSession::SessionState state() const;
    // The editor's selection as "*A[2,4|1]": primary marked, points then handles, in order.
    QString editor() const;
    QStringList applicationItems();
    // The object row of that name in the application's dock; invalid when there is none.
    QModelIndex objectRow(const QString &name);
    QString lastLog();
    QPoint point(const char *shape, int index) { return canvas().getPointPosition(shape, index); }
    QPoint handle(const char *shape, int index) { return canvas().getHandlePosition(shape, index); }
    QPoint curve(const char *shape) { return canvas().getCurvePosition(shape); }
    VoEditor::EditorCanvas &canvas() { return window->getCanvas(); }
    // A shortcut typed into the window, wherever the focus is.
    void shortcut(QKeySequence sequence);
    // Closes the next message box, giving its text.
    void answerNextMessageBox(QString &shown);

    std::unique_ptr<EditorWindow> window;
};

namespace {

QString describe(const VoSession::SessionState::Shape &shape) {
    QString text = (shape.primary ? "*" : "") + QString::fromStdString(shape.name);
    if (shape.hasParts) {
        QStringList points;
        QStringList handles;
        for (const int index : shape.points) {
            points << QString::number(index);
        }
        for (const int index : shape.handles) {
            handles << QString::number(index);
        }
        text += "[" + points.join(",") + "|" + handles.join(",") + "]";
    }
    return text;
}

int distance(const QColor &a, const QColor &b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// Whether the canvas drew the colour at the place: one of the pixels next to it is that colour,
// or close enough to tell it from the other colours the canvas uses, whatever antialiasing and
// rounding to whole pixels blend in.
bool near(const QImage &image, const QPoint &at, const QColor &expected) {
    int best = 3 * 255;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            best = std::min(best, distance(image.pixelColor(at + QPoint(dx, dy)), expected));
        }
    }
    return best < 40;
}

} // namespace

void EditorTest::init() {
    window = std::make_unique<EditorWindow>();
    window->resize(1280, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    canvas().setFocus();
}

void EditorTest::cleanup() { window.reset(); }

void EditorTest::click(const QPoint &at, Qt::KeyboardModifiers modifiers) {
    QVERIFY2(canvas().rect().contains(at), "the place is on the canvas");
    QTest::mouseClick(&canvas(), Qt::LeftButton, modifiers, at);
}

void EditorTest::key(int code, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&canvas(), static_cast<Qt::Key>(code), modifiers);
}

void EditorTest::drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers) {
    QTest::mousePress(&canvas(), Qt::LeftButton, modifiers, from);
    QTest::mouseMove(&canvas(), (from + to) / 2);
    QTest::mouseMove(&canvas(), to);
    QTest::mouseRelease(&canvas(), Qt::LeftButton, modifiers, to);
}

void EditorTest::shortcut(QKeySequence sequence) {
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
    QTest::keySequence(target, sequence);
}

void EditorTest::answerNextMessageBox(QString &shown) {
    QTimer::singleShot(0, this, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box != nullptr) {
            shown = box->text() + "\n" + box->informativeText();
            box->accept();
        }
    });
}

void EditorTest::open(const std::string &scene) {
    std::istringstream in(scene);
    std::string error;
    QVERIFY2(window->getDocument().open(in, "<test>", error), error.c_str());
    window->resize(1280, 800);
}

VoSession::SessionState EditorTest::state() const {
    return window->getDocument().getSession().capture();
}

QString EditorTest::editor() const {
    QStringList shapes;
    for (const VoSession::SessionState::Shape &shape : state().shapes) {
        shapes << describe(shape);
    }
    return shapes.join(" ");
}

QStringList EditorTest::applicationItems() {
    QStringList rows;
    const QAbstractItemModel &items = *window->getApplicationDock().getItemList().model();
    for (int row = 0; row < items.rowCount(); ++row) {
        rows << items.index(row, 0).data().toString();
    }
    return rows;
}

QModelIndex EditorTest::objectRow(const QString &name) {
    const QAbstractItemModel &rows = *window->getApplicationDock().getObjectList().model();
    return rows.match(rows.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0);
}

QString EditorTest::lastLog() {
    const QString text = window->getLogDock().getText().toPlainText();
    return text.mid(text.lastIndexOf('\n', text.lastIndexOf("callbacks:")) + 1);
}

void EditorTest::clicksOnShapesSelectAndToggleThem() {
    click(curve("B"));
    QCOMPARE(editor(), QString("*B"));
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object B"}));
    QVERIFY(window->getLogDock().getText().toPlainText().contains(
        "click shape B\n  callbacks:  primary, shapes, selection"));

    click(curve("C"), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*B C"));
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object B", "object C"}));
    // Taking the primary shape out makes the next one primary.
    click(curve("B"), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*C"));
    click(curve("A"));
    QCOMPARE(editor(), QString("*A"));
    // The same click again changes nothing, and no callback runs.
    click(curve("A"));
    QVERIFY(lastLog().endsWith("callbacks:  none"));
    // A shape a command selected twice leaves with both its items, the others staying.
    QVERIFY(window->getDocument().runCommand("select A C A"));
    QCOMPARE(editor(), QString("*A C A"));
    click(curve("A"), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*C"));
    // A command's selection is one undo step, as a click's is.
    QVERIFY(window->getDocument().runCommand("select B"));
    QCOMPARE(editor(), QString("*B"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*C"));
}

void EditorTest::clicksOnPointsKeepSelectionOrder() {
    click(curve("A"));
    click(point("A", 2));
    QCOMPARE(editor(), QString("*A[2|]"));
    QVERIFY(!applicationItems().filter("input A.curve/Points[2]/x via Roto>Output = ").isEmpty());
    click(point("A", 4), Qt::ShiftModifier);
    click(point("A", 0), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A[2,4,0|]"));
    QCOMPARE(window->getDocument().getSelector().getPointSelectionRank(0), 3);
    // Adding a point that is selected already keeps its rank.
    click(point("A", 2), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A[2,4,0|]"));
    click(point("A", 4), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A[2,0|]"));
    // A plain click selects that point alone.
    click(point("A", 3));
    QCOMPARE(editor(), QString("*A[3|]"));
    // Taking the last one out leaves the shape selected as a whole.
    click(point("A", 3), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A"));
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object A"}));
    // A point of a shape that is not primary selects that shape.
    click(point("D", 1));
    QCOMPARE(editor(), QString("*D"));
}

void EditorTest::clicksOnHandlesKeepSelectionOrder() {
    click(curve("B"));
    click(point("B", 1));
    click(handle("B", 2));
    QCOMPARE(editor(), QString("*B[1|2]"));
    click(handle("B", 0), Qt::ShiftModifier);
    click(handle("B", 1), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*B[1|2,0,1]"));
    QCOMPARE(window->getDocument().getSelector().getHandleSelectionRank(1), 3);
    QVERIFY(
        !applicationItems().filter("input B.gradient[0]/position via Roto>Output = ").isEmpty() ||
        applicationItems().filter("B.gradient").size() >= 3);
    click(handle("B", 0), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*B[1|2,1]"));
    // The point stays when the handles go; with the point gone too, the shape is whole again.
    click(handle("B", 2), Qt::ControlModifier);
    click(handle("B", 1), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*B[1|]"));
    click(point("B", 1), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*B"));
}

void EditorTest::draggedRectangleSelectsPointsOrShapes() {
    click(curve("C"));
    // A band around points 1 to 3 of C, started above the curve where nothing is drawn.
    const QRect around = QRect(point("C", 1), point("C", 3)).normalized();
    const QPoint start(around.left() - 4, around.top() - 30);
    const QPoint end(around.right() + 4, around.bottom() + 30);
    QCOMPARE(window->getDocument().getSelector().getNbSelectedShape(), 1);
    drag(start, end);
    QCOMPARE(editor(), QString("*C[1,2,3|]"));

    // With nothing selected, the shapes whose curves lie inside the band.
    key(Qt::Key_Escape);
    const QRect curveA = canvas().getLayout().getCurveArea(0).toAlignedRect();
    const QRect curveB = canvas().getLayout().getCurveArea(1).toAlignedRect();
    const QRect both = curveA.united(curveB);
    drag(both.topLeft() - QPoint(2, 2), both.bottomRight() + QPoint(2, 2));
    QCOMPARE(editor(), QString("*A B"));
    // A drag that covers no shape wholly selects nothing and changes nothing.
    const QRect cellD = canvas().getLayout().getCell(3).toAlignedRect();
    drag(cellD.topLeft() + QPoint(2, 2), cellD.topLeft() + QPoint(40, 20));
    QCOMPARE(editor(), QString("*A B"));
}

void EditorTest::keysSelectStepAndClear() {
    key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A B C D"));
    click(curve("A"));
    click(point("A", 3));
    key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A[3,0,1,2,4|]"));
    key(Qt::Key_Tab);
    QCOMPARE(editor(), QString("*A[4|]"));
    key(Qt::Key_Tab);
    QCOMPARE(editor(), QString("*A[0|]"));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A[4|]"));
    QVERIFY(canvas().hasFocus());
    // A shape of one point has that point to step to.
    QVERIFY(window->getDocument().runCommand("shape Dot 1"));
    QVERIFY(window->getDocument().runCommand("select Dot"));
    key(Qt::Key_Tab);
    QVERIFY(canvas().hasFocus());
    QCOMPARE(editor(), QString("*Dot[0|]"));
    key(Qt::Key_Escape);
    QCOMPARE(editor(), QString());
    // The updater keeps the editor's node in the application's selection.
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor"}));
}

void EditorTest::deleteAndInsertEditTheGraphFirst() {
    click(curve("A"));
    click(point("A", 3));
    click(point("A", 1), Qt::ShiftModifier);
    click(point("A", 4), Qt::ShiftModifier);
    key(Qt::Key_Delete);
    VoExample::AppShapeInterface *a = window->getDocument().getSession().findShape("A");
    QCOMPARE(a->getNbPoints(), 2);
    // Points 3, 1 and 4 are gone; what is left of the selection is renumbered, not stale.
    QCOMPARE(editor(), QString("*A[|]"));
    click(point("A", 0));
    key(Qt::Key_Insert);
    QCOMPARE(a->getNbPoints(), 3);
    QCOMPARE(editor(), QString("*A[0|]"));
    click(point("A", 2), Qt::ShiftModifier);
    key(Qt::Key_Insert);
    // The new point goes after the rank-1 point; the others move up one.
    QCOMPARE(editor(), QString("*A[0,3|]"));

    // With no point selected, the selected shapes themselves are deleted.
    click(curve("B"));
    click(curve("D"), Qt::ShiftModifier);
    key(Qt::Key_Delete);
    QCOMPARE(window->getDocument().getSession().getShapeNames(),
             std::vector<std::string>({"A", "C"}));
    QCOMPARE(editor(), QString());
    const QString log = window->getLogDock().getText().toPlainText();
    // One batch: both removals make one change, whose callbacks run once.
    QVERIFY(log.contains(QRegularExpression(
        "delete shapes B, D\n  events:     [^\n]*\n  callbacks:  primary, shapes, selection$")));
    QVERIFY(log.contains(QRegularExpression("\\(B\\), owner Roto, ShapeRemoved id \\d+ \\(D\\)")));
    QVERIFY(!objectRow("B").isValid());
    // The others keep their places: C is still where it was drawn.
    click(curve("C"));
    QCOMPARE(editor(), QString("*C"));
}

void EditorTest::undoRestoresDeletedPartsShapesAndTheirSelection() {
    VoSession::Session &session = window->getDocument().getSession();
    click(curve("A"));
    click(point("A", 2));
    click(point("A", 4), Qt::ShiftModifier);
    // The two clicks on A's points merge into one step; selecting A was one of its own.
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Select 2 Points"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A"));
    QCOMPARE(window->getRedoAction().text(), QString("&Redo Select 2 Points"));
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A[2,4|]"));
    QCOMPARE(applicationItems().filter("Points[4]").size(), 2);
    // Clicks on points that end where they began leave no step of their own.
    click(curve("C"));
    click(point("C", 1));
    click(point("C", 1), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*C"));
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Select 1 Shape"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A[2,4|]"));

    // Deleting the two points is one step; undo puts them back and selects them, in their order.
    click(point("A", 0), Qt::ShiftModifier);
    key(Qt::Key_Delete);
    QCOMPARE(session.findShape("A")->getNbPoints(), 2);
    QCOMPARE(editor(), QString("*A[|]"));
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Delete 3 Points"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(session.findShape("A")->getNbPoints(), 5);
    QCOMPARE(editor(), QString("*A[2,4,0|]"));
    QCOMPARE(applicationItems().filter("Points[0]").size(), 2);
    // Ctrl+Y redoes, as Ctrl+Shift+Z does.
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(session.findShape("A")->getNbPoints(), 2);
    QCOMPARE(editor(), QString("*A[|]"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A[2,4,0|]"));

    // Whole shapes come back with their graph objects and their place in the selection.
    click(curve("D"));
    click(curve("B"), Qt::ShiftModifier);
    key(Qt::Key_Backspace);
    QCOMPARE(session.getShapeNames(), std::vector<std::string>({"A", "C"}));
    QVERIFY(!objectRow("D").isValid());
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Delete 2 Shapes"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*D B"));
    QVERIFY(objectRow("D").isValid());
    QCOMPARE(session.findShape("B")->getNbHandles(), 3);
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object D", "object B"}));
    // They are drawn again, and the steps before the deletion still find them, though they are
    // new shapes with new keys.
    QVERIFY(near(canvas().grab().toImage(), curve("D"), EditorPainter::primaryCurve));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*D"));
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(session.getShapeNames(), std::vector<std::string>({"A", "C"}));
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*D"));

    // Inserting is a step too.
    click(curve("A"));
    click(point("A", 1));
    key(Qt::Key_Insert);
    QCOMPARE(session.findShape("A")->getNbPoints(), 6);
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Insert Point"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(session.findShape("A")->getNbPoints(), 5);
    QCOMPARE(editor(), QString("*A[1|]"));

    // Back to the start, where nothing is left to undo.
    while (window->getUndoAction().isEnabled()) {
        key(Qt::Key_Z, Qt::ControlModifier);
    }
    QCOMPARE(editor(), QString());
    QCOMPARE(session.getShapeNames(), std::vector<std::string>({"A", "C", "D", "B"}));
    key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window->getLogDock().getText().toPlainText().endsWith("nothing to undo"));
}

void EditorTest::undoCanSkipSelectionChanges() {
    VoSession::Session &session = window->getDocument().getSession();
    click(curve("A"));
    click(point("A", 1));
    key(Qt::Key_Delete);
    click(curve("B"));
    click(curve("C"), Qt::ShiftModifier);
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Select 2 Shapes"));
    window->getSkipSelectionAction().setChecked(true);
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Delete 1 Point"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(session.findShape("A")->getNbPoints(), 5);
    QCOMPARE(editor(), QString("*A[1|]"));
    // Only selection steps are left before it: nothing to undo while they are skipped.
    QVERIFY(!window->getUndoAction().isEnabled());
    QCOMPARE(window->getRedoAction().text(), QString("&Redo Delete 1 Point"));
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(session.findShape("A")->getNbPoints(), 4);
    QCOMPARE(editor(), QString("*A[|]"));
    // Redo passed over no selection step after the deletion: they are still there to redo.
    window->getSkipSelectionAction().setChecked(false);
    QCOMPARE(window->getRedoAction().text(), QString("&Redo Select 1 Shape"));
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*B"));
}

// A command that edits the graph is no step: the steps before it may no longer fit the scene.
void EditorTest::undoOfAStepTheSceneNoLongerFitsChangesNothing() {
    VoSession::Session &session = window->getDocument().getSession();
    click(curve("A"));
    click(point("A", 1));
    key(Qt::Key_Delete);
    click(curve("B"));
    QVERIFY(window->getDocument().runCommand("delete A"));
    window->getSkipSelectionAction().setChecked(true);
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Delete 1 Point"));
    const QString before = editor();
    const QStringList application = applicationItems();
    QCOMPARE(before, QString("*B"));
    // A is gone: putting its point back fails, and every selection stays exactly as it was.
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), before);
    QCOMPARE(applicationItems(), application);
    QVERIFY(session.findShape("A") == nullptr);
    QVERIFY(window->getLogDock().getText().toPlainText().contains(
        "shape A is no more: the step cannot be replayed"));
    QVERIFY(window->getLogDock().getText().toPlainText().endsWith(
        "the undo steps were dropped: the scene no longer fits them"));
    QVERIFY(!window->getUndoAction().isEnabled());
    QVERIFY(!window->getRedoAction().isEnabled());
}

void EditorTest::emptyClicksModifiedRectanglesAndInversion() {
    // A shape's cell holds it tightly: a rectangle a little larger holds the shape whole, and its
    // corner lies on empty canvas.
    const EditorLayout layout = canvas().getLayout();
    const auto around = [&layout](int slot) {
        return layout.getCell(slot).toAlignedRect().adjusted(-4, -4, 4, 4);
    };
    const QRect cellA = around(0);
    const QRect cellB = around(1);
    const QRect cellD = around(3);
    const QPoint emptyA = cellA.topLeft();
    click(curve("A"));
    click(emptyA);
    QCOMPARE(editor(), QString());
    // Shift adds the shapes caught, Ctrl or Alt takes them out.
    const QRect both = cellA.united(cellB);
    drag(both.topLeft(), both.bottomRight());
    QCOMPARE(editor(), QString("*A B"));
    drag(cellD.topLeft(), cellD.bottomRight(), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A B D"));
    drag(cellB.topLeft(), cellB.bottomRight(), Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A D"));
    drag(emptyA, cellA.bottomRight(), Qt::AltModifier);
    QCOMPARE(editor(), QString("*D"));
    // A Shift click on empty canvas keeps the selection.
    click(emptyA, Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*D"));

    // With a primary shape, a rectangle that catches its points and holds no shape whole works
    // on the points...
    click(curve("A"));
    click(point("A", 4));
    const QRect caught = QRect(point("A", 1), point("A", 2)).normalized();
    drag(QPoint(caught.left() - 4, cellA.top()), QPoint(caught.right() + 4, cellA.bottom()),
         Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A[4,1,2|]"));
    drag(QPoint(caught.left() - 4, cellA.top()), QPoint(caught.right() + 4, cellA.bottom()),
         Qt::ControlModifier);
    QCOMPARE(editor(), QString("*A[4|]"));
    // ... and one that holds a shape whole works on the shapes.
    drag(cellD.topLeft(), cellD.bottomRight());
    QCOMPARE(editor(), QString("*D"));

    // Inversion: the primary shape's other points, or the shapes not selected.
    click(curve("A"));
    click(point("A", 0));
    click(point("A", 3), Qt::ShiftModifier);
    canvas().getGestures().invertSelection();
    QCOMPARE(editor(), QString("*A[1,2,4|]"));
    canvas().getGestures().invertSelection();
    QCOMPARE(editor(), QString("*A[0,3|]"));
    click(curve("B"));
    click(curve("C"), Qt::ShiftModifier);
    canvas().getGestures().invertSelection();
    QCOMPARE(editor(), QString("*A D"));
}

void EditorTest::actionsAreGreyedWhileTheyCannotApply() {
    QVERIFY(!window->getUndoAction().isEnabled());
    QVERIFY(!window->getRedoAction().isEnabled());
    QVERIFY(!window->getDeleteAction().isEnabled());
    QVERIFY(!window->getInsertAction().isEnabled());
    click(curve("A"));
    QVERIFY(window->getUndoAction().isEnabled());
    QCOMPARE(window->getUndoAction().text(), QString("&Undo Select 1 Shape"));
    QVERIFY(window->getDeleteAction().isEnabled());
    QVERIFY(!window->getInsertAction().isEnabled());
    click(point("A", 2));
    QVERIFY(window->getInsertAction().isEnabled());
    key(Qt::Key_Escape);
    QVERIFY(!window->getDeleteAction().isEnabled());
    QVERIFY(!window->getRedoAction().isEnabled());
    key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window->getRedoAction().isEnabled());
    QVERIFY(window->getDeleteAction().isEnabled());
}

// Made smaller than its minimum, the window keeps room for the canvas and the docks; it could be
// squeezed to nothing.
void EditorTest::windowKeepsAMinimumSize() {
    window->resize(100, 80);
    QCOMPARE(window->size(), QSize(EditorWindow::minimumWidth, EditorWindow::minimumHeight));
    QVERIFY(canvas().width() >= EditorWindow::minimumWidth / 3);
    QVERIFY(canvas().height() >= EditorWindow::minimumHeight / 3);
}

void EditorTest::errorsShowInColourAndOpeningIsLogged() {
    click(curve("B"));
    QVERIFY(!window->getDocument().runCommand("select-point 9"));
    QPlainTextEdit &log = window->getLogDock().getText();
    const QTextBlock last = log.document()->lastBlock();
    QVERIFY2(last.text().contains("out of range"), qPrintable(last.text()));
    QCOMPARE(last.charFormat().foreground().color(), VoEditor::EditorLogDock::errorColour());
    QVERIFY(window->statusBar()->currentMessage().contains("out of range"));
    QVERIFY(
        window->statusBar()->styleSheet().contains(VoEditor::EditorLogDock::errorColour().name()));
    // A line that did not fail keeps the usual colour.
    click(curve("A"));
    QVERIFY(log.document()->lastBlock().charFormat().foreground().color() !=
            VoEditor::EditorLogDock::errorColour());
    open("shape Z 3\n");
    QVERIFY(log.toPlainText().endsWith("opened the scene <test>: 1 shapes"));
}

void EditorTest::logKeepsShowingItsEndAfterAWideLine() {
    QPlainTextEdit &log = window->getLogDock().getText();
    for (int line = 0; line < 100; ++line) {
        window->getDocument().note(QString("line %1").arg(line));
    }
    QVERIFY(log.horizontalScrollBar()->maximum() == 0);
    // A failed command whose echo is far wider than the dock brings the horizontal scroll bar.
    window->getDocument().runCommand("select " + QString(400, QChar('W')));
    window->getDocument().note("the last line");
    QTest::qWait(50);
    QVERIFY(log.horizontalScrollBar()->maximum() > 0);
    QCOMPARE(log.horizontalScrollBar()->value(), 0);
    QCOMPARE(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
    QTextCursor end(log.document()->lastBlock());
    QVERIFY(log.viewport()->rect().contains(log.cursorRect(end).center()));
    // Scrolled up by the user, it stays where the user put it.
    log.verticalScrollBar()->setValue(0);
    window->getDocument().note("one more");
    QCOMPARE(log.verticalScrollBar()->value(), 0);

    // Lines logged before the window shows (a script's), the last one wide: the window opens on
    // the start of the lines. The view used to scroll to the text cursor, left at the end of the
    // last line, as far right as that line was long.
    window = std::make_unique<EditorWindow>();
    window->resize(1280, 800);
    window->getDocument().runCommand("help");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(50);
    QPlainTextEdit &shown = window->getLogDock().getText();
    QVERIFY(shown.horizontalScrollBar()->maximum() > 0);
    QCOMPARE(shown.horizontalScrollBar()->value(), 0);
    QCOMPARE(shown.verticalScrollBar()->value(), shown.verticalScrollBar()->maximum());
}

void EditorTest::keyboardReachesEveryPartAndTheCanvasShowsItsFocus() {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    canvas().setFocus();
    const QColor frame = canvas().palette().color(QPalette::Highlight);
    const QPoint edge(0, canvas().height() / 2);
    QVERIFY(near(canvas().grab().toImage(), edge, frame));
    {
        // The frame lies on the canvas's outer pixels alike on its four sides.
        const QImage shown = canvas().grab().toImage();
        const int right = shown.width() - 1;
        const int bottom = shown.height() - 1;
        for (const int in : {0, 1, 2}) {
            const QColor left = shown.pixelColor(in, bottom / 2);
            QCOMPARE(shown.pixelColor(right - in, bottom / 2), left);
            QCOMPARE(shown.pixelColor(right / 2, in), left);
            QCOMPARE(shown.pixelColor(right / 2, bottom - in), left);
            QCOMPARE(left == frame, in < 2);
        }
    }
    // Nothing to step through: Tab moves the focus on.
    QTest::keyClick(&canvas(), Qt::Key_Tab);
    QVERIFY(!canvas().hasFocus());
    QVERIFY(!near(canvas().grab().toImage(), edge, frame));
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    QVERIFY(canvas().hasFocus());
    click(curve("A"));
    click(point("A", 1));
    key(Qt::Key_Tab);
    QVERIFY(canvas().hasFocus());
    QCOMPARE(editor(), QString("*A[2|]"));
    // Ctrl+Tab (Ctrl+Shift+Tab) moves the focus on (back) even then, stepping nowhere.
    key(Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(!canvas().hasFocus());
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!canvas().hasFocus());
    QCOMPARE(editor(), QString("*A[2|]"));
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QVERIFY(window->getCommandDock().getLine().hasFocus());
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_3));
    QVERIFY(window->getLogDock().getText().hasFocus());
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    QVERIFY(window->getApplicationDock().isAncestorOf(QApplication::focusWidget()));
    // The menus' shortcuts work from a dock too (the click and Tab on A's points are one step).
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(editor(), QString("*A"));
}

void EditorTest::layerSwitcherShowsEachLayerAndItsSelection() {
    QVERIFY(!window->getLayers().isEnabled());
    QVERIFY(window->openSceneFile(
        QStringLiteral(VOEDITOR_TEST_DATA "/../../session/tests/layers.scene")));
    QComboBox &layers = window->getLayers();
    QVERIFY(layers.isEnabled());
    QCOMPARE(layers.count(), 2);
    QCOMPARE(layers.currentText(), QString("Roto"));
    QVERIFY(canvas().getTable().find("Leaf") != nullptr);
    QVERIFY(canvas().getTable().find("Hole") == nullptr);
    // The other layer's shapes are drawn dimmed, each in its cell, and never picked.
    const auto dimmedAt = [this](const char *name) {
        for (const VoEditor::EditorShapeView &other : window->getDocument().describeOtherLayers()) {
            if (other.name == name) {
                const std::array<QPointF, 4> span = canvas().getLayout().getSpan(other.slot, 0);
                return ((span[0] + 3 * span[1] + 3 * span[2] + span[3]) / 8).toPoint();
            }
        }
        return QPoint(-1, -1);
    };
    const QPoint hole = dimmedAt("Hole");
    QVERIFY(near(canvas().grab().toImage(), hole, EditorPainter::dimmedCurve));
    click(hole);
    QCOMPARE(editor(), QString());
    click(curve("Stem"));
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object Stem"}));
    // The active layer, or one there is not, activates nothing: no step, no signal, no change.
    {
        QSignalSpy activated(&window->getDocument(), &VoEditor::EditorDocument::layerActivated);
        const QString undo = window->getUndoAction().text();
        for (const int layer : {0, -1, 2, 99}) {
            window->getDocument().activateLayer(layer);
        }
        QCOMPARE(activated.count(), 0);
        QCOMPARE(window->getUndoAction().text(), undo);
        QCOMPARE(layers.currentText(), QString("Roto"));
        QCOMPARE(editor(), QString("*Stem"));
    }

    // Switching keeps the view: it used to fit the new layer's shapes and hide the others.
    canvas().zoom(1.5, QPointF(200, 150));
    const QPoint stem = curve("Stem");
    const QPoint zoomed = dimmedAt("Hole");
    layers.setFocus();
    QTest::keyClick(&layers, Qt::Key_Down);
    QCOMPARE(window->getDocument().getSession().getActiveLayer(), 1);
    QVERIFY(canvas().getTable().find("Hole") != nullptr);
    QVERIFY(canvas().getTable().find("Stem") == nullptr);
    QCOMPARE(curve("Hole"), zoomed);
    QCOMPARE(dimmedAt("Stem"), stem);
    QVERIFY(near(canvas().grab().toImage(), stem, EditorPainter::dimmedCurve));
    click(curve("Rim"));
    QCOMPARE(editor(), QString("*Rim"));
    QCOMPARE(applicationItems(), QStringList({"node Mask.Editor", "object Rim"}));
    const QString rimSelected = window->getUndoAction().text();
    // Back in Roto, its selection is republished as it was, and the switch is no step.
    layers.setCurrentIndex(0);
    Q_EMIT layers.activated(0);
    QCOMPARE(editor(), QString("*Stem"));
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object Stem"}));
    QCOMPARE(window->getUndoAction().text(), rimSelected);
    // Undoing the step made in Mask goes back to Mask.
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(layers.currentText(), QString("Mask"));
    QCOMPARE(editor(), QString());
    // The command line's `layer` switches the views as the switcher does.
    QVERIFY(window->getDocument().runCommand("layer Roto"));
    QCOMPARE(layers.currentText(), QString("Roto"));
    click(curve("Leaf"));
    QCOMPARE(editor(), QString("*Leaf"));
    QCOMPARE(canvas().getTable().find("Leaf")->primary, true);
}

void EditorTest::savedSelectionLoadsBackOrIsRefusedWhole() {
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString saved = directory.filePath("saved.selection");
    click(curve("B"));
    click(point("B", 3));
    click(handle("B", 1), Qt::ShiftModifier);
    QVERIFY(window->saveSelectionFile(saved));
    click(curve("D"));
    QVERIFY(window->loadSelectionFile(saved));
    QCOMPARE(editor(), QString("*B[3|1]"));
    // Loading is one step to undo.
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor(), QString("*D"));

    // An entry that no longer resolves: the box names it, and nothing changes.
    QFile stale(directory.filePath("stale.selection"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    const VoExample::AppShapeInterface &b = *window->getDocument().getSession().findShape("B");
    stale.write(QString("voshape-selection 1\nshape %1 points 9\n# end of voshape-selection\n")
                    .arg(b.getId())
                    .toUtf8());
    stale.close();
    QString shown;
    answerNextMessageBox(shown);
    QVERIFY(!window->loadSelectionFile(stale.fileName()));
    QVERIFY2(shown.contains("point 9 out of range"), qPrintable(shown));
    QCOMPARE(editor(), QString("*D"));
    answerNextMessageBox(shown);
    QVERIFY(!window->loadSelectionFile(directory.filePath("none.selection")));
    QVERIFY2(shown.contains("none.selection\": No such file"), qPrintable(shown));
    QCOMPARE(editor(), QString("*D"));
    // The editor saves what the session driver loads: ended by the end line.
    QFile whole(saved);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QVERIFY(whole.readAll().endsWith("\n# end of voshape-selection\n"));
}

void EditorTest::hoverSetsThePickingState() {
    const Vo::SeShapeSelector &selector = window->getDocument().getSelector();
    QTest::mouseMove(&canvas(), point("A", 4));
    QCOMPARE(static_cast<int>(selector.getPickingType()), 1);
    QCOMPARE(selector.getPickingIndex(), 4);
    QCOMPARE(selector.getPickingExtremity(), 1);
    QVERIFY(window->statusBar()->currentMessage().startsWith("Point 4 of A"));
    QTest::mouseMove(&canvas(), point("A", 0));
    QCOMPARE(selector.getPickingExtremity(), 0);
    QTest::mouseMove(&canvas(), point("C", 2));
    QCOMPARE(selector.getPickingIndex(), 2);
    QCOMPARE(selector.getPickingExtremity(), -1);
    // What lies under the pointer is highlighted: a ring round a marker, a halo along a curve;
    // the ring goes with the pointer.
    const QPoint ring = point("C", 2) + QPoint(0, 4 + 3);
    const auto ringed = [this](const QPoint &at) {
        return near(canvas().grab().toImage(), at, EditorPainter::hover);
    };
    QVERIFY(ringed(ring));
    // To a point of the same index on another shape: the ring goes with the pointer there too.
    QTest::mouseMove(&canvas(), point("A", 2));
    int sides = 0;
    for (const QPoint &side : {QPoint(7, 0), QPoint(-7, 0), QPoint(0, 7), QPoint(0, -7)}) {
        sides += ringed(point("A", 2) + side) ? 1 : 0;
    }
    QVERIFY(sides >= 2);
    QVERIFY(!ringed(ring));
    QTest::mouseMove(&canvas(), point("C", 2));
    QVERIFY(ringed(ring));
    QTest::mouseMove(&canvas(), handle("B", 1));
    QVERIFY(!ringed(ring));
    QCOMPARE(static_cast<int>(selector.getPickingType()), 2);
    QCOMPARE(selector.getPickingIndex(), 1);
    QVERIFY(window->statusBar()->currentMessage().startsWith("Handle 1 of B"));
    const auto offCurve = [this] {
        return distance(canvas().grab().toImage().pixelColor(curve("D") + QPoint(0, 3)),
                        EditorPainter::background);
    };
    QVERIFY(offCurve() < 10);
    QTest::mouseMove(&canvas(), curve("D"));
    QVERIFY(offCurve() > 20);
    QCOMPARE(static_cast<int>(selector.getPickingType()), 0);
    QTest::mouseMove(&canvas(), canvas().getLayout().getCell(3).topLeft().toPoint() + QPoint(3, 3));
    QCOMPARE(static_cast<int>(selector.getPickingType()), 0);
    QCOMPARE(selector.getPickingIndex(), -1);
    QCOMPARE(selector.getPickingExtremity(), -1);
    // Hovering is no change of the selection.
    QCOMPARE(editor(), QString());
}

void EditorTest::rowsOfTheApplicationDockWriteItsSelection() {
    QListView &rows = window->getApplicationDock().getObjectList();
    const auto clickRow = [this, &rows](const char *name, Qt::KeyboardModifiers modifiers) {
        const QModelIndex row = objectRow(name);
        QVERIFY(row.isValid());
        QTest::mouseClick(rows.viewport(), Qt::LeftButton, modifiers,
                          rows.visualRect(row).center());
    };
    clickRow("C", Qt::NoModifier);
    QCOMPARE(editor(), QString("*C"));
    clickRow("A", Qt::ControlModifier);
    // The application's order is the rows' order; the updater mirrors it, first shape primary.
    QCOMPARE(editor(), QString("*A C"));
    QCOMPARE(applicationItems(), QStringList({"object A", "object C"}));
    QVERIFY(window->getLogDock().getText().toPlainText().contains(
        "application selects A, C\n  callbacks:  primary"));
    // The canvas follows: A is drawn as the primary shape, B stays muted.
    const QImage image = canvas().grab().toImage();
    QVERIFY(near(image, curve("A"), EditorPainter::primaryCurve));
    QVERIFY(near(image, curve("C"), EditorPainter::selectedCurve));
    QVERIFY(near(image, curve("B"), EditorPainter::mutedCurve));
    // A click on the canvas shows in the rows.
    click(curve("D"));
    QCOMPARE(rows.selectionModel()->selectedRows().size(), 2);
    QVERIFY(rows.selectionModel()->isSelected(objectRow("D")));
    QVERIFY(rows.selectionModel()->isSelected(objectRow("ShapeEditor")));
}

void EditorTest::commandLineRunsCommandsAndRejectsBadOnes() {
    QLineEdit &line = window->getCommandDock().getLine();
    line.setFocus();
    QTest::keyClicks(&line, "primary B 2");
    QTest::keyClick(&line, Qt::Key_Return);
    QCOMPARE(editor(), QString("*B[2|]"));
    QCOMPARE(line.text(), QString());
    QVERIFY(lastLog().endsWith("callbacks:  primary, shapes, selection"));

    QTest::keyClicks(&line, "select-point 9");
    QTest::keyClick(&line, Qt::Key_Return);
    QCOMPARE(editor(), QString("*B[2|]"));
    QCOMPARE(line.text(), QString("select-point 9"));
    QVERIFY(window->getLogDock().getText().toPlainText().contains(
        "point index 9 out of range (expected 0 to 3 for shape \"B\")"));
    // The canvas draws what a command did, as for a gesture.
    const QImage image = canvas().grab().toImage();
    QVERIFY(near(image, point("B", 2), EditorPainter::selectedPoint));
    // --script reads as load-file does: what is not a regular file, a FIFO that no one writes
    // included, is refused before any command runs, instead of waiting or reading for ever.
    QTemporaryDir directory;
    const std::string fifo = directory.filePath("fifo").toStdString();
    QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    QVERIFY(!window->getDocument().runScriptFile(fifo, error));
    QVERIFY2(error.find("it is a FIFO, not a regular file") != std::string::npos, error.c_str());
    QVERIFY(!window->getDocument().runScriptFile("/dev/zero", error));
    QVERIFY2(error.find("a character device") != std::string::npos, error.c_str());
    // A failing script names the file and the line of the command that failed (it named
    // neither), and a batch spans lines as in the driver.
    QFile script(directory.filePath("select.script"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("batch\nselect B\nselect A\nend\n# a comment\nselect Nope\nselect D\n");
    script.close();
    const QString before = window->getLogDock().getText().toPlainText();
    QVERIFY(!window->getDocument().runScriptFile(script.fileName().toStdString(), error));
    QVERIFY2(error.rfind(script.fileName().toStdString() + ":6: unknown shape", 0) == 0,
             error.c_str());
    QCOMPARE(editor(), QString("*D"));
    const QString logged = window->getLogDock().getText().toPlainText().mid(before.size());
    QCOMPARE(logged.count("callbacks:  primary, shapes, selection"), 2); // the batch's, then D's
    // "-" reads standard input, as the driver does: a script piped in runs (it ran nothing).
    const auto runPiped = [this, &error](const std::string &text) {
        std::istringstream piped(text);
        std::streambuf *const input = std::cin.rdbuf(piped.rdbuf());
        const bool ran = window->getDocument().runScriptFile("-", error);
        std::cin.rdbuf(input);
        return ran;
    };
    QVERIFY(!runPiped("select B\nselect Nope C\n"));
    QCOMPARE(QString::fromStdString(error).left(19), QString("<stdin>:2: unknown "));
    QCOMPARE(editor(), QString("*B"));
    // Bounded as a file is: a line that never ends runs nothing.
    QVERIFY(
        !runPiped("select C\n" + std::string(VoSession::SessionLineReader::maxLength + 1, 'x')));
    QVERIFY2(error.rfind("<stdin>:2: line longer than", 0) == 0, error.c_str());
    QCOMPARE(editor(), QString("*B"));
    // And as long in all: a script past the file bound, of short lines, runs nothing either.
    const std::string comment = "# " + std::string(1021, '-') + "\n";
    std::string endless = "select C\n";
    while (endless.size() <= VoSession::SessionFileReader::defaultMaxBytes) {
        endless += comment;
    }
    QVERIFY(!runPiped(endless));
    QVERIFY2(error.find("the script goes on past") != std::string::npos, error.c_str());
    QCOMPARE(editor(), QString("*B"));
}

void EditorTest::renderedImageShowsWhatIsSelected() {
    click(curve("C"));
    click(point("C", 1));
    const QImage alone = canvas().grab().toImage();
    click(point("C", 4), Qt::ShiftModifier);
    const QImage image = canvas().grab().toImage();
    // The second point's rank is written above and right of its marker.
    int labelled = 0;
    for (int y = -22; y <= -5; ++y) {
        for (int x = 5; x <= 14; ++x) {
            const QPoint at = point("C", 4) + QPoint(x, y);
            labelled += alone.pixel(at) != image.pixel(at) ? 1 : 0;
        }
    }
    QVERIFY(labelled > 3);
    QVERIFY(near(image, point("C", 1), EditorPainter::selectedPoint));
    QVERIFY(near(image, point("C", 4), EditorPainter::selectedPoint));
    for (const int unselected : {0, 2, 3, 5}) {
        QVERIFY(near(image, point("C", unselected), EditorPainter::hollowMarker));
    }
    // Points of other shapes are not selected, whatever their index.
    QVERIFY(near(image, point("A", 1), EditorPainter::hollowMarker));
    QVERIFY(near(image, handle("B", 1), EditorPainter::hollowMarker));
    QVERIFY(near(image, canvas().getLayout().getCell(3).topLeft().toPoint() + QPoint(2, 2),
                 EditorPainter::background));
}

void EditorTest::renderedImageStaysLegibleAtEveryScale_data() {
    QTest::addColumn<int>("points");
    QTest::newRow("1 point") << 1;
    QTest::newRow("10 points") << 10;
    QTest::newRow("1000 points") << 1000;
    QTest::newRow("10000 points") << 10000;
}

void EditorTest::renderedImageStaysLegibleAtEveryScale() {
    QFETCH(int, points);
    open("shape Big " + std::to_string(points) + " 3\nshape Other 2\n");
    QTest::qWait(0);
    click(curve("Big"));
    QCOMPARE(editor(), QString("*Big"));
    // Every point of the primary shape is selected, in index order, and each is drawn filled.
    key(Qt::Key_A, Qt::ControlModifier);
    Vo::Vector<int> selected;
    window->getDocument().getSelector().getSelectedPoints(selected);
    QCOMPARE(static_cast<int>(selected.size()), points);
    QCOMPARE(selected.back(), points - 1);
    const QImage image = canvas().grab().toImage();
    for (const int index : {0, points / 2, points - 1}) {
        QVERIFY2(near(image, point("Big", index), EditorPainter::selectedPoint),
                 qPrintable(QString("point %1 is drawn selected").arg(index)));
    }
    QVERIFY(!near(image, point("Other", 0), EditorPainter::selectedPoint));
    // The rank-1 label is drawn; with 10^4 points the labels do not pile up over the curve.
    QVERIFY(near(image, curve("Other"), EditorPainter::mutedCurve));
}

void EditorTest::malformedSceneKeepsTheOpenScene() {
    click(curve("A"));
    click(point("A", 2));
    QString shown;
    QTimer::singleShot(0, this, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box != nullptr) {
            shown = box->text();
            box->accept();
        }
    });
    const QString bad = QStringLiteral(VOEDITOR_TEST_DATA "/../../session/tests/bad.scene");
    QVERIFY(!window->openSceneFile(bad));
    QVERIFY2(shown.contains("bad.scene:3: malformed point count \"five\""), qPrintable(shown));
    QCOMPARE(window->getDocument().getSession().getShapeNames(),
             std::vector<std::string>({"A", "B", "C", "D"}));
    QCOMPARE(editor(), QString("*A[2|]"));
    QVERIFY(!applicationItems().filter("input A.curve/Points[2]/x via Roto>Output = ").isEmpty());
    // The canvas still works on the scene it had.
    click(point("A", 4), Qt::ShiftModifier);
    QCOMPARE(editor(), QString("*A[2,4|]"));

    // A good file replaces the scene, its selections and the dock's rows.
    QVERIFY(window->openSceneFile(
        QStringLiteral(VOEDITOR_TEST_DATA "/../../session/tests/small.scene")));
    QCOMPARE(editor(), QString());
    QCOMPARE(window->getApplicationDock().getObjectList().model()->index(0, 0).data().toString(),
             QString("Leaf"));
    click(curve("Stem"));
    QCOMPARE(editor(), QString("*Stem"));
    QCOMPARE(applicationItems(), QStringList({"node ShapeEditor", "object Stem"}));
}

QTEST_MAIN(EditorTest)
#include "EditorTest.moc"
