#include "app/welcomewindow.h"

#include "core/clientserviceinfo.h"
#include "core/delay.h"
#include "ui/artwork/artwork.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>

TfrmWelcome::TfrmWelcome(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_version(new QLabel(this))
{
    setObjectName(QStringLiteral("frmWelcome"));
    setFixedSize(352, 201);
    // The edge the picture leaves free is the look's white window ground.
    setAutoFillBackground(true);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Artwork::SplashPicture());
    picture->setGeometry(0, 0, 350, 200);

    auto *caption = new QLabel(tr("版本号:"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->move(16, 168);
    m_version->setObjectName(QStringLiteral("dispVersion"));
    // After the caption, however long the caption's language makes it.
    m_version->move(qMax(60, caption->x() + caption->sizeHint().width() + 4), 168);
    // Above the picture, which was created after it.
    m_version->raise();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
}

void TfrmWelcome::showEvent(QShowEvent *event)
{
    m_version->setText(QString::number(TClientServiceInfo::kClientVersion));
    m_version->adjustSize();
    QWidget::showEvent(event);
}

void ShowWelcome(const std::function<void()> &shown)
{
    TfrmWelcome welcome;
    welcome.show();
    if (shown)
        shown();
    Delay(500);
    welcome.raise();
    Delay(600);
    welcome.repaint();
}
