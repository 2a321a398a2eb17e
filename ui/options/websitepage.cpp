#include "ui/options/websitepage.h"

#include "ui/options/typedcharfilter.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *edit(QWidget *parent, const char *name)
{
    return named(new QLineEdit(parent), name);
}

} // namespace

TWebSiteSettingsPage::TWebSiteSettingsPage(QWidget *parent)
    : QWidget(parent),
      chkWebIsOpen(
          named(new QCheckBox(QCoreApplication::translate("TWebSiteSettingsPage",
                                                          "在本机发布Web, 需安装Web服务器(&D)"),
                              this),
                "chkWebIsOpen")),
      chkChangePort(
          named(new QCheckBox(
                    QCoreApplication::translate("TWebSiteSettingsPage", "修改默认HTTP端口"), this),
                "chkChangePort")),
      edtWebPort(edit(this, "edtWebPort")),
      lblNotLoginURL(named(new QLabel(QCoreApplication::translate(
                                          "TWebSiteSettingsPage",
                                          "当未登录或未发布Web时转到这里, 登录成功一次后即生效"),
                                      this),
                           "lblNotLoginURL")),
      lblStaticWebIP(named(
          new QLabel(QCoreApplication::translate("TWebSiteSettingsPage", "转发地址 http://"), this),
          "lblStaticWebIP")),
      edtNotLoginURL(edit(this, "edtNotLoginURL")),
      lblWebServerType(
          named(new QLabel(QCoreApplication::translate("TWebSiteSettingsPage", "服务器类型"), this),
                "lblWebServerType")),
      dispWebServerType(
          named(new QLabel(QCoreApplication::translate("TWebSiteSettingsPage", "未知"), this),
                "dispWebServerType")),
      btnDetectiveWebServerType(
          named(new QPushButton(QCoreApplication::translate("TWebSiteSettingsPage", "探测"), this),
                "btnDetectiveWebServerType")),
      edtWebTitle(edit(this, "edtWebTitle")), edtWebKeyword(edit(this, "edtWebKeyword")),
      edtWebIntro(edit(this, "edtWebIntro")), edtWebAreas(edit(this, "edtWebAreas")),
      btnChangeWebArea(named(
          new QPushButton(QCoreApplication::translate("TWebSiteSettingsPage", "修改(&G)"), this),
          "btnChangeWebArea"))
{
    setObjectName(QStringLiteral("TabSheet2"));
    // The server's name comes from the reply header or the signature file, never markup.
    dispWebServerType->setTextFormat(Qt::PlainText);
    edtWebPort->setText(QStringLiteral("80"));
    edtWebPort->setMaxLength(5);
    edtWebPort->setFixedWidth(60);
    // The check box beside it is no label, so the edit names itself.
    edtWebPort->setAccessibleName(tr("HTTP端口"));
    new TypedCharFilter(edtWebPort,
                        [](QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); });
    edtNotLoginURL->setMaxLength(60);
    lblStaticWebIP->setBuddy(edtNotLoginURL);
    new TypedCharFilter(edtNotLoginURL, [](QChar ch) { return !ch.isSpace(); });
    // Title, keywords and introduction take any length here; they are cut when stored.
    edtWebAreas->setReadOnly(true);
    btnDetectiveWebServerType->setFixedWidth(70);
    btnChangeWebArea->setFixedWidth(70);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 10, 16, 10);
    grid->setVerticalSpacing(7);
    grid->addWidget(chkWebIsOpen, 0, 0, 1, 3);
    auto *port = new QHBoxLayout;
    port->addWidget(chkChangePort);
    port->addWidget(edtWebPort);
    port->addStretch();
    grid->addLayout(port, 1, 0, 1, 3);
    grid->addWidget(lblNotLoginURL, 2, 0, 1, 3);
    grid->addWidget(lblStaticWebIP, 3, 0);
    grid->addWidget(edtNotLoginURL, 3, 1, 1, 2);
    grid->addWidget(lblWebServerType, 4, 0);
    grid->addWidget(dispWebServerType, 4, 1);
    grid->addWidget(btnDetectiveWebServerType, 4, 2);

    const std::pair<const char *, QLineEdit *> described[] = {
        {QT_TRANSLATE_NOOP("TWebSiteSettingsPage", "网站标题(&I)"), edtWebTitle},
        {QT_TRANSLATE_NOOP("TWebSiteSettingsPage", "搜索关键字(&K)"), edtWebKeyword},
        {QT_TRANSLATE_NOOP("TWebSiteSettingsPage", "网站简介(&I)"), edtWebIntro},
        {QT_TRANSLATE_NOOP("TWebSiteSettingsPage", "网站类别(&Y)"), edtWebAreas},
    };
    int row = 5;
    for (const auto &[caption, field] : described) {
        auto *label =
            new QLabel(QCoreApplication::translate("TWebSiteSettingsPage", caption), this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, 1, field == edtWebAreas ? 1 : 2);
        ++row;
    }
    grid->addWidget(btnChangeWebArea, row - 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}
