#pragma once
// Document Selector: created at start, hidden. Its list mirrors the main window's tab captions,
// with the current tab selected; the main window keeps it in step. The window's tool bar,
// commands and count are built with the selector feature.

#include "windows/windowbase.h"

class QListWidget;

class DocumentSelector : public WindowBase
{
    Q_OBJECT

public:
    explicit DocumentSelector(QWidget* parent = nullptr);

    void setDocuments(const QStringList& captions, int selected);
    QStringList documents() const;
    int selectedIndex() const;

    QListWidget* documentList() const { return m_documentList; }

private:
    QListWidget* m_documentList = nullptr;
};
