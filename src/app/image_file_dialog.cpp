#include "image_file_dialog.h"

QString ImageFileDialog::choose(Dialogs &dialogs, QWidget *parent, TransferDirection direction,
                                const QString &programFolder)
{
    FileDialogRequest request;
    request.mode = direction == TransferDirection::Program ? FileDialogMode::Open : FileDialogMode::Save;
    request.filter = imageFileFilter();
    request.initialDir = programFolder;
    request.fileName = m_fileName;
    const QString chosen = dialogs.chooseFile(parent, request);
    if (!chosen.isEmpty())
        m_fileName = chosen;
    return chosen;
}
