#include "sim_bench.h"

#include "sim_paths.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

QStringList tickedLabels(const frmMain &window)
{
    QStringList labels;
    for (int i = 0; i < 32; ++i)
        if (window.chkFuse(i)->isChecked())
            labels << window.chkFuse(i)->text();
    return labels;
}

QStringList shownTexts(const ScriptedDialogs &dialogs)
{
    QStringList t;
    for (const ShownMessage &m : dialogs.messages)
        t << m.text + QLatin1Char('|') + m.title;
    return t;
}

QStringList calibrationBoxes(WindowFixture &f)
{
    QStringList t;
    for (const char *name : {"txtCal1", "txtCal2", "txtCal4", "txtCal8"})
        t << f.find<QLineEdit>(name)->text();
    return t;
}

void programImage(WindowFixture &f, bool flash, const QString &path)
{
    f.find<QRadioButton>(flash ? "optFwr" : "optEEwr")->setChecked(true);
    f.dialogs.files.enqueue(path);
    flash ? f.window().cmdFlash_Click() : f.window().cmdEEPROM_Click();
    flash ? f.window().cmdFrun_Click() : f.window().cmdErun_Click();
}

SimBench::SimBench(const QString &chip, const QStringList &extra)
{
    m_fixture.linkTool(simWrapper(), avrdudeConf());
    const QString portFile = m_fixture.toolsFolder() + QStringLiteral("/sim-port");
    QStringList args{QStringLiteral("--chip"), chip, QStringLiteral("--state"), m_state.path()};
    for (QString arg : extra)
        args << arg.replace(QStringLiteral("<tools>"), m_fixture.toolsFolder());
    m_ready = m_sim.start(portFile, args);
    if (!m_ready)
        m_error = m_sim.errorText();
    else
        m_fixture.open();
}

QByteArray SimBench::stateFile(const QString &name) const
{
    QFile f(m_state.path() + QLatin1Char('/') + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SimBench::setStateFile(const QString &name, const QByteArray &bytes)
{
    QFile f(m_state.path() + QLatin1Char('/') + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
