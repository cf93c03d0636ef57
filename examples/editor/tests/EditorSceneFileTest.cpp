// Saving the edited scene: File > Save writes every shape, layer and position through the
// session's scene writer, by way of a temporary file renamed over the old one; the title says
// while changes are not saved; quitting or opening another scene with changes not saved asks.

#include "EditorWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <ios>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

using VoEditor::EditorWindow;

namespace {

// Gives its text, then fails as a disk may: the stream reading it goes bad.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string given) : text(std::move(given)) {
        setg(text.data(), text.data(), text.data() + text.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("the disk failed"); }

private:
    std::string text;
};

} // namespace

class EditorSceneFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { window.reset(); }

    void savedSceneReopensToTheSameDocument();
    void failedSaveLeavesTheFileWhole();
    void aFileThatCannotBeOpenedIsNamed();
    void quittingOrOpeningWithChangesNotSavedAsks();
    void anOpenedSceneStartsUneditedWithNothingToUndo();

private:
    void open(const std::string &scene);
    // A move of the primary shape's selected point, one step of the undo stack.
    void nudgePoint(const char *shape, int index);
    // Clicks that button of the message box open when events are next processed, and keeps what
    // it said; shown stays empty when there is none.
    void answerNextBox(QMessageBox::StandardButton button);
    QString readFile(const QString &path);

    std::unique_ptr<EditorWindow> window;
    std::unique_ptr<QTemporaryDir> folder;
    QString shown;
};

void EditorSceneFileTest::init() {
    window = std::make_unique<EditorWindow>();
    window->resize(1280, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    folder = std::make_unique<QTemporaryDir>();
    shown.clear();
}

void EditorSceneFileTest::open(const std::string &scene) {
    std::istringstream in(scene);
    std::string error;
    QVERIFY2(window->getDocument().open(in, "<test>", error), error.c_str());
}

void EditorSceneFileTest::nudgePoint(const char *shape, int index) {
    VoEditor::EditorCanvas &canvas = window->getCanvas();
    QTest::mouseClick(&canvas, Qt::LeftButton, Qt::NoModifier, canvas.getCurvePosition(shape));
    QTest::mouseClick(&canvas, Qt::LeftButton, Qt::NoModifier,
                      canvas.getPointPosition(shape, index));
    QTest::keyClick(&canvas, Qt::Key_Right);
}

void EditorSceneFileTest::answerNextBox(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, this, [this, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box != nullptr) {
            shown = box->text();
            box->button(button)->click();
        }
    });
}

