#pragma once

#include "model/FiberglassMaterial.h"
#include "model/SlotKeys.h"
#include "model/Variable.h"

#include <array>
#include <cstdint>

// The one calculation state of the program: SlotKeys::Count variables in fixed slots, the
// calculation kind and the chosen material and soil.  The set owns its
// variables; a reference to a slot's variable stays valid for the set's life.
class CalcVariables
{
public:
    CalcVariables() = default;
    CalcVariables(const CalcVariables &) = delete;
    CalcVariables &operator=(const CalcVariables &) = delete;

    // Gives every slot its name, default value, format, description, units
    // and symbol mark from the catalogue.
    void applyCatalogue();

    // Makes this set a copy of `other`: every variable and the three fields
    // below.  Copies are made on purpose only, to try variants of a
    // calculation without touching the set the user works with.
    void copyFrom(const CalcVariables &other);

    Variable &operator[](Slot slot) { return m_slots[index(slot)]; }
    const Variable &operator[](Slot slot) const { return m_slots[index(slot)]; }

    // Access by slot number, 1 to SlotKeys::Count.
    Variable &at(int slotNumber);
    const Variable &at(int slotNumber) const;

    // Shorthands for the calculations.
    double value(Slot slot) const { return (*this)[slot].value(); }
    void setValue(Slot slot, double v) { (*this)[slot].setValue(v); }

    // Calculation kind: 0 hydraulic, 1 static.
    std::uint8_t mode = 0;
    // -1 while nothing is chosen.
    std::int32_t selectedMaterialId = -1;
    std::int32_t selectedSoilId = -1;

    bool isFiberglassMaterial() const { return FiberglassMaterial::isFiberglass(selectedMaterialId); }

private:
    static std::size_t index(Slot slot);

    std::array<Variable, SlotKeys::Count> m_slots{};
};
