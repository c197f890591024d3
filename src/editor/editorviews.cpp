#include "editor/editorviews.h"

#include "core/commanderror.h"
#include "documents/filesave.h"
#include "editor/editorview.h"
#include "settings/propertycodec.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStackedWidget>

EditorViews::EditorViews(QWidget* parent, std::function<EditorView*(QWidget*)> makeView)
    : QObject(parent), m_stack(new QStackedWidget(parent)), m_makeView(std::move(makeView))
{
    m_stack->setObjectName(QStringLiteral("EditorViews"));
    display(emptyView());
}

EditorViews::~EditorViews() = default;

void EditorViews::setFont(const QFont& font)
{
    EditorSettings changed = m_settings;
    changed.font = font;
    setSettings(changed);
}

void EditorViews::setAcceptFileDrops(bool accept)
{
    EditorSettings changed = m_settings;
    changed.acceptFileDrops = accept;
    setSettings(changed);
}

void EditorViews::setSettings(const EditorSettings& settings)
{
    m_settings = settings;
    applySettings(m_current);
}

namespace {

// The editor sizes its styles in points; a font given in pixels is converted at 96 dpi.
QFont inPoints(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return font;
}

} // namespace

void EditorViews::applySettings(EditorView* view)
{
    const QFont font = inPoints(m_settings.font);
    if (view->font() != font)
        view->setFont(font);
    const QColor paper = PropertyCodec::colorFromStored(m_settings.paper, view->palette());
    if (view->paper() != paper)
        view->setPaper(paper);
    const QColor ink = PropertyCodec::colorFromStored(m_settings.ink, view->palette());
    if (view->color() != ink)
        view->setColor(ink);
    if (view->wordWrap() != m_settings.wordWrap)
        view->setWordWrap(m_settings.wordWrap);
    if (view->scrollBarsBoth() != m_settings.scrollBarsBoth)
        view->setScrollBarsBoth(m_settings.scrollBarsBoth);
    view->setAcceptFileDrops(m_settings.acceptFileDrops);
}

EditorView* EditorViews::emptyView()
{
    if (m_spare) {
        EditorView* view = m_spare;
        m_spare = nullptr;
        view->clearText();
        return view;
    }
    EditorView* view = m_makeView(m_stack);
    m_stack->addWidget(view);
    return view;
}

void EditorViews::display(EditorView* view)
{
    if (view == m_current)
        return;
    // The editor keeps the window's keyboard focus unless another control of the window was
    // chosen: typing goes to the text whether or not the window is active at this moment.
    const QWidget* chosen = m_stack->window()->focusWidget();
    const bool takeFocus = !chosen || chosen == m_current || !chosen->isVisible();
    applySettings(view);
    m_current = view;
    m_stack->setCurrentWidget(view);
    if (takeFocus)
        view->setFocus();
    emit currentChanged(view);
}

void EditorViews::stash(const QString& storeFile)
{
    writeFile(storeFile);
    forget(storeFile);
    if (!m_keepingViews) {
        // A fresh buffer: the text, its undo history and selection go with the old one.
        m_current->releaseBuffer(m_current->takeBuffer());
        return;
    }
    m_kept.insert(storeFile, m_current);
    display(emptyView());
}

void EditorViews::show(const QString& storeFile)
{
    EditorView* previous = m_current;
    if (EditorView* view = m_kept.take(storeFile)) {
        display(view);
    } else {
        display(emptyView());
        loadFile(storeFile);
    }
    if (previous == m_current)
        return;
    // The view shown before belonged to no document any more (an empty one left by a stash, or a
    // closed document's): one is kept for the next stash, others go.
    if (!m_spare && previous->textLength() == 0) {
        m_spare = previous;
    } else {
        m_stack->removeWidget(previous);
        previous->deleteLater();
    }
}

void EditorViews::forget(const QString& storeFile)
{
    if (EditorView* view = m_kept.take(storeFile)) {
        m_stack->removeWidget(view);
        view->deleteLater();
    }
}

void EditorViews::forgetAll()
{
    const QStringList files = m_kept.keys();
    for (const QString& file : files)
        forget(file);
}

void EditorViews::loadFile(const QString& path)
{
    // The file streams into a fresh buffer, so a failed read leaves the shown text as it was and
    // the text is never held twice in memory. What is not a regular file is refused before it is
    // opened: a pipe would block, a device might never end.
    if (const OpenRefusal refusal = checkOpenable(path))
        throw CommandError(refusal.message);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file.errorString()));
    const qint64 size = file.isSequential() ? 0 : file.size();
    if (size > TextCapacity)
        throw CommandError(fileError(QStringLiteral("The file is too large"), path, QString()));

    void* previous = m_current->takeBuffer();
    auto restore = qScopeGuard([this, previous] { m_current->showBuffer(previous); });
    m_current->appendFromDevice(file, size);
    restore.dismiss();
    m_current->releaseBuffer(previous);
}

void EditorViews::writeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CommandError(fileError(QStringLiteral("Cannot create file"), path, file.errorString()));
    if (!m_current->writeTo(file) || !file.flush())
        throw CommandError(fileError(QStringLiteral("Cannot write file"), path, file.errorString()));
    file.close();
}
