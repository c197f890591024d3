#include "windows/documentselector.h"

#include <QListWidget>
#include <QVBoxLayout>

DocumentSelector* DocSel1 = nullptr;

DocumentSelector::DocumentSelector(QWidget* parent)
    : WindowBase(QStringLiteral("DocSel1"), QStringLiteral("Document Selector"), QSize(214, 197), false, parent,
            {QStringLiteral("Document Selector"),
             WindowSettings::fpState | WindowSettings::fpPosition | WindowSettings::fpActiveControl})
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

void DocumentSelector::setDocuments(const QStringList& captions, int selected)
{
    ListBox1->clear();
    ListBox1->addItems(captions);
    ListBox1->setCurrentRow(selected);
}

QStringList DocumentSelector::documents() const
{
    QStringList items;
    for (int i = 0; i < ListBox1->count(); ++i)
        items.append(ListBox1->item(i)->text());
    return items;
}

int DocumentSelector::selectedIndex() const
{
    return ListBox1->currentRow();
}
