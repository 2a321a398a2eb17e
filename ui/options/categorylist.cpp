#include "ui/options/categorylist.h"

#include <QStyledItemDelegate>

namespace {

constexpr int kItemHeight = 15;

class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }
};

} // namespace

CategoryList::CategoryList(int level, QWidget *parent) : QListWidget(parent), m_level(level)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new FixedHeightDelegate(this));
}

int CategoryList::SelectedIndex() const
{
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            return row;
    return -1;
}

void CategoryList::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    Q_EMIT mouseUp();
}
