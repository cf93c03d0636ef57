// The editor's views follow each change by what it changed. After every step of sequences of
// one-item and whole changes, what they show is what a full rebuild shows: the canvas's table
// against the document's full description, the pixels on screen against a full render, and the
// application dock's rows, as a view that heeds only the models' signals keeps them, against the
// application's selection read afresh.

#include "EditorItemListModel.h"
#include "EditorLayout.h"
#include "EditorOffscreenApplication.h"
#include "EditorPainter.h"
#include "EditorShapeImages.h"
#include "EditorWindow.h"
#include "SessionPlacement.h"

#include "AppEditorController.h"
#include "AppLayerInterface.h"
#include "Session.h"
#include "SessionHostItems.h"
#include "SessionScene.h"
#include "SessionTextPrinter.h"

#include "SeSelectionBatch.h"
#include "SeSelectionChange.h"
#include "SeSelectionHistory.h"
#include "SeShapeSelector.h"

#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QImage>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The system's font configuration keeps a cache it never frees once the application has looked
// fonts up; it is no leak of this program's, so the leak check of sanitizer builds leaves it out.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

using VoEditor::EditorItemListModel;
using VoEditor::EditorShapeView;

void startApplication() { VoEditor::EditorOffscreenApplication::start(); }

// The rows a view of the model holds when it heeds only the model's signals, as views do: rows
// read when inserted, changed or reset, dropped when removed.
class RowMirror : public QObject {
public:
    explicit RowMirror(const QAbstractItemModel &model) : model(model) {
        connect(&model, &QAbstractItemModel::modelReset, this, [this] { readAll(); });
        connect(&model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) {
                    for (int row = first; row <= last; ++row) {
                        rows.insert(rows.begin() + row, text(row));
                    }
                });
        connect(&model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &, int first, int last) {
                    rows.erase(rows.begin() + first, rows.begin() + last + 1);
                });
        connect(&model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &first, const QModelIndex &last) {
                    for (int row = first.row(); row <= last.row(); ++row) {
                        rows[static_cast<std::size_t>(row)] = text(row);
                    }
                });
        readAll();
    }

    std::vector<std::string> rows;

private:
    std::string text(int row) const { return model.index(row, 0).data().toString().toStdString(); }
    void readAll() {
        rows.clear();
        for (int row = 0; row < model.rowCount(); ++row) {
            rows.push_back(text(row));
        }
    }

    const QAbstractItemModel &model;
};

// The item rows a full rebuild lists: the first items described, then the count of the others.
std::vector<std::string> expectedItemRows(const Vo::SnSelection &selection) {
    std::vector<std::string> rows;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
        if (static_cast<int>(rows.size()) == EditorItemListModel::maxListed) {
            rows.push_back("... and " +
                           std::to_string(selection.getNbItems() - EditorItemListModel::maxListed) +
                           " more");
            break;
        }
        rows.push_back(EditorItemListModel::describe(*item).toStdString());
    }
    return rows;
}

// Every message Qt reports while one is installed: the model testers report through them.
std::vector<std::string> &qtMessages() {
    static std::vector<std::string> messages;
    return messages;
}

void recordQtMessage(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type != QtDebugMsg && !message.contains("propagateSizeHints")) {
        qtMessages().push_back(message.toStdString());
    }
}

