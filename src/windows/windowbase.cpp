#include "windows/windowbase.h"

#include "core/prompts.h"
#include "settings/programstore.h"

WindowBase::WindowBase(const QString& instanceName, const QString& caption, QSize size, bool fixedSize, QWidget* parent,
             const StorageSpec& storage)
    : QWidget(parent, Qt::Window)
{
    setObjectName(instanceName);
    setWindowTitle(caption);
    if (fixedSize)
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
    resize(size);
    if (storage.section.isEmpty()) {
        if (fixedSize)
            setFixedSize(size);
        else
            setMinimumSize(size);
        return;
    }
    FormStorage1 = new WindowSettings(this);
    FormStorage1->setObjectName(QStringLiteral("FormStorage1"));
    FormStorage1->setIniSection(storage.section);
    FormStorage1->setOptions(storage.options);
    WindowSizeLimits limits;
    if (fixedSize) {
        limits.setFixed(size.width(), size.height());
    } else {
        limits.setMinTrackWidth(size.width());
        limits.setMinTrackHeight(size.height());
    }
    FormStorage1->setMinMaxInfo(limits);
}

WindowBase::~WindowBase()
{
    // Saved while the window's controls still exist.
    if (FormStorage1)
        FormStorage1->formDestroying();
}

void attachStorage(WindowSettings* storage)
{
    if (!storage || !programStore())
        return;
    // A store that cannot be read or written is reported; the window opens or closes anyway.
    storage->setErrorHandler([](const QString& message) { Prompts::current().error(message); });
    storage->attach(programStore());
}
