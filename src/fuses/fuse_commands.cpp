#include "fuse_commands.h"

#include "runner/command_grammar.h"

using fusepanel::FuseByte;

namespace {
constexpr QChar raw = QLatin1Char('r');
constexpr QChar read = QLatin1Char('r');
constexpr QChar write = QLatin1Char('w');
} // namespace

const std::array<FuseByte, 3> &fuseReadOrder()
{
    static const std::array<FuseByte, 3> order{FuseByte::HighFuse, FuseByte::LowFuse, FuseByte::Lock};
    return order;
}

QString memoryName(FuseByte byte)
{
    switch (byte) {
    case FuseByte::HighFuse:
        return QStringLiteral("hfuse");
    case FuseByte::LowFuse:
        return QStringLiteral("lfuse");
    case FuseByte::Lock:
        return QStringLiteral("lock");
    case FuseByte::None:
        break;
    }
    return QString();
}

ToolCommand fuseReadCommand(const ToolCommand &prefix, FuseByte byte, const QString &exchangePath)
{
    ToolCommand c = prefix + grammar::memoryFragment(memoryName(byte), read, exchangePath, raw, false);
    if (byte == FuseByte::HighFuse)
        c += grammar::forceFlag();
    return c;
}

ToolCommand fuseWriteCommand(const ToolCommand &prefix, const ExchangePaths &files, const ToolDialect &dialect)
{
    ToolCommand c = prefix + grammar::memoryFragment(memoryName(FuseByte::LowFuse), write, files.lfuse, raw, false)
                    + grammar::memoryFragment(memoryName(FuseByte::HighFuse), write, files.hfuse, raw, false)
                    + grammar::memoryFragment(memoryName(FuseByte::Lock), write, files.lock, raw, false);
    if (dialect.hasSafeMode())
        c += grammar::unsafeFlag();
    return c;
}

CommandFragment calibrationFragment(const QString &exchangePath)
{
    return grammar::memoryFragment(QStringLiteral("calibration"), read, exchangePath, raw, false);
}

ToolCommand calibrationCommand(const ToolCommand &prefix, const CommandFragment &calibrationOp)
{
    return prefix + calibrationOp + grammar::forceFlag();
}
