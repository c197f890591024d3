#pragma once
// Quillet Configuration: created at start, hidden. It keeps the program directory, which the main
// window computes at every show, in the hidden label DirectoryListBox1; paths below the program
// directory are formed from it.

#include "windows/formbase.h"

class QLabel;

class TConfig1 : public TForm
{
    Q_OBJECT

public:
    explicit TConfig1(QWidget* parent = nullptr);

    QString programDirectory() const;
    void setProgramDirectory(const QString& dir);

    QLabel* DirectoryListBox1;
};

extern TConfig1* Config1;
