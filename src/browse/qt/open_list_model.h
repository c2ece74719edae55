// The open dialog's two-column list ("ファイル名", "サイズ") over the rows of one folder. Rows are
// only asked for when drawn, so a folder of thousands of pictures lists at once.
#pragma once

#include "browse/open_listing.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <vector>

namespace velmora::browse::qt {

class OpenListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // emptyAsZero: an empty file's size shows as "0KB" rather than "1KB".
    OpenListModel(QObject* parent, bool emptyAsZero);

    void setEntries(std::vector<FileEntry> entries);
    const std::vector<FileEntry>& entries() const { return entries_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<FileEntry> entries_;
    std::array<QIcon, 3> icons_; // by EntryIcon
    bool emptyAsZero_;
};

} // namespace velmora::browse::qt
