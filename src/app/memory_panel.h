#pragma once
// One image panel of the main window (Flash or EEPROM): its controls and the
// form-level texts it writes. Both panels run the same steps on their own.

#include "memory/image_transfer.h"
#include "runner/operation_kind.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

struct MemoryPanel {
    MemoryKind kind;
    QString missingFileText; // shown when a run finds no image file chosen
    QLineEdit *txtFile;
    QRadioButton *optProgram;
    QCheckBox *chkVerify;
    QString &file;
    CommandFragment &op;
    CommandFragment &verify;

    TransferDirection direction() const
    {
        return optProgram->isChecked() ? TransferDirection::Program : TransferDirection::Read;
    }
    OperationKind operation() const
    {
        const bool flash = kind == MemoryKind::Flash;
        if (direction() == TransferDirection::Program)
            return flash ? OperationKind::FlashProgram : OperationKind::EepromProgram;
        return flash ? OperationKind::FlashRead : OperationKind::EepromRead;
    }
};
