#pragma once
// Quillet Configuration: created at start, hidden. It keeps the program directory, which the main
// window computes at every show, in the hidden label DirectoryListBox1; paths below the program
// directory are formed from it.

#include "windows/windowbase.h"

class QLabel;

class ConfigurationDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit ConfigurationDialog(QWidget* parent = nullptr);

    QString programDirectory() const;
    void setProgramDirectory(const QString& dir);

private:
    QLabel* m_programDirectoryLabel = nullptr;
};
