#pragma once
// The signature probe: before any memory is touched, the tool is run once to
// report the chip's signature, which must be the chosen device's.

#include "tool_command.h"
#include "tool_dialect.h"

struct SignatureVerdict {
    bool matches = false;
    QString candidate; // the signature as the tool printed it, empty without a signature line
};

// The probe: the command prefix followed by " -E reset" and what the tool
// needs to print a matching signature.
ToolCommand signatureProbeCommand(const ToolCommand &prefix, const ToolDialect &dialect);

// The eight characters after "= " on the first line that says "Device
// signature" (first letter in either case): "0x1e9307" from 6.x and 7.x,
// "1E 93 07" from 8.x. Empty when no such line exists.
QString signatureCandidate(const QString &captured);

// Compares a candidate with the expected text ("0x1e9307"), ignoring case,
// blanks and a leading "0x", so "1E 93 07" matches and "00 00 00" does not.
bool signatureMatches(const QString &candidate, const QString &expected);

// The probe's verdict on its captured text.
SignatureVerdict checkSignature(const QString &captured, const QString &expected);

// The verdict on a run forced past the tool's own check with -F. A tool that
// prints the signature only when it is wrong has met the chosen chip when it
// printed none and exited with 0.
SignatureVerdict checkForcedRunSignature(const QString &captured, bool exitedWithZero, const QString &expected,
                                         const ToolDialect &dialect);
