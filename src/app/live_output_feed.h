#pragma once
// Shows a tool's output in the pane while it runs. Each read only adds its
// bytes to a buffer; at most every refreshMs a timer decodes what has come
// (a character split over two reads comes out whole) and appends it, so a
// long output costs linear time and the capture keeps its speed. The live
// text stops growing after liveLimit bytes: it is a view of the progress, and
// the operation sets the pane's whole text once the run has ended.

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringDecoder>
#include <QTimer>

class OutputPaneEdit;

class LiveOutputFeed {
public:
    explicit LiveOutputFeed(OutputPaneEdit &pane);

    // The bytes of one read, as the runner hands them over.
    void take(const char *data, qsizetype size);

    static constexpr int refreshMs = 100;
    static constexpr qsizetype liveLimit = 8 * 1024;

private:
    void show();

    OutputPaneEdit &m_pane;
    QStringDecoder m_decoder;
    QByteArray m_pending;
    qsizetype m_taken = 0;
    bool m_heldCr = false;
    QElapsedTimer m_sinceShown;
    QTimer m_refresh;
};
