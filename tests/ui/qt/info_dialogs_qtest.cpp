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

// 2008-03-05 00:04:59 UTC, which is 09:04 the same day in Japan.
constexpr std::time_t kModifiedUtc = 1204675499;

bool setModified(const std::filesystem::path& file, std::time_t seconds) {
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    return utimes(file.c_str(), times) == 0;
}

// Makes the process use a time zone until the object goes.
class TimeZone {
  public:
    explicit TimeZone(const char* zone)
        : old_(qgetenv("TZ")), hadOld_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone() {
        if (hadOld_) {
            qputenv("TZ", old_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

  private:
    QByteArray old_;
    bool hadOld_;
};

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
        QVERIFY(setModified(picture, kModifiedUtc));
        owner_.setGeometry(30, 40, 240, 320);
        owner_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner_));
    }

    void showsThePictureAndItsFile_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("date");
        QTest::newRow("UTC") << QByteArray("UTC") << QStringLiteral("2008/03/05 00:04");
        QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo") << QStringLiteral("2008/03/05 09:04");
    }

    // The dimensions are those of the picture in memory (after a resize, say), the size and date
    // those of the file, the date in local time.
    void showsThePictureAndItsFile() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, date);
        const TimeZone local(zone.constData());
        const ui::FileInfo info = ui::describeFile(u"\\pics\\c.jpg", 640, 480, 2, 7);
        ui::FileInfoDialog dialog(info, &owner_);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ファイル情報"));
        QCOMPARE(fieldText(dialog, 1020), QStringLiteral("c.jpg"));
        QCOMPARE(fieldText(dialog, 1021), QStringLiteral("640 X 480"));
        QCOMPARE(fieldText(dialog, 1022), date);
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
