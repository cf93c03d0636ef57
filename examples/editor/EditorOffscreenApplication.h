#pragma once

#include <QApplication>
#include <QByteArray>

namespace VoEditor {

// One QApplication for a whole run of the editor's GoogleTest suites or of the benchmarks, on the
// offscreen platform unless another is set. Never destroyed: Qt's own statics may be gone by the
// time a static destructor would run.
class EditorOffscreenApplication {
public:
    EditorOffscreenApplication() = delete;

    static void start() {
        static int argc = 1;
        static char name[] = "vo_editor";
        static char *argv[] = {name, nullptr};
        static QApplication *application = [] {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            return new QApplication(argc, argv);
        }();
        (void)application;
    }
};

} // namespace VoEditor
