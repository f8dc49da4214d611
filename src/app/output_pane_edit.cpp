#include "output_pane_edit.h"

#include <QScrollBar>
#include <QTextCursor>

OutputPaneEdit::OutputPaneEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    // The pane is read-only: an undo record of every added piece would only
    // hold a second copy of the tool's output.
    document()->setUndoRedoEnabled(false);
}

void OutputPaneEdit::setPaneText(const QString &text)
{
    // The end stays in view: the news is at the bottom. Only a reader who
    // scrolled away from the end of a text that goes on keeps their place.
    QScrollBar *bar = verticalScrollBar();
    const bool followEnd = !text.startsWith(m_text) || bar->value() == bar->maximum();
    const int place = bar->value();
    m_text = text;
    m_display.restart();
    setPlainText(m_display.convert(text));
    bar->setValue(followEnd ? bar->maximum() : place);
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
    end.insertText(m_display.convert(text));
    if (followEnd)
        bar->setValue(bar->maximum());
}
