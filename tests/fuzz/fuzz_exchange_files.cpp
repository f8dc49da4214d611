// The exchange file the tool leaves behind, read back as a fuse or lock byte
// (its first byte) or as the four calibration bytes, then shown.

#include "fuses/byte_display.h"
#include "fuses/exchange_files.h"
#include "fuses/fuse_bits.h"
#include "fuzz_check.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fuse.bin"));
    const QByteArray content = fuzzBytes(data, size);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(content) == content.size());
    }

    const ExchangeBytes fuse = readExchangeFile(path, 1);
    FUZZ_CHECK(fuse.problem.isNone() && fuse.bytes == content.left(1));
    const QByteArray calibration = readExchangeFile(path, 4).bytes;
    FUZZ_CHECK(calibration == content.left(4));
    const std::array<QString, 4> texts = calibrationTexts(calibration);
    for (int i = 0; i < 4; ++i) {
        const QString &text = texts[static_cast<size_t>(i)];
        FUZZ_CHECK(text.isEmpty() == (i >= calibration.size()));
        if (!text.isEmpty())
            FUZZ_CHECK(text == QStringLiteral("0x") + QString::number(quint8(calibration[i]), 16).toUpper());
    }

    // The read spreads the bytes over the boxes; the write composes the same
    // bytes back (the lock byte's bits 7 and 6 are always written as 0).
    if (calibration.size() >= 3) {
        FuseBytes bytes;
        bytes.hfuse = quint8(calibration[0]);
        bytes.lfuse = quint8(calibration[1]);
        bytes.lock = quint8(calibration[2]);
        PanelTicks ticks{};
        spreadOverPanel(bytes, ticks);
        const FuseBytes back = composeFromPanel(ticks);
        FUZZ_CHECK(back.hfuse == bytes.hfuse);
        FUZZ_CHECK(back.lfuse == bytes.lfuse);
        FUZZ_CHECK(back.lock == (bytes.lock & 0x3F));
    }

    FUZZ_CHECK(removeExchangeFiles({path}).isNone());
    const ExchangeBytes gone = readExchangeFile(path, 4);
    FUZZ_CHECK(gone.bytes.isEmpty() && gone.problem.isNone());
    return 0;
}
