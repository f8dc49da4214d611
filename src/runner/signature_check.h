#pragma once
// The signature probe: before any memory is touched, the tool is run once to
// report the chip's signature, which must be the chosen device's.

#include "tool_command.h"

struct SignatureVerdict {
    bool matches = false;
    QString candidate;   // the eight characters taken as the signature
};

// The probe: the command prefix followed by " -E reset".
ToolCommand signatureProbeCommand(const ToolCommand &prefix);

// Takes the eight characters after "Device signature = " (first letter in
// either case). Without that text the characters from the 19th position of
// the whole output are taken, so a missing line never passes by accident.
QString signatureCandidate(const QString &captured);

// Compares the candidate with the expected text ("0x1e9307"), ignoring case.
SignatureVerdict checkSignature(const QString &captured, const QString &expected);

// "编程器或器件错误" CR LF "Device signature=" <candidate>
QString signatureMismatchMessage(const QString &candidate);
