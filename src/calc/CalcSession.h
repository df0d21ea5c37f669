#pragma once

#include "calc/CalcAssessment.h"
#include "calc/CalcKind.h"
#include "calc/CalcOutcome.h"
#include "calc/FiberglassResults.h"
#include "calc/FiberglassChoices.h"
#include "calc/ProjectDescription.h"
#include "model/CalcVariables.h"
#include "model/Result.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"

#include "refdata/FiberglassTubeRow.h"
#include "refdata/TubeRow.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

// One calculation session: the inputs, the choices, and what the results on
// hand are worth.  The main window and the command-line tool both work
// through it, so a result is shown, reported or saved only while it belongs
// to the inputs beside it.
//
// The session owns the variable set and the reference data (whose picks
// write into the variables).  It holds the calculation kind (the tab: 0
// hydraulic, 1 static; on the static tab a fiberglass material selects the
// fiberglass calculation), the laying method and wall construction of the
// fiberglass calculation, and the chosen material, tube and soil.
//
// Results.  Each calculation keeps the outcome of its last run and the inputs
// it ran on.  Its results are
//  - None: never run, or the run did not complete and the inputs changed since;
//  - Current: the run completed and no input or choice has changed since;
//  - Stale: the run completed, but an input or a choice changed since;
//  - Failed: the run stopped or faulted on the inputs as they are.
// The state is worked out by comparing the inputs, so a change made in any
// way (typed, picked, set by the command line) makes the results stale, and
// undoing it makes them current again.
class CalcSession : public QObject
{
    Q_OBJECT

public:
    enum class ResultState { None, Current, Stale, Failed };

    // A reference row the user picked: its id (for a tube the 1-based row
    // of its table) and the name it is shown by.  Id -1 means nothing.
    struct Choice
    {
        std::int32_t id = -1;
        QString name;
        bool operator==(const Choice &other) const { return id == other.id && name == other.name; }
    };
    struct TubeChoice : Choice
    {
        bool fiberglass = false; // a row of the fiberglass tube table
        // The row's sizes in the order of its table's columns
        // (TubeRow::fieldNames(), FiberglassTubeRow::fieldNames()), by
        // which another database finds the same tube; empty when unknown.
        QVector<double> geometry;
    };

    explicit CalcSession(QObject *parent = nullptr);
    ~CalcSession() override;

    CalcVariables &vars() { return m_vars; }
    const CalcVariables &vars() const { return m_vars; }
    ReferenceData &referenceData() { return m_refs; }

    // Where the reference data reports a table it cannot read; without one
    // the messages are collected (tableErrors()).
    void setErrorSink(ReferenceErrorSink *sink) { m_sink.target = sink; }
    const QStringList &tableErrors() const { return m_sink.collected; }
    void clearTableErrors() { m_sink.collected.clear(); }

    // The tab: 0 hydraulic, 1 static.
    int mode() const { return m_vars.mode; }
    void setMode(int mode);
    // Laying method and wall construction of the fiberglass calculation.
    Laying laying() const { return m_laying; }
    void setLaying(Laying laying);
    Wall wall() const { return m_wall; }
    void setWall(Wall wall);

    // The calculation the tab and the material select.
    CalcKind calculation() const;
    static CalcKind calculationFor(int mode, std::int32_t materialId);

    // An input typed by the user.
    void setInput(Slot slot, double value);
    // A value the user typed for an input, with either decimal separator:
    // written when it is a number; otherwise nothing changes and the message
    // says which input refused what, with examples of numbers it takes.
    Result<> enterInput(Slot slot, const QString &text);
    double input(Slot slot) const { return m_vars.value(slot); }

    // Clicks on the reference grids: copy the row into the variables and
    // remember the choice.  False, changing nothing, for a row the grid does
    // not have.  A material of the other kind (fiberglass or corrugated) than
    // the chosen tube drops the tube from the choices (its values stay in the
    // variables) and says so through tubeDropped().
    bool pickMaterial(int row);
    bool pickTube(int row);
    bool pickFiberglassTube(int row);
    bool pickSoil(int row);
    // The same by id (material, soil) or 1-based number (tube, counted in the
    // table of the chosen material's kind), reading the table first.  A
    // failure when the database cannot be read; false when no row matches.
    Result<bool> pickMaterialById(std::int32_t id);
    Result<bool> pickTubeByNumber(int number);
    Result<bool> pickSoilById(std::int32_t id);

    const Choice &material() const { return m_material; }
    const TubeChoice &tube() const { return m_tube; }
    const Choice &soil() const { return m_soil; }
    // The line that names the three choices, "не выбран" where nothing is chosen.
    QString choicesLine() const;
    // The name a tube is shown by, made of its sizes.
    static QString tubeName(const TubeRow &row);
    static QString tubeName(const FiberglassTubeRow &row);

