#pragma once

#include "EditorDocument.h"

#include <QDockWidget>
#include <QPlainTextEdit>

namespace VoEditor {

// The log of what each change did: for every gesture, the shape events sent and the callback
// lists that ran (or what the library raised), and the transcript of each command typed into the
// command line, with its error when it failed. Keeps the last few thousand lines. Borrows the
// document.
class EditorLogDock : public QDockWidget {
    Q_OBJECT
public:
    explicit EditorLogDock(EditorDocument &document, QWidget *parent = nullptr);

    QPlainTextEdit &getText() noexcept { return *text; }

private:
    QPlainTextEdit *text;
};

} // namespace VoEditor
