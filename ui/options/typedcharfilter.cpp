#include "ui/options/typedcharfilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

TypedCharFilter::TypedCharFilter(QLineEdit *edit, std::function<bool(QChar)> accepts)
    : QObject(edit), m_accepts(std::move(accepts))
{
    edit->installEventFilter(this);
}

bool TypedCharFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Shortcuts (Ctrl+A, Ctrl+V, ...) and control characters (Backspace) are editing
        // commands, not typed text.
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return false;
        const QString text = key->text();
        return std::any_of(text.begin(), text.end(),
                           [this](QChar ch) { return ch.isPrint() && !m_accepts(ch); });
    }
    if (event->type() == QEvent::InputMethod) {
        auto *input = static_cast<QInputMethodEvent *>(event);
        QString commit = input->commitString();
        commit.removeIf([this](QChar ch) { return !m_accepts(ch); });
        input->setCommitString(commit, input->replacementStart(), input->replacementLength());
    }
    return QObject::eventFilter(watched, event);
}
