#include "settings/config1.h"

#include <QLabel>

TConfig1* Config1 = nullptr;

TConfig1::TConfig1(QWidget* parent)
    : TForm(QStringLiteral("Config1"), QStringLiteral("Quillet Configuration"), QSize(329, 143), true, parent,
            {QStringLiteral("Config"),
             TFormPlacement::fpState | TFormPlacement::fpPosition | TFormPlacement::fpActiveControl})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    DirectoryListBox1 = new QLabel(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->hide();
}

QString TConfig1::programDirectory() const
{
    return DirectoryListBox1->text();
}

void TConfig1::setProgramDirectory(const QString& dir)
{
    DirectoryListBox1->setText(dir);
}
