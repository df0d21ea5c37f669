#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The two choices of the fiberglass calculation.
//
// How the pipe is laid: in a trench, or without one.  It chooses the soil
// pressure, the ovality coefficient and the inputs the calculation reads.
enum class Laying { Trench, Trenchless };
// The wall construction: one fiberglass layer, or two with a core between.
enum class Wall { SingleLayer, ThreeLayer };

// Their names, for Laying and Wall alike.
namespace FiberglassChoices {

// "trench", "trenchless"; "single", "three": the words of the command line
// and the project files.
template <typename Choice>
QString word(Choice choice);
// Both words, in the order of the enum.
template <typename Choice>
QStringList words();
// The choice a word names; nothing for an unknown word.
template <typename Choice>
std::optional<Choice> fromWord(const QString &word);

// "траншейный", "бестраншейный"; "однослойная", "трехслойная": the items of
// the window's choice lists.  The laying's are the fiberglass report's words
// too.
template <typename Choice>
QString label(Choice choice);

// The position in the window's choice list, as the settings file keeps it
// (the order of the enum); nothing for any other number.
template <typename Choice>
int index(Choice choice);
template <typename Choice>
std::optional<Choice> fromIndex(int index);

// "однослойная", "трёхслойная": the fiberglass report's words for the wall.
QString reportWord(Wall wall);

} // namespace FiberglassChoices
