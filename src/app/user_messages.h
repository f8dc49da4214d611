#pragma once
// Every message the main window shows, in the words the user reads.

#include "dialogs.h"
#include "fuses/chip_profile.h"
#include "runner/operation_problem.h"
#include "runner/selection_check.h"

#include <QString>

#include <optional>

struct UserMessage {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Critical;
};

// "请选择器件" … for the fuse, calibration and reset buttons (notice), "请选择器件类型" …
// for the Flash and EEPROM buttons (error).
UserMessage selectionMessage(MissingSelection missing, SelectionWording wording);

// "编程器或器件错误" CR LF "Device signature=" <candidate>
QString signatureMismatchText(const QString &candidate);

// The message for what stopped an operation; nothing for a closing window
// or an operation that ended well. chip: the chip the operation worked on.
std::optional<UserMessage> problemMessage(const OperationProblem &problem, const ChipProfile *chip);

// An image larger than the chip's memory: both sizes in bytes, and the likely cause.
QString imageTooLargeText(const QString &imageBytes, const QString &memoryBytes);
// An image the tool would reject or misread (ImageReading::Fault as its
// number): what is wrong, the line it is at when one is named, and what to do.
QString unusableImageText(int fault, const QString &line);
QString fuseWriteQuestion();     // "确定进行熔丝位的写入？", title "提示"
QString noticeTitle();           // "提示"
QString errorTitle();            // "错误"
QString presetNeedsDeviceText(); // "请选择器件型号", title "错误"
QString alreadyRunningText();    // "程序已经运行", title "重复运行"
QString alreadyRunningTitle();
QString pipeFailureText(int errorNumber);
QString startFailureText(int errorNumber);
QString missingFlashFileText();                      // "请选择FLASH文件"
QString missingEepromFileText();                     // "请选择EEPROM文件"
QString overwriteQuestion(const QString &imagePath); // "保存在文件<path>?"
QString overwriteQuestionTitle();                    // "是否覆盖文件"
