#include "windows/windowbase.h"

#include "core/prompts.h"
#include "settings/programstore.h"

#include <QKeyEvent>
#include <QPushButton>

WindowBase::WindowBase(const QString& instanceName, const QString& caption, QSize size, bool fixedSize, QWidget* parent,
                       const StorageSetup& setup)
    : QWidget(parent, Qt::Window)
{
    setObjectName(instanceName);
    setWindowTitle(caption);
    if (fixedSize)
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
    resize(size);
    if (setup.section.isEmpty()) {
        if (fixedSize)
            setFixedSize(size);
        else
            setMinimumSize(size);
        return;
    }
    m_storage = new WindowSettings(this);
    m_storage->setObjectName(QStringLiteral("FormStorage1"));
    m_storage->setSection(setup.section);
    m_storage->setOptions(setup.options);
    WindowSizeLimits limits;
    if (fixedSize) {
        limits.setFixedSize(size.width(), size.height());
    } else {
        limits.setMinimumWidth(size.width());
        limits.setMinimumHeight(size.height());
    }
    m_storage->setSizeLimits(limits);
}

WindowBase::~WindowBase()
{
    // Saved while the window's controls still exist.
    if (m_storage)
        m_storage->windowDestroying();
}

bool WindowBase::handleDialogKey(QKeyEvent* event, const std::function<void()>& accept,
                                 const std::function<void()>& reject)
{
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isEnabled())
        focused->click();
    else
        accept();
    return true;
}

void attachStorage(WindowSettings* storage)
{
    if (!storage || !programStore())
        return;
    // A store that cannot be read or written is reported; the window opens or closes anyway.
    storage->setErrorHandler([](const QString& message) { Prompts::current().error(message); });
    // A window closes when the user is done with it (OK included): its section goes to the file
    // at once rather than at the program's end. A failed write stays pending for the next flush,
    // and the end of the program reports it.
    storage->setClosedSaveHandler([] { flushProgramStore(); });
    storage->attach(programStore());
}
