#pragma once
// The one scripted Prompts of the tests: questions are answered from a queue (then with
// `otherwise`), every dialog returns what the test put in for it, and everything the program
// asked or reported is recorded in order. A ScopedPrompts installs a fresh script for one test.

#include "core/prompts.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <utility>

class ScriptedPrompts : public Prompts
{
public:
    // Questions: answered from `answers` in order, then with `otherwise`.
    QList<Answer> answers;
    Answer otherwise = Answer::Cancel;
    QStringList questions;
    // The answer each question offered on Enter, in step with `questions`.
    QList<Answer> questionDefaults;

    // Reports, in order: errors (the standard error box) and warnings in `errors`;
    // information boxes as "title: text" in `informations`.
    QStringList errors;
    QStringList warningTitles; // the titles of the warnings, in order
    QStringList informations;

    // Font and colour dialogs: the answer given (none: cancelled) and the value preset.
    std::optional<QFont> fontAnswer;
    QFont fontAsked;
    std::optional<QColor> colourAnswer;
    QColor colourAsked;

    // File dialogs: the open dialog returns `openPaths` every time; each save dialog takes the
    // next of `savePaths` (none left, or an empty one: cancelled) and, when it offers encodings,
    // the next of `saveEncodings` (none left, or an empty one: the encoding preset). Each dialog
    // is recorded as it was shown.
    QStringList openPaths;
    QStringList savePaths;
    QStringList saveEncodings;
    QList<FileDialogState> openDialogs;
    QList<FileDialogState> saveDialogs;

    // Printer dialogs: each is recorded; it is confirmed unless `printerDialogAccepted` is false,
    // after `printerChoice` (when set) has changed the printer as a user would.
    QList<PrinterDialog> printerDialogs;
    bool printerDialogAccepted = true;
    std::function<void(QPrinter&)> printerChoice;

    // Runs while a question is open, as something the event loop delivers meanwhile would.
    std::function<void()> whileAsking;

    Answer question(const QString&, const QString& text, Answer defaultAnswer = Answer::Yes) override
    {
        questions.append(text);
        questionDefaults.append(defaultAnswer);
        if (whileAsking)
            std::exchange(whileAsking, nullptr)();
        return answers.isEmpty() ? otherwise : answers.takeFirst();
    }
    void warning(const QString& title, const QString& text) override
    {
        warningTitles.append(title);
        errors.append(text);
    }
    void information(const QString& title, const QString& text) override
    {
        informations.append(title + QStringLiteral(": ") + text);
    }
    void error(const QString& text) override { errors.append(text); }
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        fontAsked = initial;
        return fontAnswer;
    }
    std::optional<QColor> chooseColour(const QColor& initial) override
    {
        colourAsked = initial;
        return colourAnswer;
    }
    QStringList openFiles(FileDialogState& dialog) override
    {
        openDialogs.append(dialog);
        return openPaths;
    }
    QString saveFile(FileDialogState& dialog) override
    {
        saveDialogs.append(dialog);
        if (!dialog.encodings.isEmpty() && !saveEncodings.isEmpty()) {
            const QString chosen = saveEncodings.takeFirst();
            if (!chosen.isEmpty())
                dialog.encoding = chosen;
        }
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }
    bool printerDialog(PrinterDialog kind, QPrinter& printer) override
    {
        printerDialogs.append(kind);
        if (printerDialogAccepted && printerChoice)
            printerChoice(printer);
        return printerDialogAccepted;
    }
};

// Installs its own script for as long as it lives, then puts the previous prompts back.
class ScopedPrompts : public ScriptedPrompts
{
public:
    ScopedPrompts() : m_previous(Prompts::install(this)) {}
    ~ScopedPrompts() override { Prompts::install(m_previous); }
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    Prompts* m_previous;
};
