#include "FakeDialogs.h"

#include "app/SafeApplication.h"

#include <QEvent>
#include <QtTest>

#include <new>
#include <stdexcept>

namespace {

// An object whose event handler fails the way nobody expected.
class Failing : public QObject
{
public:
    enum class How { Exception, OutOfMemory, Unknown };
    explicit Failing(How how) : m_how(how) {}

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        switch (m_how) {
        case How::Exception:
            throw std::runtime_error("таблица прочитана не до конца");
        case How::OutOfMemory:
            throw std::bad_alloc();
        case How::Unknown:
            throw 42;
        }
        return true;
    }

private:
    How m_how;
};

} // namespace

class TestSafeApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failureIsShownAndTheProgramCarriesOn_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("words");
        QTest::newRow("exception") << int(Failing::How::Exception) << "таблица прочитана не до конца";
        QTest::newRow("out of memory") << int(Failing::How::OutOfMemory) << "Недостаточно памяти";
        QTest::newRow("anything else") << int(Failing::How::Unknown) << "Непредвиденная ошибка программы";
    }

    void failureIsShownAndTheProgramCarriesOn()
    {
        QFETCH(int, how);
        QFETCH(QString, words);
        FakeDialogs dialogs;
        Failing failing(static_cast<Failing::How>(how));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY2(dialogs.errors.first().contains(words), qPrintable(dialogs.errors.first()));
        QVERIFY(dialogs.errors.first().endsWith(QLatin1Char('.')));

        // The event loop goes on with the next event.
        bool delivered = false;
        QTimer::singleShot(0, [&delivered] { delivered = true; });
        QTRY_VERIFY(delivered);
    }
};

int main(int argc, char *argv[])
{
    SafeApplication app(argc, argv);
    TestSafeApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_safeapplication.moc"