// The editor's window, shown, with testers and mirrors on the dock's models and a recorder of the
// canvas's repaints; fails a test on any warning Qt reports meanwhile (the testers report so).
class EditorDeltaTest : public ::testing::Test {
protected:
    void SetUp() override {
        startApplication();
        qtMessages().clear();
        previousHandler = qInstallMessageHandler(recordQtMessage);
        window = std::make_unique<VoEditor::EditorWindow>();
        window->resize(1280, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        watchModels();
        canvas().installEventFilter(&paints);
    }

    void TearDown() override {
        testers.clear();
        itemRows.reset();
        objectRows.reset();
        window.reset();
        qInstallMessageHandler(previousHandler);
        EXPECT_EQ(qtMessages(), std::vector<std::string>());
    }

    void watchModels() {
        VoEditor::EditorApplicationDock &dock = window->getApplicationDock();
        for (QAbstractItemModel *model :
             {dock.getItemList().model(), dock.getObjectList().model()}) {
            testers.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::Warning));
        }
        itemRows = std::make_unique<RowMirror>(*dock.getItemList().model());
        objectRows = std::make_unique<RowMirror>(*dock.getObjectList().model());
    }

    void open(const std::string &scene) {
        std::istringstream in(scene);
        std::string error;
        ASSERT_TRUE(window->getDocument().open(in, "<test>", error)) << error;
        settle();
    }

    static void settle() {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }

    void command(const std::string &line) {
        EXPECT_TRUE(window->getDocument().runCommand(QString::fromStdString(line))) << line;
        settle();
    }

    void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&canvas(), code, modifiers);
        settle();
    }

    void clickShape(const std::string &shape, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(&canvas(), Qt::LeftButton, modifiers, canvas().getCurvePosition(shape));
        settle();
    }

    void clickPoint(const std::string &shape, int index, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(&canvas(), Qt::LeftButton, modifiers,
                          canvas().getPointPosition(shape, index));
        settle();
    }

    void clickHandle(const std::string &shape, int index, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(&canvas(), Qt::LeftButton, modifiers,
                          canvas().getHandlePosition(shape, index));
        settle();
    }

    VoEditor::EditorCanvas &canvas() { return window->getCanvas(); }
    Vo::SeShapeSelector &selector() { return window->getDocument().getSelector(); }
    Vo::SnSelection &applicationSelection() {
        return *window->getDocument().getSession().getController().getApplicationSelection();
    }

    // The canvas's table, slot by slot, against the document's full description.
    void expectTableAsRead() {
        const VoEditor::EditorShapeTable &table = canvas().getTable();
        std::vector<const EditorShapeView *> live;
        for (int slot = 0; slot < table.getNbSlots(); ++slot) {
            if (table.getView(slot).shape != nullptr) {
                live.push_back(&table.getView(slot));
            }
        }
        const std::vector<EditorShapeView> read = window->getDocument().describeShapes();
        ASSERT_EQ(live.size(), read.size());
        for (std::size_t at = 0; at < read.size(); ++at) {
            const EditorShapeView &kept = *live[at];
            SCOPED_TRACE("shape " + read[at].name);
            EXPECT_EQ(kept.slot, read[at].slot);
            EXPECT_EQ(kept.shape, read[at].shape);
            EXPECT_EQ(kept.nbPoints, read[at].nbPoints);
            EXPECT_EQ(kept.nbHandles, read[at].nbHandles);
            EXPECT_EQ(kept.selected, read[at].selected);
            EXPECT_EQ(kept.primary, read[at].primary);
            EXPECT_EQ(kept.nbItems, read[at].nbItems);
            EXPECT_EQ(kept.points, read[at].points);
            EXPECT_EQ(kept.handles, read[at].handles);
        }
    }

    // A left-button mouse event at the canvas's place at, the window then let settle.
    void sendMouse(QEvent::Type type, const QPointF &at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas().mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &event);
        settle();
    }

    // What the window system shows of the canvas, pixel for pixel, against a full render.
    void expectScreenAsRendered() {
        settle();
        const QPoint origin = canvas().mapTo(window.get(), QPoint(0, 0));
        const QImage shown = window->screen()
                                 ->grabWindow(window->winId(), origin.x(), origin.y(),
                                              canvas().width(), canvas().height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage rendered = canvas().grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), rendered.size());
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                differing += shown.pixel(x, y) != rendered.pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0) << "pixels on screen that a full render draws otherwise";
    }

    // The dock's rows, as its views were told them, against the application's selection.
    void expectDockAsRead() {
        EXPECT_EQ(itemRows->rows, expectedItemRows(applicationSelection()));
        const std::vector<std::string> names =
            window->getDocument().getSession().getGraphObjectNames();
        EXPECT_EQ(objectRows->rows, names);
        std::set<std::string> held;
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : applicationSelection()) {
            const auto *object = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get());
            if (object != nullptr && !object->getGraphObject().isNull()) {
                held.insert(object->getGraphObject()->getName());
            }
        }
        std::set<std::string> selected;
        QListView &view = window->getApplicationDock().getObjectList();
        for (const QModelIndex &row : view.selectionModel()->selectedRows()) {
            selected.insert(row.data().toString().toStdString());
        }
        EXPECT_EQ(selected, held);
    }

    void expectAsRebuilt(const std::string &step) {
        SCOPED_TRACE(step);
        expectTableAsRead();
        expectDockAsRead();
        expectScreenAsRendered();
    }

    // The region repainted on screen since the last call.
    class PaintRecorder : public QObject {
    public:
        QRegion take() { return std::exchange(painted, QRegion()); }

    protected:
        bool eventFilter(QObject *, QEvent *event) override {
            if (event->type() == QEvent::Paint) {
                painted += static_cast<QPaintEvent *>(event)->region();
            }
            return false;
        }

    private:
        QRegion painted;
    };

    std::unique_ptr<VoEditor::EditorWindow> window;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    std::unique_ptr<RowMirror> itemRows;
    std::unique_ptr<RowMirror> objectRows;
    PaintRecorder paints;
    QtMessageHandler previousHandler = nullptr;
};

std::string scene(int nbShapes, int nbPoints, int nbHandles) {
    std::string text;
    for (int index = 0; index < nbShapes; ++index) {
        text += "shape S" + std::to_string(index) + " " + std::to_string(nbPoints) + " " +
                std::to_string(nbHandles) + "\n";
    }
    return text;
}

TEST_F(EditorDeltaTest, ShapesComeAndGoOneAtATimeAndWhole) {
    open(scene(12, 5, 2));
    expectAsRebuilt("opened");
    clickShape("S3", Qt::NoModifier);
    expectAsRebuilt("click S3");
    // From one shape to two, the application's selection drops the parts' items: a whole change.
    clickShape("S7", Qt::ShiftModifier);
    expectAsRebuilt("Shift+click S7");
    QSignalSpy resets(window->getApplicationDock().getItemList().model(),
                      &QAbstractItemModel::modelReset);
    for (const char *shape : {"S1", "S10"}) {
        clickShape(shape, Qt::ShiftModifier);
        EXPECT_FALSE(selector().getLastChange().isWhole()) << "Shift+click adds with one item";
        expectAsRebuilt(std::string("Shift+click ") + shape);
    }
    // The primary shape leaves from the front, then one from the middle.
    clickShape("S3", Qt::ControlModifier);
    expectAsRebuilt("Ctrl+click S3, the primary one");
    clickShape("S1", Qt::ShiftModifier);
    expectAsRebuilt("Shift+click S1, in the middle");
    EXPECT_EQ(resets.count(), 0) << "one-item changes are followed row by row";
    command("add-shape S0");
    command("unselect-shape S10");
    expectAsRebuilt("commands");
    key(Qt::Key_A, Qt::ControlModifier);
    expectAsRebuilt("Ctrl+A");
    clickShape("S5", Qt::ControlModifier);
    expectAsRebuilt("Ctrl+click S5 after Ctrl+A");
    key(Qt::Key_Z, Qt::ControlModifier);
    expectAsRebuilt("undo");
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    expectAsRebuilt("redo");
    key(Qt::Key_Escape);
    expectAsRebuilt("Escape");
}

