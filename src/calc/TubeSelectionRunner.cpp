#include "calc/TubeSelectionRunner.h"

#include <QThread>

TubeSelectionRunner::TubeSelectionRunner(QObject *parent) : QObject(parent) {}

TubeSelectionRunner::~TubeSelectionRunner()
{
    cancel();
    // What the thread still sends goes with this object.
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool TubeSelectionRunner::start(std::unique_ptr<TubeSelection> selection)
{
    if (m_thread)
        return false;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancelled;
    std::shared_ptr<const TubeSelection> owned(std::move(selection));
    m_thread = QThread::create([this, owned, cancelled] {
        const QVector<TubeSelection::Row> rows = owned->run([this, cancelled](int done, int total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { Q_EMIT progress(done, total); }, Qt::QueuedConnection);
            return !cancelled->load();
        });
        const bool complete = rows.size() == owned->tubes().size();
        QMetaObject::invokeMethod(
            this,
            [this, rows, complete] {
                if (m_thread) {
                    m_thread->wait();
                    delete m_thread;
                    m_thread = nullptr;
                }
                Q_EMIT finished(rows, complete);
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
    return true;
}

void TubeSelectionRunner::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

void TubeSelectionRunner::wait()
{
    if (m_thread)
        m_thread->wait();
}
