#include "EditorCommandDock.h"

namespace VoEditor {

EditorCommandDock::EditorCommandDock(EditorDocument &editorDocument, QWidget *parent)
    : QDockWidget(tr("Command line"), parent), document(editorDocument), line(new QLineEdit(this)) {
    setObjectName(QStringLiteral("commandLine"));
    line->setPlaceholderText(tr("a session command, e.g. \"select A B\"; \"help\" lists them"));
    line->setClearButtonEnabled(true);
    setWidget(line);
    connect(line, &QLineEdit::returnPressed, this, &EditorCommandDock::run);
}

void EditorCommandDock::run() {
    if (document.runCommand(line->text())) {
        line->clear();
    }
}

} // namespace VoEditor
