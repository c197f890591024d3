#include "core/commandguard.h"

#include "core/commanderror.h"
#include "core/prompts.h"

#include <QString>
#include <new>

void showCommandError(const CommandError& error)
{
    if (error.refusalTitle().isEmpty())
        Prompts::current().error(error.message());
    else
        Prompts::current().warning(error.refusalTitle(), error.message());
}

bool runCommand(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const QuietEnd&) {
    } catch (const CommandError& e) {
        showCommandError(e);
    } catch (const std::bad_alloc&) {
        Prompts::current().error(QStringLiteral("Out of memory."));
    } catch (const std::exception& e) {
        Prompts::current().error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
