#include "app/menu_resources.h"

#include "app/command_ids.h"

namespace velmora::app {
namespace {

MenuItem command(const char16_t* text, int id) {
    MenuItem item;
    item.text = QString::fromUtf16(text);
    item.command = id;
    return item;
}

MenuItem subMenu(const char16_t* text, const char* objectName, std::vector<MenuItem> children) {
    MenuItem item;
    item.kind = MenuItem::Kind::SubMenu;
    item.text = QString::fromUtf16(text);
    item.objectName = QString::fromLatin1(objectName);
    item.children = std::move(children);
    return item;
}

MenuItem separator() {
    MenuItem item;
    item.kind = MenuItem::Kind::Separator;
    return item;
}

MenuItem checkedAndGreyed(MenuItem item) {
    item.checked = true;
    item.greyed = true;
    return item;
}

} // namespace

const std::vector<MenuItem>& fileMenuItems() {
    static const std::vector<MenuItem> items{
        command(u"開く(&O)", kCmdOpen),
        subMenu(u"最近のファイル", "menuRecent",
                {command(u"none", kCmdRecentFile0), command(u"none", kCmdRecentFile1),
                 command(u"none", kCmdRecentFile2)}),
        command(u"保存(&S)", kCmdSave),
        subMenu(u"ファイル操作(&M)", "menuFileOperations",
                {command(u"複製(&C)", kCmdCopy), command(u"移動(&M)", kCmdMove),
                 command(u"削除(&D)", kCmdDelete), command(u"メール添付(&P)", kCmdMail)}),
        subMenu(u"ネットワーク(&N)", "menuNetwork",
                {command(u"接続(&C)", kCmdNetworkConnect),
                 command(u"切断(&D)", kCmdNetworkDisconnect)}),
        command(u"画像情報(&I)", kCmdFileInfo),
        separator(),
        subMenu(u"画面(&V)", "menuScreen",
                {command(u"フルスクリーン(&A)", kCmdFullScreen),
                 checkedAndGreyed(command(u"通常(&N)", kCmdNormalScreen)),
                 command(u"スクリーン回転(&R)", kCmdRotateScreen)}),
        command(u"設定(&C)", kCmdSettings),
        command(u"最小化(&I)", kCmdMinimise),
        command(u"終了(&Q)", kCmdExit),
    };
    return items;
}

const std::vector<MenuItem>& editMenuItems() {
    static const std::vector<MenuItem> items{
        subMenu(u"変形(&T)", "menuTransform",
                {command(u"左回転(&L)", kCmdRotateLeft), command(u"右回転(&R)", kCmdRotateRight),
                 command(u"上下反転(&V)", kCmdFlipVertical),
                 command(u"左右反転(&H)", kCmdFlipHorizontal),
                 command(u"サイズ変更(&S)", kCmdResize), command(u"トリミング(&T)", kCmdTrim)}),
        subMenu(u"レタッチ(&P)", "menuRetouch",
                {command(u"明るさ(&B)", kCmdBrightness), command(u"コントラスト(&C)", kCmdContrast),
                 command(u"ぼかす(&S)", kCmdBlur), command(u"シャープ(&E)", kCmdSharpen),
                 command(u"エンボス(&E)", kCmdEmboss), command(u"モノクロ化(&G)", kCmdGrey),
                 command(u"ネガポジ(&N)", kCmdNegative), command(u"２値化(&P)", kCmdThreshold)}),
        command(u"復元(&R)", kCmdRestore),
    };
    return items;
}

const std::vector<MenuItem>& helpMenuItems() {
    static const std::vector<MenuItem> items{command(u"バージョン(&V)", kCmdAbout)};
    return items;
}

const std::vector<MenuItem>& popupMenuItems() {
    static const std::vector<MenuItem> items{
        command(u"次へ(&N)", kCmdNext),
        command(u"前へ(&P)", kCmdPrevious),
        command(u"先頭へ(&F)", kCmdFirst),
        command(u"最後へ(&E)", kCmdLast),
        separator(),
        subMenu(u"表示(&V)", "popupView",
                {command(u"縮小(&M)", kCmdZoomOut), command(u"拡大(&L)", kCmdZoomIn), separator(),
                 command(u"全体表示(&E)", kCmdFitWhole),
                 command(u"縦幅を画面内に(&Y)", kCmdFitHeight),
                 command(u"横幅を画面内に(&X)", kCmdFitWidth),
                 command(u"元のサイズ(&R)", kCmdOriginalSize)}),
        subMenu(u"ファイル(&F)", "popupFile",
                {command(u"開く(&O)", kCmdOpen), command(u"情報(&I)", kCmdFileInfo),
                 command(u"終了(&Q)", kCmdExit)}),
        separator(),
        command(u"フルスクリーン", kCmdToggleFullScreen),
    };
    return items;
}

} // namespace velmora::app
