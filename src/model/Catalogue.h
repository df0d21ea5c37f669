#pragma once

#include "model/SlotKeys.h"

#include <array>

// One row of the variable catalogue.  Texts are UTF-8; Latin and Cyrillic
// letters that look alike are kept exactly as they must be shown.
struct CatalogueEntry
{
    Slot slot;
    const char *name;
    double defaultValue;
    const char *format;
    const char *units;
    bool symbolMark;
    const char *description;
};

class Catalogue
{
public:
    // All the rows, in slot order.
    static const std::array<CatalogueEntry, SlotKeys::Count> &entries();
};
