#include "EditorLogDock.h"

#include <QFont>
#include <QFontDatabase>

namespace VoEditor {

EditorLogDock::EditorLogDock(EditorDocument &document, QWidget *parent)
    : QDockWidget(tr("Callback log"), parent), text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("callbackLog"));
    text->setReadOnly(true);
    text->setMaximumBlockCount(5000);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setWidget(text);
    connect(&document, &EditorDocument::logged, text, &QPlainTextEdit::appendPlainText);
}

} // namespace VoEditor
