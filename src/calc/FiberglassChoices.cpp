#include "calc/FiberglassChoices.h"

#include <iterator>

namespace {

template <typename Choice>
struct Names
{
    Choice choice;
    const char *word;
    const char16_t *label;
};

// The choices in the order of the enum, which is the order of the window's
// choice lists.
template <typename Choice>
struct Table;

template <>
struct Table<Laying>
{
    static constexpr Names<Laying> rows[] = {
        {Laying::Trench, "trench", u"траншейный"},
        {Laying::Trenchless, "trenchless", u"бестраншейный"},
    };
    static_assert(rows[0].choice == Laying::Trench && rows[1].choice == Laying::Trenchless);
};

template <>
struct Table<Wall>
{
    static constexpr Names<Wall> rows[] = {
        {Wall::SingleLayer, "single", u"однослойная"},
        {Wall::ThreeLayer, "three", u"трехслойная"},
    };
    static_assert(rows[0].choice == Wall::SingleLayer && rows[1].choice == Wall::ThreeLayer);
};

template <typename Choice>
const Names<Choice> &namesOf(Choice choice)
{
    return Table<Choice>::rows[FiberglassChoices::index(choice)];
}

} // namespace

template <typename Choice>
QString FiberglassChoices::word(Choice choice)
{
    return QString::fromLatin1(namesOf(choice).word);
}

template <typename Choice>
QStringList FiberglassChoices::words()
{
    QStringList all;
    for (const Names<Choice> &names : Table<Choice>::rows)
        all << QString::fromLatin1(names.word);
    return all;
}

template <typename Choice>
std::optional<Choice> FiberglassChoices::fromWord(const QString &word)
{
    for (const Names<Choice> &names : Table<Choice>::rows) {
        if (word == QLatin1String(names.word))
            return names.choice;
    }
    return std::nullopt;
}

template <typename Choice>
QString FiberglassChoices::label(Choice choice)
{
    return QString::fromUtf16(namesOf(choice).label);
}

template <typename Choice>
int FiberglassChoices::index(Choice choice)
{
    return static_cast<int>(choice);
}

template <typename Choice>
std::optional<Choice> FiberglassChoices::fromIndex(int index)
{
    if (index < 0 || index >= int(std::size(Table<Choice>::rows)))
        return std::nullopt;
    return Table<Choice>::rows[index].choice;
}

QString FiberglassChoices::reportWord(Wall wall)
{
    return wall == Wall::SingleLayer ? QStringLiteral("однослойная") : QStringLiteral("трёхслойная");
}

#define PIPECALC_FIBERGLASS_CHOICE(Choice)                                                                             \
    template QString FiberglassChoices::word(Choice);                                                                  \
    template QStringList FiberglassChoices::words<Choice>();                                                           \
    template std::optional<Choice> FiberglassChoices::fromWord<Choice>(const QString &);                               \
    template QString FiberglassChoices::label(Choice);                                                                 \
    template int FiberglassChoices::index(Choice);                                                                     \
    template std::optional<Choice> FiberglassChoices::fromIndex<Choice>(int);

PIPECALC_FIBERGLASS_CHOICE(Laying)
PIPECALC_FIBERGLASS_CHOICE(Wall)
