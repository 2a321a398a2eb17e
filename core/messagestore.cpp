#include "core/messagestore.h"

#include "core/brokenfile.h"
#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/savefile.h"
#include "core/storelayout.h"
#include "core/xmldocument.h"
#include "core/xmlescape.h"

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
                       EscapeXmlAttribute(value, GreaterThan::Escaped) + QLatin1Char('"');
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

StoreResult failed(const QString &path, const QString &reason)
{
    return {false, QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

// Replaces the store with what `write` produces and remembers the layout of what was written;
// without a layout it can use, the next delivery looks at the file again.
StoreResult save(const QString &path, const std::function<bool(QIODevice &)> &write,
                 std::optional<StoreLayout> layout)
{
    QString reason;
    if (!SaveFileAtomically(path, write, FileAccess::Default, &reason))
        return failed(path, reason);
    lastWrite() = layout ? LastWrite{path, FileIdentity::of(path), *layout} : LastWrite{};
    return {};
}

StoreResult save(const QString &path, const QByteArray &bytes, std::optional<StoreLayout> layout)
{
    return save(
        path, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); }, layout);
}

// Writes `elements` into the store at layout.insertAt, copying the old bytes around them.
StoreResult insertInto(const QString &path, const StoreLayout &layout, const QByteArray &elements)
{
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly)) {
        qWarning("could not read %s: %s", qUtf8Printable(path), qUtf8Printable(old.errorString()));
        return failed(path, old.errorString());
    }
    const auto write = [&](QIODevice &file) {
        return copyBytes(old, layout.insertAt, file) && file.write(elements) == elements.size() &&
               copyBytes(old, old.size() - layout.insertAt, file);
    };
    return save(path, write, layout);
}

StoreResult startStore(const QString &path, const QByteArray &elements)
{
    const QByteArray head = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n"
                                              "<Messages>\n");
    return save(path, head + elements + QByteArrayLiteral("</Messages>\n"),
                StoreLayout{head.size()});
}

// A store this process did not write as it is now, read whole: only for a store whose head does
// not have the layout the client writes (another encoding, an empty root written as one tag).
StoreResult rewriteWhole(const QString &path, XmlDocument &store, const XmlElement &first)
{
    XmlElement root = store.root();
    for (XmlElement message = first; !message.isNull(); message = message.nextSibling()) {
        XmlElement stored = root.insertChild(0, QStringLiteral("Message"));
        forEachKeptAttribute(message, [&stored](QLatin1String name, const QString &value) {
            stored.setAttribute(name, value);
        });
    }
    const StoreResult result = save(path, store.toCp936(), std::nullopt);
    if (result) {
        if (const std::optional<StoreLayout> layout = ReadStoreLayout(path))
            lastWrite() = {path, FileIdentity::of(path), *layout};
    }
    return result;
}

// Inserts the delivered elements starting at `first` into the store at `path`.
StoreResult insertDelivered(const QString &path, const XmlElement &first)
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
    // A store that cannot be read (no permission, a folder of that name) may well be intact: it
    // stays, and the delivery fails until it can be read.
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            return failed(path, probe.errorString());
    }
    if (XmlDocument::isWellFormedFile(path)) {
        if (const std::optional<StoreLayout> layout = ReadStoreLayout(path))
            return insertInto(path, *layout, elements);
        if (std::optional<XmlDocument> store = XmlDocument::fromFile(path))
            return rewriteWhole(path, *store, first);
    }
    // Ill-formed, or a document that cannot be extended (an encoding no reader here knows): set
    // aside for recovery by hand, so that this delivery and every later one land in a new store.
    // One that cannot be moved aside is not overwritten either.
    if (!SetAsideBrokenFile(path))
        return failed(path, QStringLiteral("ill-formed, and could not be set aside"));
    return startStore(path, elements);
}

} // namespace

StoreResult StoreMessages(TClientServiceInfo &info, const QString &messageList)
{
    // The list arrives as Unicode text, so Chinese messages parse whatever the answer declared.
    const std::optional<XmlDocument> delivered =
        XmlDocument::fromUnicode(messageList, XmlDocument::Source::Network);
    if (!delivered)
        return {};
    const XmlElement first = delivered->root().child(0);
    if (first.isNull())
        return {};
    StoreResult result = insertDelivered(info.messagesPath(), first);
    // Only once stored, so whoever is told finds the new messages in the store.
    if (result)
        info.HasMessages = true;
    return result;
}
