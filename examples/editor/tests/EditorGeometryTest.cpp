// The editor as a geometry editor: positions from the scene reach the graph's inputs and the
// screen; zooming, panning and fitting keep picking on what is drawn; drags and arrow keys move
// exactly the selected points, by what the pointer or the keys say, as one move each; and the
// spatial index answers as a search through every point does, after moves, insertions and
// deletions.

#include "EditorApplicationDock.h"
#include "EditorCanvas.h"
#include "EditorCanvasCheck.h"
#include "EditorLayout.h"
#include "EditorMove.h"
#include "EditorOffscreenApplication.h"
#include "EditorPainter.h"
#include "EditorShapeImages.h"
#include "EditorSlotFinder.h"
#include "EditorSnapper.h"
#include "EditorSpatialIndex.h"
#include "EditorTransformBox.h"
#include "EditorViewTransform.h"
#include "EditorWindow.h"
#include "SessionPlacement.h"
#include "SessionScene.h"

#include "AppShapeInterface.h"

#include "host/graph/PiMultivaluedInput.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The system's font configuration keeps a cache it never frees; no leak of this program's.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

using VoEditor::EditorCanvas;
using VoEditor::EditorMove;
using VoEditor::EditorSpatialIndex;

void startApplication() { VoEditor::EditorOffscreenApplication::start(); }

// "points X,Y ..." for count points on a grid of columns, spacing apart, from origin.
// Whether one of the nine pixels round at is exactly colour: a marker or a stroke drawn there,
// whatever rounding to whole pixels moved it by.
bool hasColourNear(const QImage &image, const QPoint &at, const QColor &colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.pixelColor(at + QPoint(dx, dy)) == colour) {
                return true;
            }
        }
    }
    return false;
}

std::string gridPoints(int count, int columns, double spacing, const QPointF &origin) {
    std::string line = "points";
    for (int index = 0; index < count; ++index) {
        line += " " + std::to_string(origin.x() + (index % columns) * spacing) + "," +
                std::to_string(origin.y() + (index / columns) * spacing);
    }
    return line + "\n";
}

class EditorGeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        startApplication();
        window = std::make_unique<VoEditor::EditorWindow>();
        window->resize(1280, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QObject::connect(&document(), &VoEditor::EditorDocument::moved,
                         [this](const EditorMove &move) { moves.push_back(move); });
    }

    void TearDown() override { window.reset(); }

    EditorCanvas &canvas() { return window->getCanvas(); }
    VoEditor::EditorDocument &document() { return window->getDocument(); }

    void open(const std::string &scene) {
        std::istringstream in(scene);
        std::string error;
        ASSERT_TRUE(document().open(in, "<test>", error)) << error;
        QApplication::processEvents();
    }

    QPointF pointOf(const std::string &shape, int index) {
        double x = 0;
        double y = 0;
        EXPECT_TRUE(document().getSession().findShape(shape)->getPoint(index, x, y));
        return QPointF(x, y);
    }

    std::vector<QPointF> pointsOf(const std::string &shape) {
        std::vector<QPointF> points;
        for (int index = 0; index < document().getSession().findShape(shape)->getNbPoints();
             ++index) {
            points.push_back(pointOf(shape, index));
        }
        return points;
    }

    std::vector<int> selectedPoints(const std::string &shape) {
        return canvas().getTable().find(shape)->points;
    }

    void click(const QPoint &at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(&canvas(), Qt::LeftButton, modifiers, at);
    }

    void mouse(QEvent::Type type, const QPointF &at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas().mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &event);
    }

    // Presses at from, moves there in steps, releases at to: one drag of many mouse moves.
    void drag(const QPointF &from, const QPointF &to, Qt::MouseButton button = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, from, button, button);
        for (int step = 1; step <= 8; ++step) {
            mouse(QEvent::MouseMove, from + (to - from) * step / 8.0, Qt::NoButton, button);
        }
        mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false,
             QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, modifiers, QString(), repeat);
        QApplication::sendEvent(&canvas(), &event);
    }

    std::unique_ptr<VoEditor::EditorWindow> window;
    // Every move the document signalled as finished.
    std::vector<EditorMove> moves;
};

// Positions given in the scene are what the points' x and y inputs and the handles' position
// inputs hold, read through the graph's own inputs; the canvas draws the points where the view
// puts those values, the handles at their places along the curve's box; a shape without
// positions holds SessionPlacement's; and the application's dock shows a selected point's values.
TEST_F(EditorGeometryTest, ScenePositionsReachTheGraphAndTheScreen) {
    open("shape Leaf 4 2\npoints 0,0 10,5\npoints 20,0 30.5,-5e-1\nhandles 0.25 1\n"
         "shape Plain 3\n");
    VoExample::AppShapeInterface &leaf = *document().getSession().findShape("Leaf");
    const auto points =
        Vo::rcDynamicCastOrNull<Vo::PiMultivaluedInput>(leaf.getCurveInput()->getSubInput(0));
    ASSERT_FALSE(points.isNull());
    const std::vector<QPointF> given{{0, 0}, {10, 5}, {20, 0}, {30.5, -0.5}};
    const VoEditor::EditorViewTransform &view = canvas().getView();
    for (int index = 0; index < 4; ++index) {
        const QPointF at = given[static_cast<std::size_t>(index)];
        EXPECT_EQ(points->getElement(index)->getSubInput(0)->getValue(), at.x());
        EXPECT_EQ(points->getElement(index)->getSubInput(1)->getValue(), at.y());
        EXPECT_EQ(canvas().getPointPosition("Leaf", index), view.toView(at).toPoint());
    }
    // Drawn distances are scene distances times the view's scale.
    EXPECT_NEAR(canvas().getPointPosition("Leaf", 3).x() - canvas().getPointPosition("Leaf", 0).x(),
                30.5 * view.getScale(), 1.0);
    const auto gradient = Vo::rcDynamicCastOrNull<Vo::PiMultivaluedInput>(leaf.getGradientInput());
    EXPECT_EQ(gradient->getElement(0)->getSubInput(0)->getValue(), 0.25);
    EXPECT_EQ(gradient->getElement(1)->getSubInput(0)->getValue(), 1.0);
    const QRectF line = canvas().getLayout().getHandleArea(0);
    EXPECT_NEAR(canvas().getHandlePosition("Leaf", 0).x(), line.left() + 0.25 * line.width(), 1);
    EXPECT_NEAR(canvas().getHandlePosition("Leaf", 1).x(), line.right(), 1);
    EXPECT_GT(canvas().getHandlePosition("Leaf", 0).y(), canvas().getPointPosition("Leaf", 1).y());

    for (int index = 0; index < 3; ++index) {
        const VoSession::SessionPlacement::Point placed =
            VoSession::SessionPlacement::getPoint(1, 2, index, 3);
        EXPECT_EQ(pointOf("Plain", index), QPointF(placed.x, placed.y));
    }

    click(canvas().getCurvePosition("Leaf"));
    click(canvas().getPointPosition("Leaf", 3));
    ASSERT_EQ(selectedPoints("Leaf"), std::vector<int>{3});
    const QAbstractItemModel &items = *window->getApplicationDock().getItemList().model();
    const auto row = [&items](const QString &input) {
        for (int row = 0; row < items.rowCount(); ++row) {
            const QString text = items.data(items.index(row, 0)).toString();
            if (text.contains(input + " ")) {
                return text;
            }
        }
        return QString();
    };
    EXPECT_TRUE(row("Leaf.curve/Points[3]/x").endsWith(" = 30.5"))
        << row("Leaf.curve/Points[3]/x").toStdString();
    EXPECT_TRUE(row("Leaf.curve/Points[3]/y").endsWith(" = -0.5"));
}

// After each change of the view (wheel zoom around the pointer, zooms in and out, a middle-button
// pan, Space and the left button, F), the pixel under the pointer shows the same scene point it
// did before a zoom, and a click where a point is drawn picks that point.
TEST_F(EditorGeometryTest, ZoomPanAndFitKeepPickingOnWhatIsDrawn) {
    open("shape Grid 100\n" + gridPoints(100, 10, 12, QPointF(-50, 40)) + "shape Other 3\n");
    click(canvas().getCurvePosition("Grid"));
    std::mt19937 random(7);
    const auto pickEvery = [&](const char *after) {
        SCOPED_TRACE(after);
        for (int round = 0; round < 5; ++round) {
            const int index = static_cast<int>(random() % 100);
            const QPoint at = canvas().getPointPosition("Grid", index);
            if (!canvas().rect().contains(at)) {
                continue;
            }
            click(at);
            EXPECT_EQ(selectedPoints("Grid"), std::vector<int>{index});
        }
    };
    pickEvery("fitted");
    const double fitted = canvas().getView().getScale();
    const QPointF pointer(400, 300);
    const QPointF under = canvas().getView().toScene(pointer);
    QWheelEvent wheel(pointer, canvas().mapToGlobal(pointer), QPoint(), QPoint(0, 240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas(), &wheel);
    // Two notches.
    EXPECT_NEAR(canvas().getView().getScale(), fitted * 1.25 * 1.25, 1e-9 * fitted);
    const QPointF stays = canvas().getView().toView(under);
    EXPECT_NEAR(stays.x(), pointer.x(), 1e-6);
    EXPECT_NEAR(stays.y(), pointer.y(), 1e-6);
    pickEvery("wheel zoom");
    canvas().zoom(0.3, QPointF(100, 100));
    pickEvery("zoom out");
    const QPoint before = canvas().getPointPosition("Grid", 55);
    drag(QPointF(600, 500), QPointF(640, 470), Qt::MiddleButton);
    EXPECT_EQ(canvas().getPointPosition("Grid", 55), before + QPoint(40, -30));
    // A resize keeps the view the artist panned; only a fitted view fits itself again.
    canvas().resize(canvas().size() - QSize(100, 60));
    EXPECT_EQ(canvas().getPointPosition("Grid", 55), before + QPoint(40, -30));
    canvas().resize(canvas().size() + QSize(100, 60));
    pickEvery("middle pan");
    key(Qt::Key_Space);
    drag(QPointF(700, 80), QPointF(690, 100));
    key(Qt::Key_Space, Qt::NoModifier, false, QEvent::KeyRelease);
    EXPECT_EQ(canvas().getPointPosition("Grid", 55), before + QPoint(30, -10));
    pickEvery("space pan");
    key(Qt::Key_F);
    const QRectF drawn = canvas().getLayout().getCurveArea(0);
    EXPECT_TRUE(QRectF(canvas().rect()).contains(drawn));
    pickEvery("fit");
}

// A left drag pans only while Space is held: not before it is pressed, not after it is released,
// nor once the canvas has lost the focus while it was down (its release then goes elsewhere).
TEST_F(EditorGeometryTest, SpacePansOnlyWhileHeldWithTheFocus) {
    open("shape Grid 4\npoints 0,0 100,0 100,100 0,100\n");
    const QPoint before = canvas().getPointPosition("Grid", 2);
    const QPointF empty = canvas().getView().toView(QPointF(50, 250));
    const auto dragEmpty = [&] { drag(empty, empty + QPointF(30, -20)); };
    dragEmpty();
    EXPECT_EQ(canvas().getPointPosition("Grid", 2), before) << "no Space";
    key(Qt::Key_Space);
    dragEmpty();
    EXPECT_EQ(canvas().getPointPosition("Grid", 2), before + QPoint(30, -20)) << "Space held";
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&canvas(), &lost);
    dragEmpty();
    EXPECT_EQ(canvas().getPointPosition("Grid", 2), before + QPoint(30, -20)) << "focus lost";
}

// A drag from a selected point moves every selected point of the primary shape by the drag,
// converted to scene units, and nothing else; it is one move, signalled once, however many mouse
// moves it took; the selection stays. A drag from a selected shape moves all its points and
// those of the other selected shapes.
TEST_F(EditorGeometryTest, DragsMoveExactlyTheSelection) {
    open("shape S 20\n" + gridPoints(20, 5, 40, QPointF(0, 0)) + "shape T 4\n" +
         gridPoints(4, 4, 40, QPointF(0, 250)) + "shape U 3\n" +
         gridPoints(3, 3, 40, QPointF(300, 250)));
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 3));
    click(canvas().getPointPosition("S", 7), Qt::ShiftModifier);
    click(canvas().getPointPosition("S", 12), Qt::ShiftModifier);
    ASSERT_EQ(selectedPoints("S"), (std::vector<int>{3, 7, 12}));
    const std::vector<QPointF> before = pointsOf("S");
    const std::vector<QPointF> otherBefore = pointsOf("T");
    const QPointF from = canvas().getPointPosition("S", 7);
    drag(from, from + QPointF(40, -25));
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(moves[0].getNbPoints(), 3U);
    const double scale = canvas().getView().getScale();
    const QPointF delta(40 / scale, -25 / scale);
    const std::vector<QPointF> after = pointsOf("S");
    for (std::size_t index = 0; index < after.size(); ++index) {
        const bool selected = index == 3 || index == 7 || index == 12;
        const QPointF expected = before[index] + (selected ? delta : QPointF());
        EXPECT_NEAR(after[index].x(), expected.x(), 1e-9) << index;
        EXPECT_NEAR(after[index].y(), expected.y(), 1e-9) << index;
    }
    EXPECT_EQ(pointsOf("T"), otherBefore);
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{3, 7, 12}));
    // Picking follows: the moved point is found where it is drawn now.
    click(canvas().getPointPosition("S", 12));
    EXPECT_EQ(selectedPoints("S"), std::vector<int>{12});

    key(Qt::Key_Escape);
    click(canvas().getCurvePosition("T"));
    click(canvas().getCurvePosition("U"), Qt::ShiftModifier);
    const std::vector<QPointF> u = pointsOf("U");
    const std::vector<QPointF> s = pointsOf("S");
    const QPointF grab = canvas().getCurvePosition("T");
    drag(grab, grab + QPointF(-30, 20));
    ASSERT_EQ(moves.size(), 2U);
    EXPECT_EQ(moves[1].getNbPoints(), 7U); // T's 4 and U's 3
    const QPointF shift(-30 / scale, 20 / scale);
    for (std::size_t index = 0; index < otherBefore.size(); ++index) {
        EXPECT_NEAR(pointsOf("T")[index].x(), otherBefore[index].x() + shift.x(), 1e-9);
        EXPECT_NEAR(pointsOf("T")[index].y(), otherBefore[index].y() + shift.y(), 1e-9);
    }
    for (std::size_t index = 0; index < u.size(); ++index) {
        EXPECT_NEAR(pointsOf("U")[index].x(), u[index].x() + shift.x(), 1e-9);
    }
    EXPECT_EQ(pointsOf("S"), s);
}

