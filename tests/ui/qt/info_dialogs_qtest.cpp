#include "platform/device_fs.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/file_info_dialog.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <ctime>
#include <sys/time.h>

using namespace velmora;

namespace {

// Sets a file's last-write time to a local calendar time.
bool setLocalModified(const std::filesystem::path& file, int year, int month, int day, int hour,
                      int minute) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&parts);
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    return utimes(file.c_str(), times) == 0;
}

QString fieldText(const QWidget& dialog, int controlId) {
    const auto* field = dialog.findChild<QLabel*>(QStringLiteral("field%1").arg(controlId));
    return field ? field->text() : QStringLiteral("<no field %1>").arg(controlId);
}

// Runs a dialog modally, checks it covers its owner, and presses OK; returns the dialog result.
template <typename Show> int runAndConfirm(QWidget& owner, const char* objectName, Show show) {
    bool checked = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != QLatin1String(objectName)) {
            return;
        }
        checked = dialog->geometry() == owner.geometry();
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    const int result = show();
    return checked ? result : -1;
}

} // namespace

class InfoDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        platform::setDeviceRoot(root_.path());
        const auto picture = root_.write("pics/c.jpg", std::string(153600, 'x'));
        QVERIFY(setLocalModified(picture, 2008, 3, 5, 9, 4));
        owner_.setGeometry(30, 40, 240, 320);
        owner_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner_));
    }

    // The dimensions are those of the picture in memory (after a resize, say), the size and date
    // those of the file.
    void showsThePictureAndItsFile() {
        const ui::FileInfo info = ui::describeFile(u"\\pics\\c.jpg", 640, 480, 2, 7);
        ui::FileInfoDialog dialog(info, &owner_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ファイル情報"));
        QCOMPARE(fieldText(dialog, 1020), QStringLiteral("c.jpg"));
        QCOMPARE(fieldText(dialog, 1021), QStringLiteral("640 X 480"));
        QCOMPARE(fieldText(dialog, 1022), QStringLiteral("2008/03/05 09:04"));
        QCOMPARE(fieldText(dialog, 1023), QStringLiteral("153600 Byte"));
        QCOMPARE(fieldText(dialog, 1024), QStringLiteral("\\pics\\"));
        QCOMPARE(fieldText(dialog, 1025), QStringLiteral("3 / 7"));
    }

    void vanishedFileLeavesSizeAndDateEmpty() {
        ui::FileInfoDialog dialog(ui::describeFile(u"\\pics\\gone.jpg", 10, 10, 0, 1), &owner_);
        QCOMPARE(fieldText(dialog, 1020), QStringLiteral("gone.jpg"));
        QVERIFY(fieldText(dialog, 1022).isEmpty());
        QVERIFY(fieldText(dialog, 1023).isEmpty());
    }

    void informationDialogCoversItsOwnerAndClosesWithOk() {
        const ui::FileInfo info = ui::describeFile(u"\\pics\\c.jpg", 640, 480, 2, 7);
        QCOMPARE(runAndConfirm(owner_, "fileInfoDialog",
                               [&] { return ui::showFileInfoDialog(info, &owner_); }),
                 1);
    }

    void aboutDialogShowsIconVersionAndMaker() {
        QPixmap iconImage(32, 32);
        iconImage.fill(Qt::red);
        QApplication::setWindowIcon(QIcon(iconImage));
        ui::AboutDialog dialog(&owner_);
        QCOMPARE(dialog.objectName(), QStringLiteral("aboutDialog"));
        const auto* version = dialog.findChild<QLabel*>(QStringLiteral("versionLine"));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Version 1.24")); // the project's version
        const auto* maker = dialog.findChild<QLabel*>(QStringLiteral("makerLine"));
        QVERIFY(maker && !maker->text().isEmpty());
        const auto* icon = dialog.findChild<QLabel*>(QStringLiteral("aboutIcon"));
        QVERIFY(icon);
        QCOMPARE(icon->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
    }

    void aboutDialogCoversItsOwnerAndClosesWithOk() {
        QCOMPARE(runAndConfirm(owner_, "aboutDialog", [&] { return ui::showAboutDialog(&owner_); }),
                 1);
    }

  private:
    test::TempDir root_;
    QWidget owner_;
};

QTEST_MAIN(InfoDialogsTest)
#include "info_dialogs_qtest.moc"
