#include "ui/qt/svg_icon.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

namespace {

// A picture with soft edges and two colours, so scaling and the generated modes show.
const char kWideSvg[] = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                        "<rect x='2' y='2' width='36' height='16' rx='5' fill='#2060c0'/>"
                        "<circle cx='12' cy='10' r='6' fill='#f0a020' opacity='0.7'/></svg>";
const char kSquareSvg[] = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
                          "<path d='M4 4 L20 12 L4 20 Z' fill='#108030' stroke='#000'"
                          " stroke-width='1.5'/></svg>";

QString writeFile(const velmora::test::TempDir& dir, const char* name, const char* text) {
    return QString::fromStdString(dir.write(name, text).string());
}

} // namespace

class SvgIconTest : public QObject {
    Q_OBJECT

  private slots:
    // Every size and mode looks as the toolkit's own SVG icon draws it.
    void drawsLikeTheToolkitsSvgIcons() {
        const velmora::test::TempDir dir;
        for (const char* text : {kWideSvg, kSquareSvg}) {
            const QString path = writeFile(dir, "picture.svg", text);
            const QIcon ours = velmora::ui::svgIcon(path);
            const QIcon toolkits(path);
            for (const QSize size : {QSize(16, 16), QSize(24, 24), QSize(48, 32), QSize(13, 40)}) {
                const QImage normal = ours.pixmap(size).toImage();
                QVERIFY(!normal.isNull());
                QVERIFY(ours.pixmap(size, QIcon::Disabled).toImage() != normal);
                for (const QIcon::Mode mode :
                     {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                    const QString where = QStringLiteral("%1x%2 mode %3")
                                              .arg(size.width())
                                              .arg(size.height())
                                              .arg(int(mode));
                    QCOMPARE(ours.actualSize(size, mode), toolkits.actualSize(size, mode));
                    QVERIFY2(ours.pixmap(size, mode).toImage() ==
                                 toolkits.pixmap(size, mode).toImage(),
                             qPrintable(where));
                }
            }
        }
    }

    // The file is read when the icon is first drawn, and only then.
    void readsTheFileOnceWhenFirstDrawn() {
        const velmora::test::TempDir dir;
        const QString path = QString::fromStdString((dir.path() / "late.svg").string());
        const QIcon icon = velmora::ui::svgIcon(path);
        writeFile(dir, "late.svg", kSquareSvg);
        const QImage first = icon.pixmap(QSize(24, 24)).toImage();
        QVERIFY(!first.isNull());
        QVERIFY(QFile::remove(path));
        QVERIFY(!icon.pixmap(QSize(32, 32), QIcon::Disabled).isNull());
        QCOMPARE(icon.pixmap(QSize(24, 24)).toImage(), first);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SvgIconTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "svg_icon_qtest.moc"
