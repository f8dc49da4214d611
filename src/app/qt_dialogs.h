#pragma once
#include "dialogs.h"

// The real dialogs: Qt's message box and file dialog.
class QtDialogs : public Dialogs {
public:
    MessageAnswer message(QWidget *parent, const QString &text, const QString &title, MessageIcon icon,
                          MessageButtons buttons) override;
    QString chooseFile(QWidget *parent, const FileDialogRequest &request) override;
};

// "Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin" -> "Intel HEX File(*.hex) (*.hex);;Binary(*.bin) (*.bin)"
QString qtFileFilter(const QString &pipeFilter);
