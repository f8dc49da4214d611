#include "unresponsive_programmer.h"

namespace {
const QByteArray &complaint()
{
    static const QByteArray text("programmer is not responding");
    return text;
}
constexpr int complaintsToGiveUp = 3;
} // namespace

bool UnresponsiveProgrammerWatch::operator()(const QByteArray &output, qsizetype newFrom)
{
    if (newFrom == 0) {
        m_searchFrom = 0;
        m_complaints = 0;
    }
    const qsizetype length = complaint().size();
    for (qsizetype at = output.indexOf(complaint(), m_searchFrom); at >= 0;
         at = output.indexOf(complaint(), m_searchFrom)) {
        ++m_complaints;
        m_searchFrom = at + length;
    }
    // A complaint may still be cut in two by the next read.
    m_searchFrom = qMax(m_searchFrom, output.size() - length + 1);
    return m_complaints >= complaintsToGiveUp;
}
