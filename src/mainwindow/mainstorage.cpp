// The main window's storage: its position, the two recent-file lists and the stored properties,
// in section "Main" of the settings store. Each stored "Component.Property" maps to a getter and
// a setter on the Qt side, writing the value in its stored format.

#include "editor/editorviews.h"
#include "mainwindow/findcontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/viewcontroller.h"
#include "settings/recentfilesmenu.h"
#include "settings/settingsstore.h"
#include "settings/storedprops.h"
#include "settings/windowsettings.h"
#include "windows/captionbar.h"
#include "windows/windowbase.h"

#include <QAction>
#include <QToolBar>

using namespace PropertyCodec;

namespace {

const QStringList ScrollBarKinds{QStringLiteral("ssNone"), QStringLiteral("ssHorizontal"), QStringLiteral("ssVertical"),
                                 QStringLiteral("ssBoth")};
const QStringList Measurements{QStringLiteral("pmDefault"), QStringLiteral("pmMillimeters"),
                               QStringLiteral("pmInches")};
const QStringList Bevels{QStringLiteral("pbNone"), QStringLiteral("pbLowered"), QStringLiteral("pbRaised")};
const QStringList PanelStyles{QStringLiteral("psText"), QStringLiteral("psOwnerDraw")};
constexpr int AlignTop = 1;
constexpr int AlignBottom = 2;

StoredFont editorFontBase()
{
    StoredFont base;
    base.charset = 0;
    base.color = 0;
    return base;
}

QString number(int value)
{
    return formatInteger(value);
}

} // namespace

