#include "progress_pane.h"

#include "output_pane_edit.h"

ProgressPane::ProgressPane(OutputPaneEdit &pane) : m_pane(pane)
{
    m_heldBack.setSingleShot(true);
    m_heldBack.callOnTimeout([this] { show(); });
}

void ProgressPane::take(const char *data, qsizetype size)
{
    m_pending += m_decoder.decode(QByteArrayView(data, size));
    if (!m_sinceShown.isValid() || m_sinceShown.hasExpired(refreshMs))
        show();
    else if (!m_heldBack.isActive())
        m_heldBack.start(int(refreshMs - m_sinceShown.elapsed()));
}

void ProgressPane::show()
{
    m_heldBack.stop();
    // A CR may be the first half of a CR LF: it waits for the next read.
    const qsizetype held = m_pending.endsWith(QLatin1Char('\r')) ? 1 : 0;
    m_pane.appendPaneText(m_pending.first(m_pending.size() - held));
    m_pending.remove(0, m_pending.size() - held);
    m_sinceShown.start();
}
