#pragma once

#include "EditorDocument.h"

#include <QDockWidget>
#include <QPlainTextEdit>
#include <QString>

namespace VoEditor {

// The log of what each change did: for every gesture, the shape events sent and the callback
// lists that ran (or what the library raised), and the transcript of each command typed into the
// command line, with its error when it failed, in the error colour. Keeps the last few thousand
// lines and, while its end is shown, keeps showing it as lines come, however wide. Borrows the
// document.
class EditorLogDock : public QDockWidget {
    Q_OBJECT
public:
    explicit EditorLogDock(EditorDocument &document, QWidget *parent = nullptr);

    QPlainTextEdit &getText() noexcept { return *text; }
    // The colour of a failed gesture's or command's lines.
    static QColor errorColour() { return QColor(0xc6, 0x28, 0x28); }

private:
    void append(const QString &lines, bool failure);

    QPlainTextEdit *text;
    // The last line is shown: a new line, or a scroll bar that comes, keeps it shown.
    bool following = true;
};

} // namespace VoEditor
