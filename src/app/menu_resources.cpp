#include "app/menu_resources.h"

namespace velmora::app {
namespace {

MenuItem command(const char16_t* text, ui::Command id) {
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
        command(u"開く(&O)", Command::Open),
        subMenu(u"最近のファイル", "menuRecent",
                {command(u"none", Command::RecentFile0), command(u"none", Command::RecentFile1),
                 command(u"none", Command::RecentFile2)}),
        command(u"保存(&S)", Command::Save),
        subMenu(u"ファイル操作(&M)", "menuFileOperations",
                {command(u"複製(&C)", Command::Copy), command(u"移動(&M)", Command::Move),
                 command(u"削除(&D)", Command::Delete), command(u"メール添付(&P)", Command::Mail)}),
        subMenu(u"ネットワーク(&N)", "menuNetwork",
                {command(u"接続(&C)", Command::NetworkConnect),
                 command(u"切断(&D)", Command::NetworkDisconnect)}),
        command(u"画像情報(&I)", Command::FileInfo),
        separator(),
        subMenu(u"画面(&V)", "menuScreen",
                {command(u"フルスクリーン(&A)", Command::FullScreen),
                 checkedAndGreyed(command(u"通常(&N)", Command::NormalScreen)),
                 command(u"スクリーン回転(&R)", Command::RotateScreen)}),
        command(u"設定(&C)", Command::Settings),
        command(u"最小化(&I)", Command::Minimise),
        command(u"終了(&Q)", Command::Exit),
    };
    return items;
}

const std::vector<MenuItem>& editMenuItems() {
    static const std::vector<MenuItem> items{
        subMenu(u"変形(&T)", "menuTransform",
                {command(u"左回転(&L)", Command::RotateLeft),
                 command(u"右回転(&R)", Command::RotateRight),
                 command(u"上下反転(&V)", Command::FlipVertical),
                 command(u"左右反転(&H)", Command::FlipHorizontal),
                 command(u"サイズ変更(&S)", Command::Resize),
                 command(u"トリミング(&T)", Command::Trim)}),
        subMenu(
            u"レタッチ(&P)", "menuRetouch",
            {command(u"明るさ(&B)", Command::Brightness),
             command(u"コントラスト(&C)", Command::Contrast), command(u"ぼかす(&S)", Command::Blur),
             command(u"シャープ(&E)", Command::Sharpen), command(u"エンボス(&E)", Command::Emboss),
             command(u"モノクロ化(&G)", Command::Grey), command(u"ネガポジ(&N)", Command::Negative),
             command(u"２値化(&P)", Command::Threshold)}),
        command(u"復元(&R)", Command::Restore),
        command(u"元に戻す(&U)", Command::Undo),
        command(u"やり直し(&O)", Command::Redo),
    };
    return items;
}

const std::vector<MenuItem>& helpMenuItems() {
    static const std::vector<MenuItem> items{command(u"バージョン(&V)", Command::About)};
    return items;
}

const std::vector<MenuItem>& popupMenuItems() {
    static const std::vector<MenuItem> items{
        command(u"次へ(&N)", Command::Next),
        command(u"前へ(&P)", Command::Previous),
        command(u"先頭へ(&F)", Command::First),
        command(u"最後へ(&E)", Command::Last),
        separator(),
        subMenu(u"表示(&V)", "popupView",
                {command(u"縮小(&M)", Command::ZoomOut), command(u"拡大(&L)", Command::ZoomIn),
                 separator(), command(u"全体表示(&E)", Command::FitWhole),
                 command(u"縦幅を画面内に(&Y)", Command::FitHeight),
                 command(u"横幅を画面内に(&X)", Command::FitWidth),
                 command(u"元のサイズ(&R)", Command::OriginalSize)}),
        subMenu(u"ファイル(&F)", "popupFile",
                {command(u"開く(&O)", Command::Open), command(u"情報(&I)", Command::FileInfo),
                 command(u"終了(&Q)", Command::Exit)}),
        separator(),
        command(u"フルスクリーン", Command::ToggleFullScreen),
    };
    return items;
}

} // namespace velmora::app
