#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <stdexcept>

struct _xmlDoc;
struct _xmlNode;
struct _xmlParserCtxt;

// Raised by the reads that a caller marks as required; callers catch it where their fallback lives.
class XmlReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An element of a loaded document. It does not own its node: it is valid while its document lives.
// Children are counted as elements only; the white space between them does not count.
class XmlElement
{
public:
    XmlElement() = default;
    explicit XmlElement(_xmlNode *node) : m_node(node) {}

    bool isNull() const { return m_node == nullptr; }
    QString name() const;

    int childCount() const;
    XmlElement child(int position) const;
    XmlElement child(const QString &name) const;
    // The next element with the same parent; null after the last.
    XmlElement nextSibling() const;

    std::optional<QString> attribute(const QString &name) const;
    // The attribute's text; a missing element or attribute raises XmlReadError.
    QString requiredAttribute(const QString &name) const;

    void setAttribute(const QString &name, const QString &value);
    // Inserts a new child element so that it becomes the child at `position` (0 puts it first).
    XmlElement insertChild(int position, const QString &name);

    // The element with its content, serialised as Unicode XML text without a declaration.
    QString toXml() const;

private:
    XmlElement firstChild() const;

    _xmlNode *m_node = nullptr;
};

// A parsed XML document. Input is untrusted: no network, no external entities, no DTD at all
// (none of the client's documents has one), no recovery from errors, no element with more than
// kMaxAttributes attributes, and from the network no more markup than the network bounds.
class XmlDocument
{
public:
    // No document of the client has an element with more than 17 attributes; one with more than
    // this is refused before it is parsed.
    static constexpr int kMaxAttributes = 64;
    // A document from the network is refused before it is parsed when it holds more markup than
    // this (an answer filled with messages up to its size bound holds about 5,000 elements and
    // 25,000 attributes), so that reading it stays short.
    static constexpr qsizetype kMaxNetworkNodes = 8 * 1024;
    static constexpr qsizetype kMaxNetworkAttributes = 32 * 1024;
    static constexpr qsizetype kMaxNetworkNamespaces = 64; // the client's documents use none

    enum class Source { Local, Network };

    // Bytes decoded by the document's own declaration: gb2312 means CP936, none means UTF-8.
    static std::optional<XmlDocument> fromBytes(const QByteArray &bytes,
                                                Source source = Source::Local);
    // Unicode text; an encoding named in its declaration is ignored.
    static std::optional<XmlDocument> fromUnicode(const QString &text,
                                                  Source source = Source::Local);
    // A missing, unreadable or ill-formed file gives nothing.
    static std::optional<XmlDocument> fromFile(const QString &path);
    // Whether fromFile would give a document, found out by streaming the file through the parser
    // in little memory, however large it is.
    static bool isWellFormedFile(const QString &path);

    XmlElement root() const;

    // The whole document in CP936 with an encoding="gb2312" declaration.
    QByteArray toCp936() const;

private:
    struct Deleter
    {
        void operator()(_xmlDoc *doc) const;
    };
    explicit XmlDocument(_xmlDoc *doc) : m_doc(doc) {}
    static std::optional<XmlDocument> parse(const QByteArray &bytes, const char *encoding,
                                            Source source);

    std::unique_ptr<_xmlDoc, Deleter> m_doc;
};

// Sets libxml2 up as every parse of the client needs it (gb2312 read as code page 936, no
// external entities, quiet errors), for the readers that stream a file through libxml2 instead of
// loading an XmlDocument.
void PrepareXmlParser();

// Whether `parser` decoded every byte it read. libxml2 ends the input quietly where the bytes stop
// being text in the declared encoding, so undecodable bytes after the root would otherwise leave
// the document looking well-formed.
bool DecodedEveryByte(const _xmlParserCtxt *parser);
