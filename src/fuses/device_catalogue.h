#pragma once
// The two chips the program knows.

#include <QString>

#include <array>

struct DeviceEntry {
    QString listText;      // as the device list shows it
    QString part;          // avrdude part id
    QString signature;     // expected signature text, "0x" and six lower-case hex digits
    QString fuseCaption;   // caption of the fuse frame once chosen
    QString label16;       // hfuse bit 7
    QString label17;       // hfuse bit 6
};

const std::array<DeviceEntry, 2> &deviceCatalogue();

// The entry whose list text equals text exactly (case counts), or nullptr.
const DeviceEntry *findDevice(const QString &listText);

// The fuse frame's caption before any device is chosen.
QString defaultFuseCaption();
