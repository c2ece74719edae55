#include "settings/qt/settings_sheet.h"

#include "settings/qt/button_assign_page.h"
#include "settings/qt/motion_page.h"
#include "settings/qt/option_pages.h"
#include "ui/qt/owner_sized_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace velmora::settings::qt {
namespace {

constexpr std::array<const char16_t*, SettingsSheet::kPageCount> kTabTitles{
    u"動作", u"ボタン", u"拡張子", u"表示", u"ダブルタップ", u"一般"};

constexpr int kTabFontPixels = 11;
constexpr QSize kDesktopSize(360, 320);

} // namespace

SettingsSheet::SettingsSheet(SettingsHost& host, QWidget* parent)
    : QDialog(parent), host_(host), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("settingsSheet"));
    setWindowTitle(QStringLiteral("プロパティ"));

    // OK and Cancel sit at the top, where the handheld's title bar has its OK button; the tabs
    // run along the bottom edge.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsSheet::reject);

    tabs_->setObjectName(QStringLiteral("tabs12320"));
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setDocumentMode(true);
    // Six titles side by side on a 240-pixel-wide screen: a smaller font and tight tabs.
    QFont tabFont = tabs_->tabBar()->font();
    tabFont.setPixelSize(kTabFontPixels);
    tabs_->tabBar()->setFont(tabFont);
    tabs_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 3px; }"));
    for (const char16_t* title : kTabTitles) {
        auto* holder = new QWidget(tabs_);
        auto* holderLayout = new QVBoxLayout(holder);
        holderLayout->setContentsMargins(0, 0, 0, 0);
        tabs_->addTab(holder, QString::fromUtf16(title));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    layout->addWidget(buttons);
    layout->addWidget(tabs_, 1);

    visit(0);
    connect(tabs_, &QTabWidget::currentChanged, this, &SettingsSheet::visit);

    // Full screen on the handheld: the sheet covers the main window. On a desktop it is wide
    // enough for all six tabs side by side.
    ui::placeOverOwner(*this, kDesktopSize);
}

void SettingsSheet::visit(int index) {
    if (index < 0 || index >= kPageCount || pages_[static_cast<size_t>(index)] != nullptr) {
        return;
    }
    QWidget* holder = tabs_->widget(index);
    AppSettings& settings = host_.appSettings();
    SettingsPage* page = nullptr;
    switch (index) {
    case 0:
        page = new MotionPage(settings, holder);
        break;
    case 1:
        page = new ButtonAssignPage(host_, holder);
        break;
    case 2:
        page = createExtensionsPage(settings, holder);
        break;
    case 3:
        page = createZoomPage(settings, holder);
        break;
    case 4:
        page = createDoubleTapPage(settings, holder);
        break;
    default:
        page = createGeneralPage(settings, holder);
        break;
    }
    holder->layout()->addWidget(page);
    page->show(); // at once, not when the layout gets round to it: the tab shows it now
    pages_[static_cast<size_t>(index)] = page;
}

void SettingsSheet::accept() {
    for (SettingsPage* page : pages_) {
        if (page != nullptr) {
            page->apply();
        }
    }
    QDialog::accept();
}

} // namespace velmora::settings::qt
