#pragma once

#include <QString>

// How ">" is written: config.xml has always kept it as it is, the message store writes it as the
// XML library does. Both read back the same.
enum class GreaterThan { AsIs, Escaped };

// An attribute value with markup and line ends as references, so the value reads back exactly
// and keeps its element on one line. Control characters other than tab and line ends cannot
// appear in XML at all, so they are dropped.
QString EscapeXmlAttribute(const QString &value, GreaterThan greaterThan);
