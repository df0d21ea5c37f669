#pragma once

#include "calc/CalcKind.h"
#include "calc/TubeSelection.h"

#include <QObject>
#include <QVector>

class CalcSession;
class MainWindow;
class TubeSelectionPage;
class TubeSelectionRunner;

// The page "Подбор трубы" of the main window at work: it runs the selection
// of the calculation the session is on, with its inputs as they are, on a
// thread of its own while the window stays responsive; says when the
// inputs have changed since; and makes a row the chosen tube through the
// tube page, as a click there does.  The static selections run by
// themselves when the page is shown; the hydraulic one as soon as a
// required flow is given.
class MainSelection : public QObject
{
    Q_OBJECT

public:
    MainSelection(MainWindow &main, CalcSession &session);
    ~MainSelection() override;

    // Runs the selection; does nothing while one is under way.
    void start();
    void cancel();
    // Makes the tube of a row of the page's table the chosen one.
    void choose(int row);

    TubeSelectionRunner &runner() { return *m_runner; }

private:
    TubeSelectionPage &page() const;
    bool pageShown() const;
    void showKind();
    void finished(const QVector<TubeSelection::Row> &rows, bool complete);
    // What the rows depend on besides the tube: the inputs of the
    // calculation other than the tube's sizes, the choices and the kind.
    QVector<double> fingerprint(CalcKind kind) const;

    MainWindow &m_main;
    CalcSession &m_session;
    TubeSelectionRunner *m_runner;
    // The kind and the inputs of the run shown or under way.
    CalcKind m_kind = CalcKind::Static;
    QVector<double> m_inputs;
    bool m_haveRows = false;
};
