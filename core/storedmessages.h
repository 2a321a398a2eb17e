#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// A message of xml/messages.xml as the message log shows it: the posting time, the sender's
// address and the text. A value the service left out reads as empty.
struct StoredMessage
{
    QString postDateTime;
    QString fromIP;
    QString comment;
};

struct StoredMessages
{
    enum class Status {
        Read,       // a well-formed store (possibly with no messages)
        Missing,    // no file
        Unreadable, // a file that cannot be read now; it may well be intact
        Broken,     // a file that was read but is not a well-formed document
    };
    Status status = Status::Missing;
    std::vector<StoredMessage> messages; // in file order: newest first
};

// Reads the store once, up to `limit` messages from the newest. The file is only read, never
// changed.
StoredMessages ReadStoredMessages(const QString &path, std::size_t limit = SIZE_MAX);
