#include "EditorWindow.h"

#include "SessionSelectionFile.h"

#include "AppShapeInterface.h"

#include "foundation/Vector.h"

#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>

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
    createLayerBar();
    connect(canvas, &EditorCanvas::pickingChanged, this, [this](const QString &message) {
        statusBar()->setStyleSheet(QString());
        statusBar()->showMessage(message);
    });
    connect(document, &EditorDocument::failed, this, &EditorWindow::showError);
    connect(document, &EditorDocument::quitRequested, this, &EditorWindow::close);
    connect(document, &EditorDocument::sceneReplaced, this, [this] {
        setWindowTitle(
            tr("vo-shape-editor: %1").arg(QString::fromStdString(document->getSource())));
        fillLayers();
    });
    connect(document, &EditorDocument::layerActivated, this, &EditorWindow::fillLayers);
    connect(document, &EditorDocument::edited, this, &EditorWindow::updateActions);
    connect(&document->getHistory(), &EditorUndoHistory::stepsChanged, this,
            &EditorWindow::updateActions);
    statusBar()->showMessage(tr("Click a shape; Shift+click adds, drag on empty canvas selects"));
    updateActions();
    canvas->setFocus();
}

void EditorWindow::createMenus() {
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open Scene..."), QKeySequence::Open, this, &EditorWindow::chooseSceneFile);
    file->addSeparator();
    file->addAction(tr("&Save Selection..."), QKeySequence::Save, this,
                    [this] { chooseSelectionFile(true); });
    file->addAction(tr("&Load Selection..."), this, [this] { chooseSelectionFile(false); });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &EditorWindow::close);
    createEditMenu();
    createViewMenu();
}

// The canvas takes the keys it handles itself while it has the focus, so a menu shortcut never
// runs a gesture twice; elsewhere (a dock) the shortcuts below run them.
void EditorWindow::createEditMenu() {
    EditorGestures &gestures = canvas->getGestures();
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    undoAction = edit->addAction(tr("&Undo"), this, [&gestures] { gestures.undo(); });
    undoAction->setShortcuts(QKeySequence::Undo);
    redoAction = edit->addAction(tr("&Redo"), this, [&gestures] { gestures.redo(); });
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    skipSelectionAction = edit->addAction(tr("Undo &Skips Selection Changes"));
    skipSelectionAction->setCheckable(true);
    connect(skipSelectionAction, &QAction::toggled, this,
            [this](bool skip) { document->getHistory().setSkippingSelection(skip); });
    edit->addSeparator();
    edit->addAction(tr("Select &All"), QKeySequence::SelectAll, this,
                    [&gestures] { gestures.selectAll(); });
    edit->addAction(tr("Select &Nothing\tEsc"), this, [&gestures] { gestures.selectNothing(); });
    edit->addAction(tr("&Invert Selection"), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                    [&gestures] { gestures.invertSelection(); });
    edit->addAction(tr("&Next Point\tTab"), this, [&gestures] { gestures.step(true); });
    edit->addAction(tr("&Previous Point\tShift+Tab"), this, [&gestures] { gestures.step(false); });
    edit->addSeparator();
    deleteAction =
        edit->addAction(tr("&Delete"), this, [&gestures] { gestures.deleteSelection(); });
    deleteAction->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
    insertAction =
        edit->addAction(tr("&Insert Point\tIns"), this, [&gestures] { gestures.insertPoint(); });
}

// Every part of the window is a key away.
void EditorWindow::createViewMenu() {
    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("&Canvas"), QKeySequence(Qt::CTRL | Qt::Key_1), this,
                    [this] { canvas->setFocus(Qt::ShortcutFocusReason); });
    view->addAction(tr("&Application Selection"), QKeySequence(Qt::CTRL | Qt::Key_2), this, [this] {
        applicationDock->raise();
        applicationDock->widget()->setFocus(Qt::ShortcutFocusReason);
    });
    view->addAction(tr("Callback &Log"), QKeySequence(Qt::CTRL | Qt::Key_3), this, [this] {
        logDock->raise();
        logDock->getText().setFocus(Qt::ShortcutFocusReason);
    });
    view->addAction(tr("Command &Line"), QKeySequence(Qt::CTRL | Qt::Key_L), this, [this] {
        commandDock->raise();
        commandDock->widget()->setFocus(Qt::ShortcutFocusReason);
    });
}

