#pragma once

#include <QMenu>

// The notification-area menu's own look: a side bar reading "Marbello" down its left edge (main
// menu only), a light-green icon column, 12-pixel items and a light-green selection with a green
// border. Everything else is a plain QMenu.
class TrayMenu : public QMenu
{
    Q_OBJECT
public:
    static constexpr int kSideBarWidth = 22;

    explicit TrayMenu(bool withSideBar, QWidget *parent = nullptr);
    ~TrayMenu() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const bool m_withSideBar;
};
