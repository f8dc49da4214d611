#pragma once
// avrdude explains a failure in English; the user reads Simplified Chinese.
// From the tool's captured text, the operation, the programmer and the
// platform, a table of known situations gives one-line hints that each name
// something the user can do: a driver, a group, a port, the wiring, the chip.

#include "operation_kind.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A chip a signature found may be named after: "0x1e9307", "ATmega8".
struct KnownChip {
    QString signature;
    QString name;
};

struct FailedRun {
    QString captured; // everything the tool printed, in any of its dialects
    OperationKind operation = OperationKind::Reset;
    QString programmer; // the programmer list text: "avr910", "pony-stk200", "usbasp"
    QString platform;   // platform::buildPlatformName(): "linux" or "windows"
    QList<KnownChip> knownChips;
    // Set when the program stopped the tool because it printed nothing for
    // this many seconds: a programmer lost in the middle of the operation.
    int silentSeconds = 0;
    // The lock byte a fuse write wrote; a set bit 0 to 5 leaves that lock bit unprogrammed.
    std::optional<quint8> writtenLock;
};

constexpr int maxFailureHints = 2;

// At most maxFailureHints lines, the most specific first; none when the text
// shows no situation the table knows, as every successful run's text does.
QStringList failureHints(const FailedRun &run);

// The pane's text, its last line ended, one empty line, then each hint on a
// line of its own after "提示："; the text alone when there are no hints.
QString paneWithHints(const QString &paneText, const QStringList &hints);
