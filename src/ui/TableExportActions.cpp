#include "ui/TableExportActions.h"

#include "model/ResourceLocator.h"
#include "model/TableExport.h"
#include "ui/Dialogs.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace {

// The folder of the last table saved, for the next one.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

} // namespace

TableExportActions::Installed TableExportActions::install(QWidget *table, Rows rows, const QString &fileName)
{
    Installed installed;
    installed.copy = new QAction(QStringLiteral("Копировать таблицу"), table);
    installed.copy->setObjectName(QStringLiteral("ActionCopyTable"));
    installed.copy->setShortcut(QKeySequence::Copy);
    installed.copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    installed.copy->setToolTip(
        QStringLiteral("Копировать таблицу в буфер обмена, чтобы вставить в электронную таблицу"));
    installed.save = new QAction(QStringLiteral("Сохранить в CSV…"), table);
    installed.save->setObjectName(QStringLiteral("ActionSaveTable"));
    installed.save->setToolTip(QStringLiteral("Сохранить таблицу в файле CSV для электронной таблицы"));
    QObject::connect(installed.copy, &QAction::triggered, table, [rows] { copy(rows()); });
    QObject::connect(installed.save, &QAction::triggered, table,
                     [table, rows, fileName] { save(table->window(), rows(), fileName); });
    table->addAction(installed.copy);
    table->addAction(installed.save);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    return installed;
}

void TableExportActions::copy(const QVector<QStringList> &rows)
{
    QGuiApplication::clipboard()->setText(TableExport::tabSeparated(rows));
}

void TableExportActions::save(QWidget *parent, const QVector<QStringList> &rows, const QString &fileName)
{
    QString &folder = lastFolder();
    if (folder.isEmpty())
        folder = ResourceLocator::forApplication().defaultDocumentsDir();
    QString path = Dialogs::instance().saveFileName(parent, QStringLiteral("Сохранить таблицу"),
                                                    QDir(folder).filePath(fileName + QStringLiteral(".csv")),
                                                    QStringLiteral("Таблица CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    if (!Dialogs::instance().confirmOverwrite(parent, path))
        return;
    const Result<> saved = TableExport::saveCsv(path, rows);
    if (!saved) {
        Dialogs::instance().generalError(parent,
                                         QStringLiteral("Таблица не сохранена в «%1»: %2").arg(path, saved.message()));
        return;
    }
    folder = QFileInfo(path).absolutePath();
}

QVector<QStringList> TableExportActions::modelRows(const QAbstractItemModel *model)
{
    QVector<QStringList> rows;
    QStringList header;
    for (int column = 0; column < model->columnCount(); ++column)
        header << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    rows << header;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data(Qt::DisplayRole).toString();
        rows << cells;
    }
    return rows;
}
