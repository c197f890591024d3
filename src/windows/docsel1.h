#pragma once
// Document Selector: created at start, hidden. Its list mirrors the main window's tab captions,
// with the current tab selected; the main window keeps it in step. The window's tool bar,
// commands and count are built with the selector feature.

#include "windows/formbase.h"

class QListWidget;

class TDocSel1 : public TForm
{
    Q_OBJECT

public:
    explicit TDocSel1(QWidget* parent = nullptr);

    void setDocuments(const QStringList& captions, int selected);
    QStringList documents() const;
    int selectedIndex() const;

    QListWidget* ListBox1;
};

extern TDocSel1* DocSel1;