TEST_F(EditorDeltaTest, PointsAndHandlesOfThePrimaryShape) {
    // Cells small enough for rank labels to reach past them.
    open(scene(300, 9, 4));
    clickShape("S1", Qt::NoModifier);
    clickPoint("S1", 2, Qt::NoModifier);
    expectAsRebuilt("point 2");
    for (const int index : {5, 7, 0}) {
        clickPoint("S1", index, Qt::ShiftModifier);
        expectAsRebuilt("Shift+click point " + std::to_string(index));
    }
    clickPoint("S1", 0, Qt::ControlModifier);
    expectAsRebuilt("Ctrl+click the last-ranked point");
    clickPoint("S1", 2, Qt::ControlModifier);
    expectAsRebuilt("Ctrl+click the first-ranked point");
    key(Qt::Key_Z, Qt::ControlModifier);
    expectAsRebuilt("undo: point 2 back at rank 1");
    for (const int index : {3, 1}) {
        clickHandle("S1", index, Qt::ShiftModifier);
        expectAsRebuilt("Shift+click handle " + std::to_string(index));
    }
    clickPoint("S1", 8, Qt::ShiftModifier);
    expectAsRebuilt("a point added while handles are selected");
    clickHandle("S1", 3, Qt::ControlModifier);
    expectAsRebuilt("Ctrl+click handle 3");
    // A non-primary shape keeps its parts when another is added and the first taken out.
    clickShape("S2", Qt::ShiftModifier);
    clickShape("S1", Qt::ControlModifier);
    clickShape("S1", Qt::ShiftModifier);
    expectAsRebuilt("shapes in and out around one with parts");
    key(Qt::Key_Tab);
    expectAsRebuilt("Tab");
    key(Qt::Key_Delete);
    expectAsRebuilt("Delete");
    clickShape("S0", Qt::NoModifier);
    clickPoint("S0", 4, Qt::NoModifier);
    key(Qt::Key_Insert);
    expectAsRebuilt("Insert");
}

// Both selections, as the session driver prints them.
std::string printed(const VoSession::Session &session) {
    const VoSession::SessionState state = session.capture();
    std::string text;
    for (const VoSession::SessionState::Shape &shape : state.shapes) {
        text += (shape.primary ? "*" : "") + shape.name + (shape.hasParts ? " parts" : "");
        for (const auto *indices : {&shape.points, &shape.handles}) {
            text += " |";
            for (const int index : *indices) {
                text += " " + std::to_string(index);
            }
        }
        text += "\n";
    }
    for (const VoSession::SessionState::HostItem &item : state.host) {
        text += VoSession::SessionTextPrinter::describe(item) + "\n";
    }
    return text;
}

// Delete takes the selected points out of the selection before it deletes them, in its batch: the
// selections, and the step the history keeps, are those of deleting them one by one.
TEST_F(EditorDeltaTest, DeleteEndsAsDeletingPointByPoint) {
    const std::string text = "shape A 12 4\nshape B 3\n";
    for (const bool withHandle : {false, true}) {
        SCOPED_TRACE(withHandle ? "a handle selected too" : "points only");
        open(text);
        VoSession::Session reference;
        VoSession::SessionScene described(reference.getNodeNames());
        std::istringstream in(text);
        std::string error;
        ASSERT_TRUE(described.read(in, "<test>", error)) << error;
        reference.build(described);
        for (VoSession::Session *session : {&window->getDocument().getSession(), &reference}) {
            Vo::SeShapeSelector &selected = session->getSelector();
            selected.setPrimarySelectedShape(session->findShape("A")->getShape(), 7);
            for (const int index : {2, 9, 11}) {
                selected.addSelectedPoint(index);
            }
            if (withHandle) {
                selected.addSelectedHandle(1);
            }
        }
        settle();
        key(Qt::Key_Delete);
        {
            VoExample::AppEditorController &controller = reference.getController();
            Vo::SeSelectionBatch batch(controller.getShapeSelector());
            for (const int index : {11, 9, 7, 2}) {
                controller.deletePoint(*reference.findShape("A"), index);
            }
            if (withHandle) {
                controller.deleteHandle(*reference.findShape("A"), 1);
            }
            batch.commit();
        }
        EXPECT_EQ(printed(window->getDocument().getSession()), printed(reference));
        expectAsRebuilt("Delete");
        // Undo puts the points (and the handle) back at their indices and selects them again,
        // in their order: as inserting them one by one, then selecting them, would.
        key(Qt::Key_Z, Qt::ControlModifier);
        {
            VoExample::AppEditorController &controller = reference.getController();
            for (const int index : {2, 7, 9, 11}) {
                controller.insertPoint(*reference.findShape("A"), index);
            }
            Vo::Vector<int> handles;
            if (withHandle) {
                controller.insertHandle(*reference.findShape("A"), 1);
                handles.push_back(1);
            }
            const Vo::Vector<int> points{7, 2, 9, 11};
            reference.getSelector().setShapeParts(reference.findShape("A")->getShape(), &points,
                                                  &handles);
        }
        EXPECT_EQ(window->getDocument().getSession().findShape("A")->getNbPoints(), 12);
        EXPECT_EQ(printed(window->getDocument().getSession()), printed(reference));
        expectAsRebuilt("undo");
    }
}

