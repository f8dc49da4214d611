#pragma once
// A main window in a temporary program folder, with scripted dialogs and an
// instance lock of its own, so window tests can run side by side.

#include "app/frmMain.h"
#include "platform/instance_lock.h"
#include "scripted_dialogs.h"

#include <QTemporaryDir>

#include <memory>

class QComboBox;

class WindowFixture {
public:
    // instanceKey: the single-instance lock to take; a key of its own by default.
    explicit WindowFixture(const QString &instanceKey = QString());
    ~WindowFixture();

    QString folder() const { return m_dir.path(); }
    QString toolsFolder() const { return m_dir.path() + QStringLiteral("/tools"); }

    // Writes tools/avrdude as a shell script with this body (after "#!/bin/sh").
    void installFakeTool(const QByteArray &scriptBody);
    // Makes tools/avrdude a link to program (and avrdude.conf to conf).
    void linkTool(const QString &program, const QString &conf);

    // Creates the window and runs its start-up.
    frmMain &open();
    frmMain &window() { return *m_window; }
    void closeWindow();

    template <typename T> T *find(const char *name) const
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }

    // Chooses list item by text as a user would (activates it).
    void choose(const char *comboName, const QString &itemText);
    // Device, programmer and port in one go.
    void chooseAll(const QString &device, const QString &programmer, const QString &port);

    QString paneText() const;
    // True when no operation is running: every operation button is enabled.
    bool operationButtonsEnabled() const;
    // Runs the signature probe alone, as the Flash panel does with no image
    // chosen and the file dialog cancelled. True when the chip passed; the
    // panel's request for a file that then follows is taken off the record.
    bool probeOnly();

    ScriptedDialogs dialogs;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<platform::InstanceLock> m_lock;
    std::unique_ptr<frmMain> m_window;
};
