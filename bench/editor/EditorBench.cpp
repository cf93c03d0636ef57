// The Qt editor's canvas: Select All on one shape of N points then one repaint, a repaint with all
// N points selected, and a repaint of a scene of N shapes. Rendered offscreen into an image, as the
// window system would have the canvas paint itself.

#include "EditorCanvas.h"
#include "EditorDocument.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <sstream>
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

} // namespace
