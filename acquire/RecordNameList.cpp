#include "acquire/RecordNameList.h"

#include "platform/ShownText.h"

namespace acquire {

RecordNameList::RecordNameList(QObject* parent) : QAbstractListModel(parent) {}

int RecordNameList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Shown.size());
}

QVariant RecordNameList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_Shown.size() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return m_Shown.at(index.row());
}

bool RecordNameList::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= m_Shown.size() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return false;
    }
    m_Shown[index.row()] = platform::AbridgeText(value.toString(), kShownChars);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags RecordNameList::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool RecordNameList::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > m_Shown.size() || count < 1) {
        return false;
    }
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        m_Shown.insert(row, QString());
    }
    endInsertRows();
    return true;
}

bool RecordNameList::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_Shown.size()) {
        return false;
    }
    beginRemoveRows(parent, row, row + count - 1);
    m_Shown.remove(row, count);
    endRemoveRows();
    return true;
}

} // namespace acquire
