#include "core/storedmessages.h"

#include "core/xmldocument.h"

#include <QFile>
#include <QFileInfo>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

// The store has no size limit, so it is streamed through libxml2's SAX interface: no document
// tree is built, and each message costs only its three texts.
namespace {

struct ReadState
{
    // The parser hands names over as entries of its dictionary, so one pointer comparison
    // recognises an attribute.
    const xmlChar *postDateTime = nullptr;
    const xmlChar *fromIP = nullptr;
    const xmlChar *comment = nullptr;
    std::vector<StoredMessage> messages;
    std::size_t limit = SIZE_MAX;
    bool enough = false; // stopped once `limit` messages were read
    int depth = 0;
    bool hasDocumentType = false;
};

// Without entity substitution (which stays off for untrusted input) libxml2 hands an escaped
// "&" over as "&#38;"; every other escape arrives decoded.
QString attributeText(const xmlChar *value, const xmlChar *end)
{
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(value), end - value);
    if (text.contains(QLatin1Char('&')))
        text.replace(QLatin1String("&#38;"), QLatin1String("&"));
    return text;
}

void startElement(void *context, const xmlChar *, const xmlChar *, const xmlChar *, int,
                  const xmlChar **, int attributeCount, int, const xmlChar **attributes)
{
    auto *state = static_cast<ReadState *>(static_cast<xmlParserCtxtPtr>(context)->_private);
    // The root is depth 1; its children are the messages.
    if (++state->depth != 2)
        return;
    StoredMessage &message = state->messages.emplace_back();
    // Each attribute comes as local name, prefix, namespace, value and value end.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar **attribute = attributes + 5 * i;
        if (attribute[1])
            continue;
        const xmlChar *name = attribute[0];
        QString *field = name == state->postDateTime ? &message.postDateTime
                         : name == state->fromIP     ? &message.fromIP
                         : name == state->comment    ? &message.comment
                                                     : nullptr;
        if (field)
            *field = attributeText(attribute[3], attribute[4]);
    }
    if (state->messages.size() >= state->limit) {
        state->enough = true;
        xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
    }
}

void endElement(void *context, const xmlChar *, const xmlChar *, const xmlChar *)
{
    --static_cast<ReadState *>(static_cast<xmlParserCtxtPtr>(context)->_private)->depth;
}

// None of the client's documents has a document type; one that does is not the store.
void documentType(void *context, const xmlChar *, const xmlChar *, const xmlChar *)
{
    auto *parser = static_cast<xmlParserCtxtPtr>(context);
    static_cast<ReadState *>(parser->_private)->hasDocumentType = true;
    xmlStopParser(parser);
}

void ignoreError(void *, xmlErrorPtr)
{}

// The messages of a store's bytes; nothing when they are not a well-formed document.
std::optional<std::vector<StoredMessage>> parseStore(const QByteArray &bytes, std::size_t limit)
{
    PrepareXmlParser();
    if (bytes.isEmpty() || bytes.size() > INT_MAX)
        return std::nullopt;
    xmlParserCtxtPtr parser = xmlCreateMemoryParserCtxt(bytes.constData(), int(bytes.size()));
    if (!parser)
        return std::nullopt;
    xmlCtxtUseOptions(parser, XML_PARSE_NONET);
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = startElement;
    handler.endElementNs = endElement;
    handler.internalSubset = documentType;
    handler.externalSubset = documentType;
    handler.serror = ignoreError;
    *parser->sax = handler;
    // The SAX callbacks receive the parser itself, which carries the state.
    parser->userData = parser;
    const auto name = [parser](const char *text) {
        return xmlDictLookup(parser->dict, reinterpret_cast<const xmlChar *>(text), -1);
    };
    ReadState state;
    state.limit = limit;
    state.postDateTime = name("PostDateTime");
    state.fromIP = name("FromIP");
    state.comment = name("Comment");
    parser->_private = &state;

    xmlParseDocument(parser);
    const bool wellFormed =
        (parser->wellFormed || state.enough) && DecodedEveryByte(parser) && !state.hasDocumentType;
    xmlFreeParserCtxt(parser);
    if (!wellFormed)
        return std::nullopt;
    return std::move(state.messages);
}

} // namespace

StoredMessages ReadStoredMessages(const QString &path, std::size_t limit)
{
    StoredMessages result;
    if (!QFileInfo::exists(path))
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = StoredMessages::Status::Unreadable;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = StoredMessages::Status::Unreadable;
        return result;
    }
    std::optional<std::vector<StoredMessage>> messages = parseStore(bytes, limit);
    if (!messages) {
        result.status = StoredMessages::Status::Broken;
        return result;
    }
    result.status = StoredMessages::Status::Read;
    result.messages = std::move(*messages);
    return result;
}