// A point deleted at the curve's far end shrinks the shape's box: where its spans were drawn is
// repainted, not left on screen.
TEST_F(EditorDeltaTest, DeletingAFarPointWipesWhereItWasDrawn) {
    open("shape A 3\npoints 0,0 100,0 200,200\nshape B 2\npoints 300,0 300,50\n");
    // Unselected: only the graph's edit tells the canvas.
    command("delete-point A 2");
    ASSERT_EQ(window->getDocument().getSession().findShape("A")->getNbPoints(), 2);
    expectAsRebuilt("far point deleted");
    // Selected: the selection's change comes first.
    clickShape("B", Qt::NoModifier);
    clickPoint("B", 1, Qt::NoModifier);
    key(Qt::Key_Delete);
    ASSERT_EQ(window->getDocument().getSession().findShape("B")->getNbPoints(), 1);
    expectAsRebuilt("selected point deleted");
}

// A long list of indices is counted past the first fifty in the log: the line stays readable,
// and the log lays it out at the cost of a short one.
TEST_F(EditorDeltaTest, LogListsFiftyIndicesAndCountsTheRest) {
    open("shape Big 60 1\n");
    clickShape("Big", Qt::NoModifier);
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    std::string expected = "delete from Big: points";
    for (int index = 59; index >= 10; --index) {
        expected += std::string(index == 59 ? " " : ", ") + std::to_string(index);
    }
    expected += ", ... (60 in all)\n  callbacks:  selection";
    const std::string log = window->getLogDock().getText().toPlainText().toStdString();
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), expected.size())), expected);
}

// Every pixel a shape draws lies in the reach the painter gives for it, labels included, at
// every scale; and the pixels that selecting one more index changes lie in that marker's reach.
TEST(EditorPainterReach, HoldsEverythingTheShapeDraws) {
    startApplication();
    const QSize size(900, 700);
    // One shape placed in the middle slot of nbSlots, at the scale that fits them all.
    struct Placed {
        VoEditor::EditorGeometry geometry;
        VoEditor::EditorViewTransform view;
    };
    const auto place = [&size](int nbSlots, int nbPoints, int nbHandles) {
        Placed placed;
        VoEditor::EditorGeometry::Shape shape;
        for (int index = 0; index < nbPoints; ++index) {
            const auto at =
                VoSession::SessionPlacement::getPoint(nbSlots / 2, nbSlots, index, nbPoints);
            shape.points.emplace_back(at.x, at.y);
        }
        for (int index = 0; index < nbHandles; ++index) {
            shape.handles.push_back(VoSession::SessionPlacement::getHandle(index, nbHandles));
        }
        placed.geometry.setShape(nbSlots / 2, shape);
        const auto corner = VoSession::SessionPlacement::getCell(nbSlots - 1, nbSlots);
        placed.view.fit(QRectF(0, 0, corner.x + VoSession::SessionPlacement::cellWidth,
                               corner.y + VoSession::SessionPlacement::cellHeight),
                        QSizeF(size), 30);
        return placed;
    };
    const auto drawn = [&size](const EditorShapeView &shape, const Placed &placed) {
        QImage image(size, QImage::Format_RGB32);
        QPainter target(&image);
        const VoEditor::EditorLayout layout(placed.geometry, placed.view);
        VoEditor::EditorPainter(target, layout, QRectF(image.rect())).paint({&shape});
        return image;
    };
    // Pixels that differ between two images, outside the rectangle.
    const auto outside = [](const QImage &a, const QImage &b, const QRect &reach) {
        int count = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                count += a.pixel(x, y) != b.pixel(x, y) && !reach.contains(x, y) ? 1 : 0;
            }
        }
        return count;
    };
    for (const int nbSlots : {1, 30, 300, 3000}) {
        for (const int nbPoints : {5, 40, 1000}) {
            SCOPED_TRACE(std::to_string(nbSlots) + " slots, " + std::to_string(nbPoints) +
                         " points");
            const Placed placed = place(nbSlots, nbPoints, 3);
            const VoEditor::EditorLayout layout(placed.geometry, placed.view);
            EditorShapeView shape;
            shape.slot = nbSlots / 2;
            shape.nbPoints = nbPoints;
            shape.nbHandles = 3;
            EditorShapeView blank = shape;
            blank.nbPoints = 0;
            blank.nbHandles = 0;
            const QImage background = drawn(blank, placed);
            EXPECT_EQ(
                outside(drawn(shape, placed), background,
                        VoEditor::EditorPainter::getReach(layout, shape, false).toAlignedRect()),
                0);
            shape.selected = shape.primary = true;
            // The left points first, then the last with the highest rank: its label has room.
            for (int index = 0; index < std::min(nbPoints - 1, 99); ++index) {
                shape.points.push_back(index);
            }
            shape.points.push_back(nbPoints - 1);
            shape.handles = {2};
            EXPECT_EQ(
                outside(drawn(shape, placed), background,
                        VoEditor::EditorPainter::getReach(layout, shape, true).toAlignedRect()),
                0);
            // As the canvas repaints one marker only: a point, with no handle label after it.
            shape.handles.clear();
            const QImage after = drawn(shape, placed);
            const QRect marker =
                VoEditor::EditorPainter::getMarkerReach(layout, shape, true, nbPoints - 1,
                                                        static_cast<int>(shape.points.size()))
                    .toAlignedRect();
            shape.points.pop_back();
            EXPECT_EQ(outside(after, drawn(shape, placed), marker), 0);
        }
    }
}

