#pragma once

#include <QApplication>

// The program's application object.  An exception that escapes an event
// handler does not end the program: it is shown in the general error box,
// and the program carries on with whatever the user has open.
class SafeApplication : public QApplication
{
    Q_OBJECT

public:
    SafeApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The text shown for an exception of the given message; exceptions
    // that carry none are named as unexpected.
    static QString failureText(const char *what);

private:
    void showFailure(const QString &text);

    bool m_showing = false;
};
