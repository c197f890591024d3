#include "windows/configurationdialog.h"

#include <QLabel>

ConfigurationDialog::ConfigurationDialog(QWidget* parent)
    : WindowBase(QStringLiteral("Config1"), QStringLiteral("Quillet Configuration"), QSize(329, 143), true, parent,
                 {QStringLiteral("Config"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_programDirectoryLabel = new QLabel(this);
    m_programDirectoryLabel->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_programDirectoryLabel->hide();
}

QString ConfigurationDialog::programDirectory() const
{
    return m_programDirectoryLabel->text();
}

void ConfigurationDialog::setProgramDirectory(const QString& dir)
{
    m_programDirectoryLabel->setText(dir);
}