TEST_F(EditorDeltaTest, ItemRowsPastTheListedOnesFollowSplices) {
    // Each selected point mirrors two inputs: 600 points list 1000 items and count the rest.
    open("shape Big 600 2\nshape Other 3\n");
    clickShape("Big", Qt::NoModifier);
    key(Qt::Key_A, Qt::ControlModifier);
    expectAsRebuilt("every point");
    ASSERT_GT(applicationSelection().getNbItems(), EditorItemListModel::maxListed);
    QSignalSpy resets(window->getApplicationDock().getItemList().model(),
                      &QAbstractItemModel::modelReset);
    for (const char *step :
         {"unselect-point 300", "unselect-point 0", "add-point 0", "unselect-point 599",
          "host-remove 5", "host-add Other 3", "host-remove 1100", "host-add Other"}) {
        command(step);
        expectAsRebuilt(step);
    }
    EXPECT_EQ(resets.count(), 0) << "splices are followed row by row";
    command("select-points 1 2 3");
    expectAsRebuilt("below the limit again");
}

TEST_F(EditorDeltaTest, ObjectRowsFollowShapesDeletedAndAdded) {
    open(scene(6, 4, 1));
    clickShape("S2", Qt::NoModifier);
    clickShape("S4", Qt::ShiftModifier);
    key(Qt::Key_Delete);
    expectAsRebuilt("S2 and S4 deleted");
    command("shape Late 5 2");
    expectAsRebuilt("a shape added: every cell cut anew");
    clickShape("Late", Qt::NoModifier);
    clickShape("S5", Qt::ShiftModifier);
    expectAsRebuilt("the new shape selected with another");
    QListView &rows = window->getApplicationDock().getObjectList();
    const QModelIndex s0 =
        rows.model()->match(rows.model()->index(0, 0), Qt::DisplayRole, "S0").value(0);
    QTest::mouseClick(rows.viewport(), Qt::LeftButton, Qt::NoModifier,
                      rows.visualRect(s0).center());
    settle();
    expectAsRebuilt("a row clicked");
}

TEST_F(EditorDeltaTest, OneItemChangeRepaintsItsShapeOnly) {
    open(scene(100, 5, 2));
    clickShape("S10", Qt::NoModifier);
    settle();
    paints.take();
    clickShape("S55", Qt::ShiftModifier);
    const QRegion painted = paints.take();
    const QRect cell = canvas().getLayout().getCell(55).toAlignedRect();
    EXPECT_TRUE(painted.intersected(cell) == QRegion(cell)) << "the added shape is repainted";
    EXPECT_LT(painted.boundingRect().width() * painted.boundingRect().height(),
              canvas().width() * canvas().height() / 10)
        << "and little else";
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(paints.take().contains(canvas().rect())) << "Ctrl+A changes every shape";
}

// The shapes of the canvas as its painter draws them, at the pixel ratio, with the images kept
// between repaints (none: every shape drawn directly).
QImage paintedShapes(VoEditor::EditorCanvas &canvas, double ratio,
                     VoEditor::EditorShapeImages *kept) {
    QImage image(canvas.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter target(&image);
    const VoEditor::EditorLayout layout = canvas.getLayout();
    VoEditor::EditorPainter painter(target, layout, QRectF(canvas.rect()));
    painter.setImages(kept);
    std::vector<const EditorShapeView *> shapes;
    for (int slot = 0; slot < canvas.getTable().getNbSlots(); ++slot) {
        if (canvas.getTable().getView(slot).shape != nullptr) {
            shapes.push_back(&canvas.getTable().getView(slot));
        }
    }
    painter.paint(shapes);
    return image;
}

// The largest difference of a colour channel between two images of one size, outside left out.
int largestDifference(const QImage &a, const QImage &b, const QRect &leftOut = QRect()) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (leftOut.contains(x, y)) {
                continue;
            }
            const QRgb one = a.pixel(x, y);
            const QRgb other = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(one) - qRed(other)),
                             std::abs(qGreen(one) - qGreen(other)),
                             std::abs(qBlue(one) - qBlue(other))});
        }
    }
    return most;
}

