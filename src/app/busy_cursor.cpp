#include "busy_cursor.h"

BusyCursor::BusyCursor(QWidget &window)
    : m_window(&window), m_windowHadCursor(window.testAttribute(Qt::WA_SetCursor)), m_windowCursor(window.cursor())
{
    for (QWidget *child : window.findChildren<QWidget *>()) {
        if (child->isWindow() || !child->testAttribute(Qt::WA_SetCursor))
            continue;
        const Qt::CursorShape shape = child->cursor().shape();
        if (shape != Qt::ArrowCursor && shape != Qt::IBeamCursor)
            continue;
        m_kept.push_back({child, child->cursor()});
        child->setCursor(Qt::BusyCursor);
    }
    window.setCursor(Qt::BusyCursor);
}

BusyCursor::~BusyCursor()
{
    for (const Kept &kept : m_kept)
        if (kept.widget)
            kept.widget->setCursor(kept.cursor);
    if (!m_window)
        return;
    if (m_windowHadCursor)
        m_window->setCursor(m_windowCursor);
    else
        m_window->unsetCursor();
}
