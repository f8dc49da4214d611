#include "selection_check.h"

std::optional<SelectionProblem> checkSelections(const Selections &s, SelectionWording wording)
{
    const bool notice = wording == SelectionWording::Notice;
    const QString title = notice ? QStringLiteral("提示") : QStringLiteral("错误");
    if (s.part.isEmpty())
        return SelectionProblem{notice ? QStringLiteral("请选择器件") : QStringLiteral("请选择器件类型"), title};
    if (s.programmer.isEmpty())
        return SelectionProblem{notice ? QStringLiteral("请选择编程设备") : QStringLiteral("请选择编程器类型"), title};
    if (s.port.isEmpty())
        return SelectionProblem{notice ? QStringLiteral("请选择端口") : QStringLiteral("请选择编程器所在端口"), title};
    return std::nullopt;
}
