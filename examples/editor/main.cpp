// vo-shape-editor: libVoshape's shape selector and selection updater in a Qt 6 desktop editor on
// the example application. See the README.

#include "EditorWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

// Runs each line of the file through the command line, as if typed; false when one failed.
bool runScript(VoEditor::EditorDocument &document, const QString &path, QString &error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = path + QStringLiteral(": cannot open the file");
        return false;
    }
    QTextStream in(&file);
    bool passed = true;
    while (!in.atEnd()) {
        passed = document.runCommand(in.readLine()) && passed;
    }
    if (!passed) {
        error = path + QStringLiteral(": a command failed; the log says which");
    }
    return passed;
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vo-shape-editor"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A shape editor on libVoshape's selection model and its example application."));
    parser.addHelpOption();
    const QCommandLineOption scene(
        QStringLiteral("scene"),
        QStringLiteral("Opens the scene FILE instead of the built-in one."),
        QStringLiteral("FILE"));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Runs the session commands of FILE, as typed into the command line."),
        QStringLiteral("FILE"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Saves an image of the window to FILE (a PNG) and quits."),
        QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("The window's size, WIDTHxHEIGHT (1280x800)."),
                                  QStringLiteral("SIZE"), QStringLiteral("1280x800"));
    parser.addOptions({scene, script, screenshot, size});
    parser.process(application);

    VoEditor::EditorWindow window;
    const QStringList extent = parser.value(size).split(QLatin1Char('x'));
    window.resize(extent.value(0).toInt() > 0 ? extent.value(0).toInt() : 1280,
                  extent.value(1).toInt() > 0 ? extent.value(1).toInt() : 800);
    std::string error;
    if (parser.isSet(scene) &&
        !window.getDocument().openFile(parser.value(scene).toStdString(), error)) {
        std::fprintf(stderr, "vo-shape-editor: %s\n", error.c_str());
        return 2;
    }
    QString failure;
    if (parser.isSet(script) && !runScript(window.getDocument(), parser.value(script), failure)) {
        std::fprintf(stderr, "vo-shape-editor: %s\n", qPrintable(failure));
        return 2;
    }
    window.show();
    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
        QTimer::singleShot(0, &window, [&window, path] {
            const bool saved = window.grab().save(path, "PNG");
            QApplication::exit(saved ? 0 : 2);
        });
    }
    return QApplication::exec();
}
