#include "sim_bench.h"

#include "sim_paths.h"

#include <QCheckBox>
#include <QFile>

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
