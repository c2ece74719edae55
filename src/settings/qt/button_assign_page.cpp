#include "settings/qt/button_assign_page.h"

#include "settings/button_functions.h"
#include "settings/qt/button_icons.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace velmora::settings::qt {
namespace {

constexpr int kFunctionCount = 13;             // codes 0..12
constexpr int kArrowNameBase = kFunctionCount; // the names after the functions: 左矢印, ...
constexpr int kIconSide = 16;
constexpr int kVisibleFunctions = 6;

QString functionName(ButtonFunction function) {
    const auto code = static_cast<size_t>(function);
    return code < size_t{kFunctionCount} ? QString::fromUtf16(buttonFunctionNames[code])
                                         : QString();
}

} // namespace

ButtonAssignPage::ButtonAssignPage(SettingsHost& host, QWidget* parent)
    : SettingsPage(parent), host_(host),
      chooseLabel_(new QLabel(QStringLiteral("1. ボタン選択"), this)), list_(new QTreeWidget(this)),
      assignLabel_(new QLabel(QStringLiteral("2. 機能割当"), this)), combo_(new QComboBox(this)) {
    setObjectName(QStringLiteral("page116"));
    chooseLabel_->setObjectName(QStringLiteral("label1021"));
    assignLabel_->setObjectName(QStringLiteral("label1022"));

    list_->setObjectName(QStringLiteral("list110"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("ボタン"), QStringLiteral("機能")});
    list_->header()->setSectionsClickable(false);
    list_->header()->setSectionsMovable(false);
    list_->setSortingEnabled(false);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setIconSize(QSize(kIconSide, kIconSide));
    list_->setColumnWidth(0, 86);
    list_->setColumnWidth(1, 138);
    // The function column takes what is left instead of scrolling sideways.
    list_->header()->setStretchLastSection(true);
    list_->header()->setMinimumSectionSize(0);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const AppSettings& settings = host.appSettings();
    const std::vector<ShellButton> buttons = readShellButtons();
    const std::vector<ButtonRow> rows = buttonRows(settings, buttons);
    for (int key = 0; key < kArrowKeys; ++key) {
        addRow(QString::fromUtf16(buttonFunctionNames[kArrowNameBase + key]), arrowKeyIcon(key),
               rows[static_cast<size_t>(key)]);
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        addRow(QString::fromStdU16String(buttons[i].name), shellButtonIcon(buttons[i].icon),
               rows[kArrowKeys + i]);
    }

    combo_->setObjectName(QStringLiteral("combo120"));
    for (int code = 0; code < kFunctionCount; ++code) {
        combo_->addItem(functionName(ButtonFunction(code)));
    }
    combo_->setCurrentIndex(0);
    // A short list with a scroll bar below the box, as the handheld's drop-down list is,
    // instead of a menu of all 13 functions that would run off a 320-pixel screen.
    combo_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo_->setMaxVisibleItems(kVisibleFunctions);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &ButtonAssignPage::rowSelected);
    connect(combo_, &QComboBox::activated, this, &ButtonAssignPage::functionChosen);
}

void ButtonAssignPage::addRow(const QString& name, const QIcon& icon, const ButtonRow& row) {
    auto* item = new QTreeWidgetItem(list_, {name, functionName(row.function)});
    item->setIcon(0, icon);
    rows_.push_back(row);
}

void ButtonAssignPage::rowSelected() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row >= 0 && list_->currentItem()->isSelected()) {
        combo_->setCurrentIndex(static_cast<int>(rows_[static_cast<size_t>(row)].function));
    }
}

void ButtonAssignPage::functionChosen(int index) {
    if (index < 0 || index >= kFunctionCount) {
        ui::showError(ui::str::kNothingSelected);
        return;
    }
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const int row = list_->indexOfTopLevelItem(selected.front());
    rows_[static_cast<size_t>(row)].function = ButtonFunction(index);
    selected.front()->setText(1, functionName(ButtonFunction(index)));
}

void ButtonAssignPage::apply() {
    host_.unregisterButtons();
    storeButtonRows(rows_, host_.appSettings());
    host_.registerButtons();
}

void ButtonAssignPage::resizeEvent(QResizeEvent* event) {
    SettingsPage::resizeEvent(event);
    // Positions in 96-per-inch units, which are the widgets' own units: Qt scales the whole
    // interface by the screen's DPI.
    const int w = width() - 14;
    chooseLabel_->setGeometry(7, 7, w, 20);
    list_->setGeometry(7, 34, w, 100);
    assignLabel_->setGeometry(7, 141, w, 20);
    // A closed drop-down list is as tall as its text; the list opens below it.
    combo_->setGeometry(7, 168, w, combo_->sizeHint().height());
}

} // namespace velmora::settings::qt
