#include "settings/qt/motion_page.h"

#include "settings/qt/amount_spin_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora::settings::qt {
namespace {

QLabel* heading(const char16_t* text, QWidget* parent) {
    return new QLabel(QString::fromUtf16(text), parent);
}

// "横 [amount]  縦 [amount]" on one line.
void addAmountRow(QVBoxLayout& page, QWidget* parent, AmountSpinBox* horizontal,
                  AmountSpinBox* vertical) {
    auto* row = new QHBoxLayout;
    row->addSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("横"), parent));
    row->addWidget(horizontal, 1);
    row->addSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("縦"), parent));
    row->addWidget(vertical, 1);
    page.addLayout(row);
}

QHBoxLayout* indentedRow(QVBoxLayout& page) {
    auto* row = new QHBoxLayout;
    row->addSpacing(8);
    page.addLayout(row);
    return row;
}

void store(const AmountSpinBox& edit, int32_t& field) {
    if (const auto amount = edit.amount()) {
        field = *amount;
    }
}

} // namespace

MotionPage::MotionPage(AppSettings& settings, QWidget* parent)
    : SettingsPage(parent), settings_(settings),
      xMove_(new AmountSpinBox(settings.moveStepX, 1001, 1018, this)),
      yMove_(new AmountSpinBox(settings.moveStepY, 1002, 1019, this)),
      xSeek_(new AmountSpinBox(settings.seekStepX, 1003, 1020, this)),
      ySeek_(new AmountSpinBox(settings.seekStepY, 1005, 1021, this)) {
    setObjectName(QStringLiteral("page107"));
    auto* page = new QVBoxLayout(this);
    page->addWidget(heading(u"矢印キーの移動量", this));
    addAmountRow(*page, this, xMove_, yMove_);
    page->addWidget(heading(u"シーク動作の移動量", this));
    addAmountRow(*page, this, xSeek_, ySeek_);
    page->addWidget(heading(u"画像の表示位置", this));
    QHBoxLayout* originRow = indentedRow(*page);
    origin_ = std::make_unique<RadioGroup>(
        std::vector<RadioChoice>{{1004, u"左上"}, {1012, u"中央"}, {1006, u"右上"}},
        static_cast<int32_t>(settings.placement), this, *originRow);
    originRow->addStretch(1);
    page->addWidget(heading(u"シークの方向", this));
    QHBoxLayout* orderRow = indentedRow(*page);
    seekOrder_ =
        std::make_unique<RadioGroup>(std::vector<RadioChoice>{{1045, u"横→縦"}, {1046, u"縦→横"}},
                                     static_cast<int32_t>(settings.seekOrder), this, *orderRow);
    orderRow->addStretch(1);
    page->addStretch(1);
}

MotionPage::~MotionPage() = default;

void MotionPage::apply() {
    store(*xMove_, settings_.moveStepX);
    store(*yMove_, settings_.moveStepY);
    store(*xSeek_, settings_.seekStepX);
    store(*ySeek_, settings_.seekStepY);
    settings_.placement = image::Placement(origin_->checkedIndex().value_or(0));
    // With neither order checked the setting stays.
    if (const auto order = seekOrder_->checkedIndex()) {
        settings_.seekOrder = image::SeekOrder(*order);
    }
}

} // namespace velmora::settings::qt