// The undo stack holds a drag as one step that puts every moved point back, and a deletion as one
// that puts the points and shapes back where they stood, not where an inserted point would go.
TEST_F(EditorGeometryTest, UndoPutsMovedAndDeletedPointsBackWhereTheyStood) {
    open("shape S 6\n" + gridPoints(6, 6, 30, QPointF(0, 0)) + "shape T 3 2\n" +
         gridPoints(3, 3, 50, QPointF(0, 200)) + "handles 0.2 0.9\n");
    const std::vector<QPointF> start = pointsOf("S");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    click(canvas().getPointPosition("S", 4), Qt::ShiftModifier);
    const QPointF from = canvas().getPointPosition("S", 4);
    drag(from, from + QPointF(35, 15));
    const std::vector<QPointF> moved = pointsOf("S");
    ASSERT_NE(moved, start);
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Move 2 Points"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), start);
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{1, 4}));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), moved);

    // Points 1 and 4 deleted, then brought back: at their own places, selected again.
    key(Qt::Key_Delete);
    ASSERT_EQ(document().getSession().findShape("S")->getNbPoints(), 4);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), moved);
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{1, 4}));

    // A handle deleted comes back at its place along the gradient.
    key(Qt::Key_Escape);
    click(canvas().getCurvePosition("T"));
    const double second = document().getSession().findShape("T")->getHandle(1);
    click(canvas().getHandlePosition("T", 1));
    key(Qt::Key_Delete);
    ASSERT_EQ(document().getSession().findShape("T")->getNbHandles(), 1);
    key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(document().getSession().findShape("T")->getNbHandles(), 2);
    EXPECT_EQ(document().getSession().findShape("T")->getHandle(1), second);

    // A whole shape deleted comes back with its points and handles where they were.
    key(Qt::Key_Escape);
    const std::vector<QPointF> shape = pointsOf("T");
    const VoExample::AppShapeInterface &t = *document().getSession().findShape("T");
    const std::vector<double> handles{t.getHandle(0), t.getHandle(1)};
    click(canvas().getCurvePosition("T"));
    key(Qt::Key_Delete);
    ASSERT_EQ(document().getSession().findShape("T"), nullptr);
    key(Qt::Key_Z, Qt::ControlModifier);
    const VoExample::AppShapeInterface *back = document().getSession().findShape("T");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(pointsOf("T"), shape);
    EXPECT_EQ((std::vector<double>{back->getHandle(0), back->getHandle(1)}), handles);
}

// A shape whose only handle was deleted keeps its gradient, empty: deleted whole and brought
// back, it has it still, so that undoing the handle's deletion next puts the handle back. It used
// to be built without a gradient, and that undo failed and dropped every step.
TEST_F(EditorGeometryTest, UndoBringsBackAShapeWithItsEmptiedGradient) {
    open("shape T 3 1\n" + gridPoints(3, 3, 50, QPointF(0, 0)) + "handles 0.4\nshape U 2\n");
    click(canvas().getCurvePosition("T"));
    click(canvas().getHandlePosition("T", 0));
    key(Qt::Key_Delete);
    key(Qt::Key_Escape);
    click(canvas().getCurvePosition("T"));
    key(Qt::Key_Delete);
    ASSERT_EQ(document().getSession().findShape("T"), nullptr);
    key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(document().getSession().findShape("T"), nullptr);
    EXPECT_TRUE(document().getSession().findShape("T")->hasGradient());
    while (document().getSession().findShape("T")->getNbHandles() == 0 &&
           document().getHistory().canUndo()) {
        key(Qt::Key_Z, Qt::ControlModifier);
    }
    ASSERT_EQ(document().getSession().findShape("T")->getNbHandles(), 1);
    EXPECT_EQ(document().getSession().findShape("T")->getHandle(0), 0.4);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
}

// Undo writes back only the stretch of the selection that differs: a shape taken out of the middle
// comes back between the ones that stayed on either side.
TEST_F(EditorGeometryTest, UndoPutsAShapeBackBetweenTheOnesThatStayed) {
    open("shape S 3\nshape T 3\nshape U 3\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getCurvePosition("T"), Qt::ShiftModifier);
    click(canvas().getCurvePosition("U"), Qt::ShiftModifier);
    click(canvas().getCurvePosition("T"), Qt::ControlModifier);
    const auto names = [this] {
        std::vector<std::string> selected;
        for (const VoSession::SessionState::Shape &shape :
             document().getSession().capture().shapes) {
            selected.push_back(shape.name);
        }
        return selected;
    };
    ASSERT_EQ(names(), (std::vector<std::string>{"S", "U"}));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(names(), (std::vector<std::string>{"S", "T", "U"}));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(names(), (std::vector<std::string>{"S", "U"}));
}

// The view fits a scene by its tighter side, centred, within the margin; a scene of no width (or
// height) is fitted by the other side alone.
// A point inserted between two near the largest double used to be placed at their sum over two:
// infinite, which the canvas then converted to int. It lies midway, finite.
TEST_F(EditorGeometryTest, PointInsertedBetweenFarPointsLiesMidway) {
    open("shape Far 2\npoints 1.7e308,-1.5e308 1.5e308,-1.7e308\n");
    ASSERT_TRUE(document().runCommand("insert-point Far 1"));
    const std::vector<QPointF> &points = canvas().getGeometry().getShape(0).points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[1].x(), 1.6e308);
    EXPECT_DOUBLE_EQ(points[1].y(), -1.6e308);
}

TEST(EditorViewTransformTest, FitsBySceneTighterSideAndCentres) {
    VoEditor::EditorViewTransform view;
    view.fit(QRectF(0, 0, 10, 100), QSizeF(200, 300), 10);
    EXPECT_DOUBLE_EQ(view.getScale(), 2.8); // (300 - 20) / 100, tighter than (200 - 20) / 10
    EXPECT_EQ(view.toView(QPointF(0, 0)), QPointF(86, 10));
    EXPECT_EQ(view.toView(QPointF(10, 100)), QPointF(114, 290));
    view.fit(QRectF(0, 0, 0.9, 0.1), QSizeF(200, 300), 10);
    EXPECT_DOUBLE_EQ(view.getScale(), 200); // (200 - 20) / 0.9
    view.fit(QRectF(5, 0, 0, 2), QSizeF(200, 300), 10);
    EXPECT_DOUBLE_EQ(view.getScale(), 140); // a vertical line: its height alone
    EXPECT_EQ(view.toView(QPointF(5, 1)), QPointF(100, 150));
    // An area smaller than its margins still shows the scene, at least one pixel of it.
    view.fit(QRectF(0, 0, 100, 100), QSizeF(200, 15), 10);
    EXPECT_DOUBLE_EQ(view.getScale(), 0.01);
}

// Ctrl+Z, typed while an arrow key is still held down, ends the arrow's move first and then takes
// it back whole, the selection kept.
TEST_F(EditorGeometryTest, UndoWhileAnArrowIsHeldTakesBackTheNudge) {
    open("shape S 3\npoints 0,0 30,0 60,0\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    window->activateWindow();
    canvas().setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::vector<QPointF> start = pointsOf("S");
    key(Qt::Key_Right);
    key(Qt::Key_Right, Qt::NoModifier, true);
    ASSERT_EQ(pointOf("S", 1), start[1] + QPointF(2, 0));
    QTest::keyClick(&canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), start);
    EXPECT_EQ(selectedPoints("S"), std::vector<int>{1});
    ASSERT_EQ(moves.size(), 1U);
}

// While one point of a shape is dragged, the shape is drawn where its points are, not as its
// picture from before the drag moved whole: a point left in place keeps its marker there.
TEST_F(EditorGeometryTest, APointDraggedAloneLeavesTheOthersMarkersInPlace) {
    open("shape S 4\npoints 0,0 100,0 100,100 0,100\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    canvas().grab(); // shown once, as a window shows it: the shape's kept image exists
    const QPoint kept = canvas().getPointPosition("S", 3);
    const QPointF from = canvas().getPointPosition("S", 1);
    const QPointF by(37, 23);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + by / 2, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + by, Qt::LeftButton, Qt::LeftButton);
    const QImage frame = canvas().grab().toImage();
    mouse(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(canvas().getPointPosition("S", 3), kept);
    const auto markerAt = [&frame](const QPoint &at) {
        return hasColourNear(frame, at, VoEditor::EditorPainter::hollowMarker);
    };
    EXPECT_TRUE(markerAt(kept));
    EXPECT_FALSE(markerAt(kept + by.toPoint()));
}

// The rubber band's dashed outline is drawn crisp, on the pixels of its edge: nothing of it blurs
// onto the row above its top edge.
TEST_F(EditorGeometryTest, TheRubberBandIsDrawnCrisp) {
    open("shape S 3\npoints 0,0 10,0 20,0\n");
    const QPoint from(30, 30);
    const QPoint to(230, 130);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton, Qt::LeftButton);
    const QImage frame = canvas().grab().toImage();
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    int dashes = 0;
    for (int x = from.x() + 10; x < to.x() - 10; ++x) {
        EXPECT_EQ(frame.pixelColor(x, from.y() - 1), VoEditor::EditorPainter::background)
            << "above the band at " << x;
        dashes += frame.pixelColor(x, from.y()) == VoEditor::EditorPainter::selectedCurve ? 1 : 0;
    }
    EXPECT_GT(dashes, 20) << "its top edge is dashed in the selection's colour";
}

// A press on empty canvas wipes a band left from a press whose release never came: the frame
// after it shows no band until the pointer moves.
TEST_F(EditorGeometryTest, APressWipesABandLeftWithoutARelease) {
    open("shape S 3\npoints 0,0 10,0 20,0\n");
    const QPoint from(30, 30);
    const QPoint to(230, 130);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton, Qt::LeftButton);
    const auto dashes = [this, from, to] {
        const QImage frame = canvas().grab().toImage();
        int count = 0;
        for (int x = from.x() + 10; x < to.x() - 10; ++x) {
            count += frame.pixelColor(x, to.y()) == VoEditor::EditorPainter::selectedCurve ? 1 : 0;
        }
        return count;
    };
    ASSERT_GT(dashes(), 20) << "the band's bottom edge";
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(dashes(), 0);
    mouse(QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
}

// A mouse press while an arrow key is still held down ends the arrow's move first: the click after
// it is a gesture of its own, and undo takes the nudge back whole.
TEST_F(EditorGeometryTest, AClickWhileAnArrowIsHeldEndsTheNudgeFirst) {
    open("shape S 3\npoints 0,0 30,0 60,0\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    const std::vector<QPointF> start = pointsOf("S");
    key(Qt::Key_Right);
    key(Qt::Key_Right, Qt::NoModifier, true);
    ASSERT_TRUE(moves.empty());
    click(canvas().getPointPosition("S", 1));
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(pointOf("S", 1), start[1] + QPointF(2, 0));
    key(Qt::Key_Right, Qt::NoModifier, false, QEvent::KeyRelease);
    EXPECT_EQ(moves.size(), 1U) << "the release after the click ends nothing more";
    QTest::keyClick(&canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), start);
}

// The focus leaving the canvas while an arrow key is held down (the window switched away from, say)
// ends the arrow's move there: its release never reaches the canvas.
TEST_F(EditorGeometryTest, TheFocusLeavingWhileAnArrowIsHeldEndsTheNudge) {
    open("shape S 3\npoints 0,0 30,0 60,0\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    key(Qt::Key_Right);
    key(Qt::Key_Right, Qt::NoModifier, true);
    ASSERT_TRUE(moves.empty());
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&canvas(), &away);
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(moves.front().getOffset(), QPointF(2, 0));
}

// An arrow key moves the selected points one scene unit, ten with Shift; a key held down (its
// repeats) is one move from the first press to the release. A move applied twice is applied once;
// reverted, the points are back where they were; a shape deleted since is skipped.
TEST_F(EditorGeometryTest, ArrowKeysNudgeAndMovesApplyAndRevert) {
    open("shape S 6\n" + gridPoints(6, 6, 30, QPointF(0, 0)) + "shape T 2\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    click(canvas().getPointPosition("S", 4), Qt::ShiftModifier);
    const std::vector<EditorMove> &moved = moves;
    const std::vector<QPointF> start = pointsOf("S");
    key(Qt::Key_Right);
    key(Qt::Key_Right, Qt::NoModifier, false, QEvent::KeyRelease);
    ASSERT_EQ(moved.size(), 1U);
    EXPECT_EQ(pointOf("S", 1), start[1] + QPointF(1, 0));
    EXPECT_EQ(pointOf("S", 4), start[4] + QPointF(1, 0));
    EXPECT_EQ(pointOf("S", 2), start[2]);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier, false, QEvent::KeyRelease);
    ASSERT_EQ(moved.size(), 2U);
    EXPECT_EQ(pointOf("S", 4), start[4] + QPointF(1, 10));
    // Held down: the press and three repeats, one move.
    key(Qt::Key_Left);
    for (int repeat = 0; repeat < 3; ++repeat) {
        key(Qt::Key_Left, Qt::NoModifier, true);
    }
    EXPECT_EQ(moved.size(), 2U);
    key(Qt::Key_Left, Qt::NoModifier, false, QEvent::KeyRelease);
    ASSERT_EQ(moved.size(), 3U);
    const EditorMove held = moved[2];
    EXPECT_EQ(held.getOffset(), QPointF(-4, 0));
    EXPECT_EQ(pointOf("S", 1), start[1] + QPointF(-3, 10));
    EXPECT_EQ(pointOf("S", 4), start[4] + QPointF(-3, 10));

    const std::vector<QPointF> moved3 = pointsOf("S");
    document().revertMove(held);
    EXPECT_EQ(pointOf("S", 1), moved3[1] + QPointF(4, 0));
    document().applyMove(held);
    document().applyMove(held);
    EXPECT_EQ(pointsOf("S"), moved3);
    // The canvas follows undo and redo too: the point is picked where it now is.
    click(canvas().getPointPosition("S", 4));
    EXPECT_EQ(selectedPoints("S"), std::vector<int>{4});
    ASSERT_TRUE(document().runCommand("delete S"));
    document().revertMove(held); // nothing to write: no crash, no change elsewhere
    EXPECT_EQ(document().getSession().findShape("S"), nullptr);
}

// After undo and redo of a point drag, a shape drag and a nudge, the canvas draws and picks each
// point where the graph has it. It used to draw the move's positions after, also for an undo: the
// point stayed drawn, and was picked, where the drag had left it.
TEST_F(EditorGeometryTest, UndoAndRedoOfMovesRedrawWhatTheGraphHolds) {
    open("shape S 6\n" + gridPoints(6, 6, 30, QPointF(0, 0)) + "shape T 4\n" +
         gridPoints(4, 4, 40, QPointF(0, 200)));
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 2));
    const QPoint start = canvas().getPointPosition("S", 2);
    drag(start, start + QPointF(40, 30));
    ASSERT_NE(canvas().getPointPosition("S", 2), start);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
    EXPECT_EQ(canvas().getPointPosition("S", 2), start);
    click(start); // picked where it is drawn again, as a selected point pressed alone
    EXPECT_EQ(selectedPoints("S"), std::vector<int>{2});
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
    EXPECT_EQ(canvas().getPointPosition("S", 2), start + QPoint(40, 30));

    key(Qt::Key_Escape);
    const QPoint t = canvas().getCurvePosition("T");
    click(t);
    drag(t, t + QPointF(-20, 15));
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier, false, QEvent::KeyRelease);
    for (const bool undo : {true, true, false, false, true}) {
        key(undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "") << (undo ? "undo" : "redo");
    }
    EXPECT_EQ(canvas().getCurvePosition("T"), t + QPoint(-20, 15));
}

// A single-valued curve has no position per point: it is drawn where SessionPlacement puts its
// slot among the scene's slots as opened. Undoing a deletion builds a shape again, and a command
// adds one; neither moves it. It used to be placed among every shape built so far, so that it
// went to another column when A's deletion was undone.
TEST_F(EditorGeometryTest, SingleValuedCurvesStayWhenShapesComeBackOrAreAdded) {
    open("shape A 3\nshape B 3 2\nshape C 6 single\nshape D 3\n");
    const std::vector<QPointF> placed = canvas().getGeometry().getShape(2).points;
    ASSERT_EQ(placed.size(), 6U);
    const VoSession::SessionPlacement::Point first =
        VoSession::SessionPlacement::getPoint(2, 4, 0, 6);
    EXPECT_EQ(placed[0], QPointF(first.x, first.y));
    click(canvas().getCurvePosition("A"));
    key(Qt::Key_Delete);
    key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(document().getSession().findShape("A"), nullptr);
    EXPECT_EQ(canvas().getGeometry().getShape(2).points, placed);
    ASSERT_TRUE(document().runCommand("shape E 4"));
    EXPECT_EQ(canvas().getGeometry().getShape(2).points, placed);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
}

