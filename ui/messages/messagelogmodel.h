#pragma once

#include "core/storedmessages.h"

#include <QAbstractTableModel>

// The rows of the message log: one per stored message, newest first, with the time, the
// sender's address and the text. Read-only; the column titles are the header.
class MessageLogModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setMessages(std::vector<StoredMessage> messages);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::vector<StoredMessage> m_messages;
};
