#include "browse/qt/folder_chooser.h"
#include "platform/device_fs.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <functional>

using namespace velmora;
using browse::qt::FolderChoice;

namespace {

// Runs the chooser and, once it shows, hands its tree to script, then presses the named button.
FolderChoice runChooser(const std::function<void(QTreeWidget&)>& script, const char* button) {
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog->objectName() != QLatin1String("folderChooser")) {
            return;
        }
        if (auto* tree = dialog->findChild<QTreeWidget*>(QStringLiteral("folderTree"))) {
            script(*tree);
        }
        dialog->findChild<QPushButton*>(QLatin1String(button))->click();
    });
    return browse::qt::chooseFolder(nullptr);
}

QStringList childTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts << item->child(i)->text(0);
    }
    return texts;
}

QTreeWidgetItem* child(QTreeWidgetItem* item, const QString& text) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text) {
            return item->child(i);
        }
    }
    return nullptr;
}

// Expands the path of names below the root item and selects the last one; the root alone for
// an empty path.
void selectPath(QTreeWidget& tree, const QStringList& names) {
    QTreeWidgetItem* item = tree.topLevelItem(0);
    for (const QString& name : names) {
        item->setExpanded(true);
        item = child(item, name);
        QVERIFY(item != nullptr);
    }
    tree.setCurrentItem(item);
}

} // namespace

class FolderChooserTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        for (const char* folder : {"A/B", "A/a", "A/caf\xE9", "A2", "empty", "files"}) {
            std::filesystem::create_directories(dir_.path() / folder);
        }
        dir_.write("files/x.jpg", "x");
        platform::setDeviceRoot(dir_.path());
    }
    void cleanup() { platform::setDeviceRoot("/"); }

    void resultPathsFollowTheTree() {
        const FolderChoice root = runChooser([](QTreeWidget& t) { selectPath(t, {}); }, "okButton");
        QVERIFY(root.accepted);
        QCOMPARE(root.path, u"\\");
        const FolderChoice a = runChooser([](QTreeWidget& t) { selectPath(t, {"A"}); }, "okButton");
        QCOMPARE(a.path, u"\\A");
        const FolderChoice b = runChooser(
            [](QTreeWidget& t) {
                selectPath(t, {"A", "B"});
            },
            "okButton");
        QCOMPARE(b.path, u"\\A\\B");
        // A Latin-1 name shows a replacement mark; its path still reaches the folder.
        const FolderChoice latin = runChooser(
            [](QTreeWidget& t) {
                selectPath(t, {"A", QString::fromStdU16String(u"caf\uFFFD")});
            },
            "okButton");
        QCOMPARE(latin.path, u"\\A\\caf\xDCE9");
        QVERIFY(platform::isDirectory(latin.path));
    }

    void cancelAndNoSelectionGiveAnEmptyPath() {
        const FolderChoice cancelled =
            runChooser([](QTreeWidget& t) { selectPath(t, {"A"}); }, "cancelButton");
        QVERIFY(!cancelled.accepted);
        QVERIFY(cancelled.path.empty());
        const FolderChoice nothing = runChooser([](QTreeWidget&) {}, "okButton");
        QVERIFY(nothing.accepted);
        QVERIFY(nothing.path.empty());
    }

    void expandsLazilyAndForgetsOnCollapse() {
        runChooser(
            [this](QTreeWidget& tree) {
                QTreeWidgetItem* root = tree.topLevelItem(0);
                QCOMPARE(tree.topLevelItemCount(), 1);
                QCOMPARE(root->text(0), QStringLiteral("\\"));
                QCOMPARE(root->childCount(), 0);
                root->setExpanded(true);
                QCOMPARE(childTexts(root), QStringList({"A", "A2", "empty", "files"}));
                QTreeWidgetItem* a = child(root, "A");
                a->setExpanded(true);
                const QString latin = QString::fromStdU16String(u"caf\uFFFD");
                QCOMPARE(childTexts(a), QStringList({"B", "a", latin}));

                // A folder holding nothing loses its expand button; one holding files keeps it.
                QTreeWidgetItem* empty = child(root, "empty");
                QTreeWidgetItem* files = child(root, "files");
                empty->setExpanded(true);
                files->setExpanded(true);
                QCOMPARE(empty->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
                QCOMPARE(files->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
                QCOMPARE(files->childCount(), 0);

                a->setExpanded(false);
                QCOMPARE(a->childCount(), 0);
                std::filesystem::create_directories(dir_.path() / "A" / "C");
                a->setExpanded(true);
                QCOMPARE(childTexts(a), QStringList({"B", "C", "a", latin}));
            },
            "cancelButton");
    }

  private:
    test::TempDir dir_;
};

QTEST_MAIN(FolderChooserTest)
#include "folder_chooser_qtest.moc"
