#pragma once
// Answers the window's dialogs from a queue and records what was shown.

#include "app/dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

class ScriptedDialogs : public Dialogs {
public:
    MessageAnswer message(QWidget *parent, const QString &text, const QString &title, MessageIcon icon,
                          MessageButtons buttons) override;
    QString chooseFile(QWidget *parent, const FileDialogRequest &request) override;

    // Answers used in order; when empty, a box is answered with its first button.
    QQueue<MessageAnswer> answers;
    // Paths returned in order; when empty, the dialog is cancelled.
    QQueue<QString> files;

    QList<ShownMessage> messages;
    // Called as each message is shown, before it is answered.
    std::function<void()> whenShown;
    QList<FileDialogRequest> fileRequests;
    // Called as each file dialog opens, before it is answered; a test holds
    // the dialog open by running an event loop here, as the real one does.
    std::function<void()> whileChoosing;

    void clear();
};
