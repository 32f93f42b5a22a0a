#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace acquire {

// The list of the record name box: item i names record i, abridged to kShownChars
// characters (its start and its end) as it is put in. A data file may hold names far longer
// than a row shows, and the box measures every item it lists each time the list opens;
// which record an item stands for is known from its place, never from its text.
class RecordNameList : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kShownChars = 100;

    explicit RecordNameList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    QStringList m_Shown;
};

} // namespace acquire
