#include "core/xmldocument.h"

#include "core/markupbudget.h"
#include "core/xmlescape.h"

#include <QFile>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <mutex>

namespace {

const xmlChar *xml(const QByteArray &utf8)
{
    return reinterpret_cast<const xmlChar *>(utf8.constData());
}

QString fromXml(const xmlChar *text)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text));
}

xmlParserInputPtr refuseExternalEntity(const char *, const char *, xmlParserCtxtPtr)
{
    return nullptr;
}

void ignoreParserMessage(void *, const char *, ...)
{}

void initialiseLibxml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        // Documents declaring gb2312 are really code page 936: let them hold every GBK character
        // and save them back unchanged.
        xmlAddEncodingAlias("CP936", "GB2312");
        xmlSetExternalEntityLoader(refuseExternalEntity);
        // Bad input is expected; the callers report it in their own words.
        xmlSetGenericErrorFunc(nullptr, ignoreParserMessage);
    });
}

// The first element among `node` and its following siblings.
XmlElement firstElementFrom(xmlNode *node)
{
    while (node && node->type != XML_ELEMENT_NODE)
        node = node->next;
    return XmlElement(node);
}

// Gives every namespace declaration in `node`, its siblings and their content an escaped name:
// the library writes those names between quotes as they stand, so one holding markup or both
// quotes would make text that does not read again.
void escapeNamespaceNames(xmlNode *node)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        for (xmlNs *declaration = node->nsDef; declaration; declaration = declaration->next) {
            // Without entity substitution the parser keeps each '&' of a name as "&#38;".
            const QString name =
                fromXml(declaration->href).replace(QLatin1String("&#38;"), QLatin1String("&"));
            const QByteArray escaped = EscapeXmlAttribute(name, GreaterThan::Escaped).toUtf8();
            xmlFree(const_cast<xmlChar *>(declaration->href));
            declaration->href = xmlStrdup(xml(escaped));
        }
        escapeNamespaceNames(node->children);
    }
}

} // namespace

QString XmlElement::name() const
{
    return m_node ? fromXml(m_node->name) : QString();
}

int XmlElement::childCount() const
{
    int count = 0;
    for (XmlElement element = firstChild(); !element.isNull(); element = element.nextSibling())
        ++count;
    return count;
}

XmlElement XmlElement::child(int position) const
{
    if (position < 0)
        return {};
    XmlElement element = firstChild();
    while (position-- > 0 && !element.isNull())
        element = element.nextSibling();
    return element;
}

XmlElement XmlElement::child(const QString &name) const
{
    const QByteArray wanted = name.toUtf8();
    XmlElement element = firstChild();
    while (!element.isNull() && !xmlStrEqual(element.m_node->name, xml(wanted)))
        element = element.nextSibling();
    return element;
}

XmlElement XmlElement::firstChild() const
{
    return m_node ? firstElementFrom(m_node->children) : XmlElement();
}

XmlElement XmlElement::nextSibling() const
{
    return m_node ? firstElementFrom(m_node->next) : XmlElement();
}

std::optional<QString> XmlElement::attribute(const QString &name) const
{
    if (!m_node)
        return std::nullopt;
    xmlChar *value = xmlGetNoNsProp(m_node, xml(name.toUtf8()));
    if (!value)
        return std::nullopt;
    QString text = fromXml(value);
    xmlFree(value);
    return text;
}

QString XmlElement::requiredAttribute(const QString &name) const
{
    if (std::optional<QString> value = attribute(name))
        return *value;
    throw XmlReadError("missing attribute " + name.toStdString());
}

void XmlElement::setAttribute(const QString &name, const QString &value)
{
    if (m_node)
        xmlSetProp(m_node, xml(name.toUtf8()), xml(value.toUtf8()));
}

XmlElement XmlElement::insertChild(int position, const QString &name)
{
    if (!m_node)
        return {};
    xmlNode *created = xmlNewDocNode(m_node->doc, nullptr, xml(name.toUtf8()), nullptr);
    const XmlElement before = child(position);
    if (before.isNull())
        xmlAddChild(m_node, created);
    else
        xmlAddPrevSibling(before.m_node, created);
    return XmlElement(created);
}

