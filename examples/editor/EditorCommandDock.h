#pragma once

#include "EditorDocument.h"

#include <QDockWidget>
#include <QLineEdit>

namespace VoEditor {

// A command line for the session driver's commands ("help" lists them), run on the open scene.
// A command that succeeds clears the line; one that fails stays there to be corrected, and the
// log says why. Borrows the document.
class EditorCommandDock : public QDockWidget {
    Q_OBJECT
public:
    explicit EditorCommandDock(EditorDocument &document, QWidget *parent = nullptr);

    QLineEdit &getLine() noexcept { return *line; }

private:
    void run();

    EditorDocument &document;
    QLineEdit *line;
};

} // namespace VoEditor