// A shape copied from its kept image covers the pixels its direct drawing covers (both at whole
// pixels); only the blending differs, onto transparent pixels then the canvas against onto the
// canvas at once, which Qt's 8-bit arithmetic rounds apart by at most two levels of 255 (measured:
// one or two at antialiased edges, none elsewhere). An image kept past a change of what it shows
// differs by far more: a curve where none is, or in another colour.
TEST_F(EditorDeltaTest, KeptShapeImagesDrawWhatDirectDrawingDraws) {
    const int tolerance = 2;
    for (const std::string &opened : {scene(12, 9, 4), scene(300, 9, 4), scene(2000, 5, 2)}) {
        open(opened);
        VoEditor::EditorShapeImages kept;
        const auto expectAsDrawn = [&](const std::string &step) {
            SCOPED_TRACE(step);
            settle();
            for (const double ratio : {1.0, 2.0, 1.5}) {
                const QImage direct = paintedShapes(canvas(), ratio, nullptr);
                EXPECT_LE(largestDifference(direct, paintedShapes(canvas(), ratio, &kept)),
                          tolerance)
                    << "at a pixel ratio of " << ratio;
            }
        };
        expectAsDrawn("opened");
        clickShape("S3", Qt::NoModifier);
        expectAsDrawn("S3 primary");
        clickShape("S7", Qt::ShiftModifier);
        expectAsDrawn("S7 selected");
        QTest::keyClick(&canvas(), Qt::Key_Right, Qt::ShiftModifier);
        expectAsDrawn("both nudged");
        clickPoint("S3", 1, Qt::NoModifier);
        QTest::keyClick(&canvas(), Qt::Key_Down, Qt::ShiftModifier);
        expectAsDrawn("a point nudged");
        clickHandle("S3", 2, Qt::NoModifier);
        QTest::keyClick(&canvas(), Qt::Key_Left, Qt::ShiftModifier);
        expectAsDrawn("a handle nudged");
        key(Qt::Key_A, Qt::ControlModifier);
        expectAsDrawn("Ctrl+A");
        canvas().zoom(1.25, QPointF(100, 100));
        expectAsDrawn("zoomed");
        canvas().pan(QPointF(7.5, -3.25));
        expectAsDrawn("panned");
        window->resize(1000, 700);
        expectAsDrawn("smaller");
        window->resize(1280, 800);
        expectAsDrawn("larger again");
        key(Qt::Key_Escape);
        expectAsDrawn("Escape");
        EXPECT_GT(kept.getNbImages(), 0U) << "the images were kept";
    }
}

// A lasso's outline and fill are repainted point by point where they changed: the screen shows what
// a full render draws after each point added and once the outline is gone.
TEST_F(EditorDeltaTest, ALassoLeavesNothingBehind) {
    open("shape S 3\npoints 0,0 100,0 200,0\n");
    window->getLassoAction().trigger();
    settle();
    const QPointF from(40, 40);
    sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (const QPointF &by :
         {QPointF(60, 5), QPointF(120, 70), QPointF(30, 160), QPointF(-10, 90)}) {
        sendMouse(QEvent::MouseMove, from + by, Qt::LeftButton);
        expectScreenAsRendered();
    }
    sendMouse(QEvent::MouseButtonRelease, from + QPointF(-10, 90), Qt::NoButton);
    expectScreenAsRendered();
}

// The guide of a grid snap (lines across the canvas through the crossing) moves with the dragged
// point from crossing to crossing and goes when the drag ends: none is left where it was.
TEST_F(EditorDeltaTest, SnapGuidesLeaveNothingBehind) {
    open("shape S 3\npoints 0,0 100,0 200,0\n");
    clickShape("S", Qt::NoModifier);
    clickPoint("S", 1, Qt::NoModifier);
    window->getSnapGridAction().trigger();
    settle();
    const QPointF from = canvas().getPointPosition("S", 1);
    sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (const QPointF &by : {QPointF(23, 31), QPointF(61, 77), QPointF(-40, 120)}) {
        sendMouse(QEvent::MouseMove, from + by, Qt::LeftButton);
        ASSERT_EQ(canvas().getShownSnap().kind, VoEditor::EditorSnapper::Snap::Grid);
        expectScreenAsRendered();
    }
    sendMouse(QEvent::MouseButtonRelease, from + QPointF(-40, 120), Qt::NoButton);
    expectScreenAsRendered();
}

// A point dragged onto the grid's crossing at the scene's origin shows its guide there too: the
// first guide of a drag may stand where no guide stood before it.
TEST_F(EditorDeltaTest, TheGuideShowsAtTheOriginsCrossing) {
    open("shape S 3\npoints 100,40 200,40 300,40\n");
    clickShape("S", Qt::NoModifier);
    clickPoint("S", 0, Qt::NoModifier);
    window->getSnapGridAction().trigger();
    settle();
    const QPointF from = canvas().getPointPosition("S", 0);
    sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(QEvent::MouseMove, canvas().getView().toView(QPointF(1, 1)), Qt::LeftButton);
    EXPECT_EQ(canvas().getShownSnap().kind, VoEditor::EditorSnapper::Snap::Grid);
    EXPECT_EQ(canvas().getShownSnap().at, QPointF(0, 0));
    expectScreenAsRendered();
    sendMouse(QEvent::MouseButtonRelease, canvas().getView().toView(QPointF(1, 1)), Qt::NoButton);
    EXPECT_EQ(canvas().getShownSnap().kind, VoEditor::EditorSnapper::Snap::None);
}

