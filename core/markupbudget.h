#pragma once

#include <QByteArrayView>
#include <limits>

// How much markup a document may hold before the parser sees it.
struct MarkupBudget
{
    static constexpr qsizetype kUnbounded = std::numeric_limits<qsizetype>::max();

    qsizetype attributesPerElement = kUnbounded;
    qsizetype nodes = kUnbounded;      // elements, comments, processing instructions, CDATA
    qsizetype attributes = kUnbounded; // over the whole document
    qsizetype namespaces = kUnbounded; // declarations over the whole document
};

// The parser checks an element's attributes for duplicates in quadratic time, so one element
// with many of them could hold the client for minutes, and it builds a tree node for every piece
// of markup, so a megabyte of tiny ones takes long too: such documents never reach it. Neither do
// documents with a document type (refused after parsing anyway) or with NUL bytes (UTF-16 and
// UTF-32, which this byte-wise look could misjudge and which no document of the client uses).
// Whatever is ill-formed in some other way is left to the parser to refuse.
bool WithinMarkupBudget(QByteArrayView bytes, MarkupBudget budget);
