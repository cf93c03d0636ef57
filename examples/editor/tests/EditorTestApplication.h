#pragma once

#include <QApplication>
#include <QByteArray>

// One QApplication for a whole GoogleTest run of the editor's tests, on the offscreen platform
// unless another is set. Never destroyed: Qt's own statics may be gone by the time a static
// destructor would run.
class EditorTestApplication {
public:
    EditorTestApplication() = delete;

    static void start() {
        static int argc = 1;
        static char name[] = "vo_editor_tests";
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
