#include "mainwindow/viewcontroller.h"

#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/designedfonts.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/commandregistry.h"
#include "mainwindow/datecontroller.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "windows/optionsdialog.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QProgressBar>
#include <QTime>

namespace {
const QString WrapMark = QStringLiteral("  W-W");
// A document held unwrapped for its size.
const QString HeldMark = QStringLiteral(" Large");
const QString HeldMessage = QStringLiteral("Large document: opened without Word-Wrap (Ctrl+W wraps it)");
} // namespace

ViewController::ViewController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar,
                               CommandRegistry& commands, const ProgramWindows& windows, DateController& dates)
    : m_documents(documents), m_views(views), m_statusBar(statusBar), m_commands(commands), m_windows(windows),
      m_dates(dates)
{
    m_views.setLargeTextLimit([&windows] { return OptionsDialog::valuesOf(windows.options).largeDocumentBytes; });
    QObject::connect(&m_views, &EditorViews::wrapStateChanged, &m_connections, [this] { showWrapState(); });
    QObject::connect(&m_views, &EditorViews::wrapProgress, &m_connections,
                     [this](int percent) { showWrapProgress(percent); });
    QObject::connect(&m_views, &EditorViews::wrapProgressAway, &m_connections, [this] { m_statusBar.hideProgress(); });
}

void ViewController::nextDocument()
{
    m_documents.nextDocument();
}

void ViewController::previousDocument()
{
    m_documents.previousDocument();
}

void ViewController::toggleWordWrap()
{
    EditorView* editor = m_views.current();
    m_documents.setCurrentCaret(editor->selStart());
    EditorSettings settings = m_views.settings();
    // A document held unwrapped for its size is wrapped (turning Word Wrap on if it was off);
    // the others keep the setting.
    const bool held = m_views.heldUnwrapped();
    settings.wordWrap = held || !settings.wordWrap;
    settings.scrollBarsBoth = !settings.wordWrap;
    if (held)
        m_views.releaseWrapHold();
    m_views.setSettings(settings);
    m_commands.action(QStringLiteral("WordWrap1"))->setChecked(settings.wordWrap);
    showWrapState();
    const qint64 caret = m_documents.current().caret;
    m_views.jumpTo(caret, caret);
    if (held) {
        m_statusBar.setMessage(QStringLiteral("Word-Wrapping the large document..."));
        m_views.watchWrapping();
    }
}

void ViewController::showWrapState()
{
    const bool held = m_views.heldUnwrapped();
    m_statusBar.setPanelText(StatusBar::WordWrap, held                            ? HeldMark
                                                  : m_views.current()->wordWrap() ? WrapMark
                                                                                  : QString());
    if (held && !m_heldShown)
        m_statusBar.setMessage(HeldMessage);
    m_heldShown = held;
}

QString ViewController::wrapNote() const
{
    return m_views.heldUnwrapped() ? HeldMessage : QString();
}

void ViewController::showWrapProgress(int percent)
{
    QProgressBar* progress = m_statusBar.progressBar();
    if (percent >= 100) {
        if (progress && progress->isVisible()) {
            m_statusBar.hideProgress();
            m_statusBar.setMessage(QStringLiteral("Done!"));
        }
        return;
    }
    if (!progress)
        return;
    if (percent < 0)
        progress->setRange(0, 0); // busy, no estimate
    else {
        progress->setRange(0, 100);
        progress->setValue(percent);
    }
    if (!progress->isVisible())
        m_statusBar.showProgress();
}

void ViewController::showSizeGrip()
{
    m_statusBar.setSizeGrip(m_commands.action(QStringLiteral("Show1"))->isChecked());
}

void ViewController::chooseStatusBarFont()
{
    if (const auto font = Prompts::current().chooseFont(fontInUse(m_statusBar.font())))
        m_statusBar.setFont(*font);
}

void ViewController::showPreferences()
{
    if (m_windows.options)
        m_windows.options->execute();
}

void ViewController::showProperties()
{
    if (!m_windows.options)
        return;
    m_windows.options->showPage(2);
    m_windows.options->execute();
}

