#pragma once

#include "calc/CalcKind.h"
#include "calc/TubeSelection.h"
#include "model/Result.h"

#include <QWidget>

class GridView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QAction;
class TubeSelectionModel;

// The page "Подбор трубы" of the main window: every tube of the catalogue
// against the present inputs in a sortable table, with the commands to run
// the selection, cancel it, make a row the chosen tube and hand the table
// on (the clipboard, a CSV file).  For the hydraulic calculation it asks for the required flow and the
// largest filling.  The page only shows and asks; the window runs the
// selection.
class TubeSelectionPage : public QWidget
{
    Q_OBJECT

public:
    explicit TubeSelectionPage(QWidget *parent = nullptr);

    // Empties the table and shows what the calculation asks for.
    void setKind(CalcKind kind);
    CalcKind kind() const;

    // What the hydraulic selection asks for.
    struct FlowDemand
    {
        double flow = 0;       // l/s
        double maxFilling = 0; // h/d
    };
    // The flow and the largest filling as typed; a failure with the reason
    // in Russian when either is no number or out of range.
    Result<FlowDemand> readFlow() const;

    void setRunning(bool running);
    bool isRunning() const { return m_running; }
    void setProgress(int done, int total);
    // The rows of a run; `complete` is false for a cancelled one.
    void setRows(const QVector<TubeSelection::Row> &rows, bool complete);
    // The inputs changed after the rows were worked out.
    void setOutdated(bool outdated);
    bool isOutdated() const { return m_outdated; }
    // Says something under the table (a problem with the flow, for one).
    void setNote(const QString &text);

    TubeSelectionModel *model() const { return m_model; }
    GridView *view() const { return m_view; }
    QLineEdit *flowEdit() const { return m_flow; }
    QLineEdit *fillingEdit() const { return m_filling; }
    QPushButton *startButton() const { return m_start; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *chooseButton() const { return m_choose; }
    QPushButton *copyButton() const { return m_copy; }
    QAction *copyAction() const { return m_copyAction; }
    QAction *saveAction() const { return m_saveAction; }
    QPushButton *saveButton() const { return m_save; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *note() const { return m_note; }

    // The row of the model the user has on the table, or -1.
    int currentRow() const;
    // Puts the table's cursor on a row of the model.
    void setCurrentRow(int row);

Q_SIGNALS:
    void startRequested();
    void cancelRequested();
    // A row of the model to make the chosen tube.
    void chooseRequested(int row);

private:
    void updateCommands();
    QString summary(bool complete) const;

    TubeSelectionModel *m_model;
    QSortFilterProxyModel *m_sorted;
    GridView *m_view;
    QLabel *m_caption;
    QWidget *m_flowPanel;
    QLineEdit *m_flow;
    QLineEdit *m_filling;
    QPushButton *m_start;
    QPushButton *m_cancel;
    QProgressBar *m_progress;
    QPushButton *m_choose;
    QPushButton *m_copy;
    QPushButton *m_save;
    QLabel *m_note;
    QAction *m_copyAction = nullptr;
    QAction *m_saveAction = nullptr;
    bool m_running = false;
    bool m_outdated = false;
    bool m_complete = true;
};
