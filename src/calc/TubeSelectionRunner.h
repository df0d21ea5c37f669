#pragma once

#include "calc/TubeSelection.h"

#include <QObject>
#include <QVector>

#include <atomic>
#include <memory>

class QThread;

// Runs a tube selection on a thread of its own, so that the window stays
// responsive: progress after each tube, the rows at the end, and a cancel
// that ends the run after the tube under way.  The selection is handed over
// whole and only the thread touches it until the run ends; the rows come
// back as values, through the event loop of the thread the runner lives in.
class TubeSelectionRunner : public QObject
{
    Q_OBJECT

public:
    explicit TubeSelectionRunner(QObject *parent = nullptr);
    // Cancels a run under way and waits for its thread.
    ~TubeSelectionRunner() override;

    // Starts the selection; false, doing nothing, while a run is under way.
    bool start(std::unique_ptr<TubeSelection> selection);
    void cancel();
    bool isRunning() const { return m_thread != nullptr; }
    // Waits for the run under way to end; its results are still delivered
    // through the event loop.
    void wait();

Q_SIGNALS:
    void progress(int done, int total);
    // `complete` is false when the run was cancelled: the rows are those
    // done before.
    void finished(const QVector<TubeSelection::Row> &rows, bool complete);

private:
    QThread *m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};