// While a drag moves a shape whole by whole pixels, it is its image from before the drag, moved:
// what the canvas shows once the drag ends and it is drawn afresh. No handles: nothing but the
// shape's name is placed by the box that grows while its points move.
TEST_F(EditorDeltaTest, ShapesDraggedWholeLookAsDrawnWhereTheyEnd) {
    open(scene(300, 9, 0));
    clickShape("S40", Qt::NoModifier);
    key(Qt::Key_A, Qt::ControlModifier); // every point of the primary shape: a drag moves it whole
    const QImage before = canvas().grab().toImage();
    const QPointF from(canvas().getPointPosition("S40", 4));
    sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (const QPointF &by : {QPointF(5, 3), QPointF(17, -9)}) {
        sendMouse(QEvent::MouseMove, from + by, Qt::LeftButton);
    }
    const QImage dragged = canvas().grab().toImage();
    // The name goes above the box, which has grown over where the points were and are.
    const QRect title =
        canvas().getLayout().getTitleArea(40).toAlignedRect().adjusted(-1, -1, 1, 1);
    sendMouse(QEvent::MouseButtonRelease, from + QPointF(17, -9), Qt::NoButton);
    const QImage dropped = canvas().grab().toImage();
    EXPECT_GT(largestDifference(before, dropped), 100) << "the shape moved";
    EXPECT_LE(largestDifference(dragged, dropped, title), 2);
}

TEST(EditorGeometryRevision, ChangesWithEveryChangeAndNeverBack) {
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape shape;
    shape.points = {QPointF(0, 0), QPointF(10, 5), QPointF(20, 0)};
    shape.handles = {0.25, 0.75};
    geometry.setShape(1, shape);
    const auto revision = [&geometry] { return geometry.getShape(1).revision; };
    std::set<std::uint64_t> seen{geometry.getShape(0).revision, revision()};
    const std::uint64_t read = revision();
    geometry.setShape(1, shape);
    EXPECT_EQ(revision(), read) << "read again as it was";
    for (const auto &change : std::vector<std::function<void()>>{
             [&] { geometry.movePoint(1, 2, QPointF(21, 1)); },
             [&] { geometry.moveHandle(1, 0, 0.5); }, [&] { geometry.settle(1); },
             [&] { geometry.setShape(1, shape); },
             [&] { // the same points, other handles
                 VoEditor::EditorGeometry::Shape handled = shape;
                 handled.handles = {0.5, 0.75};
                 geometry.setShape(1, handled);
             }}) {
        change();
        EXPECT_TRUE(seen.insert(revision()).second) << "a revision given before";
    }
    VoEditor::EditorGeometry other;
    other.setShape(1, shape);
    EXPECT_TRUE(seen.insert(other.getShape(1).revision).second) << "another geometry's";
}

// While points move, the box grows over every span they end (what a repaint of the shape covers).
TEST(EditorGeometryBox, GrowsOverTheSpansOfAMovedPoint) {
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape shape;
    for (int index = 0; index < 7; ++index) {
        shape.points.emplace_back(index * 10, 0);
    }
    geometry.setShape(0, shape);
    for (const int moved : {0, 3, 6}) {
        SCOPED_TRACE("point " + std::to_string(moved));
        const QPointF far(moved * 10, 500 + moved);
        geometry.movePoint(0, moved, far);
        const VoEditor::EditorGeometry::Shape &grown = geometry.getShape(0);
        EXPECT_TRUE(grown.curveBounds.contains(far));
        for (int span = std::max(0, moved - 2); span <= std::min(5, moved + 1); ++span) {
            const VoEditor::EditorViewTransform view; // the layout keeps a reference to it
            const VoEditor::EditorLayout layout(geometry, view);
            for (const QPointF &at : layout.getSpan(0, span)) {
                EXPECT_TRUE(grown.curveBounds.contains(at)) << "span " << span;
            }
        }
    }
}

// However points move, the box and the longest segment kept while they do hold at least what
// settling the moved points gives: a repaint over them covers every span they changed.
TEST(EditorGeometryBox, HoldsWhatSettlingTheMovedPointsGives) {
    std::mt19937 random(4111);
    std::uniform_real_distribution<double> near(-100, 100);
    std::uniform_real_distribution<double> far(-2000, 2000);
    VoEditor::EditorGeometry moved;
    VoEditor::EditorGeometry::Shape shape;
    for (int index = 0; index < 9; ++index) {
        shape.points.emplace_back(near(random), near(random));
    }
    moved.setShape(0, shape);
    VoEditor::EditorGeometry::Shape lone;
    lone.points = {QPointF(1, 2)};
    moved.setShape(2, lone); // slot 1 stays empty
    EXPECT_EQ(moved.getNbPoints(), 10U);
    for (int round = 0; round < 200; ++round) {
        const auto index = static_cast<int>(random() % shape.points.size());
        const QPointF to(far(random), near(random));
        moved.movePoint(0, index, to);
        shape.points[static_cast<std::size_t>(index)] = to;
        VoEditor::EditorGeometry settled;
        settled.setShape(0, shape);
        const VoEditor::EditorGeometry::Shape &kept = moved.getShape(0);
        const VoEditor::EditorGeometry::Shape &fresh = settled.getShape(0);
        // A rectangle keeps its width, not its right edge: the edges may differ by a rounding.
        const double rounding = 1e-9;
        ASSERT_TRUE(kept.curveBounds.contains(
            fresh.curveBounds.adjusted(rounding, rounding, -rounding, -rounding)))
            << "round " << round << ", point " << index;
        ASSERT_GE(kept.longestSegment, fresh.longestSegment)
            << "round " << round << ", point " << index;
        if (round % 50 == 49) {
            moved.settle(0);
            EXPECT_EQ(moved.getShape(0).curveBounds, fresh.curveBounds);
            EXPECT_EQ(moved.getShape(0).longestSegment, fresh.longestSegment);
        }
    }
}

