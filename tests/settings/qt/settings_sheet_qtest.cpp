// The settings sheet driven through its controls: amounts, the button list built from the
// machine hive, the function combo box, lazily made pages, OK and Cancel.
#include "platform/device_fs.h"
#include "platform/registry.h"
#include "settings/qt/button_icons.h"
#include "settings/qt/settings_page.h"
#include "settings/qt/settings_sheet.h"

#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace velmora;
using namespace velmora::settings;
using namespace velmora::settings::qt;

namespace {

// The application side of the sheet: a settings record, a 240x320 owner window and a log of
// the hot-key calls.
class FakeHost : public SettingsHost {
  public:
    FakeHost() { owner.resize(240, 320); }
    AppSettings& appSettings() override { return settings; }
    QWidget* dialogOwner() override { return &owner; }
    void unregisterButtons() override { calls += QStringLiteral("unregister;"); }
    void registerButtons() override {
        calls += QStringLiteral("register:%1;").arg(static_cast<int>(settings.buttonFunctions[1]));
    }

    AppSettings settings;
    QWidget owner;
    QString calls;
};

// A configuration folder whose machine hive describes the given hardware buttons, a device
// root, and the scripted message boxes.
class Sandbox {
  public:
    explicit Sandbox(const std::string& machineKeys = defaultButtons()) {
        config_.write("system.reg", "Windows Registry Editor Version 5.00\n\n" + machineKeys);
        platform::setConfigFolder(config_.path());
        platform::setDeviceRoot(root_.path());
    }

    static std::string buttonKey(int n, const std::string& values = {}) {
        return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys\\40C" +
               std::string(1, "0123456789ABC"[n]) + "]\n" + values + "\n";
    }
    static std::string defaultButtons() {
        std::string keys;
        for (int n = 1; n <= 12; ++n) {
            keys += buttonKey(n, "\"Name\"=\"F" + std::to_string(n) + "\"\n");
        }
        return keys;
    }

    const test::TempDir& root() const { return root_; }
    test::RecordingMessageBox boxes;

