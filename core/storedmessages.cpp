#include "core/storedmessages.h"

#include "core/xmldocument.h"

#include <QFile>
#include <QFileInfo>

StoredMessages ReadStoredMessages(const QString &path)
{
    StoredMessages result;
    QFile file(path);
    if (!QFileInfo::exists(path))
        return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = StoredMessages::Status::Unreadable;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = StoredMessages::Status::Unreadable;
        return result;
    }
    const std::optional<XmlDocument> document = XmlDocument::fromBytes(bytes);
    if (!document) {
        result.status = StoredMessages::Status::Broken;
        return result;
    }
    result.status = StoredMessages::Status::Read;
    const auto text = [](const XmlElement &message, const char *name) {
        return message.attribute(QLatin1String(name)).value_or(QString());
    };
    for (XmlElement message = document->root().child(0); !message.isNull();
         message = message.nextSibling())
        result.messages.push_back(
            {text(message, "PostDateTime"), text(message, "FromIP"), text(message, "Comment")});
    return result;
}
