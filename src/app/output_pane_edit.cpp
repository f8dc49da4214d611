#include "output_pane_edit.h"

#include <QTextCursor>

OutputPaneEdit::OutputPaneEdit(QWidget *parent) : QPlainTextEdit(parent) {}

namespace {
QString withPlainLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

void OutputPaneEdit::setPaneText(const QString &text)
{
    m_text = text;
    setPlainText(withPlainLineBreaks(text));
}

void OutputPaneEdit::appendPaneText(const QString &text)
{
    if (text.isEmpty())
        return;
    m_text += text;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(withPlainLineBreaks(text));
}
