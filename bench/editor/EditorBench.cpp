// The Qt editor's canvas: Select All on one shape of N points then one repaint, a repaint with all
// N points selected, and a repaint of a scene of N shapes. Rendered offscreen into an image, as the
// window system would have the canvas paint itself. Then the whole window with its docks shown:
// a gesture and everything the event loop does before the window shows its result, and undo; and,
// on scenes with positions, picking among N points, a marquee's indices, one frame of a drag,
// opening and saving.

#include "EditorCanvas.h"
#include "EditorDocument.h"
#include "EditorOffscreenApplication.h"
#include "EditorWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void startApplication() { VoEditor::EditorOffscreenApplication::start(); }

// A document on the scene, and its canvas at the editor window's usual size.
struct Editor {
    explicit Editor(const std::string &scene) {
        std::istringstream in(scene);
        std::string error;
        if (!document.open(in, "<bench>", error)) {
            throw std::runtime_error(error);
        }
        canvas.resize(900, 700);
    }

    void repaint() {
        canvas.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }

    VoEditor::EditorDocument document;
    VoEditor::EditorCanvas canvas{document};
    QImage image{900, 700, QImage::Format_ARGB32_Premultiplied};
};

std::string oneShape(int nbPoints) { return "shape Big " + std::to_string(nbPoints) + " 3\n"; }

std::string manyShapes(int nbShapes) {
    std::string scene;
    for (int index = 0; index < nbShapes; ++index) {
        scene += "shape S" + std::to_string(index) + " 5 2\n";
    }
    return scene;
}

