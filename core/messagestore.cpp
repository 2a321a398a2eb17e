#include "core/messagestore.h"

#include "core/clientserviceinfo.h"
#include "core/savefile.h"
#include "core/xmldocument.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char kNewStore[] =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<Messages>\r\n</Messages>\r\n";

const char *const kCopiedAttributes[] = {"Logid", "FromLogid", "FromIP", "PostDateTime", "Comment"};

} // namespace

bool StoreMessages(TClientServiceInfo &info, const QString &messageList)
{
    // The list arrives as Unicode text, so Chinese messages parse whatever the answer declared.
    const std::optional<XmlDocument> delivered = XmlDocument::fromUnicode(messageList);
    if (!delivered)
        return true;
    const XmlElement first = delivered->root().child(0);
    if (first.isNull())
        return true;
    info.HasMessages = true;

    const QString path = info.messagesPath();
    std::optional<XmlDocument> store = XmlDocument::fromFile(path);
    if (!store)
        store = XmlDocument::fromBytes(QByteArray(kNewStore));
    XmlElement root = store->root();
    for (XmlElement message = first; !message.isNull(); message = message.nextSibling()) {
        XmlElement stored = root.insertChild(0, QStringLiteral("Message"));
        for (const char *name : kCopiedAttributes) {
            if (const std::optional<QString> value = message.attribute(QLatin1String(name)))
                stored.setAttribute(QLatin1String(name), *value);
        }
    }
    // Messages are delivered only once, so a missing folder is made rather than losing them.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SaveFileAtomically(path, store->toCp936());
}