void ViewController::updateStatusPanels()
{
    const EditorView* editor = m_views.current();
    const qint64 line = editor->lineFromPosition(editor->selStart()) + 1;
    const qint64 column = editor->selLength() + editor->caretPixelX() / 8 + 1;
    m_statusBar.setPanelText(StatusBar::CaretPosition, QStringLiteral("%1:%2").arg(line).arg(column));
    m_statusBar.setPanelText(StatusBar::InsertMode, editor->overtype() ? QStringLiteral("OVR") : QStringLiteral("INS"));
    m_statusBar.setPanelText(StatusBar::Clock, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
}

void ViewController::statusPanelHovered(int panel)
{
    QString hint;
    switch (panel) {
    case StatusBar::Clock:
        hint = QStringLiteral("The Time is: ") + m_statusBar.panelText(StatusBar::Clock);
        break;
    case StatusBar::CaretPosition:
        hint = QStringLiteral("The Cursor Position is: ") + m_statusBar.panelText(StatusBar::CaretPosition);
        break;
    case StatusBar::ModifiedState:
        hint = m_statusBar.panelText(StatusBar::ModifiedState) == ModifiedWord
                   ? QStringLiteral("The Current Document is Modified")
                   : QStringLiteral("The Current Document is not Modified");
        break;
    case StatusBar::InsertMode:
        hint = m_statusBar.panelText(StatusBar::InsertMode) == QLatin1String("INS")
                   ? QStringLiteral("Quillet is in Insert Mode.")
                   : QStringLiteral("Quillet is in Over-Write Mode.");
        break;
    case StatusBar::Message:
        hint = QStringLiteral("Quillet v4.6 - many documents, one editor. Click here to find out more about Quillet.");
        break;
    case StatusBar::WordWrap:
        hint = m_views.heldUnwrapped()
                   ? QStringLiteral("This large document is not Word-Wrapped: click here or press Ctrl+W to wrap it")
               : m_statusBar.panelText(StatusBar::WordWrap).isEmpty() ? QStringLiteral("Quillet is not Word-Wrapped")
                                                                      : QStringLiteral("Quillet is Word-Wrapped");
        break;
    case StatusBar::Encoding:
        hint = m_documents.current().rawBytesNote.isEmpty()
                   ? QStringLiteral("The Current Document is saved in %1. Click here to reopen it in another encoding")
                         .arg(m_statusBar.panelText(StatusBar::Encoding))
                   : QStringLiteral("The Current Document is its file's bytes, saved as they are. Click here to "
                                    "reopen it in an encoding");
        break;
    default:
        return;
    }
    // Why a text is raw bytes, where the mouse rests on the panel that says so.
    m_statusBar.setToolTip(panel == StatusBar::Encoding ? m_documents.current().rawBytesNote : QString());
    if (hint != m_statusHint) {
        m_statusHint = hint;
        m_statusBar.setStatusTip(hint);
        m_statusBar.setMessage(hint);
    }
}

void ViewController::statusPanelClicked(int panel)
{
    // The clock inserts the time as the Insert Time button; the message panel shows the About
    // window as its Help menu command does.
    if (panel == StatusBar::Clock)
        m_dates.insertFilterStamp();
    else if (panel == StatusBar::Message)
        m_commands.action(QStringLiteral("AboutQuillet1"))->trigger();
    else if (panel == StatusBar::WordWrap)
        toggleWordWrap();
    else if (panel == StatusBar::Encoding)
        m_commands.action(QStringLiteral("ReopenwithEncoding1"))->menu()->popup(QCursor::pos());
}

void ViewController::layOutStatusBar(int windowWidth)
{
    int others = 0;
    for (int panel = 0; panel < StatusBar::PanelCount; ++panel)
        if (panel != StatusBar::Message)
            others += m_statusBar.panelWidth(panel);
    // The bar fits the panels and the progress bar into what it has.
    m_statusBar.setPanelWidth(StatusBar::Message, windowWidth - others - 16);
}
