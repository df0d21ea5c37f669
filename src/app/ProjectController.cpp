#include "app/ProjectController.h"

#include "app/ProjectPropertiesDialog.h"
#include "calc/CalcSession.h"
#include "model/ResourceLocator.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

ProjectController::ProjectController(QWidget *window, CalcSession &session, SettingsStore settings)
    : QObject(window), m_window(window), m_session(session), m_settings(std::move(settings)),
      m_saved(CalcProject::of(session)), m_recent(m_settings.recentProjects())
{
    auto action = [this](const QString &text, const QKeySequence &keys, bool (ProjectController::*command)()) {
        auto *a = new QAction(text, m_window);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, command] { (this->*command)(); });
        m_window->addAction(a);
        return a;
    };
    newProjectAction = action(QStringLiteral("&Новый"), QKeySequence::New, &ProjectController::newProject);
    newProjectAction->setStatusTip(
        QStringLiteral("Начать новый проект: исходные данные по умолчанию, ничего не выбрано"));
    openProjectAction = action(QStringLiteral("&Открыть…"), QKeySequence::Open, &ProjectController::openProject);
    openProjectAction->setStatusTip(QStringLiteral("Открыть сохранённый проект"));
    saveProjectAction = action(QStringLiteral("&Сохранить"), QKeySequence::Save, &ProjectController::save);
    saveProjectAction->setStatusTip(QStringLiteral("Сохранить проект в его файл"));
    saveProjectAsAction = action(QStringLiteral("Сохранить &как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                 &ProjectController::saveAs);
    saveProjectAsAction->setStatusTip(QStringLiteral("Сохранить проект в другой файл"));
    propertiesAction = action(QStringLiteral("Сво&йства проекта…"), QKeySequence(), &ProjectController::editProperties);
    propertiesAction->setStatusTip(QStringLiteral("Объект, проектировщик, дата и примечания проекта"));
    clearRecentAction = new QAction(QStringLiteral("Очистить список"), m_window);
    connect(clearRecentAction, &QAction::triggered, this, &ProjectController::clearRecent);

    recentMenu = new QMenu(QStringLiteral("&Последние проекты"), m_window);
    recentMenu->setToolTipsVisible(true);
    rebuildRecentMenu();

    connect(&m_session, &CalcSession::changed, this, &ProjectController::showTitle);
    showTitle();
}

void ProjectController::fillMenu(QMenu *menu)
{
    menu->addAction(newProjectAction);
    menu->addAction(openProjectAction);
    menu->addMenu(recentMenu);
    menu->addSeparator();
    menu->addAction(saveProjectAction);
    menu->addAction(saveProjectAsAction);
    menu->addSeparator();
    menu->addAction(propertiesAction);
}

QString ProjectController::fileFilter()
{
    return QStringLiteral("Проекты (*.%1);;Все файлы (*)").arg(CalcProject::fileSuffix());
}

bool ProjectController::isModified() const
{
    CalcProject now = CalcProject::of(m_session);
    if (m_fileName.isEmpty()) {
        // A new project holds nothing to lose while only the tab, the laying
        // and the wall differ: the settings keep those anyway.
        now.calculation = m_saved.calculation;
        now.laying = m_saved.laying;
        now.wall = m_saved.wall;
    }
    return now != m_saved;
}

QString ProjectController::windowTitle() const
{
    QString name = shownName();
    // A "[*]" of the name itself is no modified mark.
    name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    return QStringLiteral("%1[*] — %2").arg(name, Dialogs::applicationTitle());
}

QString ProjectController::shownName() const
{
    return m_fileName.isEmpty() ? QStringLiteral("Без имени") : QFileInfo(m_fileName).fileName();
}

void ProjectController::showTitle()
{
    m_window->setWindowTitle(windowTitle());
    m_window->setWindowModified(isModified());
}

QString ProjectController::dialogFolder() const
{
    if (!m_fileName.isEmpty())
        return QFileInfo(m_fileName).absolutePath();
    for (const QString &path : m_recent.paths()) {
        const QString folder = QFileInfo(path).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return ResourceLocator::forApplication().defaultDocumentsDir();
}

bool ProjectController::confirmDrop()
{
    if (!isModified())
        return true;
    const QString question = QStringLiteral("Сохранить изменения в проекте «%1»?").arg(shownName());
    return Dialogs::instance().askToSave(m_window, question, [this] { return save(); });
}

bool ProjectController::newProject()
{
    if (!confirmDrop())
        return false;
    m_session.reset();
    m_fileName.clear();
    Q_EMIT sessionReplaced();
    m_saved = CalcProject::of(m_session);
    showTitle();
    return true;
}

bool ProjectController::openProject()
{
    if (!confirmDrop())
        return false;
    const QString path =
        Dialogs::instance().openFileName(m_window, QStringLiteral("Открыть проект"), dialogFolder(), fileFilter());
    if (path.isEmpty())
        return false;
    return load(path);
}

bool ProjectController::openFile(const QString &path)
{
    return confirmDrop() && load(path);
}

bool ProjectController::load(const QString &path)
{
    // Choices the database names otherwise: the project was saved with
    // another database, or edited by hand.  Opened only when the user
    // takes the project's values and names, which the report then prints.
    const auto openAnyway = [this, &path](const QStringList &differences) {
        QString list;
        for (const QString &difference : differences)
            list += QStringLiteral("\n • ") + difference;
        const QString question =
            QStringLiteral("Справочная база называет выбранное в проекте «%1» иначе:%2\n\n"
                           "Проект сохранён с другой справочной базой или изменён вручную. Открыть его с его "
                           "значениями и названиями? Отчёт назовёт то, что названо в проекте.")
                .arg(QFileInfo(path).fileName(), list);
        return Dialogs::instance().question(m_window, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    const Result<bool> opened = CalcProject::open(path, m_session, openAnyway);
    if (!opened) {
        Dialogs::instance().error(m_window, opened.message());
        return false;
    }
    if (!*opened)
        return false;
    m_fileName = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    Q_EMIT sessionReplaced();
    m_saved = CalcProject::of(m_session);
    remember(m_fileName);
    showTitle();
    return true;
}

bool ProjectController::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        const QString question =
            QStringLiteral("Проекта «%1» больше нет. Убрать его из списка последних проектов?").arg(path);
        if (Dialogs::instance().question(m_window, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
            == QMessageBox::Yes) {
            m_recent.remove(path);
            static_cast<void>(m_settings.writeRecentProjects(m_recent));
            rebuildRecentMenu();
        }
        return false;
    }
    return openFile(path);
}

bool ProjectController::save()
{
    if (m_fileName.isEmpty())
        return saveAs();
    return writeTo(m_fileName);
}

bool ProjectController::saveAs()
{
    QString path =
        Dialogs::instance().saveFileName(m_window, QStringLiteral("Сохранить проект"), dialogFolder(), fileFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + CalcProject::fileSuffix();
    if (!Dialogs::instance().confirmOverwrite(m_window, path))
        return false;
    return writeTo(path);
}

bool ProjectController::writeTo(const QString &path)
{
    const CalcProject project = CalcProject::of(m_session);
    const Result<> saved = project.save(path);
    if (!saved) {
        Dialogs::instance().error(m_window, saved.message());
        return false;
    }
    m_fileName = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_saved = project;
    remember(m_fileName);
    showTitle();
    return true;
}

bool ProjectController::editProperties()
{
    ProjectPropertiesDialog dialog(m_session.description(), m_window);
    if (Dialogs::instance().execDialog(&dialog) != QDialog::Accepted)
        return false;
    m_session.setDescription(dialog.description());
    return true;
}

void ProjectController::remember(const QString &path)
{
    m_recent.add(path);
    // A settings file that cannot be written is said when the program ends.
    static_cast<void>(m_settings.writeRecentProjects(m_recent));
    rebuildRecentMenu();
}

void ProjectController::clearRecent()
{
    m_recent.clear();
    static_cast<void>(m_settings.writeRecentProjects(m_recent));
    rebuildRecentMenu();
}

void ProjectController::rebuildRecentMenu()
{
    recentMenu->clear();
    int number = 0;
    for (const QString &path : m_recent.paths()) {
        ++number;
        const QString shown = QFileInfo(path).fileName().replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *item = recentMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(shown));
        item->setToolTip(path);
        item->setStatusTip(path);
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    if (m_recent.isEmpty()) {
        QAction *none = recentMenu->addAction(QStringLiteral("Список пуст"));
        none->setEnabled(false);
    }
    recentMenu->addSeparator();
    recentMenu->addAction(clearRecentAction);
    clearRecentAction->setEnabled(!m_recent.isEmpty());
}