// Dragging or nudging a selection that holds a single-valued curve moves the others and says, in
// the status bar and the log, which stayed and why; with nothing else to move, no step is made.
// It used to skip the curve without a word.
TEST_F(EditorGeometryTest, MovingASingleValuedCurveSaysWhyItStays) {
    open("shape A 3\nshape C 6 single\n");
    click(canvas().getCurvePosition("A"));
    click(canvas().getCurvePosition("C"), Qt::ShiftModifier);
    const std::vector<QPointF> a = pointsOf("A");
    const QPointF grab = canvas().getCurvePosition("A");
    drag(grab, grab + QPointF(30, 0));
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(moves[0].getSkipped(), std::vector<std::string>{"C"});
    EXPECT_NEAR(pointOf("A", 0).x(), a[0].x() + 30 / canvas().getView().getScale(), 1e-9);
    const QString told = window->statusBar()->currentMessage();
    EXPECT_TRUE(told.contains("Not moved: C") && told.contains("single-valued"))
        << told.toStdString();
    EXPECT_TRUE(window->getLogDock().getText().toPlainText().contains(told));

    key(Qt::Key_Escape);
    click(canvas().getCurvePosition("C"));
    window->statusBar()->clearMessage();
    const QString undoBefore = window->getUndoAction().text();
    key(Qt::Key_Left);
    key(Qt::Key_Left, Qt::NoModifier, false, QEvent::KeyRelease);
    EXPECT_EQ(moves.size(), 1U);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("Not moved: C"));
    EXPECT_EQ(window->getUndoAction().text(), undoBefore);

    // A transform of both says so too, and scales A alone.
    click(canvas().getCurvePosition("A"));
    click(canvas().getCurvePosition("C"), Qt::ShiftModifier);
    window->getTransformAction().trigger();
    window->statusBar()->clearMessage();
    const QPointF corner = canvas().getTransformBox().scaleGrips(canvas().getView())[7];
    drag(corner, corner + QPointF(20, 20));
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("Not moved: C"));
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Scale 3 Points"));
}

// A selected handle dragged moves along its gradient with the pointer, within its line; the arrow
// keys nudge it across by a scene unit as they do points; each is one step that undo and redo
// take back and make again. The shape's points stay: Shift+arrow with a handle selected used to
// move the whole shape, and a drag only clicked the handle.
TEST_F(EditorGeometryTest, HandlesDragAndNudgeAlongTheGradient) {
    open("shape T 4 2\n" + gridPoints(4, 4, 50, QPointF(0, 0)) + "handles 0.2 0.6\n");
    click(canvas().getCurvePosition("T"));
    const std::vector<QPointF> points = pointsOf("T");
    VoExample::AppShapeInterface &shape = *document().getSession().findShape("T");
    const QPoint second = canvas().getHandlePosition("T", 1);
    drag(second, second + QPointF(40, 7)); // an unselected handle: selected, then dragged
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(moves[0].getNbHandles(), 1U);
    EXPECT_EQ(canvas().getTable().find("T")->handles, std::vector<int>{1});
    EXPECT_NEAR(canvas().getHandlePosition("T", 1).x(), second.x() + 40, 1);
    EXPECT_EQ(canvas().getHandlePosition("T", 1).y(), second.y());
    const double dragged = shape.getHandle(1);
    EXPECT_GT(dragged, 0.6);
    EXPECT_EQ(pointsOf("T"), points);
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Move 1 Handle"));

    const double width = canvas().getGeometry().getShape(0).curveBounds.width();
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier, false, QEvent::KeyRelease);
    EXPECT_NEAR(shape.getHandle(1), dragged + 10 / width, 1e-12);
    EXPECT_EQ(pointsOf("T"), points);
    key(Qt::Key_Up);
    key(Qt::Key_Up, Qt::NoModifier, false, QEvent::KeyRelease);
    EXPECT_EQ(moves.size(), 2U) << "a handle does not move up: no step";
    // Past its line's end, it stops at the gradient's end.
    const QPoint now = canvas().getHandlePosition("T", 1);
    drag(now, now + QPointF(4000, 0));
    EXPECT_EQ(shape.getHandle(1), 1.0);

    for (const double expected : {dragged + 10 / width, dragged, 0.6}) {
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_NEAR(shape.getHandle(1), expected, 1e-12);
        EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
    }
    EXPECT_EQ(shape.getHandle(0), 0.2);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(shape.getHandle(1), dragged);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
    // A press on the selected handle without a drag selects it alone, moving nothing.
    click(canvas().getHandlePosition("T", 0), Qt::ShiftModifier);
    ASSERT_EQ(canvas().getTable().find("T")->handles, (std::vector<int>{1, 0}));
    click(canvas().getHandlePosition("T", 1));
    EXPECT_EQ(canvas().getTable().find("T")->handles, std::vector<int>{1});
    EXPECT_EQ(shape.getHandle(1), dragged);
}

// A shape the canvas does not draw has no place on it: (-1, -1) for its curve, points and handles,
// as for a shape without points; a drawn one's places lie on the canvas.
TEST_F(EditorGeometryTest, PlacesOfWhatIsNotDrawnAreOffTheCanvas) {
    open("shape S 3 1\nshape E 0\n");
    for (const QPoint &place :
         {canvas().getCurvePosition("Nope"), canvas().getPointPosition("Nope", 0),
          canvas().getHandlePosition("Nope", 0), canvas().getCurvePosition("E")}) {
        EXPECT_EQ(place, QPoint(-1, -1));
    }
    for (const QPoint &place : {canvas().getCurvePosition("S"), canvas().getPointPosition("S", 2),
                                canvas().getHandlePosition("S", 0)}) {
        EXPECT_TRUE(canvas().rect().contains(place)) << place.x() << ", " << place.y();
    }
}

// A pan leaves the view where the artist put it through a resize of the window; fitting the view
// again follows the window's size once more.
TEST_F(EditorGeometryTest, FittingTheViewFollowsTheWindowAgainAfterAPan) {
    open("shape S 3\npoints 0,0 100,0 100,50\n");
    canvas().pan(QPointF(10, 10));
    const double panned = canvas().getView().getScale();
    window->resize(1000, 700);
    QApplication::processEvents();
    ASSERT_EQ(canvas().getView().getScale(), panned) << "kept through a resize";
    canvas().fitView();
    const double fitted = canvas().getView().getScale();
    window->resize(1280, 800);
    QApplication::processEvents();
    EXPECT_GT(canvas().getView().getScale(), fitted) << "fitted to the larger window";
}

// The view fits the points where they are: a move and its undo leave the bounds as they were, not
// grown over both places (a drag grows them loosely, and they are measured again once it settles).
TEST_F(EditorGeometryTest, AnUndoneMoveLeavesTheBoundsAsTheyWere) {
    open("shape S 4\npoints 0,0 100,0 100,50 0,50\nshape T 2\npoints 200,0 220,30\n");
    canvas().fitView();
    const double fitted = canvas().getView().getScale();
    const QPoint curve = canvas().getCurvePosition("S");
    click(curve);
    drag(curve, curve + QPointF(-300, 200));
    ASSERT_NE(pointsOf("S").front(), QPointF(0, 0));
    key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(pointsOf("S").front(), QPointF(0, 0));
    canvas().fitView();
    EXPECT_DOUBLE_EQ(canvas().getView().getScale(), fitted);
}

