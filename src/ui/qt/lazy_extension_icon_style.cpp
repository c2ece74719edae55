#include "ui/qt/lazy_extension_icon_style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <functional>
#include <optional>

namespace velmora::ui {
namespace {

// An icon engine that makes the real icon the first time anything about it is asked.
class DeferredIconEngine : public QIconEngine {
  public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    // Asked when buttons are laid out; a style's arrow is never empty, so no need to make it.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("velmora-deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

  private:
    QIcon& icon() {
        if (!icon_) {
            icon_ = make_();
        }
        return *icon_;
    }

    std::function<QIcon()> make_;
    std::optional<QIcon> icon_;
};

bool isExtensionArrow(QStyle::StandardPixmap which) {
    return which == QStyle::SP_ToolBarHorizontalExtensionButton ||
           which == QStyle::SP_ToolBarVerticalExtensionButton;
}

} // namespace

LazyExtensionIconStyle::LazyExtensionIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon LazyExtensionIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                           const QWidget* widget) const {
    // Only a plain option can be kept (a copy of a derived one would lose its data).
    if (!isExtensionArrow(which) ||
        (option != nullptr && option->type != QStyleOption::SO_Default)) {
        return QProxyStyle::standardIcon(which, option, widget);
    }
    std::optional<QStyleOption> kept;
    if (option != nullptr) {
        kept = *option;
        kept->styleObject = nullptr; // may be gone by the time the icon is made
    }
    const QPointer<QStyle> base = baseStyle();
    const QPointer<const QWidget> asking = widget;
    return QIcon(new DeferredIconEngine([base, which, kept, asking] {
        return base ? base->standardIcon(which, kept ? &*kept : nullptr, asking.data()) : QIcon();
    }));
}

void installLazyExtensionIconStyle() {
    if (QStyle* base = QStyleFactory::create(QApplication::style()->name())) {
        QApplication::setStyle(new LazyExtensionIconStyle(base));
    }
}

} // namespace velmora::ui
