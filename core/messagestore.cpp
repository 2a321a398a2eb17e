#include "core/messagestore.h"

#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/savefile.h"
#include "core/storelayout.h"
#include "core/xmldocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The store only grows, so a delivery must not cost what the store holds: new messages are
// written in front of the old ones, whose bytes are copied behind them as they stand. The file
// is parsed only when it is not exactly what the last write left.

namespace {

// Calls `take(name, value)` for each attribute a stored message keeps, in the stored order.
template <typename Take> void forEachKeptAttribute(const XmlElement &message, Take take)
{
    for (const char *name : {"Logid", "FromLogid", "FromIP", "PostDateTime", "Comment"}) {
        if (const std::optional<QString> value = message.attribute(QLatin1String(name)))
            take(QLatin1String(name), *value);
    }
}

// Old bytes are copied through a buffer of this size, whatever the size of the store.
constexpr qint64 kCopyBufferBytes = 256 * 1024;

// The store as the last write of this process left it.
struct LastWrite
{
    QString path;
    FileIdentity identity;
    StoreLayout layout;
};

LastWrite &lastWrite()
{
    static LastWrite instance;
    return instance;
}

// The stored elements of a delivered list, newest (last delivered) first.
QByteArray storedElements(const XmlElement &first)
{
    QByteArray elements;
    for (XmlElement message = first; !message.isNull(); message = message.nextSibling()) {
        QString element = QStringLiteral("<Message");
        forEachKeptAttribute(message, [&element](QLatin1String name, const QString &value) {
            element += QLatin1Char(' ') + name + QStringLiteral("=\"") +
                       EscapedXmlAttribute(value) + QLatin1Char('"');
        });
        element += QStringLiteral("/>");
        elements.prepend(cp936::encodeForXml(element));
    }
    return elements;
}

bool copyBytes(QFile &from, qint64 count, QIODevice &to)
{
    QByteArray buffer(qMin(count, kCopyBufferBytes), Qt::Uninitialized);
    while (count > 0) {
        const qint64 read = from.read(buffer.data(), qMin<qint64>(count, buffer.size()));
        if (read <= 0 || to.write(buffer.constData(), read) != read)
            return false;
        count -= read;
    }
    return true;
}

// Writes `elements` into the store at layout.insertAt, through a temporary file renamed over the
// old one, and remembers what was written.
bool insertInto(const QString &path, const StoreLayout &layout, const QByteArray &elements)
{
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly)) {
        qWarning("could not read %s: %s", qUtf8Printable(path), qUtf8Printable(old.errorString()));
        return false;
    }
    const bool written = SaveFileAtomically(path, [&](QIODevice &file) {
        return copyBytes(old, layout.insertAt, file) && file.write(elements) == elements.size() &&
               copyBytes(old, old.size() - layout.insertAt, file);
    });
    if (written)
        lastWrite() = {path, FileIdentity::of(path), layout};
    return written;
}

bool startStore(const QString &path, const QByteArray &elements)
{
    const QByteArray head = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n"
                                              "<Messages>\n");
    if (!SaveFileAtomically(path, head + elements + QByteArrayLiteral("</Messages>\n")))
        return false;
    lastWrite() = {path, FileIdentity::of(path), StoreLayout{head.size()}};
    return true;
}

// A store this process did not write as it is now, read whole: only for a store whose head does
// not have the layout the client writes (another encoding, an empty root written as one tag).
bool rewriteWhole(const QString &path, const XmlElement &first)
{
    std::optional<XmlDocument> store = XmlDocument::fromFile(path);
    if (!store)
        return false;
    XmlElement root = store->root();
    for (XmlElement message = first; !message.isNull(); message = message.nextSibling()) {
        XmlElement stored = root.insertChild(0, QStringLiteral("Message"));
        forEachKeptAttribute(message, [&stored](QLatin1String name, const QString &value) {
            stored.setAttribute(name, value);
        });
    }
    if (!SaveFileAtomically(path, store->toCp936()))
        return false;
    // Without a layout it can use, the next delivery looks at the file again.
    const std::optional<StoreLayout> layout = ReadStoreLayout(path);
    lastWrite() = layout ? LastWrite{path, FileIdentity::of(path), *layout} : LastWrite{};
    return true;
}

} // namespace

namespace {

// Inserts the delivered elements starting at `first` into the store at `path`.
bool insertDelivered(const QString &path, const XmlElement &first)
{
    const QByteArray elements = storedElements(first);
    const LastWrite &last = lastWrite();
    if (last.path == path && last.identity.isValid() && last.identity == FileIdentity::of(path))
        return insertInto(path, last.layout, elements);

    if (!QFileInfo::exists(path)) {
        // Messages are delivered only once, so a missing folder is made rather than losing them.
        QDir().mkpath(QFileInfo(path).absolutePath());
        return startStore(path, elements);
    }
    if (!XmlDocument::isWellFormedFile(path)) {
        // What it holds may still be recovered by hand; a store that cannot be moved aside is
        // not overwritten either.
        return SetAsideBrokenFile(path) && startStore(path, elements);
    }
    if (const std::optional<StoreLayout> layout = ReadStoreLayout(path))
        return insertInto(path, *layout, elements);
    return rewriteWhole(path, first);
}

} // namespace

bool StoreMessages(TClientServiceInfo &info, const QString &messageList)
{
    // The list arrives as Unicode text, so Chinese messages parse whatever the answer declared.
    const std::optional<XmlDocument> delivered =
        XmlDocument::fromUnicode(messageList, XmlDocument::Source::Network);
    if (!delivered)
        return true;
    const XmlElement first = delivered->root().child(0);
    if (first.isNull())
        return true;
    if (!insertDelivered(info.messagesPath(), first))
        return false;
    // Only now, so whoever is told finds the new messages in the store.
    info.HasMessages = true;
    return true;
}