  private:
    test::TempDir config_;
    test::TempDir root_;
};

template <typename T> T* child(const QWidget& parent, const QString& name) {
    return parent.findChild<T*>(name);
}

QTreeWidget* openButtonPage(SettingsSheet& sheet) {
    sheet.findChild<QTabWidget*>(QStringLiteral("tabs12320"))->setCurrentIndex(1);
    return child<QTreeWidget>(sheet, QStringLiteral("list110"));
}

QComboBox* functionCombo(const SettingsSheet& sheet) {
    return child<QComboBox>(sheet, QStringLiteral("combo120"));
}

void chooseFunction(const SettingsSheet& sheet, int index) {
    QComboBox* combo = functionCombo(sheet);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void press(const SettingsSheet& sheet, const char* button) {
    child<QPushButton>(sheet, QString::fromLatin1(button))->click();
}

// Values other than the defaults on the pages after the first.
void changeLaterPages(AppSettings& settings) {
    settings.initialZoom = image::InitialZoom::FitWhole;
    settings.doubleTapAction = settings::DoubleTapAction::AutoFitOriginal;
    settings.extensionEnabled[1] = false;
    settings.thumbCache = false;
}

QImage pixels(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

} // namespace

class SettingsSheetTest : public QObject {
    Q_OBJECT

  private slots:
    void amountsOutsideOneTo999AreIgnored() {
        const struct {
            const char* typed;
            int32_t stored;
        } cases[] = {{"0", 32}, {"1000", 32}, {"abc", 32}, {"12x", 32}, {"999", 999}, {" 7", 7}};
        for (const auto& c : cases) {
            Sandbox sandbox;
            FakeHost host;
            SettingsSheet sheet(host, &host.owner);
            auto* edit = child<QLineEdit>(sheet, QStringLiteral("edit1001"));
            QVERIFY(edit);
            QCOMPARE(edit->text(), QStringLiteral("32"));
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(c.typed));
            QCOMPARE(edit->text(), QString::fromLatin1(c.typed)); // nothing corrects the text
            press(sheet, "okButton");
            QCOMPARE(host.settings.moveStepX, c.stored);
        }
    }

    void upDownWrapsAndCountsFromTheTypedNumber() {
        Sandbox sandbox;
        FakeHost host;
        host.settings.seekStepY = 999;
        SettingsSheet sheet(host, &host.owner);
        auto* spin = child<QAbstractSpinBox>(sheet, QStringLiteral("spin1021"));
        auto* edit = child<QLineEdit>(sheet, QStringLiteral("edit1005"));
        spin->stepUp();
        QCOMPARE(edit->text(), QStringLiteral("1"));
        edit->setText(QStringLiteral("50"));
        spin->stepDown();
        QCOMPARE(edit->text(), QStringLiteral("49"));
        edit->setText(QStringLiteral("x"));
        spin->stepUp(); // from where it last stood
        QCOMPARE(edit->text(), QStringLiteral("50"));
        press(sheet, "okButton");
        QCOMPARE(host.settings.seekStepY, 50);
    }

    void fourShellButtonsGiveEightRowsAndKeepTheOthers() {
        Sandbox sandbox(Sandbox::buttonKey(1) + Sandbox::buttonKey(2, "\"Name\"=\"Record\"\n") +
                        Sandbox::buttonKey(3, "\"Name\"=\"\"\n") + Sandbox::buttonKey(4));
        FakeHost host;
        for (int n = 5; n <= 12; ++n) {
            host.settings.buttonFunctions[n] = ButtonFunction(n);
        }
        const auto before = host.settings.buttonFunctions;
        SettingsSheet sheet(host, &host.owner);
        QTreeWidget* list = openButtonPage(sheet);
        QVERIFY(list);
        QCOMPARE(list->topLevelItemCount(), 8);
        const QStringList names{u"左矢印"_qs,  u"右矢印"_qs, u"上矢印"_qs,  u"下矢印"_qs,
                                u"Button1"_qs, u"Record"_qs, u"Button3"_qs, u"Button4"_qs};
        const QStringList functions{u"左移動"_qs,   u"右移動"_qs, u"上移動"_qs,   u"下移動"_qs,
                                    u"全体表示"_qs, u"次へ"_qs,   u"順シーク"_qs, u"逆シーク"_qs};
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(list->topLevelItem(row)->text(0), names[row]);
            QCOMPARE(list->topLevelItem(row)->text(1), functions[row]);
        }
        QCOMPARE(list->headerItem()->text(0), u"ボタン"_qs);
        QCOMPARE(list->headerItem()->text(1), u"機能"_qs);
        // Arrow keys and buttons without an icon value show their own icons.
        QCOMPARE(pixels(list->topLevelItem(0)->icon(0)), pixels(arrowKeyIcon(0)));
        QCOMPARE(pixels(list->topLevelItem(4)->icon(0)), pixels(defaultButtonIcon()));
        QVERIFY(pixels(arrowKeyIcon(0)) != pixels(defaultButtonIcon()));

        list->setCurrentItem(list->topLevelItem(4));
        chooseFunction(sheet, 0);
        press(sheet, "okButton");
        QCOMPARE(host.settings.buttonFunctions[1], settings::ButtonFunction::None);
        for (int n = 2; n <= 15; ++n) {
            QCOMPARE(host.settings.buttonFunctions[n], before[n]);
        }
        // The hot keys are given back, then taken again from the new assignment.
        QCOMPARE(host.calls, u"unregister;register:0;"_qs);
    }

    void iconValuesPointAtAFileAndAnIndex() {
        Sandbox sandbox;
        QImage red(16, 16, QImage::Format_RGB32);
        red.fill(Qt::red);
        std::filesystem::create_directories(sandbox.root().path() / "Windows");
        QVERIFY(
            red.save(QString::fromStdString((sandbox.root().path() / "Windows/rec.png").string())));
        const QImage fromFile = pixels(QIcon(QPixmap::fromImage(red)));
        const QImage fallback = pixels(defaultButtonIcon());

        QCOMPARE(pixels(shellButtonIcon(u"\\Windows\\rec.png, 0")), fromFile);
        QCOMPARE(pixels(shellButtonIcon(u" \"\\Windows\\rec.png\" ,\t0")), fromFile);
        QCOMPARE(pixels(shellButtonIcon(u"\\Windows\\rec.png, -10")), fallback);
        QCOMPARE(pixels(shellButtonIcon(u"\\Windows\\rec.png")), fallback); // no comma
        QCOMPARE(pixels(shellButtonIcon(u"\\Windows\\gone.png,0")), fallback);
        QCOMPARE(pixels(shellButtonIcon(u"\\Windows\\rec.png,3")), fallback); // no such image
    }

