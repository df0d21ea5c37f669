#include "app/MainWindowSettings.h"

#include "app/IniFile.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kTabIndex = QStringLiteral("TabIndex");
const QString kPanelHeight = QStringLiteral("PanelMainTop_Height");
const QString kLayingIndex = QStringLiteral("ComboBox1_ItemIndex");
const QString kWallIndex = QStringLiteral("ComboBox2_ItemIndex");

int choice(const IniFile &ini, const QString &section, const QString &key)
{
    const int value = ini.intValue(section, key, -1);
    return value == 0 || value == 1 ? value : -1;
}

} // namespace

MainWindowSettings::MainWindowSettings(QString fileName, QString section)
    : m_fileName(std::move(fileName)), m_section(std::move(section))
{
}

int MainWindowSettings::tabIndex() const
{
    IniFile ini(m_fileName);
    ini.load();
    const int tab = ini.intValue(kSettings, kTabIndex, 0);
    return tab == 1 ? 1 : 0;
}

std::optional<MainWindowSettings::View> MainWindowSettings::view(int pixelsPerInch, const QSize &screen) const
{
    IniFile ini(m_fileName);
    if (!ini.load())
        return std::nullopt;
    View view;
    view.placement = WindowPlacement::load(ini, m_section, pixelsPerInch, screen);
    view.panelHeight = ini.intValue(m_section, kPanelHeight, -1);
    view.laying = choice(ini, m_section, kLayingIndex);
    view.wall = choice(ini, m_section, kWallIndex);
    return view;
}

bool MainWindowSettings::writeTabIndex(int tab, QString *reason) const
{
    IniFile ini(m_fileName);
    ini.load();
    ini.setValue(kSettings, kTabIndex, tab);
    return ini.save(reason);
}

bool MainWindowSettings::writeView(int tab, const WindowPlacement &placement, int pixelsPerInch, const QSize &screen,
                             const View &view, QString *reason) const
{
    IniFile ini(m_fileName);
    ini.load();
    ini.setValue(kSettings, kTabIndex, tab);
    placement.save(ini, m_section, pixelsPerInch, screen);
    ini.setValue(m_section, kPanelHeight, view.panelHeight);
    ini.setValue(m_section, kLayingIndex, view.laying);
    ini.setValue(m_section, kWallIndex, view.wall);
    return ini.save(reason);
}
