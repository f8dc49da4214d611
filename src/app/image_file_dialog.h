#pragma once
// The one image file dialog both panels share. It remembers the last name
// confirmed in it and offers that as the starting name; a cancel leaves it.

#include "dialogs.h"
#include "memory/image_transfer.h"

class ImageFileDialog {
public:
    // The open dialog for a program, the save dialog for a read, starting in
    // the program folder. Returns the chosen path, or an empty text on cancel.
    QString choose(Dialogs &dialogs, QWidget *parent, TransferDirection direction, const QString &programFolder);

    QString fileName() const { return m_fileName; }

private:
    QString m_fileName;
};
