#pragma once
// An output pane without a window: it keeps the text it is given and starts,
// as the window's pane does, with one blank.

#include "runner/output_pane.h"

struct TextPane : OutputPane {
    QString text = QStringLiteral(" ");
    QString paneText() const override { return text; }
    void setPaneText(const QString &t) override { text = t; }
};
