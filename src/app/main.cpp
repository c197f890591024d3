#include "app/application.h"
#include "core/commandline.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // Asked for its version or usage, the program answers before anything else starts: no display,
    // no settings, no program directory.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString answer = informationText(informationRequest(arguments), QStringLiteral(QUILLET_VERSION));
    if (!answer.isEmpty())
        return std::fputs(answer.toLocal8Bit().constData(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    return runQuillet(argc, argv);
}
