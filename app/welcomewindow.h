#pragma once

#include <QWidget>
#include <functional>

class QLabel;

// The splash window shown while the client starts: the picture and the version number.
class TfrmWelcome : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmWelcome(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_version;
};

// The splash as start-up shows it: visible with its version (500 ms), brought to the front, 600 ms
// more, then gone. Both waits keep the event loop running; `shown` is called once it is visible.
void ShowWelcome(const std::function<void()> &shown = {});
