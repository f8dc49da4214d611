#include "scripted_dialogs.h"

MessageAnswer ScriptedDialogs::message(QWidget *, const QString &text, const QString &title, MessageIcon icon,
                                       MessageButtons buttons)
{
    messages.append({text, title, icon, buttons});
    if (whenShown)
        whenShown();
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (buttons) {
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::Yes;
    case MessageButtons::Ok:
        break;
    }
    return MessageAnswer::Ok;
}

QString ScriptedDialogs::chooseFile(QWidget *, const FileDialogRequest &request)
{
    fileRequests.append(request);
    if (whileChoosing)
        whileChoosing();
    return files.isEmpty() ? QString() : files.dequeue();
}

void ScriptedDialogs::clear()
{
    answers.clear();
    files.clear();
    messages.clear();
    fileRequests.clear();
}
