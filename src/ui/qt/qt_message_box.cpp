#include "ui/qt/qt_message_box.h"

#include "platform/screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace velmora::ui {
namespace {

// Left for a window manager's frame beside a box, in interface units.
constexpr int kFrameAllowance = 16;
constexpr char16_t kZeroWidthSpace = 0x200B;

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
// enough for the whole caption beside the title bar's own buttons, as far as the screen allows.
void keepCaptionWhole(QMessageBox& box, int widest) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int titleButtons = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + titleButtons;
    grid->addItem(
        new QSpacerItem(std::min(width, widest), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
        grid->rowCount(), 0, 1, grid->columnCount());
}

// The widest box the screen holds, in interface units, with room left for the window frame: the
// emulated handheld's screen, or the desktop's.
int widestBox() {
    const platform::ScreenMetrics screen = platform::screenMetrics();
    if (screen.handheld) {
        return screen.width * 96 / std::max(screen.dpiX, 1) - kFrameAllowance;
    }
    const QScreen* desktop = QGuiApplication::primaryScreen();
    return desktop != nullptr ? desktop->availableGeometry().width() - kFrameAllowance
                              : QWIDGETSIZE_MAX;
}

// Lets a run of text that has no line break of its own and is wider than half the box (a long
// file name) break anywhere: zero-width spaces between its characters. The text looks the same;
// Japanese text, which breaks between its characters anyway, is left as it is.
QString breakableText(const QString& text, int widest) {
    if (widest == QWIDGETSIZE_MAX) {
        return text;
    }
    const QFontMetrics metrics(QApplication::font("QMessageBox"));
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    QString result;
    qsizetype start = 0;
    for (qsizetype end = breaks.toNextBoundary(); end > 0; end = breaks.toNextBoundary()) {
        const QString run = text.mid(start, end - start);
        if (metrics.horizontalAdvance(run) <= widest / 2) {
            result += run;
        } else {
            for (const QChar c : run) {
                result += c;
                result += QChar(kZeroWidthSpace);
            }
        }
        start = end;
    }
    return result;
}

// A box that is never wider than the screen: the toolkit sizes it for the desktop's screen, and
// cannot wrap a long file name; on a small emulated screen, or for a long name, its text is
// wrapped to the screen's width instead.
class FittedMessageBox : public QMessageBox {
  public:
    FittedMessageBox(const MessageRequest& request, int widest)
        : QMessageBox(toQtIcon(request.icon), QString::fromStdU16String(request.caption),
                      breakableText(QString::fromStdU16String(request.text), widest),
                      QMessageBox::NoButton, QApplication::activeWindow()),
          widest_(widest) {}

  protected:
    bool event(QEvent* event) override {
        const bool handled = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest) {
            fitToScreen();
        }
        return handled;
    }
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        fitToScreen();
    }

  private:
    void fitToScreen() {
        // Sized when shown, as the toolkit does.
        if (!isVisible() || width() <= widest_) {
            return;
        }
        if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            label->setWordWrap(true);
        }
        QLayout* grid = layout();
        grid->activate();
        const int height = grid->hasHeightForWidth() ? grid->totalHeightForWidth(widest_)
                                                     : grid->totalMinimumSize().height();
        setFixedSize(widest_, height);
        // The new wrap asks for another layout pass, which would undo it.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
        // Placed over its owner for its former size: centred again.
        if (const QWidget* owner = parentWidget()) {
            const QRect area = owner->window()->frameGeometry();
            move(area.x() + (area.width() - frameGeometry().width()) / 2,
                 area.y() + (area.height() - frameGeometry().height()) / 2);
        }
    }

    int widest_;
};

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
    const int widest = widestBox();
    FittedMessageBox box(request, widest);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    addButtons(box, request.buttons);
    keepCaptionWhole(box, widest);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const auto pressed = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    return toAnswer(pressed, request.buttons);
}

} // namespace velmora::ui