// With the transform box shown round the selected shape, a corner grip scales its points away
// from the pivot (Shift: the same on both axes), the rotation grip turns them round it (Shift: to
// a multiple of 15 degrees), the pivot can be dragged elsewhere and stays there, and a flip
// mirrors them across it; each is one undo step that takes the points back exactly.
TEST_F(EditorGeometryTest, TransformBoxScalesRotatesAndFlipsAroundItsPivot) {
    open("shape S 4\npoints 0,0 100,0 100,50 0,50\nshape T 3\npoints 300,0 320,0 340,10\n");
    click(canvas().getCurvePosition("S"));
    window->getTransformAction().trigger();
    const VoEditor::EditorTransformBox &box = canvas().getTransformBox();
    ASSERT_TRUE(box.isShown());
    EXPECT_EQ(box.getBox(), QRectF(0, 0, 100, 50));
    EXPECT_EQ(box.getPivot(), QPointF(50, 25));
    {
        // The pivot is a ring with a cross through it: the ring is drawn off the cross's lines.
        const QImage shown = canvas().grab().toImage();
        const double off = VoEditor::EditorTransformBox::gripSize / std::sqrt(2.0);
        const QPoint ring =
            (canvas().getView().toView(box.getPivot()) + QPointF(off, off)).toPoint();
        int darkest = 255;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                darkest = std::min(darkest, qGray(shown.pixel(ring + QPoint(dx, dy))));
            }
        }
        EXPECT_LT(darkest, qGray(VoEditor::EditorPainter::background.rgb()) - 40);
        // Its cross is level and upright: near one tip of an arm, its ink sits on the same row
        // (column) as near the other tip.
        const QPointF centre = canvas().getView().toView(box.getPivot());
        const int tip = static_cast<int>(2 * VoEditor::EditorTransformBox::gripSize) - 1;
        const auto inkCentre = [&shown, &centre](QPointF along, QPointF across) {
            double ink = 0;
            double weighted = 0;
            for (int step = -3; step <= 3; ++step) {
                const QPoint at = (centre + along + across * step).toPoint();
                const double dark = std::max(0, qGray(VoEditor::EditorPainter::background.rgb()) -
                                                    qGray(shown.pixel(at)));
                ink += dark;
                weighted += dark * step;
            }
            return ink > 0 ? weighted / ink : 99.0;
        };
        EXPECT_NEAR(inkCentre(QPointF(-tip, 0), QPointF(0, 1)),
                    inkCentre(QPointF(tip, 0), QPointF(0, 1)), 0.35);
        EXPECT_NEAR(inkCentre(QPointF(0, -tip), QPointF(1, 0)),
                    inkCentre(QPointF(0, tip), QPointF(1, 0)), 0.35);
        EXPECT_LT(std::abs(inkCentre(QPointF(-tip, 0), QPointF(0, 1))), 1) << "an arm is drawn";
    }
    const std::vector<QPointF> start = pointsOf("S");
    const std::vector<QPointF> t = pointsOf("T");
    const double scale = canvas().getView().getScale();
    const auto expectPoints = [this](const std::vector<QPointF> &expected, const char *after) {
        const std::vector<QPointF> now = pointsOf("S");
        for (std::size_t index = 0; index < expected.size(); ++index) {
            EXPECT_NEAR(now[index].x(), expected[index].x(), 1e-6) << after << " " << index;
            EXPECT_NEAR(now[index].y(), expected[index].y(), 1e-6) << after << " " << index;
        }
    };
    const auto corner = [this] {
        return canvas().getTransformBox().scaleGrips(canvas().getView())[7];
    };

    // The bottom-right corner 50 and 25 scene units on: twice as large round (50, 25).
    drag(corner(), corner() + QPointF(50, 25) * scale);
    expectPoints({{-50, -25}, {150, -25}, {150, 75}, {-50, 75}}, "scaled");
    EXPECT_EQ(box.getBox(), QRectF(-50, -25, 200, 100));
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Scale 4 Points"));
    EXPECT_EQ(pointsOf("T"), t);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), start);
    EXPECT_EQ(box.getBox(), QRectF(0, 0, 100, 50)) << "the box surrounds the points put back";
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");

    // Sideways only, with Shift: both axes take the factor.
    mouse(QEvent::MouseButtonPress, corner(), Qt::LeftButton, Qt::LeftButton);
    QMouseEvent shifted(QEvent::MouseMove, corner() + QPointF(50, 0) * scale,
                        canvas().mapToGlobal(corner()), Qt::NoButton, Qt::LeftButton,
                        Qt::ShiftModifier);
    QApplication::sendEvent(&canvas(), &shifted);
    mouse(QEvent::MouseButtonRelease, corner(), Qt::LeftButton, Qt::NoButton);
    expectPoints({{-50, -25}, {150, -25}, {150, 75}, {-50, 75}}, "scaled with Shift");
    key(Qt::Key_Z, Qt::ControlModifier);

    // The rotation grip dragged a little past a quarter turn, with Shift: a quarter turn.
    const QPointF pivot = canvas().getView().toView(QPointF(50, 25));
    const QPointF grip = box.rotationGrip(canvas().getView());
    mouse(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    QMouseEvent turned(QEvent::MouseMove, pivot + QPointF(80, 6), canvas().mapToGlobal(grip),
                       Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&canvas(), &turned);
    mouse(QEvent::MouseButtonRelease, pivot + QPointF(80, 6), Qt::LeftButton, Qt::NoButton);
    expectPoints({{75, -25}, {75, 75}, {25, 75}, {25, -25}}, "rotated");
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Rotate 4 Points"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), start);

    // The pivot dragged to (20, 10) stays there; the corner scales round it.
    drag(pivot, canvas().getView().toView(QPointF(20, 10)));
    EXPECT_EQ(pointsOf("S"), start);
    EXPECT_NEAR(box.getPivot().x(), 20, 1e-9);
    drag(corner(), corner() + QPointF(80, 40) * scale);
    expectPoints({{-20, -10}, {180, -10}, {180, 90}, {-20, 90}}, "scaled round the pivot");
    EXPECT_NEAR(box.getPivot().y(), 10, 1e-9);
    canvas().flip(true);
    expectPoints({{60, -10}, {-140, -10}, {-140, 90}, {60, 90}}, "flipped");
    canvas().flip(false);
    expectPoints({{60, 30}, {-140, 30}, {-140, -70}, {60, -70}}, "flipped twice");
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Flip 4 Points"));
    for (int step = 0; step < 3; ++step) {
        key(Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(pointsOf("S"), start);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
    window->getTransformAction().trigger();
    EXPECT_FALSE(box.isShown());
}

// A grip pressed and moved less than a drag's threshold transforms nothing, whatever the gesture
// before it left: the points stay where the last scale put them, with no step of their own.
TEST_F(EditorGeometryTest, AGripMovedLessThanADragTransformsNothing) {
    open("shape S 4\npoints 0,0 100,0 100,50 0,50\n");
    click(canvas().getCurvePosition("S"));
    window->getTransformAction().trigger();
    const double scale = canvas().getView().getScale();
    const auto corner = [this] {
        return canvas().getTransformBox().scaleGrips(canvas().getView())[7];
    };
    drag(corner(), corner() + QPointF(50, 25) * scale);
    const std::vector<QPointF> scaled = pointsOf("S");
    ASSERT_NE(scaled, (std::vector<QPointF>{{0, 0}, {100, 0}, {100, 50}, {0, 50}}));
    const std::size_t finished = moves.size();
    const QPointF from = corner();
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPointF(2, 1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(pointsOf("S"), scaled) << "while pressed";
    mouse(QEvent::MouseButtonRelease, from + QPointF(2, 1), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(pointsOf("S"), scaled);
    EXPECT_EQ(moves.size(), finished);
    EXPECT_EQ(window->getUndoAction().text(), QString("&Undo Scale 4 Points"));
}

// With grid snapping on (G), a dragged point lands on the nearest crossing of a grid whose step
// suits the view, the guide showing while the drag lasts; with points and curves on (P), on
// another shape's point or curve within reach, never on a point that moves with it; with both
// off, where the pointer leaves it.
TEST_F(EditorGeometryTest, SnappingPutsDraggedPointsOnTheGridPointsAndCurves) {
    open("shape S 3\npoints 0,0 100,0 200,0\nshape T 3\npoints 0,100 57,133 200,100\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 1));
    const VoEditor::EditorViewTransform &view = canvas().getView();
    const auto dragTo = [this, &view](const QPointF &scene) {
        // From the point's exact place on screen, so that without a snap it lands on scene.
        const QPointF from = view.toView(pointOf("S", 1));
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + view.toView(scene)) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, view.toView(scene), Qt::NoButton, Qt::LeftButton);
        const VoEditor::EditorSnapper::Snap::Kind shown = canvas().getShownSnap().kind;
        mouse(QEvent::MouseButtonRelease, view.toView(scene), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(canvas().getShownSnap().kind, VoEditor::EditorSnapper::Snap::None);
        return shown;
    };
    window->getSnapGridAction().trigger();
    const double step = VoEditor::EditorSnapper::gridStep(view);
    ASSERT_GE(step * view.getScale(), VoEditor::EditorSnapper::minGridPixels);
    ASSERT_LT(step * view.getScale(), 5 * VoEditor::EditorSnapper::minGridPixels);
    EXPECT_EQ(dragTo(QPointF(137.3, 41.2)), VoEditor::EditorSnapper::Snap::Grid);
    EXPECT_EQ(pointOf("S", 1),
              QPointF(std::round(137.3 / step) * step, std::round(41.2 / step) * step));
    EXPECT_EQ(pointOf("S", 0), QPointF(0, 0));

    window->getSnapGridAction().trigger();
    window->getSnapPointsAction().trigger();
    const double near = 3 / view.getScale(); // 3 pixels off
    EXPECT_EQ(dragTo(QPointF(57 + near, 133 - near)), VoEditor::EditorSnapper::Snap::Point);
    EXPECT_EQ(pointOf("S", 1), QPointF(57, 133));
    // Half way along T's curve between two of its points, a few pixels off: onto the curve.
    const std::array<QPointF, 4> span = canvas().getLayout().getSpan(1, 1);
    const QPointF between =
        view.toScene((span[0] + 3 * span[1] + 3 * span[2] + span[3]) / 8) + QPointF(0, near);
    EXPECT_EQ(dragTo(between), VoEditor::EditorSnapper::Snap::Curve);
    const VoEditor::EditorPicker::CurvePlace on =
        canvas().getPicker().findCurvePlace(1, view.toView(pointOf("S", 1)));
    EXPECT_GE(on.index, 0);
    EXPECT_LT(QLineF(on.at, pointOf("S", 1)).length() * view.getScale(), 0.01); // pixels
    EXPECT_NE(pointOf("S", 1), between);

    window->getSnapPointsAction().trigger();
    EXPECT_EQ(dragTo(QPointF(57 + near, 133 - near)), VoEditor::EditorSnapper::Snap::None);
    EXPECT_NEAR(pointOf("S", 1).x(), 57 + near, 1e-9);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
}

// The grid drawn while grid snapping is on has a line at every multiple of its step across the
// canvas, from its left edge to its right one, and nothing between two lines.
TEST_F(EditorGeometryTest, GridLinesCrossTheWholeCanvas) {
    open("shape S 2\npoints 0,0 400,10\n");
    window->getSnapGridAction().trigger();
    const VoEditor::EditorViewTransform &view = canvas().getView();
    const double step = VoEditor::EditorSnapper::gridStep(view);
    const QImage image = canvas().grab().toImage();
    // A row half way between two horizontal lines, below the shape.
    const QPointF low = view.toScene(QPointF(0, canvas().height() * 0.8));
    const int row =
        static_cast<int>(view.toView(QPointF(0, (std::floor(low.y() / step) + 0.5) * step)).y());
    const QRectF seen = view.toScene(QRectF(canvas().rect()));
    int lines = 0;
    for (double x = std::ceil(seen.left() / step) * step; x < seen.right(); x += step) {
        const int column = static_cast<int>(std::floor(view.toView(QPointF(x, 0)).x()));
        if (column < 2 || column > canvas().width() - 3) {
            continue;
        }
        ++lines;
        // Drawn without antialiasing: on the pixel the place rounds to, one way or the other.
        EXPECT_TRUE(image.pixelColor(column, row) == VoEditor::EditorPainter::grid ||
                    image.pixelColor(column + 1, row) == VoEditor::EditorPainter::grid)
            << "x " << x;
        const int between = static_cast<int>(view.toView(QPointF(x + step / 2, 0)).x());
        if (between < canvas().width() - 2) {
            EXPECT_EQ(image.pixelColor(between, row), VoEditor::EditorPainter::background);
        }
    }
    EXPECT_GE(lines, 5);
}

// With the lasso on, a drag on empty canvas draws an outline: the shapes whose points all lie
// inside it are selected, or else the primary shape's points inside it, not those inside its
// bounding box but outside the outline.
TEST_F(EditorGeometryTest, LassoSelectsShapesOrPointsInsideItsOutline) {
    open("shape S 4\npoints 0,0 100,0 100,100 0,100\nshape T 2\npoints 300,0 340,40\n");
    window->getLassoAction().trigger();
    const VoEditor::EditorViewTransform &view = canvas().getView();
    const auto lasso = [this, &view](const std::vector<QPointF> &corners) {
        mouse(QEvent::MouseButtonPress, view.toView(corners.front()), Qt::LeftButton,
              Qt::LeftButton);
        for (std::size_t corner = 1; corner <= corners.size(); ++corner) {
            const QPointF from = view.toView(corners[corner - 1]);
            const QPointF to = view.toView(corners[corner % corners.size()]);
            for (int step = 1; step <= 4; ++step) {
                mouse(QEvent::MouseMove, from + (to - from) * step / 4.0, Qt::NoButton,
                      Qt::LeftButton);
            }
        }
        const QImage drawn = canvas().grab().toImage();
        mouse(QEvent::MouseButtonRelease, view.toView(corners.front()), Qt::LeftButton,
              Qt::NoButton);
        return drawn;
    };
    const QImage outlined = lasso({{280, -20}, {370, -20}, {370, 70}, {280, 70}});
    // While it is drawn, the outline's inside is tinted; outside it the canvas stays bare.
    EXPECT_NE(outlined.pixelColor(view.toView(QPointF(330, 50)).toPoint()),
              VoEditor::EditorPainter::background);
    EXPECT_EQ(outlined.pixelColor(view.toView(QPointF(260, 30)).toPoint()),
              VoEditor::EditorPainter::background);
    ASSERT_NE(canvas().getTable().find("T"), nullptr);
    EXPECT_TRUE(canvas().getTable().find("T")->primary);
    EXPECT_FALSE(canvas().getTable().find("S")->selected);
    click(canvas().getCurvePosition("S"));
    // An outline round S's points 1 and 2 whose box also holds points 0 and 3.
    lasso({{90, -10}, {120, -10}, {120, 120}, {-30, 120}, {-30, 110}, {85, 105}});
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{1, 2}));
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
}

// Grow adds each selected point's neighbours along the curve after the points selected; shrink
// keeps the points whose neighbours are both selected, a curve's end counting as unselected.
TEST_F(EditorGeometryTest, GrowAndShrinkFollowTheCurve) {
    open("shape S 10\n" + gridPoints(10, 10, 30, QPointF(0, 0)));
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 4));
    click(canvas().getPointPosition("S", 7), Qt::ShiftModifier);
    // ] and [, as the window's shortcuts take them.
    const auto grow = [this](bool more) {
        QTest::keyClick(&canvas(), more ? Qt::Key_BracketRight : Qt::Key_BracketLeft);
    };
    grow(true);
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{4, 7, 3, 5, 6, 8}));
    grow(false);
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{4, 7, 5, 6}));
    click(canvas().getPointPosition("S", 9));
    click(canvas().getPointPosition("S", 0), Qt::ShiftModifier);
    grow(true);
    EXPECT_EQ(selectedPoints("S"), (std::vector<int>{9, 0, 8, 1}));
    grow(false);
    EXPECT_EQ(selectedPoints("S"), std::vector<int>());
}

