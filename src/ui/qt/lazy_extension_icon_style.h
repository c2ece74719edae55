// LazyExtensionIconStyle: the application's style, except that the tool-bar extension arrows are
// handed out as icons made on first use. A tool bar asks for its arrow when it is built, but shows
// it only when its buttons do not fit; and the style's arrow is an image file whose format the
// toolkit finds by loading every image plugin installed, in front of the first frame. The arrow,
// once made, is the base style's own, so nothing on screen changes.
#pragma once

#include <QProxyStyle>

namespace velmora::ui {

class LazyExtensionIconStyle : public QProxyStyle {
  public:
    explicit LazyExtensionIconStyle(QStyle* base); // takes ownership of base

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Wraps the application's current style (the desktop's or the one asked for with -style).
void installLazyExtensionIconStyle();

} // namespace velmora::ui
