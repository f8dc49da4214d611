#pragma once
// A main window whose tools folder is wired to a running simulator: the real
// avrdude runs the window's own command lines against a virtual chip.

#include "sim_process.h"
#include "window_fixture.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// Fails the test when the simulator could not be started, saying why.
#define REQUIRE_BENCH(bench) QVERIFY2((bench).ready(), qPrintable((bench).whyNotReady()))

// The labels of the ticked fuse boxes, left to right, top to bottom.
QStringList tickedLabels(const frmMain &window);
// Every message shown so far, as "text|title".
QStringList shownTexts(const ScriptedDialogs &dialogs);
// The four calibration boxes, 1, 2, 4 and 8 MHz.
QStringList calibrationBoxes(WindowFixture &f);
// Chooses path in the Flash (or EEPROM) panel's file dialog and programs it, verified.
void programImage(WindowFixture &f, bool flash, const QString &path);

class SimBench {
public:
    // chip: "m8", "m16" or "none"; extra: further simulator options, where
    // "<tools>" stands for the window's tools folder.
    explicit SimBench(const QString &chip, const QStringList &extra = {});

    bool ready() const { return m_ready; }
    QString whyNotReady() const { return m_error; }

    WindowFixture &fixture() { return m_fixture; }
    frmMain &window() { return m_fixture.window(); }

    SimProcess &simulator() { return m_sim; }

    QString stateFolder() const { return m_state.path(); }
    QByteArray stateFile(const QString &name) const;
    void setStateFile(const QString &name, const QByteArray &bytes);

private:
    WindowFixture m_fixture;
    QTemporaryDir m_state;
    SimProcess m_sim;
    bool m_ready = false;
    QString m_error;
};
