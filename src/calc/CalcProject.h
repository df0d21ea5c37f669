#pragma once

#include "calc/CalcKind.h"
#include "calc/CalcSession.h"
#include "calc/ProjectDescription.h"
#include "model/Result.h"
#include "model/SlotKeys.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

// A calculation project: what the engineer set up, kept in a file to be
// opened again.  It holds the calculation (and so the tab), the laying method
// and the wall construction, the chosen material, tube and soil (ids and
// names, so that a project opened with another database still says what was
// chosen), every input that differs from its catalogue default, and the
// description.  Results are never kept: an opened project is calculated
// anew.
//
// The file is UTF-8 JSON with a "format" number; a program reads the formats
// up to its own and refuses newer ones.  Opening checks everything, the
// choices against the reference database included, before it changes the
// session, so a project that cannot be opened leaves the session as it was.
class CalcProject
{
public:
    static constexpr int FormatVersion = 1;
    // No project comes near this; a larger file is not read.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
    // "pipecalc", the suffix of project files.
    static QString fileSuffix();
    static QString mimeType();

    struct Input
    {
        Slot slot;
        double value;
        bool operator==(const Input &other) const { return slot == other.slot && value == other.value; }
    };

    CalcKind calculation = CalcKind::Hydraulic;
    Laying laying = Laying::Trench;
    Wall wall = Wall::ThreeLayer;
    CalcSession::Choice material;
    CalcSession::TubeChoice tube;
    CalcSession::Choice soil;
    // In slot order.
    QVector<Input> inputs;
    ProjectDescription description;

    bool operator==(const CalcProject &other) const;
    bool operator!=(const CalcProject &other) const { return !(*this == other); }

    // The project of the session as it stands.
    static CalcProject of(const CalcSession &session);
    // The inputs a project keeps: those of the three calculations, in slot order.
    static const QVector<Slot> &inputSlots();

    QByteArray toJson() const;
    // The project that the bytes of a file hold; a failure with the problem
    // in Russian (a phrase without a full stop) when they hold no project
    // this program reads.
    static Result<CalcProject> fromJson(const QByteArray &bytes);

    // Writes the file all or nothing; a failure, with a message that names
    // the file, when it could not be written.
    Result<> save(const QString &path) const;
    // Reads a file; a failure, with a message that names the file and the
    // problem, when it cannot be read or holds no project.
    static Result<CalcProject> load(const QString &path);

    // What the session's reference database says to the project's choices.
    struct ChoiceCheck
    {
        // A choice the database lacks: the problem; empty when all are there.
        QString missing;
        // Choices the database names otherwise, and a tube whose sizes it
        // does not list: "грунт с кодом 4 — в проекте «…», в справочной
        // базе «…»".
        QStringList differences;
        // The choices as they open in this database: the tube under the
        // number at which the database lists its sizes, the database's
        // names where the project kept none.
        CalcSession::Choice material;
        CalcSession::TubeChoice tube;
        CalcSession::Choice soil;
    };
    // Reads the choices' rows from the session's reference database.  A
    // failure, with what the program says of the database or the tables,
    // when the database or a table cannot be read.  The session is not
    // changed.
    Result<ChoiceCheck> checkChoices(CalcSession &session) const;
    // Makes the session what the project says, with no results.
    void applyTo(CalcSession &session) const;

    // Asked, with the differences, whether to open a project whose choices
    // the database names otherwise, with the project's values and names.
    using DifferencesQuestion = std::function<bool(const QStringList &differences)>;

    // Applies the project as the check of its choices found them.  A
    // failure with the problem (a phrase without a full stop) when a choice
    // is missing or the names differ and there is no question to ask; false
    // when the question is asked and declined.
    Result<bool> openIn(CalcSession &session, const ChoiceCheck &check,
                        const DifferencesQuestion &openAnyway = {}) const;
    // The problem of choices named otherwise.
    static QString differencesProblem(const QStringList &differences);

    // Reads the file, checks it against the session's database and only
    // then applies it.  A failure, with a message naming the file and the
    // problem (a database that cannot be read included), when any of it
    // fails; false when the question was declined.  The session is then as
    // it was.
    static Result<bool> open(const QString &path, CalcSession &session, const DifferencesQuestion &openAnyway = {});

    // Whether a file is to be taken for a project: its name ends in
    // ".pipecalc", or it is a file whose content says it is one.
    static bool isProjectFile(const QString &path);

    // "Проект «path» не открыт: problem."
    static QString openFailure(const QString &path, const QString &problem);
};
