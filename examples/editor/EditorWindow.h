#pragma once

#include "EditorApplicationDock.h"
#include "EditorCanvas.h"
#include "EditorCommandDock.h"
#include "EditorDocument.h"
#include "EditorLogDock.h"

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QString>

#include <string>

namespace VoEditor {

// vo-shape-editor's main window: the canvas in the middle, the application's selection, the
// callback log and the command line in docks, the picking state and errors in the status bar, a
// layer switcher in a tool bar, and the File, Edit and View menus, whose actions are greyed while
// they cannot apply. Owns the document and every view of it.
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 720;
    static constexpr int minimumHeight = 480;

    explicit EditorWindow(QWidget *parent = nullptr);

    EditorDocument &getDocument() noexcept { return *document; }
    EditorCanvas &getCanvas() noexcept { return *canvas; }
    EditorApplicationDock &getApplicationDock() noexcept { return *applicationDock; }
    EditorLogDock &getLogDock() noexcept { return *logDock; }
    EditorCommandDock &getCommandDock() noexcept { return *commandDock; }
    QComboBox &getLayers() noexcept { return *layers; }
    // Edit > Undo, Redo, Delete, Insert Point, and the "Undo skips selection changes" preference.
    QAction &getUndoAction() noexcept { return *undoAction; }
    QAction &getRedoAction() noexcept { return *redoAction; }
    QAction &getDeleteAction() noexcept { return *deleteAction; }
    QAction &getInsertAction() noexcept { return *insertAction; }
    QAction &getSkipSelectionAction() noexcept { return *skipSelectionAction; }
    // Edit > Transform Box: the canvas's box with scale and rotation grips.
    QAction &getTransformAction() noexcept { return *transformAction; }
    // Edit > Lasso Selection (L): drags on empty canvas draw a freehand outline.
    QAction &getLassoAction() noexcept { return *lassoAction; }
    // View > Snap to Grid (G), Snap to Points and Curves (P).
    QAction &getSnapGridAction() noexcept { return *snapGridAction; }
    QAction &getSnapPointsAction() noexcept { return *snapPointsAction; }

    // Opens the scene file; when it cannot be read or is malformed, a message box names the file
    // and the line, and the open scene stays as it was. Gives true when the scene was replaced.
    bool openSceneFile(const QString &path);
    // Writes the scene to its file (Save Scene As... without one) or to path; a message box says
    // why it could not, the file then holding what it held. True once written.
    bool saveScene();
    bool saveSceneAs();
    bool saveSceneFile(const QString &path);
    // With changes not saved, asks whether to save them first: true to go on (saved, or
    // discarded), false to stay (cancelled, or the save failed).
    bool settleChanges();

    // Writes the active layer's selection to the file (SeSelectionSnapshot's text form); false,
    // with a message box saying why, when it cannot be written.
    bool saveSelectionFile(const QString &path);
    // Puts the selection saved in the file back as one change; a malformed file or an entry that
    // no longer resolves gives a message box naming it, and nothing changes.
    bool loadSelectionFile(const QString &path);

protected:
    // Quitting with changes not saved asks first.
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createEditMenu();
    void createViewMenu();
    void createLayerBar();
    void chooseSceneFile();
    void chooseSelectionFile(bool save);
    // Greys what cannot apply now and names the steps undo and redo would take.
    void updateActions();
    // The scene's name, and "*" while it has changes not saved.
    void updateTitle();
    void fillLayers();
    void showError(const QString &message);
    // The error in the status bar and in a message box titled title, after the outcome.
    void refuse(const QString &title, const QString &outcome, const std::string &error);

    EditorDocument *document;
    EditorCanvas *canvas;
    EditorApplicationDock *applicationDock;
    EditorLogDock *logDock;
    EditorCommandDock *commandDock;
    QComboBox *layers = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *deleteAction = nullptr;
    QAction *insertAction = nullptr;
    QAction *skipSelectionAction = nullptr;
    QAction *transformAction = nullptr;
    QAction *lassoAction = nullptr;
    QAction *snapGridAction = nullptr;
    QAction *snapPointsAction = nullptr;
};

} // namespace VoEditor
