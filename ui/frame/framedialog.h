#pragma once

#include <QDialog>

class ClickablePicture;
class QAction;
class QFrame;
class QLabel;
class TitleStrip;

// What the close picture or Esc does in a dialog.
enum class FrameAction {
    Close,   // close the dialog (result Rejected)
    Nothing, // ignored
};

struct DialogFrame
{
    QString title;
    FrameAction closePicture = FrameAction::Close;
    FrameAction escape = FrameAction::Close;
    // "pnlFormTitle" in most dialogs, "lblTitle" in the options dialog and the chooser.
    QString titleObjectName = QStringLiteral("pnlFormTitle");
    int titleTop = 6;
    // The chooser keeps a thin system tool-window frame above its own strip.
    bool toolWindow = false;
};

// The frame every dialog shares: no system border, a 24-pixel picture strip with the title in
// white, the close picture in its light-green panel at the top right, dragging by the strip only,
// and Esc. The dialog's own controls go on body(), the flat panel under the strip.
class FramedDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kButtonPanelWidth = 29;
    static constexpr int kButtonPanelHeight = 21;

    explicit FramedDialog(const DialogFrame &frame, QWidget *parent = nullptr);

    QWidget *body() const { return m_body; }
    QLabel *titleLabel() const { return m_title; }
    // Sets the whole window's size so that the body gets `bodySize`.
    void setBodySize(QSize bodySize);

protected:
    // The close picture's click and Esc; both follow the DialogFrame unless a dialog gives them
    // its own meaning (the options dialog treats them as its Cancel button).
    virtual void imgFormCloseClick();
    virtual void actCloseExecute();

    void resizeEvent(QResizeEvent *event) override;
    // Enter and Esc do only what each dialog says: no implicit default button, no implicit
    // reject.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormResize();
    void perform(FrameAction action);

    const DialogFrame m_frame;
    TitleStrip *m_strip;
    QLabel *m_title;
    QFrame *m_buttonPanel;
    ClickablePicture *m_close;
    QAction *m_escape = nullptr;
    QWidget *m_body;
};
