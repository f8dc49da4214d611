#include "window_fixture.h"

#include "app/output_pane_edit.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>

WindowFixture::WindowFixture(const QString &instanceKey)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("tools"));
    m_lock = std::make_unique<platform::InstanceLock>(
        instanceKey.isEmpty() ? QStringLiteral("fusewright-test-") + QUuid::createUuid().toString(QUuid::Id128)
                              : instanceKey);
}

WindowFixture::~WindowFixture()
{
    closeWindow();
}

void WindowFixture::installFakeTool(const QByteArray &scriptBody)
{
    const QString path = toolsFolder() + QStringLiteral("/avrdude");
    QFile::remove(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write the fake tool");
    f.write("#!/bin/sh\n" + scriptBody + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void WindowFixture::linkTool(const QString &program, const QString &conf)
{
    QFile::remove(toolsFolder() + QStringLiteral("/avrdude"));
    QFile::remove(toolsFolder() + QStringLiteral("/avrdude.conf"));
    QFile::link(program, toolsFolder() + QStringLiteral("/avrdude"));
    QFile::link(conf, toolsFolder() + QStringLiteral("/avrdude.conf"));
}

frmMain &WindowFixture::open()
{
    AppEnvironment env;
    env.programFolder = m_dir.path();
    env.rendering = platform::posixRendering();
    env.dialogs = &dialogs;
    env.instanceLock = m_lock.get();
    m_window = std::make_unique<frmMain>(env);
    m_window->Form_Load();
    return *m_window;
}

void WindowFixture::closeWindow()
{
    if (m_window)
        m_window->close();
    m_window.reset();
}

void WindowFixture::choose(const char *comboName, const QString &itemText)
{
    QComboBox *combo = find<QComboBox>(comboName);
    const int index = combo->findText(itemText, Qt::MatchExactly);
    if (index < 0)
        qFatal("no such list item");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void WindowFixture::chooseAll(const QString &device, const QString &programmer, const QString &port)
{
    choose("cmbDevice", device);
    choose("cmbPgr", programmer);
    choose("cmbPort", port);
}

QString WindowFixture::paneText() const
{
    return find<OutputPaneEdit>("txtOutput")->paneText();
}

bool WindowFixture::operationButtonsEnabled() const
{
    for (const char *name : {"cmdFuseRD", "cmdFuseWR", "cmdCalRD", "cmdFrun", "cmdErun", "cmdRst"}) {
        if (!find<QWidget>(name)->isEnabled())
            return false;
    }
    return true;
}

bool WindowFixture::probeOnly()
{
    const qsizetype asked = dialogs.fileRequests.size();
    m_window->cmdFrun_Click();
    if (dialogs.fileRequests.size() == asked)
        return false;
    dialogs.fileRequests.removeLast();
    dialogs.messages.removeLast(); // "请选择FLASH文件"
    return true;
}
