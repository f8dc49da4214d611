#pragma once
// Every modal question and file choice goes through this interface, so tests
// can answer them and record what was shown.

#include <QString>

class QWidget;

enum class MessageIcon { None, Critical, Warning, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// What closing a box without pressing a button answers: its negative button.
inline MessageAnswer dismissedAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::Ok:
        break;
    }
    return MessageAnswer::Ok;
}

enum class FileDialogMode { Open, Save };

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    QString filter; // "Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin"
    QString initialDir;
    QString fileName; // the name the dialog remembers from its last use
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer message(QWidget *parent, const QString &text, const QString &title, MessageIcon icon,
                                  MessageButtons buttons) = 0;

    // The chosen path, or an empty text when the user cancels.
    virtual QString chooseFile(QWidget *parent, const FileDialogRequest &request) = 0;
};
