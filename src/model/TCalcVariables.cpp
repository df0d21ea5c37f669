#include "model/TCalcVariables.h"

#include "model/Catalogue.h"

#include <stdexcept>

std::size_t TCalcVariables::index(Slot slot)
{
    const int n = SlotKeys::number(slot);
    if (!SlotKeys::isValidNumber(n))
        throw std::out_of_range("no such variable slot");
    return static_cast<std::size_t>(n - 1);
}

TVariable &TCalcVariables::at(int slotNumber)
{
    return (*this)[static_cast<Slot>(slotNumber)];
}

const TVariable &TCalcVariables::at(int slotNumber) const
{
    return (*this)[static_cast<Slot>(slotNumber)];
}

void TCalcVariables::InitCatalogue()
{
    for (const CatalogueEntry &entry : Catalogue::entries()) {
        TVariable &v = (*this)[entry.slot];
        v.SetName(QString::fromUtf8(entry.name));
        v.SetValue(entry.defaultValue);
        v.SetFormat(QString::fromUtf8(entry.format));
        v.SetDescription(QString::fromUtf8(entry.description));
        v.SetUnits(QString::fromUtf8(entry.units));
        v.SetSymbolMark(entry.symbolMark);
    }
}

void TCalcVariables::copyFrom(const TCalcVariables &other)
{
    m_slots = other.m_slots;
    Mode = other.Mode;
    SelectedMaterialId = other.SelectedMaterialId;
    SelectedSoilId = other.SelectedSoilId;
}
