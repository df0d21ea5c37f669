#include "model/CalcVariables.h"

#include "model/Catalogue.h"

#include <stdexcept>

std::size_t CalcVariables::index(Slot slot)
{
    const int n = SlotKeys::number(slot);
    if (!SlotKeys::isValidNumber(n))
        throw std::out_of_range("no such variable slot");
    return static_cast<std::size_t>(n - 1);
}

Variable &CalcVariables::at(int slotNumber)
{
    return (*this)[static_cast<Slot>(slotNumber)];
}

const Variable &CalcVariables::at(int slotNumber) const
{
    return (*this)[static_cast<Slot>(slotNumber)];
}

void CalcVariables::applyCatalogue()
{
    for (const CatalogueEntry &entry : Catalogue::entries()) {
        Variable &v = (*this)[entry.slot];
        v.setName(QString::fromUtf8(entry.name));
        v.setValue(entry.defaultValue);
        v.setFormat(QString::fromUtf8(entry.format));
        v.setDescription(QString::fromUtf8(entry.description));
        v.setUnits(QString::fromUtf8(entry.units));
        v.setSymbolMark(entry.symbolMark);
    }
}

void CalcVariables::copyFrom(const CalcVariables &other)
{
    m_slots = other.m_slots;
    mode = other.mode;
    selectedMaterialId = other.selectedMaterialId;
    selectedSoilId = other.selectedSoilId;
}
