// The Qt editor's canvas: Select All on one shape of N points then one repaint, a repaint with all
// N points selected, and a repaint of a scene of N shapes. Rendered offscreen into an image, as the
// window system would have the canvas paint itself. Then the whole window with its docks shown:
// a gesture and everything the event loop does before the window shows its result, and undo.

#include "EditorCanvas.h"
#include "EditorDocument.h"
#include "EditorWindow.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// One application for the whole run, on the offscreen platform unless another is set. Never
// destroyed: Qt's own statics may be gone by the time a static destructor would run.
void startApplication() {
    static int argc = 1;
    static char name[] = "vo_bench";
    static char *argv[] = {name, nullptr};
    static QApplication *application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return new QApplication(argc, argv);
    }();
    (void)application;
}

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

    void open(const std::string &scene) {
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

} // namespace
