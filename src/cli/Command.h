#pragma once

#include <QString>
#include <QStringList>

class CliArgs;

// A command of pipecalc-cli.  Each command declares, once, in its
// constructor, the word that names it, its synopsis and what the help says
// of it; the help (CommandTable) is made from these, and a test holds the
// manual pages' synopses to them.  Adding a command is a class derived from
// this one (its files listed in src/cli/CMakeLists.txt), a line in
// CommandTable::commands() and its synopsis in the two manual pages.
class Command
{
public:
    virtual ~Command();
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    // The word on the command line: "calc".
    const QString &name() const { return m_name; }
    // The words of the synopsis after the name, as the help shows them,
    // each kept whole on one line: "hydraulic|static|fiberglass",
    // "[--project ФАЙЛ]", ...
    const QStringList &synopsis() const { return m_synopsis; }
    // The options the synopsis names ("--set", "-o"), in its order, once.
    QStringList options() const;
    // The options a text names, in its order, each once.
    static QStringList optionsNamedIn(const QString &text);
    // What the help says below the synopsis: lines indented by six spaces,
    // each with its newline, and the blank line that follows.
    const QString &help() const { return m_help; }

    // The synopsis as the help shows it: "  pipecalc-cli NAME" and the
    // words, as many on a line as fit in the help's width, the lines after
    // the first aligned below the first word.
    QString usage() const;

    // Runs the command on the arguments after its name; the exit status.
    // What fails for the user's reasons (a wrong command line first of all)
    // is a CommandResult the command ends with through its report().
    virtual int execute(CliArgs &args) const = 0;

protected:
    Command(QString name, QStringList synopsis, QString help);

private:
    QString m_name;
    QStringList m_synopsis;
    QString m_help;
};
