#include "signature_check.h"

#include "command_grammar.h"

namespace {

constexpr qsizetype candidateLength = 8;

// Start of the first "Device signature" or "device signature", or -1.
qsizetype signatureLabel(const QString &captured)
{
    static const QString upper = QStringLiteral("Device signature");
    static const QString lower = QStringLiteral("device signature");
    const qsizetype a = captured.indexOf(upper);
    const qsizetype b = captured.indexOf(lower);
    if (a >= 0 && (b < 0 || a < b))
        return a;
    return b;
}

QString normalised(QString signature)
{
    signature.remove(QLatin1Char(' '));
    signature = signature.toLower();
    if (signature.startsWith(QLatin1String("0x")))
        signature.remove(0, 2);
    return signature;
}

} // namespace

ToolCommand signatureProbeCommand(const ToolCommand &prefix, const ToolDialect &dialect)
{
    return prefix + grammar::resetExitFlag() + dialect.probeSuffix();
}

QString signatureCandidate(const QString &captured)
{
    const qsizetype label = signatureLabel(captured);
    if (label < 0)
        return QString();
    qsizetype lineEnd = captured.indexOf(QLatin1Char('\n'), label);
    if (lineEnd < 0)
        lineEnd = captured.size();
    const qsizetype equals = captured.indexOf(QLatin1String("= "), label);
    if (equals < 0 || equals >= lineEnd)
        return QString();
    const qsizetype start = equals + 2;
    QString candidate = captured.mid(start, qMin(candidateLength, lineEnd - start));
    // A line ended by CR LF must not lend its CR to a short signature.
    while (candidate.endsWith(QLatin1Char('\r')))
        candidate.chop(1);
    return candidate;
}

bool signatureMatches(const QString &candidate, const QString &expected)
{
    const QString want = normalised(expected);
    return !want.isEmpty() && normalised(candidate) == want;
}

SignatureVerdict checkSignature(const QString &captured, const QString &expected)
{
    SignatureVerdict v;
    v.candidate = signatureCandidate(captured);
    v.matches = signatureMatches(v.candidate, expected);
    return v;
}

SignatureVerdict checkForcedRunSignature(const QString &captured, bool exitedWithZero, const QString &expected,
                                         const ToolDialect &dialect)
{
    SignatureVerdict v = checkSignature(captured, expected);
    if (!v.matches && dialect.silentOnMatchingSignature() && signatureLabel(captured) < 0 && exitedWithZero)
        v.matches = true;
    return v;
}
