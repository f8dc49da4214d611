#include "signature_check.h"

#include "command_grammar.h"

ToolCommand signatureProbeCommand(const ToolCommand &prefix)
{
    return prefix + grammar::resetExitFlag();
}

QString signatureCandidate(const QString &captured)
{
    // avrdude 7.x writes "device signature", older versions "Device signature".
    static const QString upper = QStringLiteral("Device signature");
    static const QString lower = QStringLiteral("device signature");
    const qsizetype a = captured.indexOf(upper);
    const qsizetype b = captured.indexOf(lower);
    qsizetype found = -1;
    if (a >= 0 && (b < 0 || a < b))
        found = a;
    else if (b >= 0)
        found = b;
    // The signature starts 19 characters after the label: "Device signature = 0x1e9307".
    // With no label the position counts as 0 (one before the first character).
    return captured.mid(found + 19, 8);
}

SignatureVerdict checkSignature(const QString &captured, const QString &expected)
{
    SignatureVerdict v;
    v.candidate = signatureCandidate(captured);
    v.matches = !expected.isEmpty() && v.candidate.compare(expected, Qt::CaseInsensitive) == 0;
    return v;
}

QString signatureMismatchMessage(const QString &candidate)
{
    return QStringLiteral("编程器或器件错误\r\nDevice signature=") + candidate;
}