// The last point's only neighbour is the one before it, whatever the storage holds past it.
TEST(EditorGeometryBox, TheLastPointHasOneNeighbour) {
    VoEditor::EditorGeometry geometry;
    VoEditor::EditorGeometry::Shape shape;
    shape.points = {QPointF(0, 0), QPointF(10, 0), QPointF(1e6, 1e6)};
    shape.points.pop_back(); // its storage kept
    geometry.setShape(0, std::move(shape));
    geometry.movePoint(0, 1, QPointF(12, 0));
    EXPECT_EQ(geometry.getShape(0).longestSegment, 12);
}

TEST(EditorShapeImages, KeepsTheLastTwoAskedForAndDrawsAgainForAnyChange) {
    VoEditor::EditorShapeImages kept;
    int draws = 0;
    const auto get = [&](int slot, const VoEditor::EditorShapeImages::Key &key) {
        return kept
            .get(slot, key,
                 [&] {
                     ++draws;
                     return VoEditor::EditorShapeImages::Image{QImage(1, 1, QImage::Format_RGB32),
                                                               QPoint(draws, 0)};
                 })
            .at.x();
    };
    VoEditor::EditorShapeImages::Key first{7, 2.0, QPointF(1, 2), 1, 5, 2, 1.0, QSize(90, 70)};
    EXPECT_EQ(get(0, first), 1);
    EXPECT_EQ(get(0, first), 1) << "kept";
    EXPECT_EQ(get(3, first), 2) << "another slot";
    // Each thing the pixels follow, changed alone.
    std::vector<VoEditor::EditorShapeImages::Key> changed(8, first);
    ++changed[0].revision;
    changed[1].scale = 2.5;
    changed[2].offset.ry() += 0.5;
    changed[3].look = 2;
    changed[4].nbPoints = 6;
    changed[5].nbHandles = 3;
    changed[6].ratio = 2;
    changed[7].area.rheight() += 1;
    for (const VoEditor::EditorShapeImages::Key &key : changed) {
        const int before = draws;
        get(0, key);
        EXPECT_EQ(draws, before + 1);
    }
    // Two looks kept: the one asked for before last comes back without a draw; a third displaces
    // the one asked for less recently.
    EXPECT_EQ(get(0, changed[6]), 9);
    EXPECT_EQ(get(0, changed[7]), 10);
    EXPECT_EQ(get(0, changed[6]), 9);
    EXPECT_EQ(get(0, first), 11);
    EXPECT_EQ(get(0, changed[6]), 9);
    EXPECT_EQ(get(0, changed[7]), 12) << "displaced by the third";
    ASSERT_NE(kept.find(0, changed[6]), nullptr);
    EXPECT_EQ(kept.find(0, changed[6])->at.x(), 9);
    EXPECT_EQ(kept.find(0, changed[7])->at.x(), 12);
    EXPECT_EQ(kept.find(0, first), nullptr);
    EXPECT_EQ(kept.find(5, first), nullptr) << "a slot never asked for";
    EXPECT_EQ(kept.getNbImages(), 3U);
    kept.clear();
    EXPECT_EQ(kept.getNbImages(), 0U);
    EXPECT_EQ(get(3, first), 13);
}

// An observer that hands each change of a selection to an item model, as the dock does.
class ItemModelFeed : public Vo::ObObserver<Vo::Sn> {
public:
    ItemModelFeed(Vo::SnSelection &selection, EditorItemListModel &model)
        : selection(selection), model(model) {
        selection.getSubject().attachObserver(this);
    }

    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) override {
        for (const Vo::RCShdPtr<Vo::ObHint> &hint : hints.getContainer()) {
            model.follow(selection, dynamic_cast<const Vo::SnSelectionChangeHint *>(hint.get()));
        }
    }

private:
    Vo::SnSelection &selection;
    EditorItemListModel &model;
};

TEST_F(EditorDeltaTest, ItemModelFollowsRandomSplicesAcrossTheLimit) {
    open(scene(40, 1, 0));
    std::vector<Vo::RCShdPtr<Vo::SnItem const>> pool;
    for (const std::string &name : window->getDocument().getSession().getGraphObjectNames()) {
        pool.push_back(Vo::PiSnItemUtil::createFromBase(
            window->getDocument().getSession().findGraphObject(name)));
    }
    const Vo::RCShdPtr<Vo::SnSelection> selection = Vo::SnSelection::create();
    EditorItemListModel model;
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    model.reset(*selection);
    RowMirror mirror(model);
    ItemModelFeed feed(*selection, model);
    std::mt19937 random(20240611);
    const auto pick = [&random](int bound) {
        return std::uniform_int_distribution<int>(0, bound)(random);
    };
    // Grow to just under the limit first, then splice around it.
    for (int step = 0; step < 2400; ++step) {
        const int size = selection->getNbItems();
        const int kind = size < 990 ? 0 : pick(3);
        const auto &item = pool[static_cast<std::size_t>(pick(static_cast<int>(pool.size()) - 1))];
        if (kind == 0 || size == 0) {
            selection->insertItem(pick(size), item);
        } else if (kind == 1) {
            selection->removeItem(*std::next(selection->begin(), pick(size - 1)));
        } else if (kind == 2) {
            const int at = pick(size - 1);
            selection->replaceRange(at, std::min(pick(3), size - at), {item, item});
        } else {
            selection->insertItem(size, item);
        }
        if (size >= 990) {
            ASSERT_EQ(mirror.rows, expectedItemRows(*selection)) << "step " << step;
        }
    }
}

} // namespace
