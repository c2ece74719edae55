#include "ui/qt/owner_sized_dialog.h"

#include "platform/screen.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace velmora::ui {
namespace {

// The main window the dialog belongs to, also through a dialog that owns it (the thumbnail view
// is opened from the open dialog).
QRect ownerArea(const QDialog& dialog) {
    if (const QWidget* owner = dialog.parentWidget()) {
        owner = owner->window();
        while (owner->parentWidget() != nullptr) {
            owner = owner->parentWidget()->window();
        }
        return owner->geometry();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

void place(QDialog& dialog, QSize desktopSize) {
    const QRect area = ownerArea(dialog);
    if (area.isEmpty()) {
        return;
    }
    if (platform::screenMetrics().handheld) {
        dialog.setGeometry(area);
        return;
    }
    const QSize size = dialog.sizeHint().expandedTo(desktopSize).boundedTo(area.size());
    dialog.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
}

// Places its dialog again as it is shown: the show event comes before the window is mapped, and
// after the layout has settled.
class PlacementOnShow : public QObject {
  public:
    PlacementOnShow(QDialog& dialog, QSize desktopSize)
        : QObject(&dialog), dialog_(dialog), desktopSize_(desktopSize) {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            place(dialog_, desktopSize_);
        }
        return false;
    }

  private:
    QDialog& dialog_;
    QSize desktopSize_;
};

} // namespace

void finishOwnerSizedDialog(QDialog& dialog, QBoxLayout& layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog] { dialog.done(1); });
    layout.addStretch(1);
    layout.addWidget(buttons);
    placeOverOwner(dialog);
}

void placeOverOwner(QDialog& dialog, QSize desktopSize) {
    place(dialog, desktopSize);
    new PlacementOnShow(dialog, desktopSize); // owned by the dialog
}

} // namespace velmora::ui
