#pragma once

#include "ui/frame/framedialog.h"
#include "ui/options/categorytree.h"

#include <array>
#include <optional>

class CategoryList;
class QLabel;
class QPushButton;
class TClientServiceInfo;

// The web category chooser: the service's category tree as three side-by-side lists. The options
// dialog runs it with exec() and, on Accepted, takes chosenTitle().
class TfrmChangeWebArea : public FramedDialog
{
    Q_OBJECT
public:
    explicit TfrmChangeWebArea(TClientServiceInfo &info, QWidget *parent = nullptr);

    // The title last chosen in any list: what OK hands back. It is kept from one showing to the
    // next; empty before the first choice.
    QString chosenTitle() const { return m_choice; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void lstAreaL0MouseUp(CategoryList *sender);
    void FillAreaList(const QString &title, int level);
    bool IsAreaPostAllowed(const QString &title) const;

    TClientServiceInfo &m_info;
    std::array<CategoryList *, CategoryTree::kLevels> m_lists{};
    QLabel *m_dispWebArea;
    QPushButton *m_btnOK;
    // The tree as loaded at the last successful showing.
    std::optional<CategoryTree> m_tree;
    QString m_choice;
};
