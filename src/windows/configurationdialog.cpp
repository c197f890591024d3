#include "windows/configurationdialog.h"

#include <QLabel>

ConfigurationDialog* Config1 = nullptr;

ConfigurationDialog::ConfigurationDialog(QWidget* parent)
    : WindowBase(QStringLiteral("Config1"), QStringLiteral("Quillet Configuration"), QSize(329, 143), true, parent,
            {QStringLiteral("Config"),
             WindowSettings::fpState | WindowSettings::fpPosition | WindowSettings::fpActiveControl})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    DirectoryListBox1 = new QLabel(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->hide();
}

QString ConfigurationDialog::programDirectory() const
{
    return DirectoryListBox1->text();
}

void ConfigurationDialog::setProgramDirectory(const QString& dir)
{
    DirectoryListBox1->setText(dir);
}
