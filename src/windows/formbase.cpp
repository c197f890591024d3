#include "windows/formbase.h"

TForm::TForm(const QString& instanceName, const QString& caption, QSize size, bool fixedSize, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(instanceName);
    setWindowTitle(caption);
    if (fixedSize) {
        setFixedSize(size);
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
    } else {
        setMinimumSize(size);
        resize(size);
    }
}
