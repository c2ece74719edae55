#include "ui/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>

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
        return buttons == MessageButtons::OkCancel ? kButtonCancel
               : buttons == MessageButtons::YesNo  ? kButtonNo
                                                   : kButtonOk;
    }
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
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const auto pressed = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    return toAnswer(pressed, request.buttons);
}

} // namespace velmora::ui
