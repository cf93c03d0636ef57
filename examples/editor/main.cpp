// vo-shape-editor: libVoshape's shape selector and selection updater in a Qt 6 desktop editor on
// the example application. See docs/editor.md.

#include "EditorWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <climits>
#include <cstdio>
#include <string>

namespace {

// The scene bounds of the command line into limits; false, with error set, for a value that is
// no count.
bool parseLimits(const QCommandLineParser &parser, const QCommandLineOption &shapes,
                 const QCommandLineOption &count, const QCommandLineOption &total,
                 VoSession::SessionScene::Limits &limits, QString &error) {
    const auto read = [&parser, &error](const QCommandLineOption &option, long long largest,
                                        long long &value) {
        if (!parser.isSet(option)) {
            return true;
        }
        bool valid = false;
        const long long read = parser.value(option).toLongLong(&valid);
        if (!valid || read < 0 || read > largest) {
            error = QStringLiteral("--%1 \"%2\" is no count (expected 0 to %3)")
                        .arg(option.names().constFirst(), parser.value(option))
                        .arg(largest);
            return false;
        }
        value = read;
        return true;
    };
    long long maxShapes = static_cast<long long>(limits.maxShapes);
    long long maxCount = limits.maxCount;
    if (!read(shapes, INT_MAX, maxShapes) || !read(count, INT_MAX, maxCount) ||
        !read(total, LLONG_MAX, limits.maxTotal)) {
        return false;
    }
    limits.maxShapes = static_cast<std::size_t>(maxShapes);
    limits.maxCount = static_cast<int>(maxCount);
    return true;
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
        QStringLiteral("Runs the session commands of FILE (- for standard input) as one script, "
                       "as the session driver does, before the window shows."),
        QStringLiteral("FILE"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Saves an image of the window to FILE (a PNG) and quits."),
        QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("The window's size, WIDTHxHEIGHT (1280x800)."),
                                  QStringLiteral("SIZE"), QStringLiteral("1280x800"));
    const QCommandLineOption maxShapes(
        QStringLiteral("max-shapes"),
        QStringLiteral("At most N shapes in a scene, deleted ones included (%1).")
            .arg(VoSession::SessionScene::defaultMaxShapes),
        QStringLiteral("N"));
    const QCommandLineOption maxCount(
        QStringLiteral("max-count"),
        QStringLiteral("At most N points, and N handles, in one shape (%1).")
            .arg(VoSession::SessionScene::defaultMaxCount),
        QStringLiteral("N"));
    const QCommandLineOption maxTotal(
        QStringLiteral("max-total"),
        QStringLiteral("At most N points and handles over all shapes (%1).")
            .arg(VoSession::SessionScene::defaultMaxTotal),
        QStringLiteral("N"));
    parser.addOptions({scene, script, screenshot, size, maxShapes, maxCount, maxTotal});
    parser.process(application);

    VoSession::SessionScene::Limits limits;
    QString invalid;
    if (!parseLimits(parser, maxShapes, maxCount, maxTotal, limits, invalid)) {
        std::fprintf(stderr, "vo-shape-editor: %s\n", qPrintable(invalid));
        return 2;
    }
    VoEditor::EditorWindow window;
    window.getDocument().setLimits(limits);
    const QStringList extent = parser.value(size).split(QLatin1Char('x'));
    window.resize(extent.value(0).toInt() > 0 ? extent.value(0).toInt() : 1280,
                  extent.value(1).toInt() > 0 ? extent.value(1).toInt() : 800);
    std::string error;
    if (parser.isSet(scene) &&
        !window.getDocument().openFile(parser.value(scene).toStdString(), error)) {
        std::fprintf(stderr, "vo-shape-editor: %s\n", error.c_str());
        return 2;
    }
    if (parser.isSet(script) &&
        !window.getDocument().runScriptFile(parser.value(script).toStdString(), error)) {
        std::fprintf(stderr, "vo-shape-editor: %s\n", error.c_str());
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
