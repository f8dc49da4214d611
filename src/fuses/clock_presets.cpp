#include "clock_presets.h"

#include <QStringList>

const std::array<ClockPreset, 13> &clockPresets()
{
    static const std::array<ClockPreset, 13> presets{{
        {"内部RC 1MHz", {true, true, true, false}},
        {"内部RC 2MHz", {true, true, false, true}},
        {"内部RC 4MHz", {true, true, false, false}},
        {"内部RC 8MHz", {true, false, true, true}},
        // The crystal ranges leave CKSEL0 at 1.
        {"外部晶体振荡器(0.4---0.9MHz)", {false, true, false, false}},
        {"外部晶体振荡器(0.9---3.0MHz)", {false, false, true, false}},
        {"外部晶体振荡器(3.0---8.0MHz)", {false, false, false, false}},
        {"32768Hz低频晶振", {false, true, true, false}},
        {"外部频率源", {true, true, true, true}},
        {"外部RC振荡器(=<0.9MHz)", {true, false, true, false}},
        {"外部RC振荡器(0.9---3.0MHz)", {true, false, false, true}},
        {"外部RC振荡器(3.0---8.0MHz)", {true, false, false, false}},
        {"外部RC振荡器(8.0---12.0MHz)", {false, true, true, true}},
    }};
    return presets;
}

QStringList clockPresetTexts()
{
    QStringList texts;
    for (const ClockPreset &p : clockPresets())
        texts << QString::fromUtf8(p.text);
    return texts;
}

bool applyClockPreset(const QString &listText, PanelTicks &ticks)
{
    for (const ClockPreset &p : clockPresets()) {
        if (QString::fromUtf8(p.text) != listText)
            continue;
        for (size_t i = 0; i < p.ticks.size(); ++i)
            ticks[fusepanel::firstClockSelectBox + i] = p.ticks[i];
        return true;
    }
    return false;
}
