#pragma once

#include "ui/frame/framedialog.h"

#include <QDateTime>

class MessageLogModel;
class QAction;
class QMenu;
class QTableView;
class TClientServiceInfo;

// The log of the messages the service delivered, as xml/messages.xml held them when the window
// was opened. Its pop-up menu erases them all.
class TfrmMessageShow : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmMessageShow(TClientServiceInfo &info, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void LoadMessages();
    void ResetGrid();
    void EraseMessages();
    void pmnuMessagePopup();
    void pmnuMessageEraseAllClick();
    // Whether the store is no longer the file the grid was filled from.
    bool storeChangedSinceShown() const;

    TClientServiceInfo &m_info;
    MessageLogModel *m_model;
    QTableView *m_grdMessage;
    QMenu *m_pmnuMessage;
    QAction *m_pmnuMessageEraseAll;
    // The store's size and time when the grid was filled.
    qint64 m_shownStoreSize = -1;
    QDateTime m_shownStoreTime;
};
