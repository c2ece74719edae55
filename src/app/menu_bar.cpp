#include "app/menu_bar.h"

#include "app/bar_button.h"
#include "platform/qt/japanese_font.h"
#include "ui/string_table.h"

#include <QFontMetrics>
#include <QToolButton>

#include <array>

namespace velmora::app {
namespace {

constexpr std::array<BarButton, 4> kButtons{{
    {Command::Open, u"開く", "menubar/open.svg"},
    {Command::Settings, u"設定", "menubar/settings.svg"},
    {Command::FileInfo, u"ファイル情報", "menubar/info.svg"},
    {Command::ToggleToolbar, u"ツール表示", "menubar/toolbar.svg"},
}};

constexpr int kMenuFontPixels = 12;
constexpr int kMenuTextMargin = 6;

} // namespace

MenuBar::MenuBar(QWidget* parent, const CommandSink& onCommand) : QToolBar(parent) {
    setUpFixedBar(*this, "menuBar");
    fileMenu_ = addDropDown(ui::str::kMenuFile, "File", fileMenuItems(), onCommand);
    addDropDown(ui::str::kMenuEdit, "Edit", editMenuItems(), onCommand);
    addDropDown(ui::str::kMenuHelp, "Help", helpMenuItems(), onCommand);
    connect(fileMenu_, &QMenu::aboutToShow, this, &MenuBar::fileMenuAboutToShow);

    addSeparator();
    for (size_t i = 0; i < kButtons.size(); ++i) {
        if (kButtons[i].command == Command::ToggleToolbar) {
            addSeparator();
        }
        addBarButton(*this, kButtons[i], onCommand);
    }
    addSeparator();
}

QMenu& MenuBar::recentMenu() const {
    return *fileMenu_->findChild<QMenu*>(QStringLiteral("menuRecent"));
}

QMenu* MenuBar::addDropDown(ui::StringId textId, const char* name,
                            const std::vector<MenuItem>& items, const CommandSink& onCommand) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("menu") + QLatin1String(name));
    fillMenu(*menu, items, onCommand);

    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("button") + QLatin1String(name));
    button->setText(QString::fromStdU16String(ui::loadResourceString(textId)));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    // The handheld's menu-bar font: small enough for every button on a 240-pixel-wide screen.
    QFont font = button->font();
    if (const QString family = platform::qt::japaneseUiFamily(); !family.isEmpty()) {
        font.setFamilies({family});
    }
    font.setPixelSize(kMenuFontPixels);
    button->setFont(font);
    button->setFixedWidth(QFontMetrics(font).horizontalAdvance(button->text()) + kMenuTextMargin);
    // The bar is at the bottom of the screen: the menu opens upwards from the button.
    connect(button, &QToolButton::clicked, menu, [button, menu] {
        const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
        menu->popup(topLeft - QPoint(0, menu->sizeHint().height()));
    });
    addWidget(button);
    return menu;
}

} // namespace velmora::app