QString XmlElement::toXml() const
{
    if (!m_node)
        return {};
    // A copy is written, so that namespace names can be escaped; copying also declares on it the
    // namespaces it uses from further out.
    const std::unique_ptr<xmlNode, void (*)(xmlNodePtr)> copy(
        xmlDocCopyNode(m_node, m_node->doc, 1), xmlFreeNode);
    if (!copy)
        return {};
    escapeNamespaceNames(copy.get());
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlNodeDump(buffer, m_node->doc, copy.get(), 0, 0);
    QString text = fromXml(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
    return text;
}

void XmlDocument::Deleter::operator()(_xmlDoc *doc) const
{
    xmlFreeDoc(doc);
}

std::optional<XmlDocument> XmlDocument::parse(const QByteArray &bytes, const char *encoding,
                                              Source source)
{
    initialiseLibxml();
    MarkupBudget budget;
    budget.attributesPerElement = kMaxAttributes;
    if (source == Source::Network) {
        budget.nodes = kMaxNetworkNodes;
        budget.attributes = kMaxNetworkAttributes;
        budget.namespaces = kMaxNetworkNamespaces;
    }
    if (bytes.isEmpty() || !WithinMarkupBudget(bytes, budget))
        return std::nullopt;
    const std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> parser(xmlNewParserCtxt(),
                                                                            xmlFreeParserCtxt);
    if (!parser)
        return std::nullopt;
    xmlDocPtr doc = xmlCtxtReadMemory(parser.get(), bytes.constData(),
                                      int(qMin<qsizetype>(bytes.size(), INT_MAX)), nullptr,
                                      encoding, XML_PARSE_NONET);
    if (!doc)
        return std::nullopt;
    XmlDocument document(doc);
    if (!DecodedEveryByte(parser.get()) || doc->intSubset || doc->extSubset ||
        !xmlDocGetRootElement(doc))
        return std::nullopt;
    return document;
}

std::optional<XmlDocument> XmlDocument::fromBytes(const QByteArray &bytes, Source source)
{
    return parse(bytes, nullptr, source);
}

std::optional<XmlDocument> XmlDocument::fromUnicode(const QString &text, Source source)
{
    return parse(text.toUtf8(), "UTF-8", source);
}

std::optional<XmlDocument> XmlDocument::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromBytes(file.readAll());
}

bool XmlDocument::isWellFormedFile(const QString &path)
{
    initialiseLibxml();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The parser alone, fed in pieces and building nothing: it only has to reach the end.
    xmlSAXHandler handler = {};
    handler.initialized = XML_SAX2_MAGIC;
    bool hasDocumentType = false;
    handler.internalSubset = [](void *found, const xmlChar *, const xmlChar *, const xmlChar *) {
        *static_cast<bool *>(found) = true;
    };
    const std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> parser(
        xmlCreatePushParserCtxt(&handler, &hasDocumentType, nullptr, 0, nullptr),
        xmlFreeParserCtxt);
    if (!parser)
        return false;
    xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET);
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(piece.data(), piece.size())) > 0) {
        if (xmlParseChunk(parser.get(), piece.constData(), int(read), 0) != 0)
            return false;
    }
    return read == 0 && xmlParseChunk(parser.get(), nullptr, 0, 1) == 0 && parser->wellFormed &&
           !hasDocumentType;
}

XmlElement XmlDocument::root() const
{
    return XmlElement(xmlDocGetRootElement(m_doc.get()));
}

QByteArray XmlDocument::toCp936() const
{
    xmlChar *memory = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(m_doc.get(), &memory, &size, "gb2312", 1);
    QByteArray bytes(reinterpret_cast<const char *>(memory), size);
    xmlFree(memory);
    return bytes;
}

void PrepareXmlParser()
{
    initialiseLibxml();
}

bool DecodedEveryByte(const _xmlParserCtxt *parser)
{
    return !parser->input || !parser->input->buf || parser->input->buf->error == 0;
}
