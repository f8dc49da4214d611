#pragma once
// Shows a tool's output in the pane while it runs: bytes are decoded as they
// come (a character split over two reads comes out whole) and appended at
// most every refreshMs, so a long output costs linear time. Text held back
// by the limit is shown when the interval is over, even if the tool is quiet
// meanwhile. The operation sets the pane's final text once the run has ended.

#include <QElapsedTimer>
#include <QString>
#include <QStringDecoder>
#include <QTimer>

class OutputPaneEdit;

class ProgressPane {
public:
    explicit ProgressPane(OutputPaneEdit &pane);

    void take(const char *data, qsizetype size);

    static constexpr int refreshMs = 100;

private:
    void show();

    OutputPaneEdit &m_pane;
    QStringDecoder m_decoder{QStringDecoder::System};
    QString m_pending;
    QElapsedTimer m_sinceShown;
    QTimer m_heldBack;
};
