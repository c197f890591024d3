#pragma once
// Every question, message box and common dialog goes through Prompts. Production shows the
// real dialogs (WidgetPrompts); tests install a scripted implementation.

#include "core/filedialogstate.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

class Prompts
{
public:
    enum class Answer { Yes, No, Cancel, Ok };

    virtual ~Prompts() = default;

    // Yes, No and Cancel with a question icon.
    virtual Answer question(const QString& title, const QString& text) = 0;
    // An exclamation icon and OK.
    virtual void warning(const QString& title, const QString& text) = 0;
    // A plain report with OK; shown as a warning unless overridden.
    virtual void information(const QString& title, const QString& text) { warning(title, text); }
    // The application's standard error box.
    virtual void error(const QString& text) = 0;
    // The font dialog preset with `initial`; nothing when the user cancels.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;

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

    static Prompts& current();
    // Replaces the prompts in use (tests); returns the previous ones. Not owned.
    static Prompts* install(Prompts* prompts);
};

// The real dialogs, parented to the active window.
class WidgetPrompts : public Prompts
{
public:
    Answer question(const QString& title, const QString& text) override;
    void warning(const QString& title, const QString& text) override;
    void information(const QString& title, const QString& text) override;
    void error(const QString& text) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    QStringList openFiles(FileDialogState& dialog) override;
    QString saveFile(FileDialogState& dialog) override;
};
