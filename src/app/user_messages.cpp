#include "user_messages.h"

#include "app_environment.h"
#include "memory/image_extent.h"

using Kind = OperationProblem::Kind;

namespace {
QString fileProblemText(const QString &what, const OperationProblem &problem)
{
    return what + problem.detail + QStringLiteral("\r\n") + problem.reason;
}
} // namespace

QString noticeTitle()
{
    return QStringLiteral("提示");
}
QString errorTitle()
{
    return QStringLiteral("错误");
}

UserMessage selectionMessage(MissingSelection missing, SelectionWording wording)
{
    const bool notice = wording == SelectionWording::Notice;
    const QString title = notice ? noticeTitle() : errorTitle();
    switch (missing) {
    case MissingSelection::Device:
        return {notice ? QStringLiteral("请选择器件") : QStringLiteral("请选择器件类型"), title};
    case MissingSelection::Programmer:
        return {notice ? QStringLiteral("请选择编程设备") : QStringLiteral("请选择编程器类型"), title};
    case MissingSelection::Port:
        break;
    }
    return {notice ? QStringLiteral("请选择端口") : QStringLiteral("请选择编程器所在端口"), title};
}

QString signatureMismatchText(const QString &candidate)
{
    return QStringLiteral("编程器或器件错误\r\nDevice signature=") + candidate;
}

std::optional<UserMessage> problemMessage(const OperationProblem &problem, const ChipProfile *chip)
{
    switch (problem.kind) {
    case Kind::None:
    case Kind::Abandoned:
        return std::nullopt;
    case Kind::SignatureMismatch:
        return UserMessage{signatureMismatchText(problem.detail), errorTitle()};
    case Kind::SecondCheckFailed:
        if (chip && !chip->secondCheckNamesSignature)
            return UserMessage{QStringLiteral("编程器或器件错误"), noticeTitle()};
        return UserMessage{signatureMismatchText(problem.detail), errorTitle()};
    case Kind::NoAnswer:
        return UserMessage{QStringLiteral("器件无响应"), errorTitle()};
    case Kind::WriteCancelled:
        return UserMessage{QStringLiteral("熔丝位烧写已取消"), noticeTitle(), MessageIcon::Warning};
    case Kind::WriteNotSupported:
        return UserMessage{QStringLiteral("目前还不支持"), applicationTitle()};
    case Kind::FileNotWritten:
        return UserMessage{fileProblemText(QStringLiteral("无法写入文件："), problem), errorTitle()};
    case Kind::FileNotRemoved:
        return UserMessage{fileProblemText(QStringLiteral("无法删除文件："), problem), errorTitle()};
    case Kind::FileNotRead:
        return UserMessage{fileProblemText(QStringLiteral("无法读取文件："), problem), errorTitle()};
    case Kind::ImageTooLarge:
        return UserMessage{imageTooLargeText(problem.detail, problem.reason), errorTitle()};
    case Kind::ImageUnusable:
        return UserMessage{unusableImageText(problem.detail.toInt(), problem.reason), errorTitle()};
    }
    return std::nullopt;
}

QString imageTooLargeText(const QString &imageBytes, const QString &memoryBytes)
{
    return QStringLiteral("映像文件超出器件的存储空间，未进行任何操作，器件中的程序保持不变\r\n映像大小：") + imageBytes
           + QStringLiteral(" 字节\r\n器件存储空间：") + memoryBytes
           + QStringLiteral(" 字节\r\n该映像文件可能是为其他型号的器件生成的");
}

QString unusableImageText(int fault, const QString &line)
{
    using Fault = ImageReading::Fault;
    const QString atLine = QStringLiteral("第 ") + line + QStringLiteral(" 行：");
    const QString useAscii = QStringLiteral("请将文件另存为不带 BOM 的 ASCII 文本");
    const QString chooseImage = QStringLiteral("请选择 Intel HEX（.hex）或二进制映像文件");
    const QString damaged = QStringLiteral("映像文件是损坏的 Intel HEX 文件");
    const QString takenAsRaw = QStringLiteral("映像文件名以 .hex 结尾，但 avrdude 会把它当作二进制数据原样写入");
    QStringList lines;
    switch (Fault(fault)) {
    case Fault::NoData:
        lines << QStringLiteral("映像文件中没有可写入的数据");
        break;
    case Fault::BadChecksum:
        lines << damaged << atLine + QStringLiteral("记录的校验和不符");
        break;
    case Fault::BadRecord:
        lines << damaged << atLine + QStringLiteral("记录的长度与内容不符，或含有非十六进制字符");
        break;
    case Fault::BadRecordType:
        lines << damaged << atLine + QStringLiteral("未知的记录类型");
        break;
    case Fault::NoEndRecord:
        lines << QStringLiteral("映像文件缺少 Intel HEX 的结束记录，文件可能不完整");
        break;
    case Fault::RecordSkipped:
        lines << QStringLiteral("映像文件中有 avrdude 不会读取的记录，只会写入文件的一部分")
              << atLine + QStringLiteral("记录不在行首");
        break;
    case Fault::LoneCarriageReturn:
        lines << QStringLiteral("映像文件的行尾只有回车符（CR），avrdude 只会读取其中一部分记录")
              << atLine + QStringLiteral("此行起的记录不会被写入")
              << QStringLiteral("请将文件另存为以 CR LF 或 LF 换行的文本");
        break;
    case Fault::ByteOrderMark:
        lines << takenAsRaw << QStringLiteral("原因：文件以 UTF-8 字节顺序标记（BOM）开头") << useAscii;
        break;
    case Fault::Utf16:
        lines << takenAsRaw << QStringLiteral("原因：文件是 UTF-16 编码的文本") << useAscii;
        break;
    case Fault::NonAsciiText:
        lines << takenAsRaw << QStringLiteral("原因：文件中含有非 ASCII 字符（例如中文注释）")
              << QStringLiteral("请删去这些字符，或将文件另存为 ASCII 文本");
        break;
    case Fault::NotChecked:
        lines << QStringLiteral("本程序无法检查 Motorola S-record 或 ELF 格式的映像") << chooseImage;
        break;
    case Fault::UnknownFormat:
    case Fault::Unreadable:
    case Fault::None:
        lines << QStringLiteral("无法识别映像文件的格式") << chooseImage;
        break;
    }
    lines[0] += QStringLiteral("，未进行任何操作，器件中的程序保持不变");
    return lines.join(QStringLiteral("\r\n"));
}

QString fuseWriteQuestion()
{
    return QStringLiteral("确定进行熔丝位的写入？");
}
QString presetNeedsDeviceText()
{
    return QStringLiteral("请选择器件型号");
}
QString alreadyRunningText()
{
    return QStringLiteral("程序已经运行");
}
QString alreadyRunningTitle()
{
    return QStringLiteral("重复运行");
}

QString pipeFailureText(int errorNumber)
{
    return QStringLiteral("CreatePipe failed. Error: ") + QString::number(errorNumber);
}

QString startFailureText(int errorNumber)
{
    return QStringLiteral("无法建立新进程，错误码：") + QString::number(errorNumber);
}

QString missingFlashFileText()
{
    return QStringLiteral("请选择FLASH文件");
}
QString missingEepromFileText()
{
    return QStringLiteral("请选择EEPROM文件");
}

QString overwriteQuestion(const QString &imagePath)
{
    return QStringLiteral("保存在文件") + imagePath + QLatin1Char('?');
}

QString overwriteQuestionTitle()
{
    return QStringLiteral("是否覆盖文件");
}
