#pragma once

#include <QString>
#include <QStringList>

class TemplateFiller;
struct ProjectDescription;

// The description of the project at the top of every report: a line for the
// object, one for the designer and one for the date, each in a block of its
// own ("$IF101$Объект: $Project.Object$ ... $/IF101$"), so that what the
// description does not give leaves no line and no empty label.
//
// The texts are the engineer's own and may hold anything, "$" included, so
// they go in last, in one pass, after every placeholder of the template has
// been filled: no text of the description is ever taken for a placeholder.
class ProjectHeader
{
public:
    static constexpr int ObjectBlock = 101;
    static constexpr int DesignerBlock = 102;
    static constexpr int DateBlock = 103;

    // The placeholders of the header, each in its block, and those of the
    // signature block.
    static const QStringList &tags();
    // What stands where the description gives nothing to sign with: a line
    // to write on.
    static QString blankLine();

    // Keeps the block of each line the description gives and cuts the others.
    static void resolveBlocks(TemplateFiller &filler, const ProjectDescription &description);
    // Puts the texts in place of the placeholders of the blocks kept.
    static void fillTags(TemplateFiller &filler, const ProjectDescription &description);
    // Both, in this order.
    static void fill(TemplateFiller &filler, const ProjectDescription &description);

    // The date as the reports print it: "14.03.2025".
    static QString dateText(const ProjectDescription &description);
};
