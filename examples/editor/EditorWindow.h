#pragma once

#include "EditorApplicationDock.h"
#include "EditorCanvas.h"
#include "EditorCommandDock.h"
#include "EditorDocument.h"
#include "EditorLogDock.h"

#include <QMainWindow>
#include <QString>

namespace VoEditor {

// vo-shape-editor's main window: the canvas in the middle, the application's selection, the
// callback log and the command line in docks, the picking state in the status bar, and the File
// and Edit menus. Owns the document and every view of it.
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit EditorWindow(QWidget *parent = nullptr);

    EditorDocument &getDocument() noexcept { return *document; }
    EditorCanvas &getCanvas() noexcept { return *canvas; }
    EditorApplicationDock &getApplicationDock() noexcept { return *applicationDock; }
    EditorLogDock &getLogDock() noexcept { return *logDock; }
    EditorCommandDock &getCommandDock() noexcept { return *commandDock; }

    // Opens the scene file; when it cannot be read or is malformed, a message box names the file
    // and the line, and the open scene stays as it was. Gives true when the scene was replaced.
    bool openSceneFile(const QString &path);

private:
    void createMenus();
    void chooseSceneFile();

    EditorDocument *document;
    EditorCanvas *canvas;
    EditorApplicationDock *applicationDock;
    EditorLogDock *logDock;
    EditorCommandDock *commandDock;
};

} // namespace VoEditor
