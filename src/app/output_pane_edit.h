#pragma once
#include "line_break_converter.h"
#include "runner/output_pane.h"

#include <QPlainTextEdit>

// The output pane widget. It keeps the text exactly as set (CR LF line
// breaks included) and shows it with plain line breaks.
class OutputPaneEdit : public QPlainTextEdit, public OutputPane {
    Q_OBJECT
public:
    explicit OutputPaneEdit(QWidget *parent = nullptr);

    QString paneText() const override { return m_text; }
    // Shows the end of the new text, unless it goes on from the old one and
    // the user has scrolled away from the end.
    void setPaneText(const QString &text) override;
    // Adds text at the end without setting the whole text again; the end
    // stays in view if it was. A CR LF must not be split between two calls.
    void appendPaneText(const QString &text);

private:
    QString m_text;
    LineBreakConverter m_display;
};
