#include "ui/qt/lazy_extension_icon_style.h"

#include <QApplication>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

// The base style, counting how often it is asked for the extension arrows.
class CountingStyle : public QProxyStyle {
  public:
    CountingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton) {
            ++asked;
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
    mutable int asked = 0;
};

} // namespace

class LazyExtensionIconStyleTest : public QObject {
    Q_OBJECT

  private slots:
    // A tool bar's arrow is made only when drawn, and is then the base style's own.
    void arrowIsMadeWhenDrawnAndLooksTheSame() {
        auto* counting = new CountingStyle;
        const QPixmap expected =
            counting->QProxyStyle::standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                .pixmap(16, 16);
        QApplication::setStyle(new velmora::ui::LazyExtensionIconStyle(counting));
        QToolBar bar;
        for (int i = 0; i < 12; ++i) {
            bar.addAction(QStringLiteral("Button %1").arg(i));
        }
        QCOMPARE(counting->asked, 0);

        bar.resize(80, 30); // too narrow: the arrow shows
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        auto* arrow = bar.findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        QVERIFY(arrow != nullptr);
        QTRY_VERIFY(arrow->isVisible());
        QCOMPARE(arrow->icon().pixmap(16, 16).toImage(), expected.toImage());
        QVERIFY(counting->asked >= 1);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    LazyExtensionIconStyleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "lazy_extension_icon_style_qtest.moc"
