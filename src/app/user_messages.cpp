#include "user_messages.h"

#include "app_environment.h"

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
    }
    return std::nullopt;
}

QString imageTooLargeText(const QString &imageBytes, const QString &memoryBytes)
{
    return QStringLiteral("映像文件超出器件的存储空间，未进行任何操作，器件中的程序保持不变\r\n映像大小：") + imageBytes
           + QStringLiteral(" 字节\r\n器件存储空间：") + memoryBytes
           + QStringLiteral(" 字节\r\n该映像文件可能是为其他型号的器件生成的");
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
