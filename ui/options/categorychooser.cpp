#include "ui/options/categorychooser.h"

#include "core/clientserviceinfo.h"
#include "ui/messagebox.h"
#include "ui/options/categorylist.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr int kListWidth = 128;
constexpr int kListGap = 10;
constexpr int kListTop = 26;
constexpr int kListHeight = 11 * 15 + 2; // whole items between the borders
constexpr int kMargin = 8;

// Before the first choice the label shows one blank rather than collapsing to nothing.
QString shownChoice(const QString &choice)
{
    return choice.isEmpty() ? QStringLiteral(" ") : choice;
}

} // namespace

TfrmChangeWebArea::TfrmChangeWebArea(TClientServiceInfo &info, QWidget *parent)
    : FramedDialog({tr("系统配置"), FrameAction::Nothing, FrameAction::Nothing,
                    QStringLiteral("lblTitle"), 6, true},
                   parent),
      m_info(info), m_dispWebArea(new QLabel(body())),
      m_btnOK(new QPushButton(tr("确定(&O)"), body()))
{
    setObjectName(QStringLiteral("frmChangeWebArea"));
    setWindowTitle(tr("网站类别"));
    setBodySize({3 * kListWidth + 2 * kListGap + 2 * kMargin, 260});

    static const char *const kListNames[] = {"lstAreaL0", "lstAreaL1", "lstAreaL2"};
    static const char *const kLabelNames[] = {"lblAreaL1", "lblAreaL2", "lblAreaL3"};
    const QString captions[] = {tr("一级分类"), tr("二级分类"), tr("三级分类")};
    for (int level = 0; level < CategoryTree::kLevels; ++level) {
        const int left = kMargin + level * (kListWidth + kListGap);
        auto *label = new QLabel(captions[level], body());
        label->setObjectName(QLatin1String(kLabelNames[level]));
        label->setGeometry(left, 8, kListWidth, 16);

        auto *list = new CategoryList(level, body());
        list->setObjectName(QLatin1String(kListNames[level]));
        list->setGeometry(left, kListTop, kListWidth, kListHeight);
        connect(list, &CategoryList::mouseUp, this, [this, list] { lstAreaL0MouseUp(list); });
        // Item views take no name from a label beside them.
        list->setAccessibleName(captions[level]);
        m_lists[level] = list;
    }

    m_dispWebArea->setObjectName(QStringLiteral("dispWebArea"));
    // Category titles come from webAreas.xml, never markup.
    m_dispWebArea->setTextFormat(Qt::PlainText);
    m_dispWebArea->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_dispWebArea->setGeometry(kMargin, kListTop + kListHeight + 6, width() - 2 * kMargin, 18);
    m_dispWebArea->setText(shownChoice(m_choice));

    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setEnabled(false);
    m_btnOK->setGeometry(width() - 2 * 75 - kMargin - 10, 228, 75, 23);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto *btnCancel = new QPushButton(tr("取消(&X)"), body());
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(width() - 75 - kMargin, 228, 75, 23);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmChangeWebArea::showEvent(QShowEvent *event)
{
    FramedDialog::showEvent(event);
    // A window brought back by the window system is not a new showing.
    if (!event->spontaneous())
        FormShow();
}

void TfrmChangeWebArea::FormShow()
{
    // Read afresh every time, so a tree replaced while the client runs is seen at once.
    std::optional<CategoryTree> tree =
        CategoryTree::fromFile(m_info.shippedPath(QStringLiteral("xml/webAreas.xml")));
    if (!tree) {
        // The lists, the choice and OK stay as the last showing left them.
        MSGBOX(tr("错误"), tr("xml\\webAreas.xml已损坏，请到KBZ主页下载"));
        return;
    }
    m_tree = std::move(tree);
    FillAreaList(QString(), 0);
}

void TfrmChangeWebArea::lstAreaL0MouseUp(CategoryList *sender)
{
    // A release without a change of selection takes the selected item again; keyboard moves
    // alone never get here.
    const int index = sender->SelectedIndex();
    if (index < 0)
        return;
    m_choice = sender->item(index)->text();
    m_dispWebArea->setText(shownChoice(m_choice));
    FillAreaList(m_choice, sender->level() + 1);
    m_btnOK->setEnabled(IsAreaPostAllowed(m_choice));
}

void TfrmChangeWebArea::FillAreaList(const QString &title, int level)
{
    if (level >= CategoryTree::kLevels || !m_tree)
        return;
    for (int cleared = level; cleared < CategoryTree::kLevels; ++cleared)
        m_lists[cleared]->clear();
    m_lists[level]->addItems(m_tree->childTitles(title, level));
}

bool TfrmChangeWebArea::IsAreaPostAllowed(const QString &title) const
{
    return m_tree && m_tree->isPostAllowed(title);
}
