#include "ui/messages/messagewindow.h"

#include "core/brokenfile.h"
#include "core/clientserviceinfo.h"
#include "core/storedmessages.h"
#include "ui/messagebox.h"
#include "ui/messages/messagelogmodel.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>

namespace {

constexpr QSize kBodySize(452, 300);
constexpr int kRowHeight = 18;
constexpr int kColumnWidths[] = {115, 97, 206};

} // namespace

TfrmMessageShow::TfrmMessageShow(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({tr("讯息记录"), FrameAction::Close, FrameAction::Nothing}, parent),
      m_info(info), m_model(new MessageLogModel(this)), m_grdMessage(new QTableView(body())),
      m_pmnuMessage(new QMenu(m_grdMessage)),
      m_pmnuMessageEraseAll(new QAction(tr("清除全部(&E)"), m_pmnuMessage))
{
    setObjectName(QStringLiteral("frmMessageShow"));
    setBodySize(kBodySize);

    m_grdMessage->setObjectName(QStringLiteral("grdMessage"));
    m_grdMessage->setAccessibleName(tr("讯息记录"));
    m_grdMessage->setGeometry(8, 8, kBodySize.width() - 16, 252);
    m_grdMessage->setModel(m_model);
    m_grdMessage->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdMessage->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grdMessage->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdMessage->setShowGrid(true);
    m_grdMessage->setWordWrap(false);
    m_grdMessage->verticalHeader()->hide();
    // Fixed row heights keep a store of any size quick to lay out.
    m_grdMessage->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grdMessage->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView *titles = m_grdMessage->horizontalHeader();
    titles->setFixedHeight(kRowHeight);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setStretchLastSection(false);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < int(std::size(kColumnWidths)); ++column)
        titles->resizeSection(column, kColumnWidths[column]);

    m_pmnuMessage->setObjectName(QStringLiteral("pmnuMessage"));
    m_pmnuMessageEraseAll->setObjectName(QStringLiteral("pmnuMessageEraseAll"));
    m_pmnuMessage->addAction(m_pmnuMessageEraseAll);
    connect(m_pmnuMessage, &QMenu::aboutToShow, this, &TfrmMessageShow::pmnuMessagePopup);
    connect(m_pmnuMessageEraseAll, &QAction::triggered, this,
            &TfrmMessageShow::pmnuMessageEraseAllClick);
    m_grdMessage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grdMessage, &QWidget::customContextMenuRequested, this, [this](QPoint position) {
        m_pmnuMessage->exec(m_grdMessage->viewport()->mapToGlobal(position));
    });

    auto *btnLogin = new QPushButton(tr("关闭(&C)"), body());
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setGeometry(kBodySize.width() - 8 - 75, 268, 75, 23);
    connect(btnLogin, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmMessageShow::showEvent(QShowEvent *event)
{
    FramedDialog::showEvent(event);
    // Each showing lists the store as it is now; a window brought back by the window system
    // is not a new showing.
    if (!event->spontaneous())
        LoadMessages();
}

void TfrmMessageShow::LoadMessages()
{
    ResetGrid();
    const QFileInfo stamp(m_info.messagesPath());
    m_shownStoreSize = stamp.size();
    m_shownStoreTime = stamp.lastModified();
    StoredMessages store = ReadStoredMessages(m_info.messagesPath());
    switch (store.status) {
    case StoredMessages::Status::Read:
        m_model->setMessages(std::move(store.messages));
        break;
    case StoredMessages::Status::Broken:
        // Kept beside the store rather than deleted, so the messages can still be recovered;
        // the next delivery starts a new store.
        SetAsideBrokenFile(m_info.messagesPath());
        break;
    case StoredMessages::Status::Missing:
    case StoredMessages::Status::Unreadable:
        // An unreadable store may well be intact: it stays for a later showing.
        break;
    }
}

void TfrmMessageShow::ResetGrid()
{
    m_model->setMessages({});
}

void TfrmMessageShow::EraseMessages()
{
    ResetGrid();
    const QString path = m_info.messagesPath();
    if (!QFileInfo::exists(path) || QFile::remove(path))
        return;
    // The messages are still stored: show them again instead of an empty list that claims
    // otherwise.
    MSGBOX(tr("错误"), tr("讯息记录无法清除，请检查程序目录的权限"));
    LoadMessages();
}

void TfrmMessageShow::pmnuMessagePopup()
{
    m_pmnuMessageEraseAll->setEnabled(m_model->rowCount() > 0);
}

bool TfrmMessageShow::storeChangedSinceShown() const
{
    const QFileInfo stamp(m_info.messagesPath());
    return stamp.size() != m_shownStoreSize || stamp.lastModified() != m_shownStoreTime;
}

void TfrmMessageShow::pmnuMessageEraseAllClick()
{
    if (YNBOX(tr("确认"), tr("确实清除全部这些讯息吗?"), 0) != IDYES)
        return;
    // Messages delivered while the window was open were never shown; they are listed now
    // rather than erased unseen.
    if (storeChangedSinceShown()) {
        MSGBOX(tr("提示"), tr("收到了新的讯息，请查看后再清除"));
        LoadMessages();
        return;
    }
    EraseMessages();
}
