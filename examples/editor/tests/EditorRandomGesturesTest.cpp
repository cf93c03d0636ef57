// Random gestures, as real mouse and key events on the canvas of a window on a scene of two
// layers: clicks on curves, points, handles and empty canvas with each modifier, hovering,
// double clicks, the transform box shown and hidden, drags of its grips, flips, snapping and the
// lasso on and off, grow and shrink, rectangles and outlines, drags of points, handles and
// shapes, nudges (held or not), deletions, insertions, Select All, inversion, Tab, Escape, wheel
// zooms, fits, layer switches, undo and redo. After every step what the canvas draws and picks
// (its table, geometry and spatial index, EditorCanvasCheck.h) is what the document holds, and
// the pixels on screen are what a full render draws; once every step is undone, the scene's saved
// text is the one it opened with. CI's run must also have made every kind of edit and selection
// the log names. Seeded: VOEDITOR_GESTURE_SEED and VOEDITOR_GESTURE_STEPS choose another run.

#include "EditorCanvasCheck.h"
#include "EditorWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QWheelEvent>
#include <QtTest>

#include <array>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using VoEditor::EditorWindow;

class EditorRandomGestures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void canvasAgreesWithTheDocumentAfterEveryGesture();

private:
    // One random gesture; gives what it was, for the message of a step that breaks something.
    std::string gesture();
    // A place on the canvas: a curve, a point or a handle of a live shape, or anywhere; gives
    // what it is.
    std::string target(QPoint &at);
    // A selected point or handle of the primary shape, so that drags move parts often; empty
    // when none is selected.
    std::string selectedPart(QPoint &at);
    // A click there, with a modifier or none, or the pointer moved there.
    std::string clickSomewhere();
    std::string dragSomewhere();
    std::string pressKey();
    std::string switchLayer();
    // A live shape, the primary one half the time; empty when there is none.
    std::string anyShape();
    Qt::KeyboardModifiers anyModifiers();
    QPoint onCanvas(const QPoint &at) const;
    QPoint anywhere();
    // The pixels where the screen differs from a full render; 0 when it does not.
    int pixelsOffScreen();
    void settle() const;

    std::unique_ptr<EditorWindow> window;
    std::mt19937 random;
};

namespace {

// A 3 by 3 grid of points from origin, size apart.
std::string pointsOf(int count, double x, double y, double size) {
    std::ostringstream line;
    line << "points";
    for (int index = 0; index < count; ++index) {
        line << ' ' << x + (index % 3) * size << ',' << y + (index / 3) * size + index % 2;
    }
    return line.str() + "\n";
}

// A channel more than a few units apart: the same antialiased drawing, blended into the window's
// store and into an image, may round a unit or two apart; a part left undrawn differs by far more.
bool unlike(QRgb shown, QRgb rendered) {
    const int most = std::max({std::abs(qRed(shown) - qRed(rendered)),
                               std::abs(qGreen(shown) - qGreen(rendered)),
                               std::abs(qBlue(shown) - qBlue(rendered))});
    return most > 4;
}

constexpr unsigned long defaultSeed = 20240611;
constexpr unsigned long defaultSteps = 800;

// The kinds of gesture, as the log reports them, that a run of the default length must have made
// (so that a change to the draw cannot quietly leave one out); the missing ones, listed.
QString missingGestures(const QStringList &logged) {
    static const char *const kinds[] = {
        "^(select|add|take out) points .* in the rectangle",
        "in the outline",
        "^(select|add|take out) shapes .* in the (rectangle|outline)",
        "^grow the selected",
        "^shrink the selected",
        "^move \\d+ points? by",
        "^move .*handles? by",
        "^scale ",
        "^rotate ",
        "^flip ",
        "^insert point \\d+ into \\S+ at ",
        "^insert point \\d+ into \\S+(\n|$)",
        "^delete ",
        "^undo ",
        "^redo ",
        "^snapping: move ",
        "^activate layer "};
    QStringList missing;
    for (const char *kind : kinds) {
        if (logged.filter(QRegularExpression(QLatin1String(kind))).isEmpty()) {
            missing << QLatin1String(kind);
        }
    }
    return missing.join(QStringLiteral(", "));
}

unsigned long environmentNumber(const char *name, unsigned long otherwise) {
    bool valid = false;
    const unsigned long value = qEnvironmentVariable(name).toULong(&valid);
    return valid ? value : otherwise;
}

} // namespace