// Each iteration: the shape's points unselected, Select All (the gesture, through the document,
// with the updater's mirror into the application's selection), one repaint.
void EditorSelectAllRepaint(benchmark::State &state) {
    startApplication();
    Editor editor(oneShape(static_cast<int>(state.range(0))));
    VoEditor::EditorGestures &gestures = editor.canvas.getGestures();
    VoExample::AppShapeInterface &shape = *editor.document.getSession().findShape("Big");
    gestures.clickShape(shape, false);
    for (auto _ : state) {
        editor.document.getSelector().unselectPoints();
        gestures.selectAll();
        editor.repaint();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorSelectAllRepaint)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// One repaint with every point of the shape selected and labelled where labels fit.
void EditorRepaintSelectedPoints(benchmark::State &state) {
    startApplication();
    Editor editor(oneShape(static_cast<int>(state.range(0))));
    VoEditor::EditorGestures &gestures = editor.canvas.getGestures();
    gestures.clickShape(*editor.document.getSession().findShape("Big"), false);
    gestures.selectAll();
    for (auto _ : state) {
        editor.repaint();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorRepaintSelectedPoints)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// One repaint of N shapes of 5 points and 2 handles, all selected (Select All with none primary
// selects every shape), the first primary.
void EditorRepaintShapes(benchmark::State &state) {
    startApplication();
    Editor editor(manyShapes(static_cast<int>(state.range(0))));
    editor.canvas.getGestures().selectAll();
    for (auto _ : state) {
        editor.repaint();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorRepaintShapes)->RangeMultiplier(10)->Range(10, 1000)->Unit(benchmark::kMillisecond);

// The editor's window at its usual size, canvas and docks shown, on the offscreen platform: what
// a person sees, each view doing its own work for every change.
struct Window {
    explicit Window(const std::string &scene) {
        open(scene);
        window.resize(1280, 800);
        window.show();
        settle();
    }

    // Room for the largest scenes below: 10^6 points.
    static VoSession::SessionScene::Limits largeLimits() {
        VoSession::SessionScene::Limits limits;
        limits.maxCount = 1000000;
        limits.maxTotal = 2000000;
        return limits;
    }

    void open(const std::string &scene) {
        window.getDocument().setLimits(largeLimits());
        std::istringstream in(scene);
        std::string error;
        if (!window.getDocument().open(in, "<bench>", error)) {
            throw std::runtime_error(error);
        }
    }

    // What the event loop does before the change shows: the posted events, the views' queued
    // work, and the repaint of every region marked dirty into the window's backing store.
    static void settle() {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }

    // A key typed on the canvas, as the window system delivers it.
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(&window.getCanvas(), &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers);
        QApplication::sendEvent(&window.getCanvas(), &release);
    }

    // A click at a place of the canvas.
    void click(const QPoint &at, Qt::KeyboardModifiers modifiers) {
        const QPointF local(at);
        const QPointF global(window.getCanvas().mapToGlobal(at));
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QApplication::sendEvent(&window.getCanvas(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                            modifiers);
        QApplication::sendEvent(&window.getCanvas(), &release);
    }

    int nbSelected() { return window.getDocument().getSelector().getNbSelectedShape(); }

    VoEditor::EditorWindow window;
};

// Each iteration: Ctrl+A on N shapes of which none is selected, until the window shows it.
void EditorWindowSelectAllShapes(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(manyShapes(count));
    for (auto _ : state) {
        state.PauseTiming();
        editor.key(Qt::Key_Escape);
        Window::settle();
        state.ResumeTiming();
        editor.key(Qt::Key_A, Qt::ControlModifier);
        Window::settle();
    }
    if (editor.nbSelected() != count) {
        state.SkipWithError("Ctrl+A did not select every shape");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowSelectAllShapes)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: Ctrl+A on the primary shape of N points, none of them selected, until the window
// shows it: the library's call, the mirror of 2N inputs, the docks and the repaint.
void EditorWindowSelectAllPoints(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(oneShape(count));
    VoEditor::EditorDocument &document = editor.window.getDocument();
    for (auto _ : state) {
        state.PauseTiming();
        editor.window.getCanvas().getGestures().clickShape(*document.getSession().findShape("Big"),
                                                           false);
        Window::settle();
        state.ResumeTiming();
        editor.key(Qt::Key_A, Qt::ControlModifier);
        Window::settle();
    }
    if (document.getSelector().getPointSelectionRank(count - 1) == 0) {
        state.SkipWithError("Ctrl+A did not select every point");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowSelectAllPoints)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: Escape with all N shapes selected, until the window shows it.
void EditorWindowSelectNothing(benchmark::State &state) {
    startApplication();
    Window editor(manyShapes(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        editor.key(Qt::Key_A, Qt::ControlModifier);
        Window::settle();
        state.ResumeTiming();
        editor.key(Qt::Key_Escape);
        Window::settle();
    }
    if (editor.nbSelected() != 0) {
        state.SkipWithError("Escape left shapes selected");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowSelectNothing)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: Delete with all N points of the one shape selected, until the window shows it.
// The points are gone afterwards: the scene is opened again, untimed.
void EditorWindowDeletePoints(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(oneShape(count));
    VoEditor::EditorDocument &document = editor.window.getDocument();
    for (auto _ : state) {
        state.PauseTiming();
        editor.open(oneShape(count));
        editor.window.getCanvas().getGestures().clickShape(*document.getSession().findShape("Big"),
                                                           false);
        editor.key(Qt::Key_A, Qt::ControlModifier);
        Window::settle();
        state.ResumeTiming();
        editor.key(Qt::Key_Delete);
        Window::settle();
    }
    if (document.getSession().findShape("Big")->getNbPoints() != 0) {
        state.SkipWithError("Delete left points");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowDeletePoints)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: Shift+click on the last of N shapes, the others all selected, until the window
// shows it added; then, untimed, Shift+click again to take it out.
void EditorWindowAddOneShape(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(manyShapes(count));
    const QPoint last = editor.window.getCanvas().getCurvePosition("S" + std::to_string(count - 1));
    editor.key(Qt::Key_A, Qt::ControlModifier);
    editor.click(last, Qt::ShiftModifier);
    Window::settle();
    for (auto _ : state) {
        editor.click(last, Qt::ShiftModifier);
        Window::settle();
        state.PauseTiming();
        editor.click(last, Qt::ShiftModifier);
        Window::settle();
        state.ResumeTiming();
    }
    if (editor.nbSelected() != count - 1) {
        state.SkipWithError("Shift+click did not take the shape out again");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowAddOneShape)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: Ctrl+Z of a step that selected one point, `steps` steps kept in all (before it,
// clicks on two shapes in turn, each a step of its own), until the window shows it; then,
// untimed, Ctrl+Shift+Z. The cost of a step must not depend on how many are kept.
void EditorWindowUndoOnePoint(benchmark::State &state) {
    startApplication();
    const int steps = static_cast<int>(state.range(0));
    Window editor("shape A 10\nshape B 10\n");
    VoEditor::EditorDocument &document = editor.window.getDocument();
    VoEditor::EditorGestures &gestures = editor.window.getCanvas().getGestures();
    for (int step = 0; step + 1 < steps; ++step) {
        gestures.clickShape(*document.getSession().findShape(step % 2 == 0 ? "A" : "B"), false);
    }
    gestures.clickPoint(3, VoEditor::EditorGestures::Click::Alone);
    Window::settle();
    for (auto _ : state) {
        editor.key(Qt::Key_Z, Qt::ControlModifier);
        Window::settle();
        state.PauseTiming();
        editor.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        Window::settle();
        state.ResumeTiming();
    }
    if (document.getHistory().getStack().count() != steps) {
        state.SkipWithError("the steps kept are not the ones made");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowUndoOnePoint)
    ->RangeMultiplier(10)
    ->Range(10, 1000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: Ctrl+Z after deleting all N points of the one shape, until the window shows
// them back and selected; then, untimed, Ctrl+Shift+Z deletes them again.
void EditorWindowUndoDeletePoints(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(oneShape(count));
    VoEditor::EditorDocument &document = editor.window.getDocument();
    editor.window.getCanvas().getGestures().clickShape(*document.getSession().findShape("Big"),
                                                       false);
    editor.key(Qt::Key_A, Qt::ControlModifier);
    editor.key(Qt::Key_Delete);
    Window::settle();
    for (auto _ : state) {
        editor.key(Qt::Key_Z, Qt::ControlModifier);
        Window::settle();
        state.PauseTiming();
        if (document.getSession().findShape("Big")->getNbPoints() != count ||
            document.getSelector().getPointSelectionRank(count - 1) == 0) {
            state.SkipWithError("Undo did not bring the points back selected");
            break;
        }
        editor.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        Window::settle();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowUndoDeletePoints)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// nbShapes shapes of perShape points each, with their positions given: each shape a spiral of
// many turns in a square cell of its own, cells side by side, about ten points a hundred square
// units; the spiral's radius grows a little at random from point to point (seeded: every run
// reads the same scene), so that points do not line up.
std::string positionedShapes(int nbShapes, int perShape) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> jitter(0.98, 1.02);
    const double cell = std::sqrt(10.0 * perShape);
    const int columns = static_cast<int>(std::ceil(std::sqrt(nbShapes)));
    const double turns = std::sqrt(perShape) / 2;
    std::string scene;
    for (int shape = 0; shape < nbShapes; ++shape) {
        const double cx = (shape % columns + 0.5) * cell;
        const double cy = (shape / columns + 0.5) * cell;
        scene += "shape P" + std::to_string(shape) + " " + std::to_string(perShape) + "\npoints";
        for (int point = 0; point < perShape; ++point) {
            const double along = (point + 0.5) / perShape;
            const double radius = 0.45 * cell * std::sqrt(along) * jitter(random);
            const double angle = 2 * 3.14159265358979 * turns * std::sqrt(along);
            scene += " " + std::to_string(cx + radius * std::cos(angle)) + "," +
                     std::to_string(cy + radius * std::sin(angle));
            if (point % 10000 == 9999 && point + 1 < perShape) {
                scene += "\npoints";
            }
        }
        scene += "\n";
    }
    return scene;
}

// Shapes of 10^4 points (or one of N when N is smaller) for N points in all.
std::string positionedPoints(int total) {
    const int perShape = std::min(total, 10000);
    return positionedShapes(total / perShape, perShape);
}

// Each iteration: the point nearest to a place of the canvas, among all N points of the scene,
// as a click looks it up, at places spread over the fitted view.
void EditorWindowPickNearest(benchmark::State &state) {
    startApplication();
    Window editor(positionedPoints(static_cast<int>(state.range(0))));
    const VoEditor::EditorCanvas &canvas = editor.window.getCanvas();
    std::mt19937 random(99);
    std::vector<QPointF> places;
    for (int place = 0; place < 1024; ++place) {
        places.emplace_back(random() % static_cast<unsigned>(canvas.width()),
                            random() % static_cast<unsigned>(canvas.height()));
    }
    std::size_t next = 0;
    int found = 0; // most places of the canvas are near no point: all pay for the lookup
    for (auto _ : state) {
        int slot = -1;
        int index = -1;
        found += canvas.getPicker().findPoint(places[next++ % places.size()], false, slot, index)
                     ? 1
                     : 0;
        benchmark::DoNotOptimize(index);
    }
    // Where a point is drawn, a click finds a point drawn there too.
    int slot = -1;
    int index = -1;
    const QPoint drawn = canvas.getPointPosition("P0", 5);
    if (!canvas.getPicker().findPoint(QPointF(drawn), false, slot, index) ||
        canvas.getPointPosition("P" + std::to_string(slot), index) != drawn) {
        state.SkipWithError("a click did not find the point drawn under it");
    }
    benchmark::DoNotOptimize(found);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowPickNearest)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);

// Each iteration: the indices a rectangle over the whole canvas selects of a primary shape of N
// points, sorted, as the marquee computes them before the library call.
void EditorWindowMarqueeIndices(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(positionedShapes(1, count));
    VoEditor::EditorCanvas &canvas = editor.window.getCanvas();
    canvas.getGestures().clickShape(*editor.window.getDocument().getSession().findShape("P0"),
                                    false);
    Window::settle();
    std::size_t inside = 0;
    for (auto _ : state) {
        inside = canvas.getPicker().findPrimaryPointsIn(QRectF(canvas.rect())).size();
        benchmark::DoNotOptimize(inside);
    }
    if (inside != static_cast<std::size_t>(count)) {
        state.SkipWithError("the marquee missed points");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowMarqueeIndices)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: one mouse move of a drag of N selected points (all of a shape's), and the
// event loop until the window shows them moved: the graph's inputs written, the index and the
// canvas's copy moved, the repaint. The drag goes back and forth, so that it stays on screen.
void EditorWindowDragFrame(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(positionedShapes(1, count));
    VoEditor::EditorCanvas &canvas = editor.window.getCanvas();
    VoEditor::EditorDocument &document = editor.window.getDocument();
    canvas.getGestures().clickShape(*document.getSession().findShape("P0"), false);
    canvas.getGestures().selectAll();
    Window::settle();
    const QPointF from(canvas.getPointPosition("P0", 0));
    const QPointF global(canvas.mapToGlobal(from));
    QMouseEvent press(QEvent::MouseButtonPress, from, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&canvas, &press);
    double x0 = 0;
    double y0 = 0;
    document.getSession().findShape("P0")->getPoint(count - 1, x0, y0);
    int frame = 0;
    for (auto _ : state) {
        const QPointF at = from + QPointF(frame % 2 == 0 ? 20 : 10, 10);
        ++frame;
        QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
        Window::settle();
    }
    QMouseEvent release(QEvent::MouseButtonRelease, from, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&canvas, &release);
    double x1 = 0;
    double y1 = 0;
    document.getSession().findShape("P0")->getPoint(count - 1, x1, y1);
    if (x1 == x0 && frame > 0) {
        state.SkipWithError("the drag moved nothing");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowDragFrame)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: a scene of N points with positions (shapes of 10^3 points) read from its text,
// built in the graph, drawn, the docks following, until the window shows it.
void EditorWindowOpenPositioned(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    const std::string scene = positionedShapes(count / 1000, 1000);
    Window editor("shape Empty 1\n");
    for (auto _ : state) {
        editor.open(scene);
        Window::settle();
    }
    if (editor.window.getCanvas().getIndex().size() != static_cast<std::size_t>(count)) {
        state.SkipWithError("the scene's points are not all indexed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowOpenPositioned)
    ->RangeMultiplier(10)
    ->Range(10000, 100000)
    ->Unit(benchmark::kMillisecond);

// Each iteration: File > Save of a scene of N points with positions (shapes of 10^3 points) over
// the file the last iteration wrote: the scene's text, a temporary file written, synced and
// renamed over the old one, until the window shows the title saved.
void EditorWindowSavePositioned(benchmark::State &state) {
    startApplication();
    const int count = static_cast<int>(state.range(0));
    Window editor(positionedShapes(count / 1000, 1000));
    const QTemporaryDir directory;
    const std::string target = directory.filePath(QStringLiteral("scene.scene")).toStdString();
    std::string error;
    for (auto _ : state) {
        if (!editor.window.getDocument().save(target, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        Window::settle();
    }
    if (QFileInfo(QString::fromStdString(target)).size() <
        static_cast<qint64>(editor.window.getDocument().sceneText().size())) {
        state.SkipWithError("the saved file is shorter than the scene's text");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EditorWindowSavePositioned)
    ->RangeMultiplier(10)
    ->Range(10000, 100000)
    ->Unit(benchmark::kMillisecond);

} // namespace
