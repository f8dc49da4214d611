#include "output_pane_edit.h"

#include <QScrollBar>
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
    // The newest lines stay in view unless the user has scrolled away from them.
    QScrollBar *bar = verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(withPlainLineBreaks(text));
    if (followEnd)
        bar->setValue(bar->maximum());
}
