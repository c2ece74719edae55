#include "platform/screen.h"
#include "ui/message_box.h"
#include "ui/qt/qt_message_box.h"
#include "ui/qt/qt_translations.h"
#include "ui/string_table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

using namespace velmora::ui;

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* owner = nullptr;
};

// Waits for the modal box, records what it shows and presses the given button (NoButton closes
// it without one, as a window manager would).
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->parentWidget()};
        if (press == QMessageBox::NoButton) {
            box->reject();
        } else {
            box->button(press)->click();
        }
    });
}

} // namespace

class QtMessageBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<QWidget>();
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        setBeforeMessageHook(nullptr);
    }

    void showsTheFourOperationsWithTheirLooks_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("error") << 0 << "ERROR" << int(QMessageBox::Critical) << int(QMessageBox::Ok)
                               << int(QMessageBox::Ok) << kButtonOk;
        QTest::newRow("info") << 1 << "Infomation" << int(QMessageBox::Information)
                              << int(QMessageBox::Ok) << int(QMessageBox::Ok) << kButtonOk;
        QTest::newRow("ok/cancel: cancel") << 2 << "QUESTION" << int(QMessageBox::Question)
                                           << int(QMessageBox::Ok | QMessageBox::Cancel)
                                           << int(QMessageBox::Cancel) << kButtonCancel;
        QTest::newRow("yes/no: yes")
            << 3 << "QUESTION" << int(QMessageBox::Question)
            << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes) << kButtonYes;
        QTest::newRow("yes/no: no")
            << 3 << "QUESTION" << int(QMessageBox::Question)
            << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No) << kButtonNo;
        QTest::newRow("yes/no: closed")
            << 3 << "QUESTION" << int(QMessageBox::Question)
            << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::NoButton) << kButtonNo;
        const int yesNoCancel = int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QTest::newRow("yes/no/cancel: no") << 4 << "QUESTION" << int(QMessageBox::Question)
                                           << yesNoCancel << int(QMessageBox::No) << kButtonNo;
        QTest::newRow("yes/no/cancel: closed")
            << 4 << "QUESTION" << int(QMessageBox::Question) << yesNoCancel
            << int(QMessageBox::NoButton) << kButtonCancel;
    }
    void showsTheFourOperationsWithTheirLooks() {
        QFETCH(int, operation);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, press);
        QFETCH(int, answer);
        const std::function<int(StringId)> operations[] = {showError, showInfo, askOkCancel,
                                                           askYesNo, askYesNoCancel};

        QtMessageBox seam;
        SeenBox seen;
        answerNextBox(seen, QMessageBox::StandardButton(press));
        QCOMPARE(operations[operation](str::kOverwrite), answer);

        QCOMPARE(seen.caption, caption);
        QCOMPARE(seen.text, QString::fromStdU16String(loadResourceString(str::kOverwrite)));
        QCOMPARE(int(seen.icon), icon);
        QCOMPARE(int(seen.buttons), buttons);
        QCOMPARE(seen.owner, window_.get());
    }

    void composedBoxUsesTheExclamationIcon() {
        QtMessageBox seam;
        SeenBox seen;
        answerNextBox(seen, QMessageBox::Ok);
        const int pressed = showMessage(
            {u"読込失敗:\na.jpg", u"Image Load Failed.", MessageIcon::Warning, MessageButtons::Ok});
        QCOMPARE(pressed, kButtonOk);
        QCOMPARE(seen.caption, QStringLiteral("Image Load Failed."));
        QCOMPARE(seen.text, QStringLiteral("読込失敗:\na.jpg"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
    }

    void hookRunsBeforeTheBoxAppears() {
        QtMessageBox seam;
        bool boxWasOpenAtHook = true;
        setBeforeMessageHook(
            [&] { boxWasOpenAtHook = QApplication::activeModalWidget() != nullptr; });
        SeenBox seen;
        answerNextBox(seen, QMessageBox::Ok);
        showError(str::kOperationFailed);
        QVERIFY(!boxWasOpenAtHook);
        QCOMPARE(seen.caption, QStringLiteral("ERROR"));
    }

    void seamIsRemovedWithItsObject() {
        {
            QtMessageBox seam;
            QCOMPARE(messageBoxSeam(), static_cast<MessageBoxSeam*>(&seam));
        }
        QCOMPARE(messageBoxSeam(), nullptr);
    }

    // Last: it installs Qt's Japanese texts for the rest of the program.
    void buttonsSpeakJapaneseAndTheCaptionIsNeverCut() {
        QVERIFY(installQtTranslations(*QCoreApplication::instance()));
        velmora::platform::ScreenMetrics desktop; // a desktop's screen, not the handheld's
        desktop.handheld = false;
        velmora::platform::setScreenMetrics(desktop);
        QtMessageBox seam;
        QStringList texts;
        int spareWidth = -1;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QMessageBox::StandardButton button :
                 {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel}) {
                if (QAbstractButton* shown = box->button(button)) {
                    texts.append(shown->text().remove(QStringLiteral("&")));
                }
            }
            spareWidth = box->width() - box->fontMetrics().horizontalAdvance(box->windowTitle());
            box->button(QMessageBox::No)->click();
        });
        const int pressed =
            showMessage({u"読込失敗:\na.jpg", u"A rather long caption of a load failure",
                         MessageIcon::Warning, MessageButtons::YesNo});
        QCOMPARE(pressed, kButtonNo);
        QCOMPARE(texts, (QStringList{QStringLiteral("はい(Y)"), QStringLiteral("いいえ(N)")}));
        velmora::platform::setScreenMetrics({});
        QVERIFY2(spareWidth >= 100, // room for the title bar's own buttons
                 qPrintable(QString::number(spareWidth)));
    }

  private:
    std::unique_ptr<QWidget> window_;
};

QTEST_MAIN(QtMessageBoxTest)
#include "qt_message_box_qtest.moc"
