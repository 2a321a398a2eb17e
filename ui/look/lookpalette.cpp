#include "ui/look/lookpalette.h"

#include <QPalette>

namespace {

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kBlack(0x00, 0x00, 0x00);
const QColor kLightGreen(0xC6, 0xEA, 0xC6);
const QColor kPaleGreen(0xE6, 0xF4, 0xE6);
const QColor kBorderGreen(0x8C, 0xC6, 0x8C);
const QColor kGreen(0x2E, 0x7D, 0x32);
const QColor kGreyText(0x9A, 0x9A, 0x9A);
const QColor kPlaceholder(0x80, 0x80, 0x80);
const QColor kTipYellow(0xFF, 0xFF, 0xE1);
const QColor kLink(0x1F, 0x5F, 0xBF);
const QColor kVisitedLink(0x6A, 0x3D, 0x9A);

void setRoles(QPalette &palette, QPalette::ColorGroup group, const QColor &text, const QColor &base,
              const QColor &button, const QColor &highlight)
{
    const auto set = [&](QPalette::ColorRole role, const QColor &colour) {
        palette.setColor(group, role, colour);
    };
    set(QPalette::Window, kWhite);
    set(QPalette::WindowText, text);
    set(QPalette::Base, base);
    set(QPalette::AlternateBase, QColor(0xF7, 0xFB, 0xF7));
    set(QPalette::Text, text);
    set(QPalette::PlaceholderText, kPlaceholder);
    set(QPalette::Button, button);
    set(QPalette::ButtonText, text);
    set(QPalette::BrightText, kWhite);
    // The bevel shades the style derives from the button colour.
    set(QPalette::Light, kWhite);
    set(QPalette::Midlight, button.lighter(110));
    set(QPalette::Mid, kBorderGreen);
    set(QPalette::Dark, kGreen);
    set(QPalette::Shadow, QColor(0x4A, 0x4A, 0x4A));
    set(QPalette::Highlight, highlight);
    set(QPalette::HighlightedText, text);
    set(QPalette::Link, kLink);
    set(QPalette::LinkVisited, kVisitedLink);
    set(QPalette::ToolTipBase, kTipYellow);
    set(QPalette::ToolTipText, kBlack);
}

} // namespace

QPalette LookPalette()
{
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        setRoles(palette, group, kBlack, kWhite, kLightGreen, kLightGreen);
    setRoles(palette, QPalette::Disabled, kGreyText, QColor(0xF4, 0xF4, 0xF4), kPaleGreen,
             kPaleGreen);
    return palette;
}
