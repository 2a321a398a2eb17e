#pragma once

#include <QListWidget>

// One level of the category chooser: a list box with 15-pixel items that reports every release
// of a mouse button over it, after the press has updated the selection.
class CategoryList : public QListWidget
{
    Q_OBJECT
public:
    CategoryList(int level, QWidget *parent);

    // The level of the tree the list shows (0, 1 or 2).
    int level() const { return m_level; }
    // The position of the first selected item, or -1.
    int SelectedIndex() const;

Q_SIGNALS:
    void mouseUp();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const int m_level;
};
