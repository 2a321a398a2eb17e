#include "service/commandline.h"
#include "service/commands.h"

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Command command = ParseCommandLine(arguments);
    if (!command.error.isEmpty()) {
        std::fprintf(stderr, "marbello-service: %s\n\n%s", command.error.toLocal8Bit().constData(),
                     UsageText().toLocal8Bit().constData());
        return 2;
    }
    switch (command.kind) {
    case CommandKind::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandKind::Version:
        std::fputs(VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandKind::AddUser:
        return RunAddUser(command);
    case CommandKind::PostMessage:
        return RunPostMessage(command);
    case CommandKind::Online:
        return RunOnline(command);
    case CommandKind::Serve:
        break;
    }
    return RunServe(command.options);
}