    void choosingWithoutARowChangesNothing() {
        Sandbox sandbox;
        FakeHost host;
        SettingsSheet sheet(host, &host.owner);
        QTreeWidget* list = openButtonPage(sheet);
        chooseFunction(sheet, 4);
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QVERIFY(list->topLevelItem(row)->text(1) != u"前へ"_qs);
        }
        // A choice the combo box cannot hold is "nothing selected".
        list->setCurrentItem(list->topLevelItem(0));
        emit functionCombo(sheet)->activated(-1);
        QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
        QCOMPARE(sandbox.boxes.shown[0].text, std::u16string(u"何も選択されていません"));
        QCOMPARE(sandbox.boxes.shown[0].caption, std::u16string(u"ERROR"));
        QCOMPARE(list->topLevelItem(0)->text(1), u"左移動"_qs);
        press(sheet, "okButton");
        QCOMPARE(
            host.settings.arrowKeyFunctions,
            (std::array{settings::ButtonFunction::MoveLeft, settings::ButtonFunction::MoveRight,
                        settings::ButtonFunction::MoveUp, settings::ButtonFunction::MoveDown}));
        QCOMPARE(host.settings.buttonFunctions, AppSettings().buttonFunctions);
    }

    void selectingARowShowsItsFunction() {
        Sandbox sandbox;
        FakeHost host;
        SettingsSheet sheet(host, &host.owner);
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QTreeWidget* list = openButtonPage(sheet);
        QCOMPARE(functionCombo(sheet)->count(), 13);
        QCOMPARE(functionCombo(sheet)->currentIndex(), 0);
        QCOMPARE(functionCombo(sheet)->itemText(12), u"自動フィット表示"_qs);
        QTRY_VERIFY(list->isVisible() && list->width() > 100);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(3)).center());
        QVERIFY(list->currentItem());
        QCOMPARE(list->currentItem()->text(0), u"下矢印"_qs);
        QCOMPARE(functionCombo(sheet)->currentText(), u"下移動"_qs);
        chooseFunction(sheet, 12);
        QCOMPARE(list->topLevelItem(3)->text(1), u"自動フィット表示"_qs);
        press(sheet, "okButton");
        QCOMPARE(host.settings.arrowKeyFunctions[3], settings::ButtonFunction::AutoFitOriginal);
    }

    void pagesAreMadeWhenVisitedAndOnlyMadePagesApply() {
        Sandbox sandbox;
        FakeHost host;
        changeLaterPages(host.settings);
        SettingsSheet sheet(host, &host.owner);
        QCOMPARE(sheet.windowTitle(), u"プロパティ"_qs);
        QVERIFY(sheet.page(0) != nullptr);
        for (int i = 1; i < SettingsSheet::kPageCount; ++i) {
            QVERIFY(sheet.page(i) == nullptr);
        }
        child<QLineEdit>(sheet, QStringLiteral("edit1002"))->setText(QStringLiteral("64"));
        child<QRadioButton>(sheet, QStringLiteral("radio1012"))->click();
        child<QRadioButton>(sheet, QStringLiteral("radio1046"))->click();
        press(sheet, "okButton");
        QCOMPARE(host.settings.moveStepY, 64);
        QCOMPARE(host.settings.placement, image::Placement::Centre);
        QCOMPARE(host.settings.seekOrder, image::SeekOrder::VerticalFirst);
        // The pages never shown changed nothing, and the hot keys were left alone.
        QCOMPARE(host.settings.initialZoom, image::InitialZoom::FitWhole);
        QCOMPARE(host.settings.doubleTapAction, settings::DoubleTapAction::AutoFitOriginal);
        QCOMPARE(
            host.settings.extensionEnabled,
            (std::array<bool, 10>{true, false, true, true, true, true, true, true, true, true}));
        QVERIFY(!host.settings.thumbCache);
        QCOMPARE(
            host.settings.arrowKeyFunctions,
            (std::array{settings::ButtonFunction::MoveLeft, settings::ButtonFunction::MoveRight,
                        settings::ButtonFunction::MoveUp, settings::ButtonFunction::MoveDown}));
        QVERIFY(host.calls.isEmpty());
    }

    void eachPageShowsAndStoresItsSettings() {
        Sandbox sandbox;
        FakeHost host;
        changeLaterPages(host.settings);
        SettingsSheet sheet(host, &host.owner);
        auto* tabs = child<QTabWidget>(sheet, QStringLiteral("tabs12320"));
        for (int i = 0; i < SettingsSheet::kPageCount; ++i) {
            tabs->setCurrentIndex(i);
        }
        const auto radio = [&](int page, int id) {
            return sheet.page(page)->findChild<QRadioButton*>(QStringLiteral("radio%1").arg(id));
        };
        const auto check = [&](int page, int id) {
            return sheet.page(page)->findChild<QCheckBox*>(QStringLiteral("check%1").arg(id));
        };
        QVERIFY(radio(0, 1006)->isChecked() && radio(0, 1045)->isChecked());
        QVERIFY(radio(3, 1038)->isChecked());
        QVERIFY(radio(4, 1068)->isChecked());
        QVERIFY(!check(2, 1026)->isChecked() && check(2, 1030)->isChecked());
        QVERIFY(!check(5, 1043)->isChecked() && check(5, 1030)->isChecked());

        radio(3, 1042)->click();
        radio(4, 1064)->click();
        check(2, 1026)->click();
        check(2, 1025)->click();
        check(5, 1043)->click();
        check(5, 1036)->click();
        check(5, 1050)->click();
        // A group with nothing checked stores 0 (the seek order stays).
        for (QRadioButton* none : {radio(0, 1006), radio(0, 1045)}) {
            none->group()->setExclusive(false);
            none->setChecked(false);
        }
        host.settings.seekOrder = image::SeekOrder::VerticalFirst;
        press(sheet, "okButton");
        QCOMPARE(host.settings.initialZoom, image::InitialZoom::AutoFit);
        QCOMPARE(host.settings.doubleTapAction, settings::DoubleTapAction::None);
        QCOMPARE(
            host.settings.extensionEnabled,
            (std::array<bool, 10>{false, true, true, true, true, true, true, true, true, true}));
        QVERIFY(host.settings.thumbCache && !host.settings.usePreload &&
                host.settings.smoothReduction);
        QVERIFY(!host.settings.dialogMemory);
        QCOMPARE(host.settings.placement, image::Placement::TopLeft);
        QCOMPARE(host.settings.seekOrder, image::SeekOrder::VerticalFirst);
        QCOMPARE(host.calls, u"unregister;register:7;"_qs); // the button page applied too
    }

    void cancelChangesNothing() {
        Sandbox sandbox;
        FakeHost host;
        SettingsSheet sheet(host, &host.owner);
        auto* tabs = child<QTabWidget>(sheet, QStringLiteral("tabs12320"));
        child<QLineEdit>(sheet, QStringLiteral("edit1001"))->setText(QStringLiteral("5"));
        QTreeWidget* list = openButtonPage(sheet);
        list->setCurrentItem(list->topLevelItem(0));
        chooseFunction(sheet, 3);
        tabs->setCurrentIndex(3);
        sheet.page(3)->findChild<QRadioButton*>(QStringLiteral("radio1042"))->click();
        press(sheet, "cancelButton");
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QCOMPARE(host.settings.moveStepX, 32);
        QCOMPARE(host.settings.arrowKeyFunctions[0], settings::ButtonFunction::MoveLeft);
        QCOMPARE(host.settings.initialZoom, image::InitialZoom::Original);
        QVERIFY(host.calls.isEmpty());
    }
};

QTEST_MAIN(SettingsSheetTest)
#include "settings_sheet_qtest.moc"