QString EditorSceneFileTest::readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Edited (a nudge, a deletion, an insertion, in two layers), saved, and opened again: the same
// text, so the same shapes, counts, layers and doubles. The title marks the changes until they
// are saved, and again when an undo leaves what the file holds; a redo back to it unmarks it.
void EditorSceneFileTest::savedSceneReopensToTheSameDocument() {
    open("shape A 4 2\npoints 0,0 0.1,0.2 1e-300,3 -7.25,1\nhandles 0.3 0.7\nshape C 5 single\n"
         "shape D 3\npoints 9,9 10,10 11,9\nlayer Mask\nshape M 2\npoints 2,2 3,3\n");
    QVERIFY(!window->isWindowModified());
    QVERIFY(window->windowTitle().endsWith("<test>[*]"));
    nudgePoint("A", 1);
    QVERIFY(window->isWindowModified());
    QTest::keyClick(&window->getCanvas(), Qt::Key_Insert);
    QTest::keyClick(&window->getCanvas(), Qt::Key_Escape);
    QTest::mouseClick(&window->getCanvas(), Qt::LeftButton, Qt::NoModifier,
                      window->getCanvas().getCurvePosition("D"));
    QTest::keyClick(&window->getCanvas(), Qt::Key_Delete);
    QVERIFY(window->getDocument().runCommand("layer Mask"));
    nudgePoint("M", 0);
    const QString path = folder->filePath("edited.scene");
    QVERIFY(window->saveSceneFile(path));
    QVERIFY(!window->isWindowModified());
    QVERIFY(window->windowTitle().contains("edited.scene"));
    const std::string text = window->getDocument().sceneText();
    QCOMPARE(readFile(path).toStdString(), text);
    QVERIFY(text.find("shape D") == std::string::npos);
    QVERIFY(text.find("shape A 5 2\n") != std::string::npos);

    EditorWindow other;
    QVERIFY(other.openSceneFile(path));
    QCOMPARE(other.getDocument().sceneText(), text);
    QCOMPARE(other.getDocument().getSession().getLayerNames(),
             window->getDocument().getSession().getLayerNames());

    QTest::keyClick(&window->getCanvas(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window->isWindowModified());
    QTest::keyClick(&window->getCanvas(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(!window->isWindowModified());
    // Ctrl+S writes to the file the scene has now; a command's edit is a change too.
    QVERIFY(window->getDocument().runCommand("delete-point M 0"));
    QVERIFY(window->isWindowModified());
    QTest::keySequence(window.get(), QKeySequence::Save);
    QVERIFY(!window->isWindowModified());
    QVERIFY(readFile(path).contains("shape M 1\n"));
}

// A save that cannot be written says why, and the file it was to replace holds what it held; a
// save that succeeds leaves no temporary file beside its file.
void EditorSceneFileTest::failedSaveLeavesTheFileWhole() {
    const QString path = folder->filePath("kept.scene");
    QVERIFY(window->saveSceneFile(path));
    const QString before = readFile(path);
    nudgePoint("A", 0);
    answerNextBox(QMessageBox::Ok);
    QVERIFY(!window->saveSceneFile(folder->filePath("no/such/folder/x.scene")));
    QVERIFY2(shown.contains("not saved"), qPrintable(shown));
    QVERIFY2(shown.contains("no/such/folder/x.scene: cannot write the file"), qPrintable(shown));
    QVERIFY(window->isWindowModified());
    answerNextBox(QMessageBox::Ok);
    QVERIFY(!window->saveSceneFile(folder->path()));
    QCOMPARE(readFile(path), before);
    QVERIFY(window->saveSceneFile(path));
    QVERIFY(readFile(path) != before);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"kept.scene"});
}

// A scene file that cannot be opened (none there, or a folder) is named in the error, and the scene
// open stays.
void EditorSceneFileTest::aFileThatCannotBeOpenedIsNamed() {
    const std::string text = window->getDocument().sceneText();
    for (const QString &path : {folder->filePath("missing.scene"), folder->path()}) {
        std::string error;
        QVERIFY(!window->getDocument().openFile(path.toStdString(), error));
        QCOMPARE(error, path.toStdString() + ": cannot open the file");
        QCOMPARE(window->getDocument().sceneText(), text);
    }
    // One that fails part way through is refused whole: what was read is not opened.
    FailingBuffer failing("shape Z 2\n");
    std::istream in(&failing);
    std::string error;
    QVERIFY(!window->getDocument().open(in, "broken.scene", error));
    QCOMPARE(error, std::string("broken.scene: cannot read the file"));
    QCOMPARE(window->getDocument().sceneText(), text);
}

// With changes not saved, quitting (Ctrl+Q, the `quit` command) asks: Cancel keeps the window
// open, Save writes the scene first, Discard goes on without. Without changes nothing is asked.
void EditorSceneFileTest::quittingOrOpeningWithChangesNotSavedAsks() {
    answerNextBox(QMessageBox::Cancel);
    QVERIFY(window->settleChanges());
    QTest::qWait(1);
    QVERIFY(shown.isEmpty());
    nudgePoint("A", 0);
    answerNextBox(QMessageBox::Cancel);
    QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY2(shown.contains("not saved"), qPrintable(shown));
    QVERIFY(window->isVisible());
    answerNextBox(QMessageBox::Cancel);
    QVERIFY(window->getDocument().runCommand("quit"));
    QVERIFY(window->isVisible());
    // Opening another scene asks the same.
    answerNextBox(QMessageBox::Cancel);
    QVERIFY(!window->settleChanges());
    const QString path = folder->filePath("first.scene");
    QVERIFY(window->saveSceneFile(path));
    nudgePoint("A", 0);
    answerNextBox(QMessageBox::Save);
    QVERIFY(window->settleChanges());
    QCOMPARE(readFile(path).toStdString(), window->getDocument().sceneText());
    nudgePoint("A", 0);
    answerNextBox(QMessageBox::Discard);
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
}

// A scene opened over an edited one starts afresh: nothing to undo (the undo steps were the other
// scene's) and nothing unsaved, whether the edits came by gestures or by commands.
void EditorSceneFileTest::anOpenedSceneStartsUneditedWithNothingToUndo() {
    open("shape A 3\npoints 0,0 5,5 10,0\n");
    nudgePoint("A", 1);
    QVERIFY(window->getUndoAction().isEnabled());
    open("shape B 3\npoints 0,0 5,5 10,0\n");
    QVERIFY(!window->getUndoAction().isEnabled());
    QVERIFY(!window->getDocument().isModified());
    QVERIFY(window->getDocument().runCommand("delete-point B 0"));
    QVERIFY(window->getDocument().isModified());
    open("shape C 3\npoints 0,0 5,5 10,0\n");
    QVERIFY(!window->getDocument().isModified());
    QVERIFY(!window->isWindowModified());
    // A command that changes handles only, or adds a shape without points, is an edit too.
    for (const char *command : {"delete-handle H 0", "shape E 0"}) {
        open("shape H 2 2\npoints 0,0 5,5\nhandles 0.25 0.75\n");
        QVERIFY(!window->getDocument().isModified());
        QVERIFY2(window->getDocument().runCommand(command), command);
        QVERIFY2(window->getDocument().isModified(), command);
    }
    // So is a script that takes a handle and gives a point, or takes a point and gives a shape:
    // as many parts, not the same ones.
    for (const char *swap :
         {"delete-handle H 0\ninsert-point H 1\n", "delete-point H 0\nshape E 0\n"}) {
        open("shape H 2 2\npoints 0,0 5,5\nhandles 0.25 0.75\n");
        QFile script(folder->filePath("swap.script"));
        QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(swap);
        script.close();
        std::string error;
        QVERIFY2(window->getDocument().runScriptFile(script.fileName().toStdString(), error),
                 error.c_str());
        QVERIFY2(window->getDocument().isModified(), swap);
    }
}

QTEST_MAIN(EditorSceneFileTest)
#include "EditorSceneFileTest.moc"
