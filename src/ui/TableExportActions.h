#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QAbstractItemModel;
class QAction;
class QWidget;

// The commands that hand a table of the window on: "Копировать таблицу"
// (Ctrl+C while the table has the focus) puts it on the clipboard
// tab-separated, "Сохранить в CSV…" writes it as a CSV file a spreadsheet
// opens.  Both are in the table's context menu.
class TableExportActions
{
public:
    using Rows = std::function<QVector<QStringList>()>;

    struct Installed
    {
        QAction *copy = nullptr;
        QAction *save = nullptr;
    };

    // `rows` gives the header and the rows at the moment of the command;
    // `fileName` is the name the save dialog suggests, without extension.
    static Installed install(QWidget *table, Rows rows, const QString &fileName);

    static void copy(const QVector<QStringList> &rows);
    // Asks for a file and writes the rows; a failure is said in a message.
    static void save(QWidget *parent, const QVector<QStringList> &rows, const QString &fileName);

    // The header and display texts of every cell of a model.
    static QVector<QStringList> modelRows(const QAbstractItemModel *model);
};
