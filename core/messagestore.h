#pragma once

#include <QString>

class TClientServiceInfo;

// Adds the messages of a delivered message list (the list element as XML text) to
// xml/messages.xml, newest first. False only when messages were delivered but the store could not
// be written; the reason then goes to stderr and the old file stays.
bool StoreMessages(TClientServiceInfo &info, const QString &messageList);
