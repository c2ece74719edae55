#include "settings/qt/option_pages.h"

#include "settings/qt/wrapping_check_box.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velmora::settings::qt {
namespace {

QVBoxLayout* pageLayout(QWidget& page, int dialogId, const char16_t* heading) {
    page.setObjectName(QStringLiteral("page%1").arg(dialogId));
    auto* layout = new QVBoxLayout(&page);
    if (heading != nullptr) {
        layout->addWidget(new QLabel(QString::fromUtf16(heading), &page));
    }
    return layout;
}

template <size_t Format> bool& extensionFlag(AppSettings& s) {
    return s.extensionEnabled[Format];
}

} // namespace

CheckListPage::CheckListPage(AppSettings& settings, int dialogId, const char16_t* heading,
                             const std::vector<Entry>& entries, QWidget* parent)
    : SettingsPage(parent), settings_(settings) {
    QVBoxLayout* layout = pageLayout(*this, dialogId, heading);
    for (const Entry& entry : entries) {
        auto* row = new WrappingCheckBox(QString::fromUtf16(entry.text), this);
        QCheckBox* box = row->box();
        box->setObjectName(QStringLiteral("check%1").arg(entry.id));
        box->setChecked(entry.field(settings));
        layout->addWidget(row);
        boxes_.emplace_back(box, entry.field);
    }
    layout->addStretch(1);
}

void CheckListPage::apply() {
    for (const auto& [box, field] : boxes_) {
        field(settings_) = box->isChecked();
    }
}

ChoicePage::ChoicePage(int dialogId, const char16_t* heading,
                       const std::vector<RadioChoice>& choices, Field field,
                       const std::vector<const char16_t*>& explanation, QWidget* parent)
    : SettingsPage(parent), store_(std::move(field.store)) {
    QVBoxLayout* layout = pageLayout(*this, dialogId, heading);
    choices_ = std::make_unique<RadioGroup>(choices, field.checked, this, *layout);
    if (!explanation.empty()) {
        layout->addSpacing(8);
    }
    for (const char16_t* line : explanation) {
        auto* label = new QLabel(QString::fromUtf16(line), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addStretch(1);
}

ChoicePage::~ChoicePage() = default;

void ChoicePage::apply() {
    store_(choices_->checkedIndex().value_or(0));
}

SettingsPage* createExtensionsPage(AppSettings& settings, QWidget* parent) {
    return new CheckListPage(settings, 125, u"表示するものをチェック",
                             {{1025, u".jpg, .jpeg", &extensionFlag<0>},
                              {1026, u".gif", &extensionFlag<1>},
                              {1027, u".bmp", &extensionFlag<2>},
                              {1028, u".mag", &extensionFlag<3>},
                              {1029, u".png", &extensionFlag<4>},
                              {1030, u".tif", &extensionFlag<5>},
                              {1069, u".webp", &extensionFlag<6>},
                              {1070, u".avif", &extensionFlag<7>},
                              {1071, u".heic, .heif", &extensionFlag<8>},
                              {1072, u".jxl", &extensionFlag<9>}},
                             parent);
}

SettingsPage* createZoomPage(AppSettings& settings, QWidget* parent) {
    return new ChoicePage(126, u"初期表示時の倍率",
                          {{1041, u"そのままのサイズで表示"},
                           {1040, u"高さを画面に収める"},
                           {1039, u"幅を画面に収める"},
                           {1038, u"幅と高さを画面に収める"},
                           {1042, u"自動フィット"}},
                          ChoicePage::field(settings, &AppSettings::initialZoom),
                          {u"★自動フィットとは…", u"縦長画像→幅を画面に合わせ縮小",
                           u"横長画像→高さを画面に合わせ縮小"},
                          parent);
}

SettingsPage* createDoubleTapPage(AppSettings& settings, QWidget* parent) {
    return new ChoicePage(158, u"画面をダブルタップしたときの動作",
                          {{1064, u"なにもしない"},
                           {1065, u"ポップアップメニューを表示"},
                           {1066, u"次の画像を表示"},
                           {1067, u"全画面 ⇔ 元サイズ切替"},
                           {1068, u"自動フィット ⇔ 元サイズ切替"}},
                          ChoicePage::field(settings, &AppSettings::doubleTapAction), {}, parent);
}

SettingsPage* createGeneralPage(AppSettings& settings, QWidget* parent) {
    return new CheckListPage(
        settings, 156, nullptr,
        {{1030, u"縮小表示で画質重視", [](AppSettings& s) -> bool& { return s.smoothReduction; }},
         {1036, u"画像の先読みを行う", [](AppSettings& s) -> bool& { return s.usePreload; }},
         {1037, u"起動時は最後に開いた画像を表示",
          [](AppSettings& s) -> bool& { return s.openLastFile; }},
         {1043, u"サムネイルをキャッシュする",
          [](AppSettings& s) -> bool& { return s.thumbCache; }},
         {1048, u"画像の向きを自動補正する", [](AppSettings& s) -> bool& { return s.autoRotate; }},
         {1049, u"カラープロファイルを適用する",
          [](AppSettings& s) -> bool& { return s.colorManage; }},
         {1050, u"ダイアログで前回の選択と表示中の画像を使う",
          [](AppSettings& s) -> bool& { return s.dialogMemory; }},
         {1051, u"保存時に撮影情報などを残す",
          [](AppSettings& s) -> bool& { return s.keepMetadata; }},
         {1052, u"JPEGの回転・反転は無劣化で保存する",
          [](AppSettings& s) -> bool& { return s.losslessTurns; }},
         {1057, u"大きな写真は縮小版を先に表示する",
          [](AppSettings& s) -> bool& { return s.reducedFirstView; }},
         {1053, u"透明部分を市松模様で表示する",
          [](AppSettings& s) -> bool& { return s.showAlpha; }},
         {1054, u"アニメーションを再生する", [](AppSettings& s) -> bool& { return s.animate; }}},
        parent);
}

} // namespace velmora::settings::qt
