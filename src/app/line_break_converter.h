#pragma once
// What the output pane widget shows for its text: every CR LF and lone CR
// becomes a plain line break, and a line longer than longestShownLine goes on
// in the next shown line. The widget lays out a whole line whenever any of it
// is in view, at tens of bytes per character, so a tool that writes megabytes
// without a line break would otherwise take the window's memory and time.
// Only the view changes: the pane's text stays exactly as set.

#include <QString>
#include <QStringView>

class LineBreakConverter {
public:
    static constexpr qsizetype longestShownLine = 4096;

    // Converts text that follows what was converted before (a line may go
    // on across calls); restart() begins a new text.
    QString convert(QStringView text);
    void restart() { m_column = 0; }

private:
    qsizetype m_column = 0;
};
