#pragma once

#include "calc/CalcKind.h"
#include "calc/TubeSelection.h"

#include <QObject>
#include <QVector>

class CalcSession;
class QTabWidget;
class TubeSelectionPage;
class TubeSelectionRunner;

// The page "Подбор трубы" of the main window at work: it runs the selection
// of the calculation the session is on, with its inputs as they are, on a
// thread of its own while the window stays responsive; says when the
// inputs have changed since; and asks for a row to be made the chosen tube,
// as a click on the tube page does.  The static selections run by
// themselves when the page is shown; the hydraulic one as soon as a
// required flow is given.
class SelectionPageController : public QObject
{
    Q_OBJECT

public:
    // The selection page is one of the pages; messages go to its window.
    SelectionPageController(QTabWidget *pages, TubeSelectionPage *selectionPage, CalcSession &session);
    ~SelectionPageController() override;

    // Runs the selection; does nothing while one is under way.
    void start();
    void cancel();
    // Makes the tube of a row of the page's table the chosen one.
    void choose(int row);

    TubeSelectionRunner &runner() { return *m_runner; }

Q_SIGNALS:
    // The user chose the tube of that row of the tube table (the fiberglass
    // one or the other), still as the table shows it.
    void tubeChosen(bool fiberglass, int row);

private:
    TubeSelectionPage &page() const;
    bool pageShown() const;
    void showKind();
    void finished(const QVector<TubeSelection::Row> &rows, bool complete);
    // What the rows depend on besides the tube: the inputs of the
    // calculation other than the tube's sizes, the choices and the kind.
    QVector<double> fingerprint(CalcKind kind) const;

    QTabWidget *m_pages;
    TubeSelectionPage *m_page;
    CalcSession &m_session;
    TubeSelectionRunner *m_runner;
    // The kind and the inputs of the run shown or under way.
    CalcKind m_kind = CalcKind::Static;
    QVector<double> m_inputs;
    bool m_haveRows = false;
};
