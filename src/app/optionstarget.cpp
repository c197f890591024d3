// What the options window changes in the main window, and the options commands.

#include "app/commanderror.h"
#include "app/quilform1.h"
#include "documents/editorviews.h"
#include "documents/richexporter.h"
#include "settings/formplacement.h"

#include <QAction>
#include <QTimer>
#include <QToolBar>

void TQuilForm1::setStayOnTop(bool on)
{
    m_actions.value(QStringLiteral("StayOnTop1"))->setChecked(on);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing the flag re-creates the window, which hides it; it comes back where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show();
}

void TQuilForm1::setSettingsAutoSave(bool on)
{
    FormStorage1->setActive(on);
}

void TQuilForm1::setAutoSave(bool on)
{
    if (on)
        AutoSave1->start();
    else
        AutoSave1->stop();
}

bool TQuilForm1::autoSaveRunning() const
{
    return AutoSave1->isActive();
}

void TQuilForm1::setTrayIcon(bool on)
{
    m_trayIconProperty = on;
}

void TQuilForm1::setToolBarShown(bool on)
{
    ToolBar1->setVisible(on);
    m_actions.value(QStringLiteral("ShowToolBars1"))->setChecked(on);
}

void TQuilForm1::turnWordWrapOn()
{
    if (!m_views->settings().wordWrap)
        WordWrapBtn1Click();
}

OptionsDialogs TQuilForm1::fileDialogs()
{
    return {&OpenDialog1, &SaveDialog1, &InsertDialog1, &SaveDialog2};
}

void TQuilForm1::setEditorFont(const QFont& font)
{
    EditorSettings settings = m_views->settings();
    settings.font = font;
    m_views->setSettings(settings);
}

void TQuilForm1::setPageColour(qint32 stored)
{
    EditorSettings settings = m_views->settings();
    settings.paper = stored;
    m_views->setSettings(settings);
}

void TQuilForm1::setTextColour(qint32 stored)
{
    EditorSettings settings = m_views->settings();
    settings.ink = stored;
    m_views->setSettings(settings);
}

void TQuilForm1::applyFilters()
{
    if (QuilletOp)
        QuilletOp->applyFilters(OpenDialog1, SaveDialog1, SaveDialog2, InsertDialog1);
}

void TQuilForm1::Preferences1Click()
{
    if (QuilletOp)
        QuilletOp->execute();
}

void TQuilForm1::Properties1Click()
{
    if (!QuilletOp)
        return;
    QuilletOp->showPage(2);
    QuilletOp->execute();
}
