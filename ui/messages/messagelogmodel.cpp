#include "ui/messages/messagelogmodel.h"

#include <QCoreApplication>

namespace {

enum Column { kTime, kFromIP, kComment, kColumns };

} // namespace

void MessageLogModel::setMessages(std::vector<StoredMessage> messages)
{
    beginResetModel();
    m_messages = std::move(messages);
    endResetModel();
}

int MessageLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_messages.size());
}

int MessageLogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant MessageLogModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const StoredMessage &message = m_messages[size_t(index.row())];
    switch (index.column()) {
    case kTime:
        return message.postDateTime;
    case kFromIP:
        return message.fromIP;
    default:
        return message.comment;
    }
}

QVariant MessageLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kTime:
        return QCoreApplication::translate("MessageLogModel", "时间");
    case kFromIP:
        return QCoreApplication::translate("MessageLogModel", "来自IP");
    case kComment:
        return QCoreApplication::translate("MessageLogModel", "内容");
    default:
        return {};
    }
}

Qt::ItemFlags MessageLogModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
