#include "windows/docsel1.h"

#include <QListWidget>
#include <QVBoxLayout>

TDocSel1* DocSel1 = nullptr;

TDocSel1::TDocSel1(QWidget* parent)
    : TForm(QStringLiteral("DocSel1"), QStringLiteral("Document Selector"), QSize(214, 197), false, parent,
            {QStringLiteral("Document Selector"),
             TFormPlacement::fpState | TFormPlacement::fpPosition | TFormPlacement::fpActiveControl})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    ListBox1->setFont(font);
    QPalette pal = ListBox1->palette();
    pal.setColor(QPalette::Text, QColor(128, 0, 128));
    ListBox1->setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListBox1);
}

void TDocSel1::setDocuments(const QStringList& captions, int selected)
{
    ListBox1->clear();
    ListBox1->addItems(captions);
    ListBox1->setCurrentRow(selected);
}

QStringList TDocSel1::documents() const
{
    QStringList items;
    for (int i = 0; i < ListBox1->count(); ++i)
        items.append(ListBox1->item(i)->text());
    return items;
}

int TDocSel1::selectedIndex() const
{
    return ListBox1->currentRow();
}