void EditorRandomGestures::settle() const {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

QPoint EditorRandomGestures::onCanvas(const QPoint &at) const {
    const QRect area = window->getCanvas().rect().adjusted(2, 2, -2, -2);
    return QPoint(std::clamp(at.x(), area.left(), area.right()),
                  std::clamp(at.y(), area.top(), area.bottom()));
}

QPoint EditorRandomGestures::anywhere() {
    const QSize size = window->getCanvas().size();
    return onCanvas(QPoint(static_cast<int>(random() % static_cast<unsigned>(size.width())),
                           static_cast<int>(random() % static_cast<unsigned>(size.height()))));
}

Qt::KeyboardModifiers EditorRandomGestures::anyModifiers() {
    static const Qt::KeyboardModifiers kinds[] = {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier,
                                                  Qt::ShiftModifier, Qt::ControlModifier};
    return kinds[random() % 5];
}

std::string EditorRandomGestures::anyShape() {
    std::vector<std::string> names;
    const VoEditor::EditorShapeTable &table = window->getCanvas().getTable();
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        if (table.getView(slot).shape != nullptr) {
            names.push_back(table.getView(slot).name);
        }
    }
    const int primary = table.getPrimarySlot();
    if (primary >= 0 && random() % 2 == 0) {
        return table.getView(primary).name;
    }
    return names.empty() ? std::string() : names[random() % names.size()];
}

std::string EditorRandomGestures::target(QPoint &at) {
    VoEditor::EditorCanvas &canvas = window->getCanvas();
    const VoEditor::EditorTransformBox &box = canvas.getTransformBox();
    if (box.isShown() && random() % 3 == 0) {
        const std::vector<QPointF> grips = box.scaleGrips(canvas.getView());
        // The rotation grip a third of the time, else a scale grip or the pivot.
        const std::size_t which =
            random() % 3 == 0
                ? grips.size()
                : std::array<std::size_t, 2>{random() % grips.size(),
                                             grips.size() + 1}[random() % 4 == 0 ? 1 : 0];
        at = onCanvas((which < grips.size()
                           ? grips[which]
                           : (which == grips.size() ? box.rotationGrip(canvas.getView())
                                                    : canvas.getView().toView(box.getPivot())))
                          .toPoint());
        return "grip " + std::to_string(which) + " of the transform box";
    }
    if (random() % 4 == 0) {
        const std::string selected = selectedPart(at);
        if (!selected.empty()) {
            return selected;
        }
    }
    const std::string shape = anyShape();
    const VoEditor::EditorShapeView *view = canvas.getTable().find(shape);
    at = anywhere();
    const unsigned kind = view == nullptr ? 0 : random() % 4;
    const int count = kind == 2 ? view->nbPoints : (kind == 3 ? view->nbHandles : 1);
    if (kind == 0 || count == 0) {
        return "anywhere";
    }
    const int index = static_cast<int>(random() % static_cast<unsigned>(count));
    if (kind == 1) {
        at = onCanvas(canvas.getCurvePosition(shape));
        return "the curve of " + shape;
    }
    at = onCanvas(kind == 2 ? canvas.getPointPosition(shape, index)
                            : canvas.getHandlePosition(shape, index));
    return (kind == 2 ? "point " : "handle ") + std::to_string(index) + " of " + shape;
}

