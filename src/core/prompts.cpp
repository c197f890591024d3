#include "core/prompts.h"

#include <QtGlobal>

namespace {

// Until a window system is up there is nobody to ask: everything is cancelled and reported.
class UnattendedPrompts : public Prompts
{
public:
    Answer question(const QString& title, const QString& text, Answer = Answer::Yes) override
    {
        qWarning("%s: %s (cancelled: no one to ask)", qPrintable(title), qPrintable(text));
        return Answer::Cancel;
    }
    void warning(const QString& title, const QString& text) override
    {
        qWarning("%s: %s", qPrintable(title), qPrintable(text));
    }
    void error(const QString& text) override { qWarning("%s", qPrintable(text)); }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
};

UnattendedPrompts unattended;
Prompts* installed = nullptr;

} // namespace

Prompts& Prompts::current()
{
    return installed ? *installed : unattended;
}

Prompts* Prompts::install(Prompts* prompts)
{
    Prompts* previous = installed;
    installed = prompts;
    return previous;
}
