#pragma once
// The real dialogs behind Prompts, parented to the active window.

#include "core/prompts.h"

class WidgetPrompts : public Prompts
{
public:
    Answer question(const QString& title, const QString& text, Answer defaultAnswer = Answer::Yes) override;
    void warning(const QString& title, const QString& text) override;
    void information(const QString& title, const QString& text) override;
    void error(const QString& text) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;
    QStringList openFiles(FileDialogState& dialog) override;
    QString saveFile(FileDialogState& dialog) override;
    bool printerDialog(PrinterDialog kind, QPrinter& printer) override;
};
