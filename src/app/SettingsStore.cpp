#include "app/SettingsStore.h"

#include "app/IniFile.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kTabIndex = QStringLiteral("TabIndex");
const QString kUpperHalfHeight = QStringLiteral("PanelMainTop_Height");
const QString kLayingIndex = QStringLiteral("ComboBox1_ItemIndex");
const QString kWallIndex = QStringLiteral("ComboBox2_ItemIndex");
const QString kDialogFolder = QStringLiteral("DialogFolder");
const QString kRecentProjects = QStringLiteral("RecentProjects");

QString recentKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// A choice stored as its position in the window's list; -1 stands for none.
template <typename Choice>
std::optional<Choice> choice(const IniFile &ini, const QString &section, const QString &key)
{
    return FiberglassChoices::fromIndex<Choice>(ini.intValue(section, key, -1));
}

template <typename Choice>
int choiceIndex(const std::optional<Choice> &choice)
{
    return choice ? FiberglassChoices::index(*choice) : -1;
}

} // namespace

IniFile SettingsStore::read(bool *readable) const
{
    IniFile ini(m_fileName);
    const bool read = ini.load();
    if (readable)
        *readable = read;
    return ini;
}

Result<> SettingsStore::write(const std::function<void(IniFile &)> &change) const
{
    IniFile ini = read();
    change(ini);
    return ini.save();
}

int SettingsStore::tabIndex() const
{
    const int tab = read().intValue(kSettings, kTabIndex, 0);
    return tab == 1 ? 1 : 0;
}

std::optional<SettingsStore::MainWindowView> SettingsStore::mainWindowView(int pixelsPerInch, const QSize &screen) const
{
    bool readable = false;
    const IniFile ini = read(&readable);
    if (!readable)
        return std::nullopt;
    const QString section = mainWindowSection();
    MainWindowView view;
    view.placement = WindowPlacement::load(ini, section, pixelsPerInch, screen);
    view.upperHalfHeight = ini.intValue(section, kUpperHalfHeight, -1);
    view.laying = choice<Laying>(ini, section, kLayingIndex);
    view.wall = choice<Wall>(ini, section, kWallIndex);
    return view;
}

Result<> SettingsStore::writeTabIndex(int tab) const
{
    return write([tab](IniFile &ini) { ini.setValue(kSettings, kTabIndex, tab); });
}

Result<> SettingsStore::writeMainWindow(int tab, const WindowPlacement &placement, int pixelsPerInch,
                                        const QSize &screen, const MainWindowView &view) const
{
    return write([&](IniFile &ini) {
        const QString section = mainWindowSection();
        ini.setValue(kSettings, kTabIndex, tab);
        placement.save(ini, section, pixelsPerInch, screen);
        ini.setValue(section, kUpperHalfHeight, view.upperHalfHeight);
        ini.setValue(section, kLayingIndex, choiceIndex(view.laying));
        ini.setValue(section, kWallIndex, choiceIndex(view.wall));
    });
}

std::optional<WindowPlacement> SettingsStore::editorPlacement(int pixelsPerInch, const QSize &screen) const
{
    bool readable = false;
    const IniFile ini = read(&readable);
    if (!readable)
        return std::nullopt;
    return WindowPlacement::load(ini, editorSection(), pixelsPerInch, screen);
}

Result<> SettingsStore::writeEditorPlacement(const WindowPlacement &placement, int pixelsPerInch,
                                             const QSize &screen) const
{
    return write([&](IniFile &ini) { placement.save(ini, editorSection(), pixelsPerInch, screen); });
}

QString SettingsStore::editorDialogFolder() const
{
    return read().value(editorSection(), kDialogFolder);
}

Result<> SettingsStore::writeEditorDialogFolder(const QString &folder) const
{
    return write([&folder](IniFile &ini) { ini.setValue(editorSection(), kDialogFolder, folder); });
}

RecentProjects SettingsStore::recentProjects() const
{
    const IniFile ini = read();
    QStringList stored;
    for (int i = 0; i < RecentProjects::MaxCount; ++i) {
        const QString path = ini.value(kRecentProjects, recentKey(i));
        if (!path.isEmpty())
            stored << path;
    }
    return RecentProjects(stored);
}

Result<> SettingsStore::writeRecentProjects(const RecentProjects &recent) const
{
    return write([&recent](IniFile &ini) {
        for (int i = 0; i < RecentProjects::MaxCount; ++i)
            ini.setValue(kRecentProjects, recentKey(i), recent.paths().value(i));
    });
}
