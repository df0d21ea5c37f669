#include "model/SlotKeys.h"

#include <QHash>

namespace {

const char *const kKeys[] = {
#define PIPECALC_SLOT_NAME(key) #key,
    PIPECALC_SLOT_KEYS(PIPECALC_SLOT_NAME)
#undef PIPECALC_SLOT_NAME
};

static_assert(sizeof(kKeys) / sizeof(kKeys[0]) == SlotKeys::Count, "one key per slot");

} // namespace

QString SlotKeys::key(Slot slot)
{
    return key(number(slot));
}

QString SlotKeys::key(int slotNumber)
{
    if (!isValidNumber(slotNumber))
        return QString();
    return QString::fromLatin1(kKeys[slotNumber - 1]);
}

std::optional<Slot> SlotKeys::fromKey(const QString &keyText)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < Count; ++i)
            h.insert(QString::fromLatin1(kKeys[i]), i + 1);
        return h;
    }();
    const auto it = index.constFind(keyText);
    if (it == index.constEnd())
        return std::nullopt;
    return static_cast<Slot>(it.value());
}