void EditorWindow::createLayerBar() {
    QToolBar *bar = addToolBar(tr("Layers"));
    bar->setObjectName(QStringLiteral("layerBar"));
    layers = new QComboBox(bar);
    layers->setObjectName(QStringLiteral("layers"));
    layers->setToolTip(tr("The layer whose shapes the canvas shows and edits"));
    auto *label = new QLabel(tr("&Layer: "), bar);
    label->setBuddy(layers);
    bar->addWidget(label);
    bar->addWidget(layers);
    connect(layers, &QComboBox::activated, this,
            [this](int layer) { document->activateLayer(layer); });
    fillLayers();
}

void EditorWindow::fillLayers() {
    const QSignalBlocker quiet(layers);
    layers->clear();
    for (const std::string &name : document->getSession().getLayerNames()) {
        layers->addItem(QString::fromStdString(name));
    }
    layers->setCurrentIndex(document->getSession().getActiveLayer());
    layers->setEnabled(layers->count() > 1);
    updateActions();
}

void EditorWindow::updateActions() {
    if (undoAction == nullptr) {
        return;
    }
    const EditorUndoHistory &history = document->getHistory();
    undoAction->setEnabled(history.canUndo());
    undoAction->setText(history.canUndo() ? tr("&Undo %1").arg(history.undoText()) : tr("&Undo"));
    redoAction->setEnabled(history.canRedo());
    redoAction->setText(history.canRedo() ? tr("&Redo %1").arg(history.redoText()) : tr("&Redo"));
    deleteAction->setEnabled(document->getSelector().getSelection()->getNbItems() > 0);
    Vo::Vector<int> points;
    if (document->getSession().getPrimaryShape() != nullptr) {
        document->getSelector().getSelectedPoints(points);
    }
    insertAction->setEnabled(!points.empty());
}

void EditorWindow::showError(const QString &message) {
    statusBar()->setStyleSheet(
        QStringLiteral("QStatusBar { color: %1; }").arg(EditorLogDock::errorColour().name()));
    statusBar()->showMessage(message);
}

void EditorWindow::chooseSceneFile() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open a scene"), QString(),
                                                      tr("Scenes (*.scene);;All files (*)"));
    if (!path.isEmpty()) {
        openSceneFile(path);
    }
}

void EditorWindow::chooseSelectionFile(bool save) {
    const QString filter = tr("Selections (*.selection);;All files (*)");
    const QString path =
        save ? QFileDialog::getSaveFileName(this, tr("Save the selection"), QString(), filter)
             : QFileDialog::getOpenFileName(this, tr("Load a selection"), QString(), filter);
    if (path.isEmpty()) {
        return;
    }
    if (save) {
        saveSelectionFile(path);
    } else {
        loadSelectionFile(path);
    }
}

bool EditorWindow::openSceneFile(const QString &path) {
    std::string error;
    if (document->openFile(path.toStdString(), error)) {
        return true;
    }
    showError(QString::fromStdString(error));
    QMessageBox::warning(this, tr("Cannot open the scene"),
                         tr("The scene was not opened; the open scene stays as it was.\n\n%1")
                             .arg(QString::fromStdString(error)));
    return false;
}

bool EditorWindow::saveSelectionFile(const QString &path) {
    const std::string problem =
        VoSession::SessionSelectionFile(VoSession::SessionFileSystem::standard())
            .save(path.toStdString(), document->captureSelection());
    if (problem.empty()) {
        document->note(tr("saved the selection to %1").arg(path));
        return true;
    }
    const QString error = QString::fromStdString(problem);
    showError(error);
    QMessageBox::warning(this, tr("Cannot save the selection"), error);
    return false;
}

bool EditorWindow::loadSelectionFile(const QString &path) {
    Vo::SeSelectionSnapshot snapshot;
    std::string error;
    if (!VoSession::SessionSelectionFile(VoSession::SessionFileSystem::standard())
             .load(path.toStdString(), snapshot, error)) {
        showError(QString::fromStdString(error));
    } else if (document->restoreSelection(snapshot, error)) {
        return true;
    }
    QMessageBox::warning(this, tr("Cannot load the selection"),
                         tr("The selection was not loaded and stays as it was.\n\n%1")
                             .arg(QString::fromStdString(error)));
    return false;
}

} // namespace VoEditor
