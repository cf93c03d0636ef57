// The editor as a geometry editor: positions from the scene reach the graph's inputs and the
// screen; zooming, panning and fitting keep picking on what is drawn; drags and arrow keys move
// exactly the selected points, by what the pointer or the keys say, as one move each; and the
// spatial index answers as a search through every point does, after moves, insertions and
// deletions.

#include "EditorApplicationDock.h"
#include "EditorCanvas.h"
#include "EditorMove.h"
#include "EditorOffscreenApplication.h"
#include "EditorSpatialIndex.h"
#include "EditorViewTransform.h"
#include "EditorWindow.h"
#include "SessionPlacement.h"

#include "AppShapeInterface.h"

#include "host/PiMultivaluedInput.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <sstream>
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
