// The edit dialogs driven through their controls: the value slider, the resize fields with the
// keep-ratio box, the trim preview under the stylus, and the progress box.
#include "edit/qt/progress_dialog.h"
#include "edit/qt/resize_dialog.h"
#include "edit/qt/trim_dialog.h"
#include "edit/qt/value_dialog.h"
#include "ui/string_table.h"

#include "support/recording_message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace velmora::edit;
using namespace velmora::edit::qt;

namespace {

template <typename T> T* control(const QWidget& dialog, const QString& name) {
    return dialog.findChild<T*>(name);
}

QLineEdit* field(const QWidget& dialog, int id) {
    return control<QLineEdit>(dialog, QStringLiteral("edit%1").arg(id));
}

void click(const QWidget& dialog, const char* button) {
    control<QPushButton>(dialog, QLatin1String(button))->click();
}

void sendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// The arithmetic of the trim dialog at 96 dpi over a 240x320 owner: a 400x300 picture is shown
// 240x180 below a 30-pixel header.
struct Drag {
    QPoint from;
    QPoint to;
    uint32_t moveTick; // milliseconds after the press
    QPoint release;
};

} // namespace

class EditDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        owner_.setGeometry(20, 30, 240, 320);
        owner_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner_));
    }

    void valueDialogShowsTheRequestAndReadsTheSliderOnlyOnOk() {
        const ValueRequest request{QStringLiteral("明るさを設定してください。"),
                                   QStringLiteral("説明"), 1, 254, 128};
        ValueDialog cancelled(request, &owner_);
        QCOMPARE(cancelled.windowTitle(), QStringLiteral("値の入力"));
        QCOMPARE(cancelled.geometry(), owner_.geometry());
        QCOMPARE(control<QLabel>(cancelled, QStringLiteral("text1050"))->text(), request.prompt);
        QCOMPARE(control<QLabel>(cancelled, QStringLiteral("text1052"))->text(),
                 request.description);
        auto* slider = control<QSlider>(cancelled, QStringLiteral("slider1048"));
        QCOMPARE(slider->minimum(), 1);
        QCOMPARE(slider->maximum(), 254);
        QCOMPARE(slider->value(), 128);
        slider->setValue(200);
        click(cancelled, "cancelButton");
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
        QCOMPARE(cancelled.value(), 128);

        // Through the modal run: moved, then OK.
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == QLatin1String("valueDialog"));
            control<QSlider>(*dialog, QStringLiteral("slider1048"))->setValue(3);
            click(*dialog, "okButton");
        });
        QCOMPARE(askValue({QString(), QString(), 1, 199, 100}, &owner_), std::optional<int>(3));
        QTimer::singleShot(0, [] { click(*QApplication::activeModalWidget(), "cancelButton"); });
        QCOMPARE(askValue(request, &owner_), std::nullopt);
    }

    void resizeDialogFollowsTheWidthWhileTheRatioIsKept() {
        test::RecordingMessageBox boxes;
        ResizeDialog dialog(10, 20, &owner_);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("サイズの変更"));
        QCOMPARE(field(dialog, 1003)->text(), QStringLiteral("10"));
        QCOMPARE(field(dialog, 1004)->text(), QStringLiteral("20"));
        QVERIFY(field(dialog, 1003)->isReadOnly() && field(dialog, 1004)->isReadOnly());
        auto* keepRatio = control<QCheckBox>(dialog, QStringLiteral("check1030"));
        QVERIFY(keepRatio->isChecked());
        QVERIFY(field(dialog, 1002)->isReadOnly());

        field(dialog, 1001)->setText(QStringLiteral("7"));
        QCOMPARE(field(dialog, 1002)->text(), QStringLiteral("14"));
        field(dialog, 1001)->setText(QStringLiteral("7a")); // not a number: the height stays
        QCOMPARE(field(dialog, 1002)->text(), QStringLiteral("14"));
        field(dialog, 1001)->setText(QStringLiteral("0"));
        click(dialog, "okButton");
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(dialog.isVisible());

        // The followed height is taken as it is, even above 5000.
        field(dialog, 1001)->setText(QStringLiteral("5000"));
        QCOMPARE(field(dialog, 1002)->text(), QStringLiteral("10000"));
        click(dialog, "okButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.newSize().width, 5000);
        QCOMPARE(dialog.newSize().height, 10000);
    }

    void resizeDialogChecksATypedHeight() {
        test::RecordingMessageBox boxes;
        ResizeDialog dialog(300, 200, &owner_);
        dialog.show();
        auto* keepRatio = control<QCheckBox>(dialog, QStringLiteral("check1030"));
        keepRatio->click();
        QVERIFY(!field(dialog, 1002)->isReadOnly());
        field(dialog, 1001)->setText(QStringLiteral("40"));
        QCOMPARE(field(dialog, 1002)->text(), QStringLiteral("200")); // no longer follows
        for (const char* refused : {"5001", "0", "x"}) {
            field(dialog, 1002)->setText(QLatin1String(refused));
            click(dialog, "okButton");
            QVERIFY2(dialog.isVisible(), refused);
        }
        QCOMPARE(boxes.shown.size(), size_t{3});
        QCOMPARE(boxes.shown[0].text, ui::loadResourceString(ui::str::kInvalidNumber));
        QCOMPARE(boxes.shown[0].icon, ui::MessageIcon::Error);

        // Checking the box again computes the height from the width at once.
        keepRatio->click();
        QCOMPARE(field(dialog, 1002)->text(), QStringLiteral("26"));
        QVERIFY(field(dialog, 1002)->isReadOnly());
        keepRatio->click();
        field(dialog, 1002)->setText(QStringLiteral("5000"));
        click(dialog, "okButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.newSize().width, 40);
        QCOMPARE(dialog.newSize().height, 5000);

        QTimer::singleShot(0, [] { click(*QApplication::activeModalWidget(), "cancelButton"); });
        QVERIFY(!askNewSize(300, 200, &owner_).has_value());
    }

    void trimDialogTakesTheDraggedRectangle() {
        image::DibImage picture;
        QVERIFY(picture.create(400, 300));
        struct Case {
            const char* name;
            Drag drag;
            TrimRect expected;
        };
        const Case cases[] = {
            {"down-right", {{40, 30}, {200, 150}, 150, {200, 150}}, {66, 50, 267, 200}},
            {"up-left", {{200, 150}, {40, 30}, 150, {40, 30}}, {66, 50, 267, 200}},
            {"to the far edges, bounds included",
             {{0, 0}, {240, 180}, 150, {240, 180}},
             {0, 0, 400, 300}},
            {"a tap", {{100, 100}, {100, 100}, 0, {100, 100}}, {166, 166, 0, 0}},
            // The move comes too early and the release is below the picture: nothing selected.
            {"early move", {{200, 150}, {40, 30}, 99, {40, 200}}, {333, 250, 0, 0}},
            {"press outside the picture", {{100, 181}, {10, 10}, 150, {10, 10}}, {0, 0, 0, 0}},
        };
        for (const Case& c : cases) {
            uint32_t tick = 5000;
            TrimDialog dialog(picture, &owner_, [&tick] { return tick; });
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.windowTitle(), QStringLiteral("切り取り"));
            QCOMPARE(control<QLabel>(dialog, QStringLiteral("text1051"))->text(),
                     QStringLiteral("切取範囲の選択"));
            auto* preview = control<QWidget>(dialog, QStringLiteral("trimPreview"));
            QCOMPARE(preview->geometry(), QRect(0, 30, 240, 290));
            sendMouse(*preview, QEvent::MouseButtonPress, c.drag.from);
            tick += c.drag.moveTick;
            sendMouse(*preview, QEvent::MouseMove, c.drag.to);
            sendMouse(*preview, QEvent::MouseButtonRelease, c.drag.release);
            const TrimRect r = dialog.rect();
            QVERIFY2(r.left == c.expected.left && r.top == c.expected.top &&
                         r.width == c.expected.width && r.height == c.expected.height,
                     qPrintable(QStringLiteral("%1: %2,%3 %4x%5")
                                    .arg(QLatin1String(c.name))
                                    .arg(r.left)
                                    .arg(r.top)
                                    .arg(r.width)
                                    .arg(r.height)));
            click(dialog, "okButton");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
    }

    void trimPreviewShowsASmallPictureAtItsSizeWithARedOutline() {
        image::DibImage picture;
        QVERIFY(picture.create(50, 40));
        picture.fillColor(0x00FF00); // green
        uint32_t tick = 0;
        TrimDialog dialog(picture, &owner_, [&tick] { return tick; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* preview = control<QWidget>(dialog, QStringLiteral("trimPreview"));
        sendMouse(*preview, QEvent::MouseButtonPress, {10, 10});
        tick = 100;
        sendMouse(*preview, QEvent::MouseMove, {30, 25});
        const QImage shot = preview->grab().toImage();
        QCOMPARE(shot.pixelColor(20, 18), QColor(0, 255, 0)); // inside the outline
        QCOMPARE(shot.pixelColor(45, 35), QColor(0, 255, 0)); // the picture at 1:1
        QCOMPARE(shot.pixelColor(55, 20), QColor(0, 0, 0));   // beside it
        QCOMPARE(shot.pixelColor(20, 10), QColor(255, 0, 0)); // the outline's top edge
        QCOMPARE(shot.pixelColor(30, 20), QColor(255, 0, 0)); // its right edge
        sendMouse(*preview, QEvent::MouseButtonRelease, {30, 25});
        QCOMPARE(dialog.rect().width, 20);
        QCOMPARE(dialog.rect().height, 15);
    }

    void progressBoxDisablesTheMainWindowWhileItShows() {
        ProgressDialog progress(&owner_);
        QVERIFY(!progress.isVisible());
        progress.begin();
        auto* bar = control<QProgressBar>(progress, QStringLiteral("progress1053"));
        QVERIFY(progress.isVisible());
        QVERIFY(!owner_.isEnabled());
        QVERIFY(bar->isEnabled());
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 0);
        bool ranBetweenSteps = false;
        QTimer::singleShot(0, [&ranBetweenSteps] { ranBetweenSteps = true; });
        progress.step(42);
        QVERIFY(ranBetweenSteps); // pending events are handled at each step
        QCOMPARE(bar->value(), 42);
        progress.end();
        QVERIFY(!progress.isVisible());
        QVERIFY(owner_.isEnabled());

        // A run shows the box from its first report to its end.
        {
            ProgressRun run(progress);
            QVERIFY(!progress.isVisible());
            run.callback()(7);
            QVERIFY(progress.isVisible() && !owner_.isEnabled());
            QCOMPARE(bar->value(), 7);
        }
        QVERIFY(!progress.isVisible() && owner_.isEnabled());
    }

  private:
    QWidget owner_;
};

QTEST_MAIN(EditDialogsTest)
#include "edit_dialogs_qtest.moc"
