#include "ui/qt/about_dialog.h"

#include "ui/qt/owner_sized_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora::ui {
namespace {

constexpr int kIconSide = 32;

QLabel* line(const char* objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setFixedSize(kIconSide, kIconSide);
    icon->setPixmap(QApplication::windowIcon().pixmap(kIconSide, kIconSide));

    auto* grid = new QGridLayout;
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(line("productLine", QStringLiteral("Velmora 画像ビューア"), this), 0, 1);
    grid->addWidget(line("versionLine", QLatin1String(kVersionText), this), 1, 1);
    grid->addWidget(line("makerLine", QStringLiteral("(C) Velmora developers"), this), 2, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    finishOwnerSizedDialog(*this, *layout);
}

int showAboutDialog(QWidget* parent) {
    AboutDialog dialog(parent);
    return dialog.exec();
}

} // namespace velmora::ui