// A double click on the primary shape's curve, between two of its points, inserts a point there,
// at the place clicked; undo takes it out, redo puts it back at that place.
TEST_F(EditorGeometryTest, DoubleClickOnTheCurveInsertsAPointThere) {
    open("shape S 3\npoints 0,0 100,0 200,0\n");
    click(canvas().getCurvePosition("S"));
    const VoEditor::EditorViewTransform &view = canvas().getView();
    const QPointF at = view.toView(QPointF(130, 0));
    QTest::mouseDClick(&canvas(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
    ASSERT_EQ(document().getSession().findShape("S")->getNbPoints(), 4);
    EXPECT_NEAR(pointOf("S", 2).x(), 130, 1 / view.getScale());
    EXPECT_NEAR(pointOf("S", 2).y(), 0, 1e-9);
    EXPECT_EQ(pointOf("S", 3), QPointF(200, 0));
    const QPointF inserted = pointOf("S", 2);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pointsOf("S"), (std::vector<QPointF>{{0, 0}, {100, 0}, {200, 0}}));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(pointOf("S", 2), inserted);
    // On a point of the curve, a double click is a second click: nothing is inserted.
    QTest::mouseDClick(&canvas(), Qt::LeftButton, Qt::NoModifier,
                       canvas().getPointPosition("S", 1));
    EXPECT_EQ(document().getSession().findShape("S")->getNbPoints(), 4);
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
}

// Only the primary shape's points stop a double click on its curve from inserting one: another
// shape's point lying on that curve is not picked there, as a press would not pick it either.
TEST_F(EditorGeometryTest, AnotherShapesPointOnTheCurveLetsADoubleClickInsert) {
    open("shape S 3\npoints 0,0 100,0 200,0\nshape T 2\npoints 130,0 130,60\n");
    click(canvas().getCurvePosition("S"));
    ASSERT_TRUE(canvas().getTable().find("S")->primary);
    const QPoint at = canvas().getView().toView(QPointF(130, 0)).toPoint();
    QTest::mouseDClick(&canvas(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(document().getSession().findShape("S")->getNbPoints(), 4);
    EXPECT_NEAR(pointOf("S", 2).x(), 130, 1 / canvas().getView().getScale());
    EXPECT_EQ(document().getSession().findShape("T")->getNbPoints(), 2);
}

// A release that never comes (a popup took it) ends the drag at the next move made without a
// button, where the pointer last was: the rectangle selects what it caught, and the pointer then
// only hovers, moving nothing.
TEST_F(EditorGeometryTest, ADragWhoseReleaseIsLostEndsAtTheNextMove) {
    open("shape S 3\npoints 0,0 10,0 20,0\nshape T 3\npoints 100,0 110,0 120,0\n");
    const VoEditor::EditorViewTransform &view = canvas().getView();
    mouse(QEvent::MouseButtonPress, view.toView(QPointF(-10, -10)), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, view.toView(QPointF(30, 10)), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, view.toView(QPointF(300, 100)), Qt::NoButton, Qt::NoButton);
    ASSERT_NE(canvas().getTable().find("S"), nullptr);
    EXPECT_TRUE(canvas().getTable().find("S")->primary);
    EXPECT_FALSE(canvas().getTable().find("T")->selected);
    click(canvas().getPointPosition("S", 1));
    const std::vector<QPointF> before = pointsOf("S");
    mouse(QEvent::MouseButtonPress, view.toView(QPointF(10, 0)), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, view.toView(QPointF(10, 0)), Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseMove, view.toView(QPointF(60, 30)), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pointsOf("S"), before);
}

// While a drag moves a curve's points the curve goes straight from point to point; the repaint that
// ends the drag draws the smooth curve again, which bulges past the chord between two corners of a
// square (by an eighth of its side, halfway along).
TEST_F(EditorGeometryTest, AMovingCurveGoesStraightUntilTheDragEnds) {
    open("shape Z 4\npoints 0,0 100,0 100,100 0,100\n");
    canvas().getGestures().clickShape(*document().getSession().findShape("Z"), false);
    canvas().getGestures().selectAll();
    const VoEditor::EditorViewTransform &view = canvas().getView();
    const QPointF from = view.toView(QPointF(0, 0));
    const QPointF by(20, 0);
    const auto drawn = [this, &view, &by](const QPointF &scene) {
        return hasColourNear(canvas().grab().toImage(), (view.toView(scene) + by).toPoint(),
                             VoEditor::EditorPainter::primaryCurve);
    };
    const QPointF chord(100, 50);
    const QPointF bulge(112.5, 50);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + by / 2, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + by, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(drawn(chord));
    EXPECT_FALSE(drawn(bulge));
    mouse(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_FALSE(drawn(chord));
    EXPECT_TRUE(drawn(bulge));
    EXPECT_EQ(VoEditorTest::canvasDisagreement(*window), "");
}

// The handles' line runs below the curve, between and past its handles, pale: the curve's colour
// over the background, one pixel high (two half-covered rows where it falls between them).
TEST_F(EditorGeometryTest, TheHandlesLineIsDrawnPaleBetweenTheHandles) {
    open("shape H 3 2\npoints 0,0 100,0 50,50\nhandles 0.1 0.9\n");
    const QRectF line = canvas().getLayout().getHandleArea(canvas().getTable().find("H")->slot);
    const QImage image = canvas().grab().toImage();
    const int x = static_cast<int>(line.center().x());
    const int y = static_cast<int>(std::floor(line.center().y() - 0.5));
    const QColor background = VoEditor::EditorPainter::background;
    const QColor muted = VoEditor::EditorPainter::mutedCurve;
    const auto between = [&](const QColor &seen) {
        // Darker than the background, lighter than the curve, in every channel.
        return seen.red() < background.red() && seen.red() > muted.red() &&
               seen.green() < background.green() && seen.green() > muted.green() &&
               seen.blue() < background.blue() && seen.blue() > muted.blue();
    };
    EXPECT_TRUE(between(image.pixelColor(x, y)) || between(image.pixelColor(x, y + 1)));
    EXPECT_EQ(image.pixelColor(x, y - 3), background);
    EXPECT_EQ(image.pixelColor(x, y + 4), background);
}

// A grip on the pivot's line scales nothing along that axis, whatever the drag; a transform that
// would take a point past the doubles' range is refused, the move left as it was.
TEST(EditorTransformBoxTest, DegenerateBoxesAndOverflowingTransforms) {
    VoEditor::EditorTransformBox box;
    box.surround({QPointF(10, 0), QPointF(10, 40)}); // no width
    const VoEditor::EditorTransformBox::Grip corner{VoEditor::EditorTransformBox::Grip::Scale, 1,
                                                    1};
    const QTransform stretched = box.transformFor(corner, QPointF(10, 40), QPointF(60, 60), false);
    EXPECT_EQ(stretched.map(QPointF(10, 0)), QPointF(10, -20)); // twice as tall round (10, 20)
    EXPECT_TRUE(std::isfinite(stretched.m11()));
    EXPECT_EQ(stretched.m11(), 1);

    startApplication();
    VoSession::Session session;
    VoSession::SessionScene scene(session.getNodeNames());
    std::istringstream text("shape P 2\npoints 1e300,0 -1e300,5\n");
    std::string error;
    ASSERT_TRUE(scene.read(text, "t.scene", error)) << error;
    session.build(scene);
    EditorMove move;
    move.addShape(*session.findShape("P"), {0, 1});
    EXPECT_TRUE(move.setTransform(QTransform::fromScale(2, 2)));
    EXPECT_FALSE(move.setTransform(QTransform::fromScale(1e10, 1)));
    EXPECT_EQ(move.getShapes()[0].to[0], QPointF(2e300, 0));
}

// Pixels stay finite and within EditorViewTransform::maxPixel however far a point lies, a point
// past the doubles' range on screen keeps its direction from the view's origin, and a rectangle
// keeps the part of it on screen.
TEST(EditorViewTransformTest, FarPointsStayFiniteAndKeepTheirDirection) {
    VoEditor::EditorViewTransform view;
    view.fit(QRectF(0, 0, 10, 10), QSizeF(200, 200), 10);
    const double max = VoEditor::EditorViewTransform::maxPixel;
    const double huge = std::numeric_limits<double>::max();
    for (const QPointF &far :
         {QPointF(huge, 0), QPointF(1e300, 3e300), QPointF(-2e9, 5), QPointF(std::nan(""), 0)}) {
        const QPointF at = view.toView(far);
        EXPECT_TRUE(std::isfinite(at.x()) && std::isfinite(at.y()));
        EXPECT_LE(std::max(std::abs(at.x()), std::abs(at.y())), max);
    }
    const QPointF steep = view.toView(QPointF(1e300, 3e300));
    EXPECT_NEAR(steep.y() / steep.x(), 3, 1e-9);
    EXPECT_EQ(view.toView(QPointF(huge, 0)).x(), max);
    EXPECT_EQ(view.toView(QPointF(5, 5)), QPointF(100, 100));
    const QRectF wide = view.toView(QRectF(QPointF(-huge, 0), QPointF(huge, 10)));
    EXPECT_EQ(wide, QRectF(QPointF(-max, 10), QPointF(max, 190)));
}

// A curve towards a point far past the screen is drawn towards it, and points closer than 1e-10
// pixels, or not finite, are drawn without overflowing an int (which the sanitizer build checks).
// The far point's pixels used to be infinite, and its spans were left out.
TEST(EditorPainterTest, FarCrowdedAndNonFinitePointsDraw) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    const double huge = std::numeric_limits<double>::max();
    VoEditor::EditorGeometry::Shape far;
    far.points = {QPointF(0, 5), QPointF(2, 5), QPointF(huge, 5)};
    geometry.setShape(0, far);
    VoEditor::EditorGeometry::Shape crowd;
    for (int index = 0; index < 1000; ++index) {
        crowd.points.emplace_back(5 + index * 1e-13, 8);
    }
    crowd.points.emplace_back(std::nan(""), std::numeric_limits<double>::infinity());
    geometry.setShape(1, crowd);
    VoEditor::EditorViewTransform view;
    view.fit(QRectF(0, 0, 10, 10), QSizeF(200, 200), 10);
    const VoEditor::EditorLayout layout(geometry, view);
    std::vector<VoEditor::EditorShapeView> views(2);
    for (int slot = 0; slot < 2; ++slot) {
        VoEditor::EditorShapeView &shape = views[static_cast<std::size_t>(slot)];
        shape.slot = slot;
        shape.name = slot == 0 ? "Far" : "Crowd";
        shape.nbPoints = static_cast<int>(geometry.getShape(slot).points.size());
        shape.selected = shape.primary = slot == 1;
        shape.points = {shape.nbPoints - 1, 0, 500};
    }
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter target(&image);
    VoEditor::EditorPainter painter(target, layout, QRectF(0, 0, 200, 200));
    painter.paint({&views[0], &views[1]});
    target.end();
    const QPointF start = view.toView(QPointF(2, 5));
    for (const double right : {20.0, 60.0}) {
        const QColor drawn = image.pixelColor(QPointF(start.x() + right, start.y()).toPoint());
        EXPECT_LT(std::abs(drawn.red() - VoEditor::EditorPainter::mutedCurve.red()) +
                      std::abs(drawn.blue() - VoEditor::EditorPainter::mutedCurve.blue()),
                  40)
            << "the curve towards the far point, " << right << " pixels on";
    }
    EXPECT_NE(image.pixelColor(view.toView(QPointF(5, 8)).toPoint()),
              VoEditor::EditorPainter::background);
}

// A painter over an image of its own and a scene of no shapes, for the drawings that are not a
// shape's: guides, grips, the grid, a band, a lasso. The layout keeps the view it is given.
class BarePainting {
public:
    explicit BarePainting(QSize size)
        : layout(geometry, view), image(size, QImage::Format_ARGB32_Premultiplied), target(&image),
          painter(target, layout, QRectF(image.rect())) {}

    VoEditor::EditorPainter &get() { return painter; }
    QPainter &getTarget() { return target; }

    // Ends the painting; the image as drawn.
    const QImage &finish() {
        target.end();
        return image;
    }

private:
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorViewTransform view;
    VoEditor::EditorLayout layout;
    QImage image;
    QPainter target;
    VoEditor::EditorPainter painter;
};

// One shape of the geometry, every point and handle it holds, as the table would describe it.
VoEditor::EditorShapeView viewOf(const VoEditor::EditorGeometry &geometry, int slot) {
    VoEditor::EditorShapeView shape;
    shape.slot = slot;
    shape.name = "S" + std::to_string(slot);
    shape.nbPoints = static_cast<int>(geometry.getShape(slot).points.size());
    shape.nbHandles = static_cast<int>(geometry.getShape(slot).handles.size());
    return shape;
}

// A geometry of one shape in slot 0: four points on the corners of box, clockwise from its top
// left.
VoEditor::EditorGeometry squareAlone(const QRectF &box) {
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape square;
    square.points = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
    geometry.setShape(0, square);
    return geometry;
}

// The same square with one handle, halfway along its handles' line.
VoEditor::EditorGeometry squareWithAHandle(const QRectF &box) {
    VoEditor::EditorGeometry geometry = squareAlone(box);
    VoEditor::EditorGeometry::Shape handled = geometry.getShape(0);
    handled.handles = {0.5};
    geometry.setShape(0, handled);
    return geometry;
}

// The shapes painted alone, at the default view (a scene unit a pixel) moved by pan.
QImage paintAlone(const VoEditor::EditorGeometry &geometry,
                  const std::vector<VoEditor::EditorShapeView> &shapes, const QPointF &pan = {}) {
    VoEditor::EditorViewTransform view;
    view.pan(pan);
    const VoEditor::EditorLayout layout(geometry, view);
    QImage image(240, 240, QImage::Format_ARGB32_Premultiplied);
    QPainter target(&image);
    VoEditor::EditorPainter painter(target, layout, QRectF(image.rect()));
    std::vector<const VoEditor::EditorShapeView *> drawn;
    for (const VoEditor::EditorShapeView &shape : shapes) {
        drawn.push_back(&shape);
    }
    painter.paint(drawn);
    target.end();
    return image;
}

// Each drawing sets the pen, brush and antialiasing it needs, whatever the one before it left: a
// snap guide after a lasso's tinted fill is an outline, the grid after antialiased curves crisp.
TEST(EditorPainterTest, EachDrawingSetsItsOwnBrushAndAntialiasing) {
    startApplication();
    BarePainting first(QSize(205, 97));
    first.get().paintLasso(QPolygonF{QPointF(150, 5), QPointF(200, 5), QPointF(200, 40)});
    first.get().paintSnapGuide({VoEditor::EditorSnapper::Snap::Point, QPointF(175, 75)});
    first.getTarget().setRenderHint(QPainter::Antialiasing, true);
    first.get().paintGrid(10);
    const QImage &image = first.finish();
    EXPECT_EQ(image.pixelColor(175, 75), VoEditor::EditorPainter::background)
        << "inside the guide's diamond";
    for (const int x : {50, 60, 100}) {
        EXPECT_EQ(image.pixelColor(x, 55), VoEditor::EditorPainter::grid) << x;
        EXPECT_EQ(image.pixelColor(x + 1, 55), VoEditor::EditorPainter::background) << x;
    }
    // A band and a lasso after a guide's unfilled outline in its own colour: tinted inside, and
    // the lasso's outline in the selection's blue.
    BarePainting second(QSize(205, 97));
    VoEditor::EditorPainter &next = second.get();
    next.paintSnapGuide({VoEditor::EditorSnapper::Snap::Point, QPointF(175, 75)});
    next.paintBand(QRectF(10, 10, 40, 30));
    next.paintSnapGuide({VoEditor::EditorSnapper::Snap::Point, QPointF(175, 75)});
    next.paintLasso(QPolygonF{QPointF(100, 20.5), QPointF(160, 20.5), QPointF(160, 60)});
    const QImage &after = second.finish();
    EXPECT_NE(after.pixelColor(30, 25), VoEditor::EditorPainter::background) << "the band's inside";
    EXPECT_EQ(after.pixelColor(30, 9), VoEditor::EditorPainter::background) << "above the band";
    const QColor edge = after.pixelColor(130, 20);
    EXPECT_GT(edge.blue(), edge.green() + 40) << "the lasso's outline";
}

// A curve after a tinted fill (a lasso's, or small markers' squares) is an outline: the square's
// open curve leaves its inside as the background.
TEST(EditorPainterTest, ACurveAfterAFillIsAnOutline) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareAlone(QRectF(40, 40, 160, 160));
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    QImage image(240, 240, QImage::Format_ARGB32_Premultiplied);
    QPainter target(&image);
    VoEditor::EditorPainter painter(target, layout, QRectF(image.rect()));
    painter.paintLasso(QPolygonF{QPointF(1, 1), QPointF(5, 1), QPointF(5, 5)});
    const VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    painter.paint({&shape});
    target.end();
    EXPECT_EQ(image.pixelColor(120, 120), VoEditor::EditorPainter::background);
    int inked = 0;
    for (int x = 120; x < image.width(); ++x) {
        inked += image.pixelColor(x, 120) != VoEditor::EditorPainter::background ? 1 : 0;
    }
    EXPECT_GE(inked, 1) << "its right side, crossed";
    EXPECT_LE(inked, 4) << "its right side, crossed";
}

// A kept image recoloured for Select All (muted to selected and back) is the curve drawn in the
// other colour, and leaves the canvas as it was wherever the curve does not reach.
TEST(EditorPainterTest, RecolouredImagesAreTheCurveInItsOtherColour) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape circle; // points too close for hollow markers: one colour
    for (int index = 0; index < 400; ++index) {
        const double angle = index * 2 * M_PI / 400;
        circle.points.emplace_back(120 + 80 * std::cos(angle), 120 + 80 * std::sin(angle));
    }
    geometry.setShape(0, circle);
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    VoEditor::EditorShapeImages kept;
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    const auto painted = [&](VoEditor::EditorShapeImages *images) {
        QImage image(240, 240, QImage::Format_RGB32);
        QPainter target(&image);
        VoEditor::EditorPainter painter(target, layout, QRectF(image.rect()));
        painter.setImages(images);
        painter.paint({&shape});
        return image;
    };
    // Recoloured, the curve is as drawn in that colour, to one level of rounding.
    const auto expectAsDrawn = [&](const QImage &image) {
        const QImage direct = painted(nullptr);
        int most = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb one = image.pixel(x, y);
                const QRgb other = direct.pixel(x, y);
                most = std::max({most, std::abs(qRed(one) - qRed(other)),
                                 std::abs(qGreen(one) - qGreen(other)),
                                 std::abs(qBlue(one) - qBlue(other))});
            }
        }
        EXPECT_LE(most, 1);
    };
    const QImage muted = painted(&kept);
    shape.selected = true;
    const QImage selected = painted(&kept);
    expectAsDrawn(selected);
    shape.selected = false;
    const QImage mutedAgain = painted(&kept);
    ASSERT_GE(kept.getNbImages(), 2U) << "both looks kept";
    for (const QImage *image : {&muted, &selected, &mutedAgain}) {
        for (int y = 80; y < 160; ++y) {
            for (int x = 80; x < 160; ++x) { // inside the circle, well off its curve
                ASSERT_EQ(image->pixelColor(x, y), VoEditor::EditorPainter::background)
                    << "at " << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(mutedAgain, muted);
}

// The hover ring is drawn round a point there is, and only as a ring: after a fill (a lasso's), the
// point's place inside it stays clear; an index past the shape's points, or none, rings nothing.
TEST(EditorPainterTest, TheHoverRingIsARingRoundAPointThereIs) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareAlone(QRectF(40, 40, 160, 160));
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    const VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    QImage image(240, 240, QImage::Format_ARGB32_Premultiplied);
    QPainter target(&image);
    VoEditor::EditorPainter painter(target, layout, QRectF(image.rect()));
    painter.paintLasso(QPolygonF{QPointF(230, 230), QPointF(238, 230), QPointF(238, 238)});
    painter.paintHover(shape, true, 4);
    painter.paintHover(shape, true, -1);
    painter.paintHover(shape, false, 0);
    painter.paintHover(shape, true, 1);
    target.end();
    int ringed = 0;
    for (int y = 0; y < 230; ++y) {
        for (int x = 0; x < 230; ++x) {
            ringed += image.pixelColor(x, y) != VoEditor::EditorPainter::background ? 1 : 0;
        }
    }
    EXPECT_EQ(image.pixelColor(200, 40), VoEditor::EditorPainter::background) << "inside the ring";
    EXPECT_GT(ringed, 20);
    int blended = 0; // a smooth ring: its edge pixels are part hover colour, part background
    for (int y = 20; y < 60; ++y) {
        for (int x = 180; x < 220; ++x) {
            const QColor seen = image.pixelColor(x, y);
            blended += seen != VoEditor::EditorPainter::background &&
                               seen != VoEditor::EditorPainter::hover
                           ? 1
                           : 0;
        }
    }
    EXPECT_GT(blended, 8);
    const QRectF reach = VoEditor::EditorPainter::getHoverReach(layout, shape, true, 1);
    int outside = 0;
    for (int y = 0; y < 230; ++y) {
        for (int x = 0; x < 230; ++x) {
            outside += !reach.contains(x, y) &&
                               image.pixelColor(x, y) != VoEditor::EditorPainter::background
                           ? 1
                           : 0;
        }
    }
    EXPECT_EQ(outside, 0) << "only point 1 is ringed";
}

// Every selected index has its rank's label, the curve's first point and each handle too; the first
// rank's label is drawn even where it covers an end of the curve.
TEST(EditorPainterTest, EverySelectedPartHasItsRank) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    line.points = {QPointF(40, 150), QPointF(120, 150), QPointF(200, 150)};
    line.handles = {0.5};
    geometry.setShape(0, line);
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    const auto darkAboveRight = [](const QImage &image, const QPointF &at) {
        int dark = 0;
        for (int y = static_cast<int>(at.y()) - 24; y < static_cast<int>(at.y()) - 8; ++y) {
            for (int x = static_cast<int>(at.x()) + 6; x < static_cast<int>(at.x()) + 18; ++x) {
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return dark;
    };
    const QImage bare = paintAlone(geometry, {shape});
    const QPointF first = layout.getPoint(0, 0, 3);
    const QPointF handle = layout.getHandle(0, 0, 1);
    shape.points = {0};
    shape.handles = {0};
    const QImage ranked = paintAlone(geometry, {shape});
    EXPECT_GT(darkAboveRight(ranked, first), darkAboveRight(bare, first) + 3)
        << "the first point's rank";
    EXPECT_GT(darkAboveRight(ranked, handle), darkAboveRight(bare, handle) + 3)
        << "the handle's rank";
    // Point 1 just below and left of the last point: its label, rank 1, covers that end.
    line.points = {QPointF(40, 150), QPointF(196, 166), QPointF(200, 150)};
    line.handles.clear();
    geometry.setShape(0, line);
    shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    const QImage unranked = paintAlone(geometry, {shape});
    shape.points = {1};
    const QImage covering = paintAlone(geometry, {shape});
    const QPointF covers = layout.getPoint(0, 1, 3);
    EXPECT_GT(darkAboveRight(covering, covers), darkAboveRight(unranked, covers) + 3)
        << "rank 1 over the end";
}

// Where a marker is drawn, with its centre: the bounding box of the pixels of colour within the
// box searched.
QRectF inkBox(const QImage &image, const QRect &searched, const QColor &colour) {
    QRect found;
    for (int y = searched.top(); y <= searched.bottom(); ++y) {
        for (int x = searched.left(); x <= searched.right(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return QRectF(found);
}

// Markers sit on their points: a far point's hollow marker is a disc as wide as tall round it, and
// a close point's selected marker, a small square, is centred on it too.
TEST(EditorPainterTest, MarkersAreCentredOnTheirPoints) {
    startApplication();
    const VoEditor::EditorGeometry square = squareAlone(QRectF(40, 40, 160, 160));
    const QImage far = paintAlone(square, {viewOf(square, 0)});
    const QRectF disc = inkBox(far, QRect(184, 24, 32, 32), VoEditor::EditorPainter::hollowMarker);
    ASSERT_GE(disc.width(), 3);
    EXPECT_LE(std::abs(disc.width() - disc.height()), 1);
    EXPECT_LE(std::abs(disc.center().x() - 200), 1);
    EXPECT_LE(std::abs(disc.center().y() - 40), 1);

    VoEditor::EditorGeometry close;
    VoEditor::EditorGeometry::Shape line;
    for (int index = 0; index < 200; ++index) { // a pixel apart: small square markers
        line.points.emplace_back(20.5 + index, 120.5);
    }
    close.setShape(0, line);
    VoEditor::EditorShapeView shape = viewOf(close, 0);
    shape.selected = shape.primary = true;
    shape.points = {100};
    const QImage dense = paintAlone(close, {shape});
    const QRectF mark =
        inkBox(dense, QRect(110, 110, 21, 21), VoEditor::EditorPainter::selectedPoint);
    ASSERT_GE(mark.width(), 2);
    EXPECT_LE(std::abs(mark.center().x() - 120.5), 0.5);
    EXPECT_LE(std::abs(mark.center().y() - 120.5), 0.5);
}

// The handles' line runs through the middle of their markers, one pixel tall.
TEST(EditorPainterTest, TheHandleLineRunsThroughItsMarkers) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareWithAHandle(QRectF(40, 40, 120, 120));
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    const QImage painted = paintAlone(geometry, {viewOf(geometry, 0)});
    const QPointF handle = layout.getHandle(0, 0, 1);
    const QRect around(static_cast<int>(handle.x()) - 12, static_cast<int>(handle.y()) - 12, 25,
                       25);
    const QRectF marker = inkBox(painted, around, VoEditor::EditorPainter::hollowMarker);
    ASSERT_GE(marker.height(), 3);
    const int column = static_cast<int>(layout.getHandleArea(0).left()) + 10;
    std::vector<int> rows;
    for (int y = static_cast<int>(handle.y()) - 5; y <= static_cast<int>(handle.y()) + 5; ++y) {
        if (painted.pixelColor(column, y) != VoEditor::EditorPainter::background) {
            rows.push_back(y);
        }
    }
    ASSERT_EQ(rows.size(), 1U) << "one pixel tall";
    EXPECT_LE(std::abs(rows.front() + 0.5 - marker.center().y()), 0.5);
}

// A snap guide on a point or a curve draws nothing past the reach the canvas repaints for it.
TEST(EditorPainterTest, SnapGuidesStayWithinTheirReach) {
    startApplication();
    for (const auto kind :
         {VoEditor::EditorSnapper::Snap::Point, VoEditor::EditorSnapper::Snap::Curve}) {
        BarePainting painting(QSize(100, 100));
        const VoEditor::EditorSnapper::Snap snap{kind, QPointF(50.3, 49.6)};
        painting.get().paintSnapGuide(snap);
        const QImage &image = painting.finish();
        const QRect reach = VoEditor::EditorPainter::getSnapGuideReach(
            snap, VoEditor::EditorViewTransform(), QRectF(image.rect()));
        int outside = 0;
        int inside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool inked = image.pixelColor(x, y) != VoEditor::EditorPainter::background;
                (reach.contains(x, y) ? inside : outside) += inked ? 1 : 0;
            }
        }
        EXPECT_GT(inside, 10);
        EXPECT_EQ(outside, 0);
    }
}

// A shape of another layer is drawn dimmed with its name and its handles' line.
TEST(EditorPainterTest, AShapeOfAnotherLayerShowsItsName) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareWithAHandle(QRectF(40, 60, 160, 140));
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.name = "Other";
    shape.dimmed = true;
    const QImage painted = paintAlone(geometry, {shape});
    const VoEditor::EditorViewTransform view;
    const QRectF title = VoEditor::EditorLayout(geometry, view).getTitleArea(0);
    ASSERT_GT(title.height(), 0);
    int inked = 0;
    for (int y = std::max(0, static_cast<int>(title.top())); y < static_cast<int>(title.bottom());
         ++y) {
        for (int x = std::max(0, static_cast<int>(title.left())); x < 100; ++x) {
            inked += painted.pixelColor(x, y) != VoEditor::EditorPainter::background ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 10);
    const QRectF line = VoEditor::EditorLayout(geometry, view).getHandleArea(0);
    ASSERT_GT(line.height(), 0);
    EXPECT_NE(painted.pixelColor(QPointF(line.left() + 10, line.center().y()).toPoint()),
              VoEditor::EditorPainter::background)
        << "the handles' line";
}

// On a screen of two device pixels a point, the lasso's outline, the band's edge, the grid's lines
// and a grid guide's are a point wide as on a plain screen: two device pixels, not a hairline.
TEST(EditorPainterTest, SelectionOutlinesKeepTheirWidthOnADenseScreen) {
    startApplication();
    const VoEditor::EditorGeometry geometry;
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    QPainter target(&image);
    VoEditor::EditorPainter painter(target, layout, QRectF(0, 0, 100, 100));
    painter.paintLasso(QPolygonF{QPointF(10, 10), QPointF(90, 10), QPointF(90, 40)});
    painter.paintBand(QRectF(10, 60, 80, 30));
    target.end();
    QImage grid(200, 200, QImage::Format_ARGB32_Premultiplied);
    grid.setDevicePixelRatio(2);
    QPainter gridTarget(&grid);
    VoEditor::EditorPainter gridPainter(gridTarget, layout, QRectF(0, 0, 100, 100));
    gridPainter.paintGrid(50);
    gridPainter.paintSnapGuide({VoEditor::EditorSnapper::Snap::Grid, QPointF(25, 75)});
    gridTarget.end();
    int gridRows = 0;
    int guideRows = 0;
    for (int y = 80; y < 170; ++y) {
        gridRows += grid.pixelColor(30, y) == VoEditor::EditorPainter::grid ? 1 : 0;
        guideRows += grid.pixelColor(30, y) == VoEditor::EditorPainter::snapGuide ? 1 : 0;
    }
    EXPECT_EQ(gridRows, 2) << "the grid line at 50, in device rows";
    EXPECT_EQ(guideRows, 2) << "a grid guide's line at 75, in device rows";
    // Across the lasso's top edge (y = 10) and the band's left edge (x = 10): the most device
    // pixels of the outline's own colour in a line across the edge, over many lines along it (a
    // dash's gap has none).
    const auto widest = [&image](bool acrossRows, int from, int to) {
        int most = 0;
        for (int along = from; along < to; ++along) {
            int solid = 0;
            for (int across = 10; across < 30; ++across) {
                const QColor seen =
                    acrossRows ? image.pixelColor(along, across) : image.pixelColor(across, along);
                solid += seen == VoEditor::EditorPainter::selectedCurve ? 1 : 0;
            }
            most = std::max(most, solid);
        }
        return most;
    };
    EXPECT_EQ(widest(true, 100, 170), 2) << "the lasso's top edge";
    EXPECT_EQ(widest(false, 130, 170), 2) << "the band's left edge";
}

// Close points' markers are plain squares drawn without antialiasing: each pixel of a marker's row
// is the marker's colour or what was there without it, never a blend of the two.
TEST(EditorPainterTest, ClosePointsMarkersAreCrispSquares) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    for (int index = 0; index < 9; ++index) {
        line.points.emplace_back(40 + index * 4, 150.5);
    }
    geometry.setShape(0, line);
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    const QImage bare = paintAlone(geometry, {shape});
    shape.points = {4};
    const QImage painted = paintAlone(geometry, {shape});
    const QColor fill = painted.pixelColor(56, 149);
    ASSERT_NE(fill, bare.pixelColor(56, 149));
    for (int x = 52; x <= 60; ++x) {
        const QColor seen = painted.pixelColor(x, 149);
        EXPECT_TRUE(seen == fill || seen == bare.pixelColor(x, 149)) << "at " << x;
    }
}

// What a shape draws stays within its reach (its name, labels and handles too), and what selecting
// points adds stays within their markers' reaches: a repaint of those rectangles leaves nothing
// old.
TEST(EditorPainterTest, WhatAShapeDrawsStaysWithinItsReach) {
    startApplication();
    // A shape with its name above it, and one too small for a name, whose labels rise above it.
    for (const QRectF &box : {QRectF(60, 70, 120, 120), QRectF(100, 120, 16, 16)}) {
        SCOPED_TRACE(box.width());
        VoEditor::EditorGeometry geometry = squareAlone(box);
        VoEditor::EditorGeometry::Shape shape = geometry.getShape(0);
        shape.handles = {0.1, 0.9};
        geometry.setShape(0, shape);
        VoEditor::EditorShapeView view = viewOf(geometry, 0);
        view.name = "Reach";
        view.selected = view.primary = true;
        const QImage plain = paintAlone(geometry, {view});
        view.points = {0, 2};
        view.handles = {1};
        const QImage marked = paintAlone(geometry, {view});
        const VoEditor::EditorViewTransform transform;
        const VoEditor::EditorLayout layout(geometry, transform);
        const QRectF reach = VoEditor::EditorPainter::getReach(layout, view, true);
        const QRectF markers =
            VoEditor::EditorPainter::getMarkerReach(layout, view, true, 0, 1)
                .united(VoEditor::EditorPainter::getMarkerReach(layout, view, true, 2, 2))
                .united(VoEditor::EditorPainter::getMarkerReach(layout, view, false, 1, 1));
        int inked = 0;
        int changed = 0;
        for (int y = 0; y < marked.height(); ++y) {
            for (int x = 0; x < marked.width(); ++x) {
                const QRectF pixel(x, y, 1, 1);
                if (marked.pixelColor(x, y) != VoEditor::EditorPainter::background) {
                    ++inked;
                    ASSERT_TRUE(reach.intersects(pixel)) << "drawn at " << x << ", " << y;
                }
                if (marked.pixel(x, y) != plain.pixel(x, y)) {
                    ++changed;
                    ASSERT_TRUE(markers.intersects(pixel)) << "marked at " << x << ", " << y;
                }
            }
        }
        EXPECT_GT(inked, 60);
        EXPECT_GT(changed, 10);
    }
}

// A long smooth curve is drawn whole, its spans stroked a batch at a time to its last point.
TEST(EditorPainterTest, ALongSmoothCurveIsDrawnToItsEnd) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    for (int index = 0; index < 60; ++index) { // 3.5 pixels apart: smooth, not straight lines
        line.points.emplace_back(10 + index * 3.5, 100.5);
    }
    geometry.setShape(0, line);
    const QImage painted = paintAlone(geometry, {viewOf(geometry, 0)});
    for (const int span : {5, 31, 32, 33, 50, 58}) {
        const int x = static_cast<int>(10 + (span + 0.5) * 3.5);
        EXPECT_NE(painted.pixelColor(x, 100), VoEditor::EditorPainter::background)
            << "span " << span;
    }
}

