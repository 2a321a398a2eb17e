#pragma once

#include "ui/frame/framedialog.h"

class MessageLogModel;
class QAction;
class QMenu;
class QPushButton;
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

    TClientServiceInfo &m_info;
    MessageLogModel *m_model;
    QTableView *m_grdMessage;
    QMenu *m_pmnuMessage;
    QAction *m_pmnuMessageEraseAll;
    QPushButton *m_btnLogin;
};
