#pragma once

#include "service/mailbox.h"
#include "service/serviceoptions.h"

#include <QString>
#include <QStringList>

enum class CommandKind { Serve, AddUser, PostMessage, Online, Help, Version };

struct Command
{
    CommandKind kind = CommandKind::Serve;
    ServiceOptions options; // the server's options; only the database path for the others
    QString logid;          // add-user
    QString password;       // add-user
    QueuedMessage message;  // post-message; an empty postDateTime means now
    QString error;          // set when the command line is not understood
};

// `arguments` without the program name.
Command ParseCommandLine(const QStringList &arguments);
QString UsageText();
QString VersionText();
