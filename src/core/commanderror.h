#pragma once
// A command that fails throws CommandError with the text the user should see; the one guard
// around every command shows it in the standard error box. QuietEnd stops a command (and its
// callers) without a word, after the user cancelled or a confirmation completed the work.

#include <QString>
#include <exception>

class CommandError : public std::exception
{
public:
    explicit CommandError(QString message) : m_message(std::move(message)) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return "CommandError"; }
    // Not a failure but a refusal of what the user asked, shown as a warning under this title
    // ("Quillet -..."); empty for an error.
    const QString& refusalTitle() const { return m_refusalTitle; }

protected:
    CommandError(QString message, QString refusalTitle)
        : m_message(std::move(message)), m_refusalTitle(std::move(refusalTitle))
    {}

private:
    QString m_message;
    QString m_refusalTitle;
};

class QuietEnd : public std::exception
{
public:
    const char* what() const noexcept override { return "QuietEnd"; }
};

// A name or path as a message shows it: one longer than `limit` characters keeps its start and its
// end with "..." between, so that no message box grows wider than the screen and what follows the
// name (the reason) stays in sight.
inline QString shortenedForMessage(const QString& text, qsizetype limit = 80)
{
    if (text.size() <= limit)
        return text;
    const qsizetype head = (limit - 3) * 2 / 5;
    const qsizetype tail = limit - 3 - head;
    return text.left(head) + QStringLiteral("...") + text.right(tail);
}
