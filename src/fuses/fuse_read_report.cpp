#include "fuse_read_report.h"

#include "runner/signature_check.h"

namespace {
bool isAtmega16(const QString &part) { return part == QLatin1String("m16"); }
} // namespace

ReadReport secondSignatureReport(const QString &part, const QString &candidate)
{
    if (isAtmega16(part))
        return {QStringLiteral("编程器或器件错误"), QStringLiteral("提示")};
    return {signatureMismatchMessage(candidate), QStringLiteral("错误")};
}

QString paneAfterByteRuns(const QString &part, const QString &paneText, const QString &collected)
{
    return isAtmega16(part) ? paneText + collected : collected;
}
