#include "selection_check.h"

std::optional<MissingSelection> checkSelections(const Selections &s)
{
    if (s.part.isEmpty())
        return MissingSelection::Device;
    if (s.programmer.isEmpty())
        return MissingSelection::Programmer;
    if (s.port.isEmpty())
        return MissingSelection::Port;
    return std::nullopt;
}
