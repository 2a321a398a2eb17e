#pragma once

#include <QString>

class TClientServiceInfo;

struct StoreResult
{
    bool stored = true;
    // Why the store could not be written: the file and the system's reason.
    QString failure;

    explicit operator bool() const { return stored; }
};

// Adds the messages of a delivered message list (the list element as XML text) to
// xml/messages.xml, newest first. It fails only when messages were delivered but the store could
// not be written; the old file then stays, and the failure says why (it also goes to stderr).
StoreResult StoreMessages(TClientServiceInfo &info, const QString &messageList);
