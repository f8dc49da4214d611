#include "failure_hints.h"

#include "signature_check.h"

#include <QRegularExpression>

#include <array>
#include <vector>

namespace {

using Operations = unsigned;
constexpr Operations bit(OperationKind k)
{
    return 1u << static_cast<unsigned>(k);
}
constexpr Operations anyOperation = ~0u;
constexpr Operations programs = bit(OperationKind::FlashProgram) | bit(OperationKind::EepromProgram);
constexpr Operations reads = bit(OperationKind::FlashRead) | bit(OperationKind::EepromRead);
constexpr Operations imageOperations = programs | reads;
// Writes that a lock bit can block; the Flash program's chip erase clears them first.
constexpr Operations lockableWrites = bit(OperationKind::EepromProgram) | bit(OperationKind::FuseWrite);

// The wordings of 6.x, 7.x and 8.x, matched without regard to case.
const char *const portDenied = R"((can't open device|cannot open port) [^\n]*: Permission denied)";
const char *const portMissing = R"((can't open device|cannot open port) [^\n]*: No such (file or directory|device))";
const char *const usbNotFound = "(could not|cannot) find USB device with vid=";
const char *const targetSilent = "target doesn't answer|target does not answer|AVR device not responding";
const char *const notIntelHex = "invalid record at line|no valid record found in Intel Hex|checksum mismatch at line";
const char *const verifyFailed = "verification (error|mismatch)";
// A USBasp that went away after it was opened: libusb-0.1 says ENODEV, libusb-1.0 ENXIO.
const char *const usbDeviceGone = "(usbasp_transmit|error sending control message|OS error): No such device";
const char *const imageTooLarge = "address 0x[0-9a-f]+ out of range";
// 8.x names the memory in its verdict; 6.3 and 7.1 name it in the line that starts its verification.
const char *const hfuseVerifyFailed = R"(hfuse verification (error|mismatch)|verifying hfuse memory against[^\n]*\n)"
                                      R"(((?![^\n]*verifying \w+ memory)[^\n]*\n)*[^\n]*verification (error|mismatch))";

struct HintRow {
    const char *pattern;
    const char *alsoNeeded;  // a second pattern that must match as well, or nullptr
    const char *programmers; // blank-separated list texts; nullptr for every programmer
    const char *platform;    // "linux" or "windows"; nullptr for both
    Operations operations;
    std::array<const char *, maxFailureHints> hints;
    // A preface adds its hints before those of the next row that matches.
    bool preface = false;
    // The row's hint is the one for a programmer lost mid-operation.
    bool lostProgrammer = false;
};

// Most specific first; the first row that matches (after any prefaces) decides.
// "%1" in a hint is the chip's signature, named when it is a known chip.
const HintRow rows[] = {
    // Any failure of a parallel-port programmer on Windows.
    {"parallel port|giveio|cannot open port|can't open device|find programmer id|not responding"
     "|initialization failed",
     nullptr,
     "pony-stk200",
     "windows",
     anyOperation,
     {"64 位 Windows 无法驱动并口编程器：请改用 USBasp 或串口编程器 avr910"}},
    // A tool built without the programmer's driver.
    {"(can't|cannot) find programmer id|parallel port access not available|no usb support",
     nullptr,
     nullptr,
     nullptr,
     anyOperation,
     {"所用的 avrdude 不支持这种编程器：请换用本程序自带的 avrdude，或支持该编程器的 avrdude"}},
    {"cannot open USB device: Permission denied|error sending control message: Operation not permitted"
     "|USB access errors detected",
     nullptr,
     "usbasp",
     "linux",
     anyOperation,
     {"USBasp 已连接但无权访问：请安装 udev 规则（安装本程序的软件包即会装好），再重新插拔编程器"}},
    {usbNotFound,
     nullptr,
     "usbasp",
     "linux",
     anyOperation,
     {"找不到 USBasp：请检查 USB 线是否插好，或换一个 USB 口再试"}},
    {usbNotFound,
     nullptr,
     "usbasp",
     "windows",
     anyOperation,
     {"找不到 USBasp：请检查 USB 线是否插好，或换一个 USB 口再试",
      "在 Windows 上首次使用 USBasp 前，请用 Zadig 为它安装一次 WinUSB 驱动"}},
    {portDenied,
     nullptr,
     "pony-stk200",
     "linux",
     anyOperation,
     {"没有访问并口的权限：请把当前用户加入 lp 组（sudo usermod -aG lp $USER），然后重新登录"}},
    {portMissing,
     nullptr,
     "pony-stk200",
     "linux",
     anyOperation,
     {"找不到所选的并口：请检查“端口选择”，或在 ports.ini 中把它映射到实际的设备（如 lpt1=/dev/parport0）"}},
    {portDenied,
     nullptr,
     "avr910",
     "linux",
     anyOperation,
     {"没有访问串口的权限：请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录"}},
    {portMissing,
     nullptr,
     "avr910",
     "linux",
     anyOperation,
     {"找不到所选的串口：请检查“端口选择”，或在 ports.ini 中把它映射到实际的设备（如 com1=/dev/ttyUSB0）"}},
    // Windows words its reasons in the system's language.
    {R"((can't open device|cannot open port) [^\n]*(Access is denied|拒绝访问))",
     nullptr,
     "avr910",
     "windows",
     anyOperation,
     {"串口已被占用：请关闭正在使用该串口的其他程序，然后重试"}},
    {"can't open device|cannot open port",
     nullptr,
     "avr910",
     "windows",
     anyOperation,
     {"找不到所选的串口：请检查“端口选择”，或在 ports.ini 中把它映射到实际的端口（如 com1=com5）"}},
    // Harmless while the chip answers.
    {"cannot set sck period",
     targetSilent,
     "usbasp",
     nullptr,
     anyOperation,
     {"USBasp 固件较旧，无法调低 ISP 时钟：请短接慢速时钟跳线（JP3），或更新 USBasp 固件"},
     true},
    {usbDeviceGone, nullptr, "usbasp", nullptr, anyOperation, {}, false, true},
    {targetSilent,
     nullptr,
     "usbasp",
     nullptr,
     anyOperation,
     {"芯片没有应答：请检查编程器与芯片之间的连线，并确认芯片已通电",
      "芯片时钟很慢（如 128 kHz）时，请短接 USBasp 的慢速时钟跳线（JP3）后重试"}},
    {targetSilent,
     nullptr,
     nullptr,
     nullptr,
     anyOperation,
     {"芯片没有应答：请检查编程器与芯片之间的连线，并确认芯片已通电"}},
    {R"(programmer is not responding|avr910_recv\([^\n]*\) failed)",
     nullptr,
     "avr910",
     nullptr,
     anyOperation,
     {"编程器没有应答：请确认所选端口接的是编程器，且编程器已通电"}},
    {"device signature = (0x000000|00 00 00)",
     nullptr,
     nullptr,
     nullptr,
     anyOperation,
     {"读到的特征码全为 00：芯片没有通电或没有接上，请检查芯片的电源和连线"}},
    {"device signature = (0xffffff|FF FF FF)",
     nullptr,
     nullptr,
     nullptr,
     anyOperation,
     {"读到的特征码全为 FF：芯片没有通电或没有接上，请检查芯片的电源和连线"}},
    {R"(expected signature for \S+ is)",
     nullptr,
     nullptr,
     nullptr,
     anyOperation,
     {"芯片的特征码是 %1，与所选器件不符：请在“器件选择”中选对型号，或换上所选的芯片"}},
    // A damaged HEX file stops the write when avrdude reads it; 6.3 and 7.1
    // have erased the Flash by then. (A read's verify reads the file in the
    // format the read wrote it in.)
    {notIntelHex,
     "erasing chip",
     nullptr,
     nullptr,
     programs,
     {"映像文件是损坏的 Intel HEX 文件（记录的校验和或长度不对，或没有有效的记录），写入没有进行；芯片已被擦除，"
      "原有的程序已不在：请换用完好的 .hex 文件，然后重新编程"}},
    {notIntelHex,
     nullptr,
     nullptr,
     nullptr,
     programs,
     {"映像文件是损坏的 Intel HEX 文件（记录的校验和或长度不对，或没有有效的记录），写入没有进行："
      "请换用完好的 .hex 文件"}},
    // 6.3 and 7.1 erase the chip for a Flash program before they read the file.
    {imageTooLarge,
     "erasing chip",
     nullptr,
     nullptr,
     programs,
     {"映像超出了所选芯片的存储器，可能是为另一种芯片生成的；芯片已被擦除，原有的程序已不在："
      "请选对器件或换用适合该芯片的映像，然后重新编程"}},
    {imageTooLarge,
     nullptr,
     nullptr,
     nullptr,
     programs,
     {"映像超出了所选芯片的存储器，可能是为另一种芯片生成的：请选对器件或换用适合该芯片的映像"}},
    {"(can't|cannot) determine file format",
     nullptr,
     nullptr,
     nullptr,
     imageOperations,
     {"无法识别映像文件的格式：请选择 Intel HEX（.hex）或二进制映像文件"}},
    {"is not readable|(can't|cannot) open input file|error opening |unable to open [^\n]*: "
     "|read(ing)? from file [^\n]* failed",
     nullptr,
     nullptr,
     nullptr,
     imageOperations,
     {"无法读取映像文件：请确认文件存在，且当前用户有读取它的权限"}},
    {"is not writeable|(can't|cannot) open output file|write to file [^\n]* failed",
     nullptr,
     nullptr,
     nullptr,
     imageOperations,
     {"无法写入映像文件：请另选一个有写入权限的文件夹，或换一个文件名"}},
    {verifyFailed,
     nullptr,
     nullptr,
     nullptr,
     lockableWrites,
     {"写入后校验不符：芯片的锁定位可能禁止了写入，请先编程一次 Flash（会整片擦除并清除锁定位）再试",
      "若仍不符，请检查编程器与芯片之间的连线是否可靠，连线尽量短"}},
    {verifyFailed,
     nullptr,
     nullptr,
     nullptr,
     bit(OperationKind::FlashProgram),
     {"写入后校验不符：请检查编程器与芯片之间的连线是否可靠，连线尽量短，然后重新编程"}},
    {verifyFailed,
     nullptr,
     nullptr,
     nullptr,
     reads,
     {"读出后校验不符：请检查编程器与芯片之间的连线是否可靠，连线尽量短，然后重新读取"}},
};

struct CompiledRow {
    const HintRow *row;
    QRegularExpression pattern;
    QRegularExpression alsoNeeded;
};

const std::vector<CompiledRow> &compiledRows()
{
    static const std::vector<CompiledRow> compiled = [] {
        std::vector<CompiledRow> v;
        const auto options = QRegularExpression::CaseInsensitiveOption;
        for (const HintRow &r : rows)
            v.push_back(
                {&r, QRegularExpression(QString::fromUtf8(r.pattern), options),
                 r.alsoNeeded ? QRegularExpression(QString::fromUtf8(r.alsoNeeded), options) : QRegularExpression()});
        return v;
    }();
    return compiled;
}

bool applies(const HintRow &r, const FailedRun &run)
{
    if (!(r.operations & bit(run.operation)))
        return false;
    if (r.platform && run.platform != QLatin1String(r.platform))
        return false;
    return !r.programmers || QString::fromLatin1(r.programmers).split(QLatin1Char(' ')).contains(run.programmer);
}

// "0x1e9307" or "1E 93 07" -> "1E 93 07（ATmega8）"; an unknown chip keeps just its bytes.
QString describedSignature(const QString &candidate, const QList<KnownChip> &knownChips)
{
    // The candidate is the tool's text: blanks and control characters (a line
    // break in a cut-off line among them) never reach the one-line hint.
    QString hex;
    for (const QChar ch : candidate) {
        if (!ch.isSpace() && ch.category() != QChar::Other_Control)
            hex += ch;
    }
    if (hex.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex.remove(0, 2);
    hex = hex.toUpper();
    QString bytes;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        bytes += (bytes.isEmpty() ? QString() : QStringLiteral(" ")) + hex.mid(i, 2);
    for (const KnownChip &chip : knownChips) {
        if (signatureMatches(bytes, chip.signature))
            return bytes + QStringLiteral("（") + chip.name + QStringLiteral("）");
    }
    return bytes;
}

// A programmer lost in the middle of an operation, named by the cable it
// hangs on; a program may have been cut off halfway.
QString lostProgrammerHint(const FailedRun &run)
{
    const QString cable = run.programmer == QLatin1String("usbasp")        ? QStringLiteral(" USB 线")
                          : run.programmer == QLatin1String("pony-stk200") ? QStringLiteral("并口线")
                                                                           : QStringLiteral("串口线");
    QString hint = QStringLiteral("操作中途与编程器失去了连接：请检查%1是否插好，然后重新执行这项操作").arg(cable);
    if (bit(run.operation) & programs)
        hint += QStringLiteral("；Flash 或 EEPROM 可能只写入了一部分");
    return hint;
}

} // namespace

QStringList failureHints(const FailedRun &run)
{
    // Whatever the tool printed before, it then went quiet until it was stopped.
    if (run.silentSeconds > 0)
        return {QStringLiteral("avrdude 已有 %1 秒没有任何输出，本程序已将它停止").arg(run.silentSeconds),
                lostProgrammerHint(run)};
    // The chip keeps SPIEN programmed in serial programming: an hfuse that
    // leaves it unprogrammed reads back otherwise. Lock bits are to blame
    // only when one was written programmed.
    static const QRegularExpression hfuseMismatch(QString::fromUtf8(hfuseVerifyFailed),
                                                  QRegularExpression::CaseInsensitiveOption);
    if (run.operation == OperationKind::FuseWrite && run.writtenLock && (*run.writtenLock & 0x3f) == 0x3f
        && hfuseMismatch.match(run.captured).hasMatch())
        return {QStringLiteral("写入后高熔丝位校验不符：“SPIEN”框没有勾选，而串行编程无法取消芯片的 SPIEN 位："
                               "请先读取熔丝位，使“SPIEN”框与芯片一致，再修改其他位后写入")};
    QStringList hints;
    for (const CompiledRow &c : compiledRows()) {
        const HintRow &r = *c.row;
        if (!applies(r, run) || !c.pattern.match(run.captured).hasMatch())
            continue;
        if (r.alsoNeeded && !c.alsoNeeded.match(run.captured).hasMatch())
            continue;
        if (r.lostProgrammer)
            hints << lostProgrammerHint(run);
        for (const char *hint : r.hints) {
            if (!hint)
                break;
            QString text = QString::fromUtf8(hint);
            if (text.contains(QLatin1String("%1")))
                text = text.arg(describedSignature(signatureCandidate(run.captured), run.knownChips));
            hints << text;
        }
        if (!r.preface)
            break;
    }
    return hints.mid(0, maxFailureHints);
}

QString paneWithHints(const QString &paneText, const QStringList &hints)
{
    if (hints.isEmpty())
        return paneText;
    const QString lineBreak = QStringLiteral("\r\n");
    QString text = paneText;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')) && !text.endsWith(QLatin1Char('\r')))
        text += lineBreak;
    for (const QString &hint : hints)
        text += lineBreak + QStringLiteral("提示：") + hint;
    return text;
}