// A long curve of close points is drawn as lines between them, a batch at a time, whole too.
TEST(EditorPainterTest, ALongCurveOfClosePointsIsDrawnToItsEnd) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    for (int index = 0; index < 200; ++index) { // a pixel apart: straight lines, many batches
        line.points.emplace_back(10 + index, 100.5);
    }
    geometry.setShape(0, line);
    const QImage painted = paintAlone(geometry, {viewOf(geometry, 0)});
    for (const int x : {15, 40, 41, 42, 43, 100, 150, 205}) {
        EXPECT_NE(painted.pixelColor(x, 100), VoEditor::EditorPainter::background) << "at " << x;
    }
}

// A later rank's label is left out where it would cover the marker of the curve's first or last
// point, even by the lower part of that marker only.
TEST(EditorPainterTest, ALabelLeavesTheCurvesEndsInSight) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    line.points = {QPointF(100, 100), QPointF(92, 115), QPointF(200, 150), QPointF(220, 100)};
    geometry.setShape(0, line);
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    shape.points = {2};
    const QImage without = paintAlone(geometry, {shape});
    shape.points = {2, 1}; // point 1's label, rank 2, would reach the first point's marker
    const QImage with = paintAlone(geometry, {shape});
    for (int y = 105; y <= 110; ++y) {
        for (int x = 97; x <= 103; ++x) {
            EXPECT_EQ(with.pixel(x, y), without.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

// Two ranks' labels never overlap: rank 2 just below rank 1, its box reaching into rank 1's by any
// amount, is left out; far enough below, it is drawn.
TEST(EditorPainterTest, RankLabelsNeverOverlap) {
    startApplication();
    QFont font; // the labels' font, ten pixels high
    font.setPixelSize(10);
    const double height = QFontMetricsF(font).height();
    const double radius = 4.5; // the points lie far apart: the largest markers
    const auto inkBelowRankOne = [&](int below) {
        VoEditor::EditorGeometry geometry;
        VoEditor::EditorGeometry::Shape line;
        line.points = {QPointF(20, 100), QPointF(100, 100), QPointF(100, 100 + below),
                       QPointF(220, 100 + below)};
        geometry.setShape(0, line);
        VoEditor::EditorShapeView shape = viewOf(geometry, 0);
        shape.selected = shape.primary = true;
        shape.points = {1, 2};
        const QImage painted = paintAlone(geometry, {shape});
        // Rank 2's box where it leaves rank 1's: the rows between their bottoms.
        int ink = 0;
        for (int y = static_cast<int>(100 - radius) + 1; y <= 100 + below - radius; ++y) {
            for (int x = static_cast<int>(100 + radius) + 1; x < 100 + radius + 8; ++x) {
                ink += qGray(painted.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return ink;
    };
    for (int below = 2; below < height; ++below) {
        EXPECT_EQ(inkBelowRankOne(below), 0) << "rank 2 drawn " << below << " px below rank 1";
    }
    EXPECT_GT(inkBelowRankOne(static_cast<int>(2 * height) + 6), 3) << "rank 2 drawn clear of 1";
}

// A rank's label that runs off the canvas shows the part that fits: the room by the right edge is
// there to take, and so are the first and the last rows, where a label from a point by the top
// edge, or the top of one from a point just below the canvas, reaches.
TEST(EditorPainterTest, ALabelAtAnEdgeShowsWhatFits) {
    startApplication();
    struct Edge {
        QPointF last; // the curve's second point, the one selected
        QRect seen;   // where the part of its label that fits is drawn
        int leastInk;
    };
    for (const Edge &edge : {Edge{QPointF(232, 150), QRect(236, 120, 4, 26), 3},
                             Edge{QPointF(100, 252), QRect(104, 232, 20, 8), 1},
                             Edge{QPointF(100, 8), QRect(108, 0, 16, 3), 1}}) {
        VoEditor::EditorGeometry geometry;
        VoEditor::EditorGeometry::Shape line;
        line.points = {QPointF(20, 100), edge.last};
        geometry.setShape(0, line);
        VoEditor::EditorShapeView shape = viewOf(geometry, 0);
        shape.selected = shape.primary = true;
        shape.points = {1};
        const QImage painted = paintAlone(geometry, {shape});
        int inked = 0;
        for (int y = edge.seen.top(); y <= edge.seen.bottom(); ++y) {
            for (int x = edge.seen.left(); x <= edge.seen.right(); ++x) {
                inked += qGray(painted.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        EXPECT_GT(inked, edge.leastInk) << "by " << edge.last.x() << ", " << edge.last.y();
    }
}

// Another layer's shape names itself in plain type, as a shape that is not selected does: only the
// primary shape's name is bold.
TEST(EditorPainterTest, AnotherLayersShapeNameIsNotBold) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareAlone(QRectF(40, 60, 160, 140));
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.name = "Wide Name";
    const VoEditor::EditorViewTransform view;
    const QRectF title = VoEditor::EditorLayout(geometry, view).getTitleArea(0);
    const auto inked = [&title](const QImage &painted) {
        int count = 0;
        for (int y = std::max(0, static_cast<int>(title.top())); y < title.bottom(); ++y) {
            for (int x = std::max(0, static_cast<int>(title.left())); x < painted.width(); ++x) {
                count += painted.pixelColor(x, y) != VoEditor::EditorPainter::background ? 1 : 0;
            }
        }
        return count;
    };
    const int muted = inked(paintAlone(geometry, {shape}));
    shape.dimmed = true;
    const int dimmed = inked(paintAlone(geometry, {shape}));
    shape.dimmed = false;
    shape.selected = shape.primary = true;
    const int bold = inked(paintAlone(geometry, {shape}));
    ASSERT_GT(bold, muted + muted / 10) << "bold type inks more";
    EXPECT_LE(dimmed, muted + muted / 20);
}

// A rank's label is left out where an earlier one took the room: the rank 2 of a point just right
// of the rank 1 adds no ink above the markers.
TEST(EditorPainterTest, ALabelIsLeftOutWhereAnEarlierOneTookTheRoom) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    line.points = {QPointF(20, 150), QPointF(100, 150), QPointF(104, 150), QPointF(140, 150),
                   QPointF(220, 150)};
    geometry.setShape(0, line);
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    shape.points = {1};
    const QImage one = paintAlone(geometry, {shape});
    shape.points = {1, 2};
    const QImage both = paintAlone(geometry, {shape});
    int inked = 0;
    for (int y = 150 - 30; y < 150 - 8; ++y) { // the labels' rows, above the markers
        for (int x = 90; x < 140; ++x) {
            inked += qGray(one.pixel(x, y)) < 128 ? 1 : 0;
            EXPECT_EQ(both.pixel(x, y), one.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
    EXPECT_GT(inked, 5) << "rank 1 is drawn";
    // A third rank clear of both takes its own room.
    shape.points = {1, 2, 3};
    const QImage three = paintAlone(geometry, {shape});
    int third = 0;
    for (int y = 150 - 30; y < 150 - 8; ++y) {
        for (int x = 144; x < 160; ++x) {
            third += qGray(three.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(third, 5) << "rank 3 is drawn";
}

// A shape's segments are measured from nothing: a tiny shape's longest segment and mean spacing are
// below one unit, and a shape without points has neither.
TEST(EditorGeometryShapeTest, TinyShapesAndShapesWithoutPointsAreMeasuredFromNothing) {
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape tiny;
    tiny.points = {QPointF(0, 0), QPointF(0.5, 0), QPointF(0.75, 0)};
    geometry.setShape(0, tiny);
    EXPECT_DOUBLE_EQ(geometry.getShape(0).longestSegment, 0.5);
    EXPECT_DOUBLE_EQ(geometry.getShape(0).meanSpacing, 0.25);
    geometry.setShape(1, tiny);
    geometry.setShape(1, VoEditor::EditorGeometry::Shape());
    EXPECT_EQ(geometry.getShape(1).longestSegment, 0);
    EXPECT_EQ(geometry.getShape(1).meanSpacing, 0);
}

// Inside a square's curve nothing is drawn: no span runs past the last point and no marker stands
// for a point the shape does not have.
TEST(EditorPainterTest, NothingIsDrawnInsideASquaresCurve) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareAlone(QRectF(40, 40, 160, 160));
    const QImage painted = paintAlone(geometry, {viewOf(geometry, 0)});
    const QPointF centre =
        VoEditor::EditorLayout(geometry, VoEditor::EditorViewTransform()).getCurveArea(0).center();
    for (int dy = -8; dy <= 8; ++dy) {
        for (int dx = -8; dx <= 8; ++dx) {
            const QPoint at = centre.toPoint() + QPoint(dx, dy);
            EXPECT_EQ(painted.pixelColor(at), VoEditor::EditorPainter::background)
                << "at " << at.x() << ", " << at.y();
        }
    }
}

// The primary shape's name is written bold over its curve: more of its title is inked than when the
// same shape is only selected.
TEST(EditorPainterTest, ThePrimaryShapesNameIsBold) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareAlone(QRectF(20, 60, 180, 140));
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.name = "Wide Name";
    shape.selected = true;
    VoEditor::EditorViewTransform view;
    const QRectF title = VoEditor::EditorLayout(geometry, view).getTitleArea(0);
    ASSERT_GT(title.height(), 0);
    const auto inked = [&](const QImage &image) {
        int count = 0;
        for (int y = static_cast<int>(title.top()); y < static_cast<int>(title.bottom()); ++y) {
            for (int x = static_cast<int>(title.left()); x < static_cast<int>(title.right()); ++x) {
                count += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
            }
        }
        return count;
    };
    const int plain = inked(paintAlone(geometry, {shape}));
    shape.primary = true;
    const int bold = inked(paintAlone(geometry, {shape}));
    EXPECT_GT(plain, 10);
    EXPECT_GT(bold, plain + plain / 10);
}

// A layer's shapes are found in their scene slots whether the scene lists them in the layer's order
// (the guess), interleaved with another layer's, or asked out of order; a name the scene does not
// have is refused.
TEST(EditorSlotFinderTest, FindsEachShapesSlotInAnyOrder) {
    std::vector<VoSession::SessionScene::Shape> scene(5);
    const char *const names[] = {"A", "X", "B", "C", "Y"};
    for (std::size_t slot = 0; slot < scene.size(); ++slot) {
        scene[slot].name = names[slot];
    }
    VoEditor::EditorSlotFinder layer(scene);
    EXPECT_EQ(layer.find("A"), 0);
    EXPECT_EQ(layer.find("B"), 2);
    EXPECT_EQ(layer.find("C"), 3);
    EXPECT_EQ(layer.find("X"), 1);
    EXPECT_EQ(layer.find("B"), 2) << "the guess after X";
    EXPECT_EQ(layer.find("A"), 0);
    EXPECT_EQ(layer.find("X"), 1) << "the guess after A";
    EXPECT_THROW(layer.find("Z"), std::out_of_range);
    VoEditor::EditorSlotFinder other(scene);
    EXPECT_EQ(other.find("X"), 1);
    EXPECT_EQ(other.find("Y"), 4);
    EXPECT_EQ(other.find("A"), 0) << "after the last slot";
}

// A rank's label shows its digits whole, as the label font draws them unclipped, up and right of
// its marker (of the largest radius at this spacing).
TEST(EditorPainterTest, RankLabelsShowTheirDigitsWhole) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    line.points = {QPointF(10, 170.6), QPointF(60, 170.6), QPointF(110.3, 170.6)};
    geometry.setShape(0, line);
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    shape.points = {2};
    const QImage painted = paintAlone(geometry, {shape});

    QFont font;
    font.setPixelSize(10);
    const double height = QFontMetricsF(font).height();
    const double radius = 4.5;
    const QRectF room(110.3 + radius, 170.6 - radius - height, 100, height);
    QImage expected(painted.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(VoEditor::EditorPainter::background);
    QPainter text(&expected);
    text.setFont(font);
    text.setPen(Qt::black);
    text.drawText(room, Qt::AlignLeft | Qt::AlignBottom, "1");
    text.end();
    int inked = 0;
    for (int y = static_cast<int>(room.top()) - 2; y < static_cast<int>(room.bottom()); ++y) {
        for (int x = static_cast<int>(room.left()) - 1; x < static_cast<int>(room.left()) + 30;
             ++x) {
            const bool want = qGray(expected.pixel(x, y)) < 128;
            inked += want ? 1 : 0;
            EXPECT_EQ(qGray(painted.pixel(x, y)) < 128, want) << "at " << x << ", " << y;
        }
    }
    EXPECT_GT(inked, 5);

    // An index the shape no longer holds (one past its last point) draws neither marker nor label.
    shape.points = {3};
    const QImage stale = paintAlone(geometry, {shape});
    shape.points.clear();
    EXPECT_EQ(stale, paintAlone(geometry, {shape}));
}

// Points denser than half a pixel are stroked every few of them, and the curve still reaches the
// last point, whatever the count leaves over; the handles' line is centred under the curve's box.
TEST(EditorPainterTest, DenseCurvesReachTheirLastPointAndHandleLinesAreCentred) {
    startApplication();
    for (const int crowd : {1000, 1001, 1002}) {
        SCOPED_TRACE(crowd);
        VoEditor::EditorGeometry geometry;
        VoEditor::EditorGeometry::Shape dense;
        for (int index = 0; index < crowd; ++index) {
            dense.points.emplace_back(20 + index * 1e-4, 50);
        }
        dense.points.emplace_back(200, 50);
        geometry.setShape(0, dense);
        const QImage image = paintAlone(geometry, {viewOf(geometry, 0)});
        for (const int x : {100, 150, 190}) {
            EXPECT_NE(image.pixelColor(x, 50), VoEditor::EditorPainter::background) << "x " << x;
        }
    }

    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape handled;
    handled.points = {QPointF(20, 40), QPointF(70, 40), QPointF(120, 40)};
    handled.handles = {0.3, 0.7};
    geometry.setShape(0, handled);
    for (const double pan : {0.0, 0.3, 0.55, 0.8}) {
        SCOPED_TRACE(pan);
        const QImage image = paintAlone(geometry, {viewOf(geometry, 0)}, QPointF(pan, pan));
        VoEditor::EditorViewTransform view;
        view.pan(QPointF(pan, pan));
        const QRectF area = VoEditor::EditorLayout(geometry, view).getHandleArea(0);
        const int row = static_cast<int>(std::floor(area.center().y()));
        int first = image.width();
        int last = -1;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = row - 1; y <= row + 1; ++y) {
                if (image.pixelColor(x, y) != VoEditor::EditorPainter::background) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        // Rounded to whole pixels either way, the line's middle is off by less than half a pixel.
        const double off = (first + last + 1) / 2.0 - area.center().x();
        EXPECT_GE(off, -0.5);
        EXPECT_LT(off, 0.5);
        EXPECT_GT(last - first, 90);
        // A hollow marker on each handle, and none between them.
        const auto handleAt = [&](double place) {
            return image.pixelColor(
                QPointF(area.left() + area.width() * place, area.center().y()).toPoint());
        };
        EXPECT_EQ(handleAt(0.3), VoEditor::EditorPainter::hollowMarker);
        EXPECT_EQ(handleAt(0.7), VoEditor::EditorPainter::hollowMarker);
        EXPECT_NE(handleAt(0.5), VoEditor::EditorPainter::hollowMarker);
    }
}

// A selected marker is stamped with a smooth edge: round its ring lie pixels between its outline,
// its fill and the background, which an aliased stamp never has.
TEST(EditorPainterTest, MarkersHaveSmoothEdges) {
    startApplication();
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape line;
    line.points = {QPointF(20, 100.5), QPointF(70, 100.5), QPointF(120, 100.5)};
    geometry.setShape(0, line);
    VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    shape.selected = shape.primary = true;
    shape.points = {1};
    const QImage image = paintAlone(geometry, {shape});
    const QColor fill = VoEditor::EditorPainter::selectedPoint;
    int blended = 0;
    int outlined = 0;
    // The ring's upper left quarter: away from the curve and from the label.
    for (int y = 94; y <= 98; ++y) {
        for (int x = 64; x <= 69; ++x) {
            const QColor seen = image.pixelColor(x, y);
            outlined += seen == fill.darker(140) ? 1 : 0;
            blended += seen != fill && seen != fill.darker(140) &&
                               seen != VoEditor::EditorPainter::background
                           ? 1
                           : 0;
        }
    }
    EXPECT_GT(blended, 2);
    EXPECT_GT(blended + outlined, 4) << "the marker is drawn there";
    // Centred on its point, to the pixel: the fill's extent along its row and its column.
    for (const bool across : {true, false}) {
        int low = image.width();
        int high = -1;
        for (int at = 0; at < image.width(); ++at) {
            if (image.pixelColor(across ? at : 70, across ? 100 : at) == fill) {
                low = std::min(low, at);
                high = std::max(high, at);
            }
        }
        EXPECT_LE(std::abs((low + high + 1) / 2.0 - (across ? 70 : 100.5)), 1) << across;
    }
}

// The transform box's scale grips are squares and its rotation grip a circle: as wide as tall.
TEST(EditorPainterTest, TransformGripsAreAsWideAsTall) {
    startApplication();
    BarePainting painting(QSize(200, 200));
    const QPointF scale(40.5, 60.5);
    const QPointF rotation(150.5, 60.5);
    painting.get().paintTransformBox(QPolygonF{QPointF(130, 120), QPointF(170, 120)}, {scale},
                                     rotation, QPointF(100.5, 170.5));
    const QImage &image = painting.finish();
    for (const QPointF &grip : {scale, rotation}) {
        QRect white;
        for (int y = static_cast<int>(grip.y()) - 20; y <= static_cast<int>(grip.y()) + 20; ++y) {
            for (int x = static_cast<int>(grip.x()) - 20; x <= static_cast<int>(grip.x()) + 20;
                 ++x) {
                if (image.pixelColor(x, y) == VoEditor::EditorPainter::hollowMarker) {
                    white |= QRect(x, y, 1, 1);
                }
            }
        }
        EXPECT_GE(white.width(), 3) << grip.x();
        EXPECT_LE(std::abs(white.width() - white.height()), 1) << grip.x();
        EXPECT_LE(std::abs(white.center().x() - grip.x()), 1) << grip.x();
        EXPECT_LE(std::abs(white.center().y() - grip.y()), 1) << grip.x();
    }
    // The rotation grip hangs from the middle of the box's top edge, which is drawn.
    EXPECT_NE(image.pixelColor(150, 90), VoEditor::EditorPainter::background);
    EXPECT_EQ(image.pixelColor(140, 90), VoEditor::EditorPainter::background);
    // The outline, smooth: on a pixel's edge, it half covers the rows either side.
    for (const int y : {119, 120}) {
        EXPECT_NE(image.pixelColor(135, y), VoEditor::EditorPainter::background) << y;
        EXPECT_NE(image.pixelColor(135, y), VoEditor::EditorPainter::transformBox) << y;
    }
    // The pivot's cross reaches twice the grip's size each way, and no further.
    const QPoint pivot(100, 170);
    const int arm = static_cast<int>(2 * VoEditor::EditorTransformBox::gripSize);
    for (const QPoint &way : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const QPoint tip = pivot + way * (arm - 1) + (way.x() < 0 || way.y() < 0 ? way : QPoint());
        EXPECT_NE(image.pixelColor(tip), VoEditor::EditorPainter::background)
            << way.x() << ", " << way.y();
        const QPoint past = pivot + way * (arm + 3);
        EXPECT_EQ(image.pixelColor(past), VoEditor::EditorPainter::background)
            << way.x() << ", " << way.y();
    }
}

// Panned by a fraction of a step, each way differently, the grid's lines still stand at the
// multiples of the step, columns by x and rows by y.
TEST(EditorPainterTest, GridLinesFollowAPannedView) {
    startApplication();
    const VoEditor::EditorGeometry geometry;
    VoEditor::EditorViewTransform view;
    view.pan(QPointF(-23, -47)); // far enough for the first line not to be the origin's
    const VoEditor::EditorLayout layout(geometry, view);
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter target(&image);
    VoEditor::EditorPainter(target, layout, QRectF(image.rect())).paintGrid(10);
    target.end();
    for (int at = 0; at < 100; ++at) {
        const QPointF scene = view.toScene(QPointF(at, at));
        const bool column = std::fmod(scene.x() + 1000, 10) == 0;
        const bool row = std::fmod(scene.y() + 1000, 10) == 0;
        EXPECT_EQ(image.pixelColor(at, 55) == VoEditor::EditorPainter::grid,
                  column || std::fmod(view.toScene(QPointF(0, 55)).y() + 1000, 10) == 0)
            << "column " << at;
        EXPECT_EQ(image.pixelColor(55, at) == VoEditor::EditorPainter::grid,
                  row || std::fmod(view.toScene(QPointF(55, 0)).x() + 1000, 10) == 0)
            << "row " << at;
    }
}

// A snap guide tells what caught the point: a diamond round a point, a cross on a curve.
TEST(EditorPainterTest, SnapGuidesTellAPointFromACurve) {
    startApplication();
    const auto guide = [](VoEditor::EditorSnapper::Snap::Kind kind) {
        BarePainting painting(QSize(100, 100));
        // As after the curves it is drawn over: antialiased until it says otherwise.
        painting.getTarget().setRenderHint(QPainter::Antialiasing, true);
        painting.get().paintSnapGuide({kind, QPointF(50, 50)});
        return painting.finish();
    };
    const auto inkRightOfCentre = [](const QImage &image) {
        int ink = 0;
        for (int x = 53; x <= 62; ++x) {
            ink += image.pixelColor(x, 50) != VoEditor::EditorPainter::background ? 1 : 0;
        }
        return ink;
    };
    // Both are as wide as tall and mirror themselves across the place (a pixel corner, 50, 50).
    const auto symmetric = [](const QImage &image) {
        int worst = 0;
        for (int y = 35; y < 65; ++y) {
            for (int x = 35; x < 65; ++x) {
                for (const QPoint &other : {QPoint(99 - x, y), QPoint(x, 99 - y), QPoint(y, x)}) {
                    worst = std::max(
                        worst, std::abs(qGray(image.pixel(x, y)) - qGray(image.pixel(other))));
                }
            }
        }
        return worst;
    };
    const QImage point = guide(VoEditor::EditorSnapper::Snap::Point);
    EXPECT_LE(symmetric(point), 8);
    EXPECT_LE(symmetric(guide(VoEditor::EditorSnapper::Snap::Curve)), 8);
    EXPECT_EQ(point.pixelColor(50, 50), VoEditor::EditorPainter::background);
    EXPECT_GT(inkRightOfCentre(point), 0);
    // A grid crossing's guide: its two lines cross the whole canvas besides the diamond.
    const QImage grid = guide(VoEditor::EditorSnapper::Snap::Grid);
    for (const QPoint &end : {QPoint(50, 1), QPoint(50, 98), QPoint(1, 50), QPoint(98, 50)}) {
        EXPECT_EQ(grid.pixelColor(end), VoEditor::EditorPainter::snapGuide)
            << end.x() << ", " << end.y();
    }
    EXPECT_EQ(grid.pixelColor(20, 20), VoEditor::EditorPainter::background);
    const QImage curve = guide(VoEditor::EditorSnapper::Snap::Curve);
    EXPECT_NE(curve.pixelColor(50, 50), VoEditor::EditorPainter::background);
    EXPECT_EQ(inkRightOfCentre(curve), 0);
    for (const QPoint &arm : {QPoint(4, 4), QPoint(-4, -4), QPoint(4, -4), QPoint(-4, 4)}) {
        EXPECT_NE(curve.pixelColor(QPoint(50, 50) + arm), VoEditor::EditorPainter::background)
            << "the cross's arm towards " << arm.x() << ", " << arm.y();
    }
}

// A shape's handles add square markers at the handles only: round its points the drawing is the
// same with handles as without.
TEST(EditorPainterTest, HandleMarkersStandOnlyAtHandles) {
    startApplication();
    VoEditor::EditorGeometry geometry = squareAlone(QRectF(40, 40, 160, 160));
    const QImage plain = paintAlone(geometry, {viewOf(geometry, 0)});
    VoEditor::EditorGeometry::Shape withHandles = geometry.getShape(0);
    withHandles.handles = {0.2, 0.8};
    geometry.setShape(0, withHandles);
    const VoEditor::EditorShapeView shape = viewOf(geometry, 0);
    ASSERT_EQ(shape.nbHandles, 2);
    const QImage handled = paintAlone(geometry, {shape});
    const VoEditor::EditorViewTransform view; // the layout keeps a reference to it
    const VoEditor::EditorLayout layout(geometry, view);
    for (int index = 0; index < 4; ++index) {
        const QPoint at = layout.getPoint(0, index, 4).toPoint();
        for (int dy = -8; dy <= 8; ++dy) {
            for (int dx = -8; dx <= 8; ++dx) {
                ASSERT_EQ(handled.pixelColor(at + QPoint(dx, dy)),
                          plain.pixelColor(at + QPoint(dx, dy)))
                    << "point " << index << " at " << dx << ", " << dy;
            }
        }
    }
    EXPECT_NE(handled, plain) << "the handles are drawn";
    // Each handle's marker is a square: its corners are inked, which a round one's are not.
    const double radius = 4.5; // the largest: the handles lie far apart
    for (int index = 0; index < 2; ++index) {
        const QPointF at = layout.getHandle(0, index, 2);
        for (const QPointF &corner :
             {QPointF(-1, -1), QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1)}) {
            EXPECT_NE(handled.pixelColor((at + corner * (radius - 0.5)).toPoint()),
                      VoEditor::EditorPainter::background)
                << "handle " << index << " corner " << corner.x() << ", " << corner.y();
        }
    }
    // One handle alone has its line too, beside its marker.
    withHandles.handles = {0.5};
    geometry.setShape(0, withHandles);
    const QImage alone = paintAlone(geometry, {viewOf(geometry, 0)});
    const QRectF line = layout.getHandleArea(0);
    EXPECT_NE(alone.pixelColor(QPointF(line.left() + 10, line.center().y()).toPoint()),
              VoEditor::EditorPainter::background);
}

// On a screen of two device pixels a point, markers are stamped at that density: each covers four
// times the device pixels it covers on a plain screen.
TEST(EditorPainterTest, MarkersKeepTheirSizeOnADenseScreen) {
    startApplication();
    const VoEditor::EditorGeometry geometry = squareAlone(QRectF(40, 40, 160, 160));
    const VoEditor::EditorViewTransform view;
    const VoEditor::EditorLayout layout(geometry, view);
    const auto whitePixels = [&](int ratio) {
        QImage image(240 * ratio, 240 * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        QPainter target(&image);
        VoEditor::EditorPainter painter(target, layout, QRectF(0, 0, 240, 240));
        const VoEditor::EditorShapeView shape = viewOf(geometry, 0);
        painter.paint({&shape});
        target.end();
        int white = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                white += image.pixelColor(x, y) == VoEditor::EditorPainter::hollowMarker ? 1 : 0;
            }
        }
        return white;
    };
    const int plain = whitePixels(1);
    ASSERT_GT(plain, 4 * 10) << "four hollow markers";
    EXPECT_NEAR(whitePixels(2), 4 * plain, plain);
}

// Selected indices the shape does not have (its points read since) mark nothing, where markers are
// plain squares (close points) as where they are drawn round.
TEST(EditorPainterTest, SelectedIndicesPastTheShapesPointsMarkNothing) {
    startApplication();
    for (const double spacing : {4.0, 40.0}) {
        VoEditor::EditorGeometry geometry;
        VoEditor::EditorGeometry::Shape line;
        for (int index = 0; index < 5; ++index) {
            line.points.emplace_back(40 + index * spacing, 150);
        }
        geometry.setShape(0, line);
        VoEditor::EditorShapeView shape = viewOf(geometry, 0);
        shape.selected = shape.primary = true;
        shape.points = {1};
        const QImage one = paintAlone(geometry, {shape});
        shape.points = {1, 7, 5};
        EXPECT_EQ(paintAlone(geometry, {shape}), one) << "spacing " << spacing;
    }
}

// Lines of the grid stand at every multiple of the step the area shows, across and down it, and
// nowhere between.
TEST(EditorPainterTest, GridLinesStandAtEveryMultipleOfTheStep) {
    startApplication();
    BarePainting painting(QSize(205, 97));
    painting.get().paintGrid(10);
    const QImage &image = painting.finish();
    for (int x = 0; x < image.width(); ++x) {
        for (const int y : {0, 45, 96}) {
            EXPECT_EQ(image.pixelColor(x, y) == VoEditor::EditorPainter::grid,
                      x % 10 == 0 || y % 10 == 0)
                << "at " << x << ", " << y;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        for (const int x : {5, 200, 204}) {
            EXPECT_EQ(image.pixelColor(x, y) == VoEditor::EditorPainter::grid,
                      x % 10 == 0 || y % 10 == 0)
                << "at " << x << ", " << y;
        }
    }
}

// The index against a search through every point: nearest points (with their ties) and points in
// rectangles, after random moves, shapes indexed again with other counts, and shapes removed.
TEST(EditorSpatialIndexTest, AgreesWithABruteForceSearch) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> coordinate(-500, 500);
    std::vector<std::vector<QPointF>> shapes(6);
    EditorSpatialIndex index;
    index.clear(EditorSpatialIndex::suggestCellSize(QRectF(-500, -500, 1000, 1000), 3000));
    const auto fill = [&](int slot, int count) {
        std::vector<QPointF> &points = shapes[static_cast<std::size_t>(slot)];
        points.clear();
        for (int point = 0; point < count; ++point) {
            // Some points on a coarse lattice, so that ties happen.
            points.emplace_back(
                point % 3 == 0 ? std::round(coordinate(random) / 50) * 50 : coordinate(random),
                point % 3 == 0 ? std::round(coordinate(random) / 50) * 50 : coordinate(random));
        }
        index.setShape(slot, points);
    };
    for (int slot = 0; slot < 6; ++slot) {
        fill(slot, 500);
    }
    const auto check = [&](const char *after) {
        SCOPED_TRACE(after);
        std::size_t total = 0;
        for (const auto &points : shapes) {
            total += points.size();
        }
        EXPECT_EQ(index.size(), total);
        for (int query = 0; query < 100; ++query) {
            const QPointF at(coordinate(random), coordinate(random));
            const double reach = query % 2 == 0 ? 30 : 300;
            const int only = query % 3 == 0 ? static_cast<int>(random() % 6) : -1;
            int bestSlot = -1;
            int bestIndex = -1;
            double best = reach;
            std::set<std::pair<int, int>> inside;
            const QRectF rect(at, QSizeF(reach, reach / 2));
            for (int slot = 0; slot < 6; ++slot) {
                const auto &points = shapes[static_cast<std::size_t>(slot)];
                for (int point = 0; point < static_cast<int>(points.size()); ++point) {
                    if (only != -1 && slot != only) {
                        continue;
                    }
                    const QPointF &p = points[static_cast<std::size_t>(point)];
                    const double distance = std::hypot(p.x() - at.x(), p.y() - at.y());
                    if (distance < best || (distance == best && bestSlot < 0)) {
                        best = distance;
                        bestSlot = slot;
                        bestIndex = point;
                    }
                    if (p.x() >= rect.left() && p.x() <= rect.right() && p.y() >= rect.top() &&
                        p.y() <= rect.bottom()) {
                        inside.emplace(slot, point);
                    }
                }
            }
            EditorSpatialIndex::Entry found{};
            ASSERT_EQ(index.findNearest(at, reach, only, found), bestSlot >= 0);
            if (bestSlot >= 0) {
                EXPECT_EQ(found.slot, bestSlot);
                EXPECT_EQ(found.index, bestIndex);
            }
            std::set<std::pair<int, int>> indexed;
            for (const EditorSpatialIndex::Entry &entry : index.findIn(rect, only)) {
                EXPECT_TRUE(indexed.emplace(entry.slot, entry.index).second);
            }
            EXPECT_EQ(indexed, inside);
        }
    };
    check("built");
    for (int round = 0; round < 2000; ++round) {
        const int slot = static_cast<int>(random() % 6);
        auto &points = shapes[static_cast<std::size_t>(slot)];
        if (points.empty()) {
            continue;
        }
        const int point = static_cast<int>(random() % points.size());
        // Mostly small moves within a cell, some far ones.
        const QPointF to = round % 4 == 0 ? QPointF(coordinate(random), coordinate(random))
                                          : points[static_cast<std::size_t>(point)] +
                                                QPointF(coordinate(random) / 100, 0);
        points[static_cast<std::size_t>(point)] = to;
        index.move(slot, point, to);
    }
    check("moved");
    fill(2, 37);
    fill(4, 900);
    index.removeShape(5);
    shapes[5].clear();
    check("indexed again and removed");
}

// The canvas's index follows the graph's edits: after points are deleted and inserted through
// the editor's keys, it holds exactly the geometry's points, each where the geometry has it.
TEST_F(EditorGeometryTest, CanvasIndexFollowsDeletionsAndInsertions) {
    open("shape S 30\n" + gridPoints(30, 6, 20, QPointF(0, 0)) + "shape T 5\n");
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 2));
    click(canvas().getPointPosition("S", 17), Qt::ShiftModifier);
    key(Qt::Key_Delete);
    key(Qt::Key_Escape);
    click(canvas().getCurvePosition("S"));
    click(canvas().getPointPosition("S", 9));
    key(Qt::Key_Insert);
    key(Qt::Key_Escape);
    click(canvas().getCurvePosition("T"));
    key(Qt::Key_Delete); // T whole
    const VoEditor::EditorGeometry &geometry = canvas().getGeometry();
    std::size_t total = 0;
    for (int slot = 0; slot < geometry.getNbSlots(); ++slot) {
        const std::vector<QPointF> &points = geometry.getShape(slot).points;
        total += points.size();
        for (int point = 0; point < static_cast<int>(points.size()); ++point) {
            const QPointF at = points[static_cast<std::size_t>(point)];
            bool listed = false;
            for (const EditorSpatialIndex::Entry &entry : canvas().getIndex().findIn(
                     QRectF(at, at).adjusted(-1e-9, -1e-9, 1e-9, 1e-9), slot)) {
                listed = listed || entry.index == point;
            }
            EXPECT_TRUE(listed) << slot << " " << point;
        }
    }
    EXPECT_EQ(geometry.getShape(0).points.size(), 29U); // 30 - 2 + 1
    EXPECT_TRUE(geometry.getShape(1).points.empty());
    EXPECT_EQ(canvas().getIndex().size(), total);
    // The inserted point lies halfway between its neighbours, in the graph as on the canvas.
    const std::vector<QPointF> s = pointsOf("S");
    EXPECT_EQ(s[10], (s[9] + s[11]) / 2);
}

} // namespace
