#include "ui/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QSpacerItem>
#include <QStyle>

namespace velmora::ui {
namespace {

void addButtons(QMessageBox& box, MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
}

int toAnswer(QMessageBox::StandardButton pressed, MessageButtons buttons) {
    switch (pressed) {
    case QMessageBox::Ok:
        return kButtonOk;
    case QMessageBox::Cancel:
        return kButtonCancel;
    case QMessageBox::Yes:
        return kButtonYes;
    case QMessageBox::No:
        return kButtonNo;
    default:
        // Closed without a button (window manager): the escape answer.
        switch (buttons) {
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            return kButtonCancel;
        case MessageButtons::YesNo:
            return kButtonNo;
        case MessageButtons::Ok:
            break;
        }
        return kButtonOk;
    }
}

// A window manager shortens a title that does not fit its title bar: the box is made wide
// enough for the whole caption beside the title bar's own buttons.
void keepCaptionWhole(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int titleButtons = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + titleButtons;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Plain:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QtMessageBox::QtMessageBox() {
    setMessageBoxSeam(this);
}

QtMessageBox::~QtMessageBox() {
    if (messageBoxSeam() == this) {
        setMessageBoxSeam(nullptr);
    }
}

int QtMessageBox::show(const MessageRequest& request) {
    QMessageBox box(toQtIcon(request.icon), QString::fromStdU16String(request.caption),
                    QString::fromStdU16String(request.text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    addButtons(box, request.buttons);
    keepCaptionWhole(box);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const auto pressed = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    return toAnswer(pressed, request.buttons);
}

} // namespace velmora::ui
