// StoreMessages on any existing store and any delivered list (the input's bytes before and after
// its first NUL byte). The store stays well-formed and keeps every earlier message behind the new
// ones.
#include "core/messagestore.h"
#include "core/xmldocument.h"
#include "fuzzappdir.h"
#include "fuzztarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace {

const char *const kAttributes[] = {"Logid", "FromLogid", "FromIP", "PostDateTime", "Comment"};

using Messages = std::vector<QStringList>;

Messages messagesOf(const XmlElement &root, int from = 0)
{
    Messages messages;
    for (int i = from; i < root.childCount(); ++i) {
        QStringList values;
        for (const char *name : kAttributes)
            values << root.child(i).attribute(QLatin1String(name)).value_or(QStringLiteral("-"));
        messages.push_back(values);
    }
    return messages;
}

int deliveredCount(const QString &list)
{
    const std::optional<XmlDocument> delivered = XmlDocument::fromUnicode(list);
    int count = 0;
    for (XmlElement e = delivered ? delivered->root().child(0) : XmlElement(); !e.isNull();
         e = e.nextSibling())
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const qsizetype split = bytes.indexOf('\0');
    const QString list = QString::fromUtf8(split < 0 ? bytes : bytes.mid(split + 1));

    TClientServiceInfo info;
    FuzzAppDir::initialize(info);
    const QString path = info.messagesPath();
    QFile::remove(path);
    QDir xml = QFileInfo(path).dir();
    for (const QString &broken : xml.entryList({QStringLiteral("messages.xml.broken-*")}))
        xml.remove(broken);
    std::optional<XmlDocument> before;
    if (split >= 0) {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(bytes.left(split)) == split);
        file.close();
        before = XmlDocument::fromFile(path);
    }
    const Messages earlier = before ? messagesOf(before->root()) : Messages();

    FUZZ_CHECK(StoreMessages(info, list));

    const int added = deliveredCount(list);
    if (added == 0)
        return 0;
    const std::optional<XmlDocument> after = XmlDocument::fromFile(path);
    FUZZ_CHECK(after.has_value());
    FUZZ_CHECK(after->root().childCount() == added + int(earlier.size()));
    FUZZ_CHECK(messagesOf(after->root(), added) == earlier);
    return 0;
}
