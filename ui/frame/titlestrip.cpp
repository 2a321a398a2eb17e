#include "ui/frame/titlestrip.h"

#include "ui/artwork/artwork.h"
#include "ui/frame/clickablepictureaccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

TitleStrip::TitleStrip(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("imgTitleBar"));
    setPixmap(Artwork::TitleStrip());
    setScaledContents(true);
    setFixedHeight(kHeight);
}

void TitleStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    event->accept();
    QWidget *top = window();
    if (QWindow *handle = top->windowHandle(); handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_grabOffset = event->globalPosition().toPoint() - top->frameGeometry().topLeft();
}

void TitleStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    event->accept();
    window()->move(event->globalPosition().toPoint() - m_grabOffset);
}

void TitleStrip::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QLabel::mouseReleaseEvent(event);
}

ClickablePicture::ClickablePicture(QWidget *parent, QAccessible::Role role)
    : ClickablePicture(QString(), parent, role)
{}

ClickablePicture::ClickablePicture(const QString &text, QWidget *parent, QAccessible::Role role)
    : QLabel(text, parent), m_role(role)
{
    ClickablePictureAccessible::installFactory();
}

void ClickablePicture::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
}

void ClickablePicture::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Q_EMIT clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}
