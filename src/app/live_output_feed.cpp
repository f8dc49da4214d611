#include "live_output_feed.h"

#include "output_pane_edit.h"
#include "platform/child_process.h"

LiveOutputFeed::LiveOutputFeed(OutputPaneEdit &pane) : m_pane(pane), m_decoder(platform::toolOutputDecoder())
{
    m_refresh.setSingleShot(true);
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.callOnTimeout([this] { show(); });
}

void LiveOutputFeed::take(const char *data, qsizetype size)
{
    const qsizetype kept = qMin(size, liveLimit - m_taken);
    if (kept <= 0)
        return;
    m_pending.append(data, kept);
    m_taken += kept;
    if (!m_refresh.isActive())
        m_refresh.start(m_sinceShown.isValid() ? int(qMax<qint64>(0, refreshMs - m_sinceShown.elapsed())) : 0);
}

void LiveOutputFeed::show()
{
    QString text = m_heldCr ? QStringLiteral("\r") : QString();
    text += m_decoder.decode(m_pending);
    m_pending.clear();
    // A CR may be the first half of a CR LF: it waits for what follows.
    m_heldCr = text.endsWith(QLatin1Char('\r'));
    if (m_heldCr)
        text.chop(1);
    m_pane.appendPaneText(text);
    m_sinceShown.start();
}
