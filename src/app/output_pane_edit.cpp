#include "output_pane_edit.h"

#include "pane_display.h"

OutputPaneEdit::OutputPaneEdit(QWidget *parent) : QPlainTextEdit(parent) {}

void OutputPaneEdit::setPaneText(const QString &text)
{
    m_text = text;
    setPlainText(PaneDisplay().convert(text));
}
