#include "output_pane_edit.h"

OutputPaneEdit::OutputPaneEdit(QWidget *parent) : QPlainTextEdit(parent) {}

void OutputPaneEdit::setPaneText(const QString &text)
{
    m_text = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}
