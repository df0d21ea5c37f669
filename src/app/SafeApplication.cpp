#include "app/SafeApplication.h"

#include "ui/Dialogs.h"

#include <exception>
#include <new>

SafeApplication::SafeApplication(int &argc, char **argv) : QApplication(argc, argv) {}

QString SafeApplication::failureText(const char *what)
{
    const QString detail = what ? QString::fromLocal8Bit(what).trimmed() : QString();
    if (detail.isEmpty())
        return QStringLiteral("Непредвиденная ошибка программы. Действие не выполнено; открытые данные сохранены");
    return QStringLiteral("Непредвиденная ошибка программы: %1. Действие не выполнено; открытые данные сохранены")
        .arg(detail);
}

bool SafeApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        showFailure(QStringLiteral("Недостаточно памяти для выполнения действия. Действие не выполнено; открытые "
                                   "данные сохранены"));
    } catch (const std::exception &error) {
        showFailure(failureText(error.what()));
    } catch (...) {
        showFailure(failureText(nullptr));
    }
    return false;
}

void SafeApplication::showFailure(const QString &text)
{
    // A failure while the box is up is not shown again on top of it.
    if (m_showing)
        return;
    m_showing = true;
    Dialogs::instance().generalError(activeWindow(), text);
    m_showing = false;
}
