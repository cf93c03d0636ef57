#include "EditorWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include <string>

namespace VoEditor {

EditorWindow::EditorWindow(QWidget *parent)
    : QMainWindow(parent), document(new EditorDocument(this)),
      canvas(new EditorCanvas(*document, this)),
      applicationDock(new EditorApplicationDock(*document, this)),
      logDock(new EditorLogDock(*document, this)),
      commandDock(new EditorCommandDock(*document, this)) {
    setWindowTitle(tr("vo-shape-editor"));
    setCentralWidget(canvas);
    addDockWidget(Qt::RightDockWidgetArea, applicationDock);
    addDockWidget(Qt::RightDockWidgetArea, logDock);
    addDockWidget(Qt::BottomDockWidgetArea, commandDock);
    resizeDocks({applicationDock}, {380}, Qt::Horizontal);
    createMenus();
    connect(canvas, &EditorCanvas::pickingChanged, this,
            [this](const QString &message) { statusBar()->showMessage(message); });
    connect(document, &EditorDocument::quitRequested, this, &EditorWindow::close);
    connect(document, &EditorDocument::sceneReplaced, this, [this] {
        setWindowTitle(
            tr("vo-shape-editor: %1").arg(QString::fromStdString(document->getSource())));
    });
    statusBar()->showMessage(tr("Click a shape; Shift+click adds, drag on empty canvas selects"));
    canvas->setFocus();
}

void EditorWindow::createMenus() {
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open scene..."), QKeySequence::Open, this, &EditorWindow::chooseSceneFile);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &EditorWindow::close);

    // The canvas takes these keys itself while it has the focus, so a menu shortcut never runs a
    // gesture twice. Keys that other widgets need (Tab, Escape, Insert) are only shown here.
    EditorGestures &gestures = canvas->getGestures();
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(tr("&Undo"), QKeySequence::Undo, this, [&gestures] { gestures.undo(); });
    edit->addAction(tr("&Redo"), QKeySequence::Redo, this, [&gestures] { gestures.redo(); });
    edit->addSeparator();
    edit->addAction(tr("Select &All"), QKeySequence::SelectAll, this,
                    [&gestures] { gestures.selectAll(); });
    edit->addAction(tr("Select &Nothing\tEsc"), this, [&gestures] { gestures.selectNothing(); });
    edit->addAction(tr("&Next Point\tTab"), this, [&gestures] { gestures.step(true); });
    edit->addAction(tr("&Previous Point\tShift+Tab"), this, [&gestures] { gestures.step(false); });
    edit->addSeparator();
    edit->addAction(tr("&Delete"), QKeySequence::Delete, this,
                    [&gestures] { gestures.deleteSelection(); });
    edit->addAction(tr("&Insert Point\tIns"), this, [&gestures] { gestures.insertPoint(); });
}

void EditorWindow::chooseSceneFile() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open a scene"), QString(),
                                                      tr("Scenes (*.scene);;All files (*)"));
    if (!path.isEmpty()) {
        openSceneFile(path);
    }
}

bool EditorWindow::openSceneFile(const QString &path) {
    std::string error;
    if (document->openFile(path.toStdString(), error)) {
        return true;
    }
    QMessageBox::warning(this, tr("Cannot open the scene"),
                         tr("The scene was not opened; the open scene stays as it was.\n\n%1")
                             .arg(QString::fromStdString(error)));
    return false;
}

} // namespace VoEditor
