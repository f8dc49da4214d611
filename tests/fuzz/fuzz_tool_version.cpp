// The version read from the tool's usage text ("avrdude -?"), which decides
// the dialect spoken from then on.

#include "fuzz_check.h"
#include "platform/child_process.h"
#include "runner/tool_dialect.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString usage = platform::decodeToolOutput(fuzzBytes(data, size));
    const std::optional<ToolDialect> dialect = dialectFromUsage(usage);
    if (!dialect) {
        // A plain "version 7.1" after a blank is always found.
        static const QRegularExpression plain(QStringLiteral("(^|\\s)version [0-9]\\.[0-9]"));
        FUZZ_CHECK(!usage.contains(plain));
        return 0;
    }
    FUZZ_CHECK(usage.contains(QLatin1String("version ")));
    FUZZ_CHECK(dialect->major >= 0 && dialect->major <= 999);
    FUZZ_CHECK(dialect->minor >= 0 && dialect->minor <= 999);
    // The figures are the text's own, leading zeros aside.
    FUZZ_CHECK(usage.contains(
        QRegularExpression(QStringLiteral("version 0*%1\\.0*%2").arg(dialect->major).arg(dialect->minor))));
    FUZZ_CHECK(dialect->probeSuffix().arguments.size() == (dialect->major >= 8 ? 1 : 0));
    FUZZ_CHECK(dialect->hasSafeMode() == (dialect->major < 7));
    return 0;
}