    // Puts choices made earlier back without reading the reference database:
    // the ids go into the variables, whose values stay as they are.
    void restoreChoices(const Choice &material, const TubeChoice &tube, const Choice &soil);

    // What the calculation is about; the reports print it at their top.
    // Changing it leaves the results as they are.
    const ProjectDescription &description() const { return m_description; }
    void setDescription(const ProjectDescription &description);

    // Starts over: every variable at its catalogue default, nothing chosen, no
    // description and no results.  The tab, the laying method and the wall
    // construction stay.
    void reset();

    // Runs the calculation the choices select, or the one named.
    const CalcOutcome &run();
    const CalcOutcome &run(CalcKind kind);

    ResultState state() const { return state(calculation()); }
    ResultState state(CalcKind kind) const;
    bool resultsCurrent() const { return state() == ResultState::Current; }
    bool resultsCurrent(CalcKind kind) const { return state(kind) == ResultState::Current; }
    // The last run of a calculation as judged: its outcome, checks, verdict
    // and warnings, whether or not the inputs changed since.
    const CalcAssessment &lastAssessment(CalcKind kind) const { return m_runs[index(kind)].assessment; }
    // The outcome of the last run of a calculation; "not run" before one.
    const CalcOutcome &lastOutcome(CalcKind kind) const { return lastAssessment(kind).outcome; }
    const CalcOutcome &lastOutcome() const { return lastOutcome(calculation()); }
    // Every quantity of the last fiberglass run.
    const FiberglassResults &fiberglassResults() const { return lastAssessment(CalcKind::Fiberglass).fiberglass; }
    // The verdict and the warnings of the calculation's results while they
    // are current; none otherwise.
    CalcVerdict verdict(CalcKind kind) const;
    QVector<CalcWarning> warnings(CalcKind kind) const;

    // Why no report can be made of the calculation's results now, in words
    // that say what to do; empty when the results are current.
    QString reportRefusal(CalcKind kind) const;
    // What a report was made of: the calculation and the inputs and choices
    // its results belong to.
    struct ResultsStamp
    {
        CalcKind kind = CalcKind::Hydraulic;
        QVector<double> inputs;
    };
    // The stamp of the calculation's results while they are current.
    std::optional<ResultsStamp> currentResults(CalcKind kind) const;
    // Why the chart of `kind` may not go into the report made of `report`
    // (nothing: no report is open), in words that say what to do; empty when
    // the chart shows current results of the very calculation the report
    // was made of.
    QString chartRefusal(CalcKind kind, const std::optional<ResultsStamp> &report) const;
    // The caption of the chart of `kind` in a report: the calculation, and
    // the material, tube, soil and depth it applies to.
    QString chartCaption(CalcKind kind) const;

    // How the line under the results reads at a glance: Neutral before a
    // run, Holds for current results that hold (or are not judged), Fails
    // for current results that fail a check and for a failed run, Outdated
    // for results that no longer belong to the inputs.
    enum class Tone { Neutral, Holds, Fails, Outdated };
    Tone stateTone(CalcKind kind) const;

    // A line under the results that says what they are worth: for current
    // results of a static calculation, its verdict.
    QString stateLine(CalcKind kind) const;

    // Tells the session that something changed the variables directly.
    void touch() { Q_EMIT changed(); }

    // The input slots of a calculation.
    static QVector<Slot> inputSlots(CalcKind kind);

Q_SIGNALS:
    // An input, a choice, the kind or a result changed.
    void changed();
    // The chosen tube was let go because the material picked is not its
    // kind; the message says so and what to do.
    void tubeDropped(const QString &message);

private:
    struct Sink : ReferenceErrorSink
    {
        void showTableError(const QString &message) override;
        ReferenceErrorSink *target = nullptr;
        QStringList collected;
    };
    struct Run
    {
        bool done = false;
        CalcAssessment assessment;
        QVector<double> inputs;
    };

    static int index(CalcKind kind) { return static_cast<int>(kind); }
    QVector<double> fingerprint(CalcKind kind) const;
    void tubeChosen(bool fiberglass, int row);

    CalcVariables m_vars;
    Sink m_sink;
    ReferenceData m_refs;
    Laying m_laying = Laying::Trench;
    Wall m_wall = Wall::ThreeLayer;
    Choice m_material;
    TubeChoice m_tube;
    Choice m_soil;
    ProjectDescription m_description;
    std::array<Run, 3> m_runs;
};
