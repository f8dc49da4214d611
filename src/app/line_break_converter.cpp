#include "line_break_converter.h"

QString LineBreakConverter::convert(QStringView text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / longestShownLine + 1);
    const QChar *p = text.data();
    const QChar *const end = p + text.size();
    while (p != end) {
        // The longest run that needs nothing changed is copied in one go.
        const QChar *run = p;
        while (run != end && *run != u'\r' && *run != u'\n' && (m_column < longestShownLine || run->isLowSurrogate())) {
            ++run;
            ++m_column;
        }
        shown.append(p, run - p);
        p = run;
        if (p == end)
            break;
        if (*p == u'\r' || *p == u'\n') {
            if (*p == u'\r' && p + 1 != end && p[1] == u'\n')
                ++p;
            ++p;
        }
        shown.append(u'\n');
        m_column = 0;
    }
    return shown;
}
