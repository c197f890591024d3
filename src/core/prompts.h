#pragma once
// Every question, message box and common dialog goes through Prompts. The program installs the
// real dialogs (WidgetPrompts, src/windows/); tests install scripted answers.

#include "core/filedialogstate.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;

// The answer to a Yes/No/Cancel question; a dialog closed any other way counts as Cancel.
enum class Answer { Yes, No, Cancel };

// The system's printer dialogs.
enum class PrinterDialog { Print, PrinterSetup, PageSetup };

class Prompts
{
public:
    virtual ~Prompts() = default;

    // Yes, No and Cancel with a question icon; Enter gives `defaultAnswer`.
    virtual Answer question(const QString& title, const QString& text, Answer defaultAnswer = Answer::Yes) = 0;
    // An exclamation icon and OK.
    virtual void warning(const QString& title, const QString& text) = 0;
    // A plain report with OK; shown as a warning unless overridden.
    virtual void information(const QString& title, const QString& text) { warning(title, text); }
    // The application's standard error box.
    virtual void error(const QString& text) = 0;
    // The font dialog preset with `initial`; nothing when the user cancels.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    // The colour dialog preset with `initial`; nothing when the user cancels.
    virtual std::optional<QColor> chooseColour(const QColor& initial)
    {
        Q_UNUSED(initial);
        return std::nullopt;
    }
    // The open dialog (several files may be chosen); empty when cancelled. The state keeps the
    // chosen folder and file name for next time.
    virtual QStringList openFiles(FileDialogState& dialog)
    {
        Q_UNUSED(dialog);
        return {};
    }
    // The save dialog, asking before an existing file is replaced; empty when cancelled.
    virtual QString saveFile(FileDialogState& dialog)
    {
        Q_UNUSED(dialog);
        return {};
    }

    // A printer dialog over `printer`, which takes what the user chose; false when cancelled.
    virtual bool printerDialog(PrinterDialog kind, QPrinter& printer)
    {
        Q_UNUSED(kind);
        Q_UNUSED(printer);
        return false;
    }

    // The prompts in use: those installed, or, before any are, ones that answer Cancel and
    // report to the standard error stream.
    static Prompts& current();
    // Replaces the prompts in use (the program at start, tests); returns the previous ones, null
    // for none. Not owned.
    static Prompts* install(Prompts* prompts);
};
