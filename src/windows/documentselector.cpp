#include "windows/documentselector.h"

#include <QListWidget>
#include <QVBoxLayout>

DocumentSelector::DocumentSelector(QWidget* parent)
    : WindowBase(QStringLiteral("DocSel1"), QStringLiteral("Document Selector"), QSize(214, 197), false, parent,
                 {QStringLiteral("Document Selector"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_documentList = new QListWidget(this);
    m_documentList->setObjectName(QStringLiteral("ListBox1"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    m_documentList->setFont(font);
    QPalette pal = m_documentList->palette();
    pal.setColor(QPalette::Text, QColor(128, 0, 128));
    m_documentList->setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_documentList);
}

void DocumentSelector::setDocuments(const QStringList& captions, int selected)
{
    m_documentList->clear();
    m_documentList->addItems(captions);
    m_documentList->setCurrentRow(selected);
}

QStringList DocumentSelector::documents() const
{
    QStringList items;
    for (int i = 0; i < m_documentList->count(); ++i)
        items.append(m_documentList->item(i)->text());
    return items;
}

int DocumentSelector::selectedIndex() const
{
    return m_documentList->currentRow();
}
