#include "EditorLogDock.h"

#include <QFont>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

namespace VoEditor {

EditorLogDock::EditorLogDock(EditorDocument &document, QWidget *parent)
    : QDockWidget(tr("Callback log"), parent), text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("callbackLog"));
    text->setObjectName(QStringLiteral("callbackLogText"));
    text->setReadOnly(true);
    // Read, selected and copied from the keyboard too.
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setFocusPolicy(Qt::StrongFocus);
    text->setMaximumBlockCount(5000);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setWidget(text);
    QScrollBar *vertical = text->verticalScrollBar();
    // A line wider than the dock brings the horizontal scroll bar, which takes height from the
    // view: the range grows after the line came, so following goes by the range too.
    connect(vertical, &QScrollBar::valueChanged, this,
            [this, vertical](int value) { following = value == vertical->maximum(); });
    connect(vertical, &QScrollBar::rangeChanged, this, [this, vertical](int, int maximum) {
        if (following) {
            vertical->setValue(maximum);
        }
    });
    connect(&document, &EditorDocument::logged, this, &EditorLogDock::append);
}

void EditorLogDock::append(const QString &lines, bool failure) {
    const bool follow = following;
    text->appendPlainText(lines);
    if (failure) {
        QTextCursor cursor(text->document());
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor,
                            static_cast<int>(lines.count(QLatin1Char('\n'))));
        cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat colour;
        colour.setForeground(errorColour());
        cursor.mergeCharFormat(colour);
    }
    if (follow) {
        // The text cursor goes to the start of the last line, unless the user is selecting: a
        // cursor left at the end of the text follows what is appended, and the view scrolls to
        // it (when the window first shows, after a script) as far right as the last line is long.
        // Lines are appended in its format: the plain one, whatever colour that line has.
        if (!text->textCursor().hasSelection()) {
            QTextCursor start(text->document()->lastBlock());
            start.setCharFormat(QTextCharFormat());
            text->setTextCursor(start);
        }
        text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
        text->horizontalScrollBar()->setValue(0);
    }
}

} // namespace VoEditor
