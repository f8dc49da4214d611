#pragma once
// What the fuse read shows besides the panel: the report of the signature
// check on the high-fuse run, and the pane after the byte runs. Both differ
// by chip.

#include <QString>

struct ReadReport {
    QString text;
    QString title;
};

// The high-fuse run is forced past avrdude's own signature test, so its text
// is checked again. The ATmega8 names the signature found, the ATmega16 only
// reports the error.
ReadReport secondSignatureReport(const QString &part, const QString &candidate);

// The pane once the byte runs are over: the ATmega8 shows only their texts,
// the ATmega16 appends them to the high-fuse command line already shown.
QString paneAfterByteRuns(const QString &part, const QString &paneText, const QString &collected);
