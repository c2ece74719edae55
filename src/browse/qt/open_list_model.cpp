#include "browse/qt/open_list_model.h"

#include "browse/qt/browse_icons.h"
#include "platform/host_names.h"

namespace velmora::browse::qt {
namespace {

constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;

} // namespace

OpenListModel::OpenListModel(QObject* parent, bool emptyAsZero)
    : QAbstractTableModel(parent), icons_{browseIcon(kIconFolder), browseIcon(kIconPictureFile),
                                          browseIcon(kIconStorageCard)},
      emptyAsZero_(emptyAsZero) {}

void OpenListModel::setEntries(std::vector<FileEntry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int OpenListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int OpenListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant OpenListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const FileEntry& entry = entries_[static_cast<size_t>(index.row())];
    if (index.column() == kNameColumn) {
        if (role == Qt::DisplayRole) {
            return QString::fromStdU16String(platform::shownName(entry.name));
        }
        if (role == Qt::DecorationRole) {
            return icons_[static_cast<size_t>(entry.icon)];
        }
    } else if (index.column() == kSizeColumn) {
        if (role == Qt::DisplayRole && !entry.isFolder) {
            return QString::fromStdU16String(sizeText(entry.size, emptyAsZero_));
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    return {};
}

QVariant OpenListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return section == kNameColumn ? QStringLiteral("ファイル名") : QStringLiteral("サイズ");
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(section == kNameColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

} // namespace velmora::browse::qt