std::string EditorRandomGestures::selectedPart(QPoint &at) {
    const VoEditor::EditorCanvas &canvas = window->getCanvas();
    const VoEditor::EditorShapeTable &table = canvas.getTable();
    const int primary = table.getPrimarySlot();
    if (primary < 0) {
        return std::string();
    }
    const VoEditor::EditorShapeView &view = table.getView(primary);
    const std::size_t count = view.points.size() + view.handles.size();
    if (count == 0) {
        return std::string();
    }
    const std::size_t which = random() % count;
    const bool point = which < view.points.size();
    const int index = point ? view.points[which] : view.handles[which - view.points.size()];
    at = onCanvas(point ? canvas.getPointPosition(view.name, index)
                        : canvas.getHandlePosition(view.name, index));
    return (point ? "selected point " : "selected handle ") + std::to_string(index) + " of " +
           view.name;
}

std::string EditorRandomGestures::clickSomewhere() {
    QPoint at;
    const std::string what = target(at);
    const Qt::KeyboardModifiers modifiers = anyModifiers();
    switch (random() % 8) {
    case 0:
    case 1:
        QTest::mouseMove(&window->getCanvas(), at);
        return "hover over " + what;
    case 2: {
        // On the primary shape's curve most of the time, where a double click inserts a point.
        const int primary = window->getCanvas().getTable().getPrimarySlot();
        if (primary >= 0 && random() % 4 != 0) {
            at = onCanvas(window->getCanvas().getCurvePosition(
                window->getCanvas().getTable().getView(primary).name));
        }
        // The window system sends a release after the double click; QTest does not.
        QTest::mouseDClick(&window->getCanvas(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(&window->getCanvas(), Qt::LeftButton, Qt::NoModifier, at);
        return "double click " + what;
    }
    default:
        break;
    }
    QTest::mouseClick(&window->getCanvas(), Qt::LeftButton, modifiers, at);
    return "click " + what + " with modifiers " + std::to_string(modifiers.toInt());
}

// From a point, a handle, a curve or anywhere (a rectangle, or a drag of what lies there).
std::string EditorRandomGestures::dragSomewhere() {
    VoEditor::EditorCanvas &canvas = window->getCanvas();
    QPoint from;
    std::string what = target(from);
    // Large enough now and then for a rectangle round whole shapes.
    const int reach = random() % 4 == 0 ? 300 : 80;
    const QPoint offset(static_cast<int>(random() % (2 * reach + 1)) - reach,
                        static_cast<int>(random() % (3 * reach / 2 + 1)) - 3 * reach / 4);
    if (random() % 2 == 0) {
        // Across the target, so that a rectangle or an outline catches it.
        what = "beside " + what;
        from = onCanvas(from - offset / 2);
    }
    const QPoint to = onCanvas(from + offset);
    const Qt::KeyboardModifiers modifiers = random() % 4 == 0 ? anyModifiers() : Qt::NoModifier;
    // Round the rectangle's corners, so that a lasso's outline is that rectangle; the release is
    // where the pointer last was.
    const std::vector<QPoint> path =
        window->getLassoAction().isChecked()
            ? std::vector<QPoint>{QPoint(to.x(), from.y()), to, QPoint(from.x(), to.y())}
            : std::vector<QPoint>{QPoint(to.x(), from.y()), to};
    QTest::mousePress(&canvas, Qt::LeftButton, modifiers, from);
    QPoint last = from;
    for (const QPoint &corner : path) {
        QTest::mouseMove(&canvas, last + (corner - last) / 2);
        QTest::mouseMove(&canvas, corner);
        last = corner;
    }
    QTest::mouseRelease(&canvas, Qt::LeftButton, modifiers, last);
    return "drag from " + what + " through (" + std::to_string(to.x()) + ", " +
           std::to_string(to.y()) + ")";
}

std::string EditorRandomGestures::pressKey() {
    VoEditor::EditorCanvas &canvas = window->getCanvas();
    static const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    static const Qt::Key others[] = {Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Tab, Qt::Key_Escape};
    switch (random() % 6) {
    case 0: {
        const Qt::Key arrow = arrows[random() % 4];
        const Qt::KeyboardModifiers modifiers =
            random() % 2 == 0 ? Qt::NoModifier : Qt::ShiftModifier;
        const int repeats = static_cast<int>(random() % 3);
        QTest::keyPress(&canvas, arrow, modifiers);
        for (int repeat = 0; repeat < repeats; ++repeat) {
            QKeyEvent held(QEvent::KeyPress, arrow, modifiers, QString(), true);
            QApplication::sendEvent(&canvas, &held);
        }
        QTest::keyRelease(&canvas, arrow, modifiers);
        return "arrow " + std::to_string(arrow) + " pressed " + std::to_string(repeats + 1) +
               " times";
    }
    case 1:
        QTest::keyClick(&canvas, others[random() % 4]);
        return "Delete, Insert, Tab or Escape";
    case 2:
        if (random() % 2 == 0) {
            const bool grow = random() % 2 == 0;
            QTest::keyClick(&canvas, grow ? Qt::Key_BracketRight : Qt::Key_BracketLeft);
            return grow ? "grow the points" : "shrink the points";
        }
        QTest::keyClick(&canvas, random() % 2 == 0 ? Qt::Key_A : Qt::Key_I, Qt::ControlModifier);
        return "Select All or Invert";
    case 3: {
        if (random() % 3 == 0) {
            // Zooms in and out; back to the whole scene now and then, so that the shapes stay in
            // reach.
            QTest::keyClick(&canvas, Qt::Key_F);
            return "fit";
        }
        const QPointF at = anywhere();
        QWheelEvent wheel(at, canvas.mapToGlobal(at), QPoint(),
                          QPoint(0, random() % 2 == 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
        return "wheel";
    }
    case 4:
        if (random() % 3 == 0) {
            QAction *const toggles[] = {&window->getTransformAction(), &window->getLassoAction(),
                                        &window->getSnapGridAction(),
                                        &window->getSnapPointsAction()};
            QAction *const toggle = toggles[random() % 4];
            toggle->trigger();
            return toggle->text().toStdString() + " on or off";
        }
        if (random() % 2 == 0) {
            const bool horizontally = random() % 2 == 0;
            canvas.flip(horizontally);
            return horizontally ? "flip horizontally" : "flip vertically";
        }
        return switchLayer();
    default:
        // A redo, when there is one to make, as often as an undo.
        QTest::keyClick(&canvas,
                        window->getDocument().getHistory().canRedo() && random() % 2 == 0
                            ? Qt::Key_Y
                            : Qt::Key_Z,
                        Qt::ControlModifier);
        return "undo or redo";
    }
}

std::string EditorRandomGestures::switchLayer() {
    QComboBox &layers = window->getLayers();
    const int layer = static_cast<int>(random() % static_cast<unsigned>(layers.count()));
    layers.setCurrentIndex(layer);
    Q_EMIT layers.activated(layer);
    return "layer " + std::to_string(layer);
}

std::string EditorRandomGestures::gesture() {
    switch (random() % 3) {
    case 0:
        return clickSomewhere();
    case 1:
        return dragSomewhere();
    default:
        return pressKey();
    }
}

int EditorRandomGestures::pixelsOffScreen() {
    VoEditor::EditorCanvas &canvas = window->getCanvas();
    const QPoint origin = canvas.mapTo(window.get(), QPoint(0, 0));
    const QImage shown =
        window->screen()
            ->grabWindow(window->winId(), origin.x(), origin.y(), canvas.width(), canvas.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage rendered = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            differing += unlike(shown.pixel(x, y), rendered.pixel(x, y)) ? 1 : 0;
        }
    }
    return differing;
}

void EditorRandomGestures::canvasAgreesWithTheDocumentAfterEveryGesture() {
    const unsigned long seed = environmentNumber("VOEDITOR_GESTURE_SEED", defaultSeed);
    const unsigned long steps = environmentNumber("VOEDITOR_GESTURE_STEPS", defaultSteps);
    random.seed(static_cast<std::mt19937::result_type>(seed));
    window = std::make_unique<EditorWindow>();
    window->resize(1100, 760);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->getCanvas().setFocus();
    std::istringstream scene("shape A 7 3\n" + pointsOf(7, 0, 0, 40) + "shape B 5\n" +
                             pointsOf(5, 200, 10, 35) + "shape C 4 2 single\nshape D 9 1\n" +
                             pointsOf(9, 0, 180, 25) + "layer Mask\nshape M 6 2\n" +
                             pointsOf(6, 230, 190, 30) + "shape N 3\n" + pointsOf(3, 120, 120, 20));
    std::string error;
    QVERIFY2(window->getDocument().open(scene, "<gestures>", error), error.c_str());
    settle();
    const std::string original = window->getDocument().sceneText();
    QStringList failures;
    connect(&window->getDocument(), &VoEditor::EditorDocument::failed, this,
            [&failures](const QString &message) { failures << message; });
    QStringList logged;
    connect(&window->getDocument(), &VoEditor::EditorDocument::logged, this,
            [&logged](const QString &text, bool) { logged << text; });
    for (unsigned long step = 1; step <= steps; ++step) {
        const qsizetype before = logged.size();
        // Every so often the focus leaves for a dock and comes back first (Ctrl+Tab, a click):
        // nothing may change on the way. Counted, not drawn, so that the draw stays as it was.
        const bool away = step % 37 == 0;
        if (away) {
            QTest::keyClick(&window->getCanvas(), Qt::Key_Tab, Qt::ControlModifier);
            window->getCanvas().setFocus();
        }
        const std::string what = (away ? "Ctrl+Tab away and back, then " : "") + gesture();
        settle();
        if (window->getSnapGridAction().isChecked() || window->getSnapPointsAction().isChecked()) {
            const qsizetype after = logged.size();
            for (qsizetype line = before; line < after; ++line) {
                logged << QStringLiteral("snapping: ") + logged[line];
            }
        }
        const std::string context =
            "seed " + std::to_string(seed) + ", step " + std::to_string(step) + " (" + what + "): ";
        const std::string wrong = VoEditorTest::canvasDisagreement(*window);
        QVERIFY2(wrong.empty(), (context + wrong).c_str());
        QVERIFY2(failures.isEmpty(), (context + failures.join("; ").toStdString()).c_str());
        const int offScreen = pixelsOffScreen();
        QVERIFY2(offScreen == 0,
                 (context + std::to_string(offScreen) + " pixels on screen differ from a render")
                     .c_str());
    }
    const QString missing = missingGestures(logged);
    const std::string breadth = "seed " + std::to_string(seed) + " never made " +
                                missing.toStdString() + " in " + std::to_string(steps) + " steps";
    // CI's run must make every kind; another seed may miss one now and then, and says so.
    if (seed == defaultSeed && steps >= defaultSteps) {
        QVERIFY2(missing.isEmpty(), breadth.c_str());
    } else if (!missing.isEmpty()) {
        qWarning("%s", breadth.c_str());
    }
    while (window->getDocument().getHistory().canUndo()) {
        window->getDocument().getHistory().undo();
    }
    settle();
    QVERIFY2(failures.isEmpty(),
             ("undoing every step: " + failures.join("; ").toStdString()).c_str());
    QVERIFY2(VoEditorTest::canvasDisagreement(*window).empty(), "after undoing every step");
    const std::string undone = window->getDocument().sceneText();
    QVERIFY2(undone == original,
             ("seed " + std::to_string(seed) + ": the scene after undoing every step is\n" +
              undone + "instead of\n" + original)
                 .c_str());
    QVERIFY(!window->isWindowModified());
}

QTEST_MAIN(EditorRandomGestures)
#include "EditorRandomGesturesTest.moc"
