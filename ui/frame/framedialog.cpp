#include "ui/frame/framedialog.h"

#include "ui/artwork/artwork.h"
#include "ui/frame/titlestrip.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>

FramedDialog::FramedDialog(const DialogFrame &frame, QWidget *parent)
    : QDialog(parent), m_frame(frame), m_strip(new TitleStrip(this)), m_title(new QLabel(m_strip)),
      m_buttonPanel(new QFrame(this)), m_close(new ClickablePicture(m_buttonPanel)),
      m_body(new QWidget(this))
{
    setWindowFlags(frame.toolWindow ? Qt::Tool | Qt::WindowCloseButtonHint | Qt::WindowTitleHint
                                    : Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(frame.title);

    m_title->setObjectName(frame.titleObjectName);
    m_title->setText(frame.title);
    m_title->move(8, frame.titleTop);
    // Presses on the title text drag the window like the strip around it.
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_buttonPanel->setObjectName(QStringLiteral("pnlFormButton"));
    m_buttonPanel->setFixedSize(kButtonPanelWidth, kButtonPanelHeight);
    m_close->setObjectName(QStringLiteral("imgFormClose"));
    m_close->setPixmap(Artwork::ClosePicture());
    m_close->setGeometry(kButtonPanelWidth - 21, 0, 21, 21);
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->setAccessibleName(tr("关闭"));
    connect(m_close, &ClickablePicture::clicked, this, [this] { imgFormCloseClick(); });

    m_body->setObjectName(QStringLiteral("pnlBody"));
    m_body->setAttribute(Qt::WA_StyledBackground);

    if (frame.escape != FrameAction::Nothing) {
        m_escape = new QAction(this);
        m_escape->setObjectName(QStringLiteral("actClose"));
        m_escape->setShortcut(Qt::Key_Escape);
        m_escape->setShortcutContext(Qt::WindowShortcut);
        connect(m_escape, &QAction::triggered, this, [this] { actCloseExecute(); });
        addAction(m_escape);
    }
}

void FramedDialog::setBodySize(QSize bodySize)
{
    setFixedSize(bodySize.width(), bodySize.height() + TitleStrip::kHeight);
}

void FramedDialog::imgFormCloseClick()
{
    perform(m_frame.closePicture);
}

void FramedDialog::actCloseExecute()
{
    perform(m_frame.escape);
}

void FramedDialog::perform(FrameAction action)
{
    if (action == FrameAction::Close)
        close();
}

void FramedDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void FramedDialog::FormResize()
{
    m_strip->setGeometry(0, 0, width(), TitleStrip::kHeight);
    m_title->adjustSize();
    m_buttonPanel->move(width() - kButtonPanelWidth, 0);
    m_buttonPanel->raise();
    m_body->setGeometry(0, TitleStrip::kHeight, width(), height() - TitleStrip::kHeight);
}

void FramedDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
