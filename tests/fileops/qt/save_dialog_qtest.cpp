// The save dialog driven through its object names: its first state, every refusal of OK with
// its message, the "..." button, and JPEG saves at the three qualities.
#include "fileops/qt/save_dialog.h"

#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <functional>

using namespace velmora;
using fileops::SaveChoice;
using fileops::qt::SaveDialog;

namespace {

template <typename T> T* control(QWidget& dialog, const char* name) {
    return dialog.findChild<T*>(QLatin1String(name));
}

// Runs the dialog and, once it shows, hands it to script (which presses its buttons).
std::optional<SaveChoice> runDialog(
    const fileops::SaveProposal& proposal, const std::function<void(QWidget&)>& script,
    fileops::qt::FolderField chooser = [] { return std::u16string(); }) {
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog != nullptr && dialog->objectName() == QLatin1String("saveDialog")) {
            script(*dialog);
        }
    });
    SaveDialog dialog(nullptr, proposal, std::move(chooser));
    return dialog.run();
}

void fill(QWidget& dialog, const QString& folder, const QString& name, const QString& type) {
    control<QLineEdit>(dialog, "folderEdit")->setText(folder);
    control<QLineEdit>(dialog, "nameEdit")->setText(name);
    control<QComboBox>(dialog, "typeCombo")->setEditText(type);
}

void press(QWidget& dialog, const char* button) {
    control<QPushButton>(dialog, button)->click();
}

} // namespace

class SaveDialogTest : public QObject {
    Q_OBJECT

    test::TempDir root_;
    test::RecordingMessageBox boxes_;

  private slots:
    void init() {
        platform::setDeviceRoot(root_.path());
        std::filesystem::create_directories(root_.path() / "Pics");
        boxes_.shown.clear();
    }

    void startsWithTheProposalMediumQualityAndJpeg() {
        bool checked = false;
        const auto choice = runDialog({u"\\Pics\\", u"photo"}, [&](QWidget& dialog) {
            QCOMPARE(control<QLineEdit>(dialog, "folderEdit")->text(), QStringLiteral("\\Pics\\"));
            QCOMPARE(control<QLineEdit>(dialog, "nameEdit")->text(), QStringLiteral("photo"));
            auto* types = control<QComboBox>(dialog, "typeCombo");
            QCOMPARE(types->count(), 3);
            QCOMPARE(types->itemText(0), QStringLiteral("*.JPG"));
            QCOMPARE(types->itemText(1), QStringLiteral("*.BMP"));
            QCOMPARE(types->itemText(2), QStringLiteral("*.PNG"));
            QCOMPARE(types->currentIndex(), 0);
            QVERIFY(types->isEditable());
            QVERIFY(control<QRadioButton>(dialog, "qualityMedium")->isChecked());
            QVERIFY(!control<QRadioButton>(dialog, "qualityHigh")->isChecked());
            QVERIFY(!control<QRadioButton>(dialog, "qualityLow")->isChecked());
            checked = true;
            press(dialog, "okButton");
        });
        QVERIFY(checked);
        QVERIFY(choice);
        QCOMPARE(choice->folder, std::u16string(u"\\Pics\\"));
        QCOMPARE(choice->fileName, std::u16string(u"photo.jpg"));
        QCOMPARE(choice->type, fileops::SaveType::Jpeg);
        QCOMPARE(choice->quality, fileops::kQualityMedium);
    }

    void okRefusesWithItsMessageAndStaysOpen() {
        root_.write("Pics/file.txt", "x");
        const struct {
            QString folder, name, type;
            ui::StringId message;
        } refusals[] = {
            {"\\Pics", "", "*.JPG", ui::str::kBadFileName},
            {"\\Pics", "a", "*.GIF", ui::str::kUnknownError},
            {"", "a", "*.PNG", ui::str::kBadSaveLocation},
            {"\\Missing", "a", "*.PNG", ui::str::kBadSaveLocation},
            {"\\Pics\\file.txt", "a", "*.PNG", ui::str::kBadSaveLocation},
        };
        std::vector<bool> stayedOpen;
        const auto choice = runDialog({}, [&](QWidget& dialog) {
            for (const auto& refusal : refusals) {
                fill(dialog, refusal.folder, refusal.name, refusal.type);
                press(dialog, "okButton");
                stayedOpen.push_back(dialog.isVisible());
            }
            fill(dialog, "\\Pics", "photo.png", "*.BMP");
            control<QRadioButton>(dialog, "qualityLow")->click();
            press(dialog, "okButton");
        });
        QCOMPARE(stayedOpen, std::vector<bool>(std::size(refusals), true));
        QCOMPARE(boxes_.shown.size(), std::size(refusals));
        for (size_t i = 0; i < std::size(refusals); ++i) {
            QCOMPARE(boxes_.shown[i].text, ui::loadResourceString(refusals[i].message));
            QCOMPARE(boxes_.shown[i].caption, std::u16string(ui::kCaptionError));
        }
        QVERIFY(choice);
        QCOMPARE(choice->fileName, std::u16string(u"photo.png.bmp"));
        QCOMPARE(choice->type, fileops::SaveType::Bmp);
        QCOMPARE(choice->quality, fileops::kQualityLow);
    }

    void theChooserFillsOrEmptiesTheFolder() {
        std::u16string chosen = u"\\Pics";
        QStringList seen;
        const auto choice = runDialog(
            {u"\\Other\\", u"a"},
            [&](QWidget& dialog) {
                press(dialog, "browseButton");
                seen << control<QLineEdit>(dialog, "folderEdit")->text();
                chosen.clear(); // cancelled
                press(dialog, "browseButton");
                seen << control<QLineEdit>(dialog, "folderEdit")->text();
                press(dialog, "cancelButton");
            },
            [&] { return chosen; });
        QCOMPARE(seen, QStringList({"\\Pics", ""}));
        QVERIFY(!choice);
        QVERIFY(boxes_.shown.empty());
    }

    // Saved through the writer the dialog's choice selects: each JPEG decodes, and the file
    // shrinks as the quality falls.
    void jpegQualitiesDecodeAndShrink() {
        image::DibImage picture;
        QVERIFY(picture.create(160, 120));
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < 3 * picture.width(); ++x) {
                picture.row(y)[x] = static_cast<uint8_t>((x * 7 + y * 13) ^ (x * y));
            }
        }
        std::vector<uintmax_t> sizes;
        for (const char* quality : {"qualityHigh", "qualityMedium", "qualityLow"}) {
            const auto choice =
                runDialog({u"\\Pics\\", QString(quality).toStdU16String()}, [&](QWidget& dialog) {
                    control<QRadioButton>(dialog, quality)->click();
                    press(dialog, "okButton");
                });
            QVERIFY(choice);
            const std::u16string path = choice->folder + choice->fileName;
            QVERIFY(codecs::saveByTypeIndex(picture, path, static_cast<int>(choice->type),
                                            choice->quality));
            image::LoadedImage decoded;
            QVERIFY(codecs::loadImage(decoded, path));
            QCOMPARE(decoded.width(), 160);
            QCOMPARE(decoded.height(), 120);
            sizes.push_back(std::filesystem::file_size(platform::toHostPath(path)));
        }
        QVERIFY2(sizes[0] > sizes[1] && sizes[1] > sizes[2], "99 > 66 > 20 in bytes");
    }
};

QTEST_MAIN(SaveDialogTest)
#include "save_dialog_qtest.moc"
