#pragma once

#include <cstdint>

// The two materials of the reference database that are fiberglass, by their
// ids: the pipes of stiffness class SN 5000 and SN 10000.  Every other id,
// -1 (nothing chosen) included, is a corrugated polymer material.  Choosing
// one of the two in the static calculation selects the fiberglass
// calculation, its tube table and its report.
namespace FiberglassMaterial {

constexpr std::int32_t Sn5000 = 4;
constexpr std::int32_t Sn10000 = 5;

constexpr bool isFiberglass(std::int32_t materialId)
{
    return materialId == Sn5000 || materialId == Sn10000;
}

} // namespace FiberglassMaterial