void MainWindow::createStorage()
{
    using namespace storedprops;
    m_storage = new WindowSettings(this);
    m_storage->setObjectName(QStringLiteral("FormStorage1"));
    m_storage->setSection(QStringLiteral("Main"));
    m_storage->setOptions(WindowSettings::Position);
    m_storage->setMainWindow(true);
    WindowSettings& s = *m_storage;

    for (RecentFilesMenu* manager : {m_recentFiles, m_trayRecentFiles}) {
        const QString key = QStringLiteral("TQuilForm1.") + manager->objectName();
        s.addLinked([manager, key](SettingsStore& store) { manager->save(store, key); },
                    [manager, key](const SettingsStore& store) { manager->load(store, key); });
    }

    auto dialogFilter = [&](const QString& item, FileDialogState& dialog) {
        addString(
            s, item, [&dialog] { return dialog.filter; }, [&dialog](const QString& v) { dialog.filter = v; });
    };
    dialogFilter(QStringLiteral("InsertDialog1.Filter"), m_dialogs.insert);
    dialogFilter(QStringLiteral("OpenDialog1.Filter"), m_dialogs.open);
    dialogFilter(QStringLiteral("SaveDialog1.Filter"), m_dialogs.save);
    dialogFilter(QStringLiteral("SaveDialog2.Filter"), m_dialogs.saveSelection);
    addString(
        s, QStringLiteral("FindDialog1.FindText"), [this] { return m_find->findText(); },
        [this](const QString& v) { m_find->setFindText(v); });
    addFont(
        s, QStringLiteral("FontDialog1.Font"), [this] { return m_fontDialogFont; },
        [this](const StoredFont& f) { m_fontDialogFont = f; });
    addObject(
        s, QStringLiteral("PageSetupDialog1.PaperSize"),
        [this] {
            return QList<std::pair<QString, QString>>{{QStringLiteral("X"), number(m_pageSetup.paperX)},
                                                      {QStringLiteral("Y"), number(m_pageSetup.paperY)}};
        },
        [this](const QList<std::pair<QString, QString>>& v) {
            m_pageSetup.paperX = parseInteger(v[0].second);
            m_pageSetup.paperY = parseInteger(v[1].second);
        });
    addEnum(
        s, QStringLiteral("PageSetupDialog1.Measurements"), Measurements, [this] { return m_pageSetup.measurements; },
        [this](int v) { m_pageSetup.measurements = v; });
    addObject(
        s, QStringLiteral("PageSetupDialog1.Margins"),
        [this] {
            return QList<std::pair<QString, QString>>{{QStringLiteral("Left"), number(m_pageSetup.marginLeft)},
                                                      {QStringLiteral("Right"), number(m_pageSetup.marginRight)},
                                                      {QStringLiteral("Top"), number(m_pageSetup.marginTop)},
                                                      {QStringLiteral("Bottom"), number(m_pageSetup.marginBottom)}};
        },
        [this](const QList<std::pair<QString, QString>>& v) {
            m_pageSetup.marginLeft = parseInteger(v[0].second);
            m_pageSetup.marginRight = parseInteger(v[1].second);
            m_pageSetup.marginTop = parseInteger(v[2].second);
            m_pageSetup.marginBottom = parseInteger(v[3].second);
        });
    addBool(
        s, QStringLiteral("PageSetupDialog1.Centered"), [this] { return m_pageSetup.centered; },
        [this](bool v) { m_pageSetup.centered = v; });

    auto checked = [&](const QString& item, const QString& actionName) {
        QAction* action = m_commands.action(actionName);
        addBool(
            s, item, [action] { return action->isChecked(); }, [action](bool v) { action->setChecked(v); });
    };
    checked(QStringLiteral("StayOnTop1.Checked"), QStringLiteral("StayOnTop1"));
    addEnum(
        s, QStringLiteral("ToolBar1.Alignment"), textAlignments(), [this] { return m_toolBarAlignment; },
        [this](int v) { m_toolBarAlignment = v; });
    addEnum(
        s, QStringLiteral("ToolBar1.Align"), controlAligns(),
        [this] { return toolBarArea(m_toolBar) == Qt::BottomToolBarArea ? AlignBottom : AlignTop; },
        [this](int v) {
            if (v == AlignTop || v == AlignBottom)
                addToolBar(v == AlignBottom ? Qt::BottomToolBarArea : Qt::TopToolBarArea, m_toolBar);
        });
    addInteger(
        s, QStringLiteral("ToolBar1.Color"), [this] { return m_toolBarColor; },
        [this](qint32 v) { m_toolBarColor = v; });
    addBool(
        s, QStringLiteral("TrayIcon.Active"), [this] { return m_trayIconProperty; },
        [this](bool v) { m_trayIconProperty = v; });
    checked(QStringLiteral("WordWrap1.Checked"), QStringLiteral("WordWrap1"));
    addBool(
        s, QStringLiteral("StatusBar1.Visible"), [this] { return !m_statusBar->isHidden(); },
        [this](bool v) { m_statusBar->setVisible(v); });
    addBool(
        s, QStringLiteral("StatusBar1.SizeGrip"), [this] { return m_statusBar->sizeGrip(); },
        [this](bool v) { m_statusBar->setSizeGrip(v); });

    auto editorSetting = [this](auto change) {
        EditorSettings settings = m_views->settings();
        change(settings);
        m_views->setSettings(settings);
    };
    addInteger(
        s, QStringLiteral("Editor.Color"), [this] { return m_views->settings().paper; },
        [editorSetting](qint32 v) { editorSetting([v](EditorSettings& e) { e.paper = v; }); });
    addFont(
        s, QStringLiteral("Editor.Font"), [this] { return storedFromFont(m_views->settings().font, editorFontBase()); },
        [editorSetting](const StoredFont& f) {
            editorSetting([f](EditorSettings& e) { e.font = fontFromStored(f); });
        });
    addEnum(
        s, QStringLiteral("Editor.ScrollBars"), ScrollBarKinds,
        [this] { return m_views->settings().scrollBarsBoth ? 3 : 2; },
        [editorSetting](int v) { editorSetting([v](EditorSettings& e) { e.scrollBarsBoth = v == 1 || v == 3; }); });
    addBool(
        s, QStringLiteral("Editor.WordWrap"), [this] { return m_views->settings().wordWrap; },
        [this, editorSetting](bool v) {
            editorSetting([v](EditorSettings& e) { e.wordWrap = v; });
            m_statusBar->setPanelText(StatusBar::WordWrap, v ? QStringLiteral("  W-W") : QString());
        });

    auto dialogText = [&](const QString& item, QString& field) {
        addString(
            s, item, [&field] { return field; }, [&field](const QString& v) { field = v; });
    };
    dialogText(QStringLiteral("OpenDialog1.FileName"), m_dialogs.open.fileName);
    dialogText(QStringLiteral("OpenDialog1.DefaultExt"), m_dialogs.open.defaultExt);
    dialogText(QStringLiteral("OpenDialog1.InitialDir"), m_dialogs.open.initialDir);
    addCollection(
        s, QStringLiteral("StatusBar1.Panels"),
        [this] {
            QList<CollectionItem> panels;
            // The encoding panel takes its room from the message panel, which is stored as wide as
            // the six designed panels leave it (the window's width lays it out again anyway).
            auto storedWidth = [this](int panel) {
                return m_statusBar->panelWidth(panel) +
                       (panel == StatusBar::Message ? m_statusBar->panelWidth(StatusBar::Encoding) : 0);
            };
            for (int i = 0; i < StatusBar::DesignedPanelCount; ++i)
                panels.append(
                    {{QStringLiteral("Alignment"), formatEnum(i < StatusBar::Message ? 2 : 0, textAlignments())},
                     {QStringLiteral("Bevel"), formatEnum(1, Bevels)},
                     {QStringLiteral("Style"), formatEnum(0, PanelStyles)},
                     {QStringLiteral("Text"), m_statusBar->panelText(i)},
                     {QStringLiteral("Width"), number(storedWidth(i))}});
            return panels;
        },
        [this](const QList<CollectionItem>& panels) {
            for (int i = 0; i < panels.size() && i < StatusBar::DesignedPanelCount; ++i) {
                m_statusBar->setPanelText(i, panels[i].value(3).second);
                const int width = parseInteger(panels[i].value(4).second);
                if (width > 0)
                    m_statusBar->setPanelWidth(i, width);
            }
            m_view->layOutStatusBar(width());
        });
    addObject(
        s, QStringLiteral("MSOfficeCaption1.CaptionText"),
        [this] {
            return QList<std::pair<QString, QString>>{
                {QStringLiteral("Caption"), formatString(m_titleDocText)},
                {QStringLiteral("ColorActive"), formatInteger(m_captionText.colorActive)},
                {QStringLiteral("ColorInactive"), formatInteger(m_captionText.colorInactive)},
                {QStringLiteral("FontKind"), m_captionText.fontKind},
                {QStringLiteral("Visible"), formatBool(m_showFileName)}};
        },
        [this](const QList<std::pair<QString, QString>>& v) {
            m_captionText.colorActive = parseInteger(v[1].second);
            m_captionText.colorInactive = parseInteger(v[2].second);
            m_captionText.fontKind = v[3].second;
            if (const auto visible = parseBool(v[4].second))
                setShowFileNameInTitle(*visible);
        });
    // The program's own switch for tiling desktops, written only once it hides the strips, so a
    // first run's file is as it always was.
    addObject(
        s, QStringLiteral("MSOfficeCaption1.Visible"),
        [] {
            return QList<std::pair<QString, QString>>{
                {QString(), CaptionBar::allStripsShown() ? QString() : formatBool(false)}};
        },
        [](const QList<std::pair<QString, QString>>& v) {
            CaptionBar::setAllStripsShown(parseBool(v[0].second).value_or(true));
        });
    addFont(
        s, QStringLiteral("MSOfficeCaption1.CaptionTextFont"), [this] { return m_captionText.font; },
        [this](const StoredFont& f) { m_captionText.font = f; });
    dialogText(QStringLiteral("SaveDialog1.FileName"), m_dialogs.save.fileName);
    dialogText(QStringLiteral("SaveDialog2.FileName"), m_dialogs.saveSelection.fileName);
    dialogText(QStringLiteral("SaveDialog2.DefaultExt"), m_dialogs.saveSelection.defaultExt);
    dialogText(QStringLiteral("SaveDialog1.DefaultExt"), m_dialogs.save.defaultExt);
    checked(QStringLiteral("Show1.Checked"), QStringLiteral("Show1"));
}
