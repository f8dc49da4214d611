#pragma once
// A tool command as data: the program and its argument words, which are run
// directly, and the display text the output pane shows. Nobody re-parses the
// display text.

#include <QString>
#include <QStringList>

struct CommandFragment {
    QString text;          // exactly as shown, with its own leading blank
    QStringList arguments; // the words it adds to the argument list

    bool isEmpty() const { return text.isEmpty() && arguments.isEmpty(); }
    CommandFragment &operator+=(const CommandFragment &other);
};
CommandFragment operator+(CommandFragment a, const CommandFragment &b);

struct ToolCommand {
    QString program;
    QStringList arguments;
    QString text; // the display text

    ToolCommand &operator+=(const CommandFragment &f);
    bool isEmpty() const { return program.isEmpty(); }
};
ToolCommand operator+(ToolCommand c, const CommandFragment &f);
