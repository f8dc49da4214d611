#pragma once
// What went wrong in an operation, as data; the window turns it into the
// message the user sees.

#include <QString>

struct OperationProblem {
    enum class Kind {
        None,
        Abandoned,         // the window is closing: nothing more is shown
        SignatureMismatch, // detail: the candidate signature
        SecondCheckFailed, // the forced high-fuse run met another chip; detail: the candidate
        NoAnswer,          // the fuse read got no byte from the chip
        WriteCancelled,
        WriteNotSupported,
        FileNotWritten, // detail: the path; reason: the system's words
        FileNotRemoved,
        FileNotRead,
        ImageTooLarge, // detail: the image's extent in bytes; reason: the memory's size in bytes
        ImageUnusable, // an image the tool would reject or misread; detail: the reader's fault, as its
                       // number; reason: the line the fault is at, or empty
    };

    Kind kind = Kind::None;
    QString detail;
    QString reason;

    bool isNone() const { return kind == Kind::None; }
    static OperationProblem of(Kind kind, const QString &detail = QString(), const QString &reason = QString())
    {
        return {kind, detail, reason};
    }
};
