#include "ui/qt/svg_icon.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <memory>

namespace velmora::ui {
namespace {

class SvgIconEngine : public QIconEngine {
  public:
    explicit SvgIconEngine(QString path) : picture_(std::make_shared<Picture>(std::move(path))) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return picture_->pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QPixmap drawn = pixmap(size, mode, state);
        return drawn.isNull() ? QSize() : drawn.size();
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        QSize size = rect.size();
        if (painter->device() != nullptr) {
            size *= painter->device()->devicePixelRatio();
        }
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }
    QString key() const override { return QStringLiteral("velmora-svg"); }
    // Copies share the parsed picture and the pixmaps already drawn.
    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

  private:
    class Picture {
      public:
        explicit Picture(QString path) : path_(std::move(path)) {}

        QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
            const quint64 key =
                (quint64(quint32(size.width())) << 32 | quint32(size.height())) * 16 +
                quint64(mode) * 2 + quint64(state);
            if (const auto found = drawn_.constFind(key); found != drawn_.cend()) {
                return *found;
            }
            QPixmap result = draw(size, mode);
            if (!result.isNull()) {
                drawn_.insert(key, result);
            }
            return result;
        }

      private:
        QPixmap draw(const QSize& size, QIcon::Mode mode) {
            if (!renderer_) {
                renderer_ = std::make_unique<QSvgRenderer>(path_);
            }
            if (!renderer_->isValid()) {
                return {};
            }
            QSize fitted = renderer_->defaultSize();
            if (!fitted.isNull()) {
                fitted.scale(size, Qt::KeepAspectRatio);
            }
            if (fitted.isEmpty()) {
                return {};
            }
            QImage image(fitted, QImage::Format_ARGB32_Premultiplied);
            image.fill(0);
            QPainter painter(&image);
            renderer_->render(&painter);
            painter.end();
            QPixmap normal = QPixmap::fromImage(image);
            if (mode == QIcon::Normal) {
                return normal;
            }
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            const QPixmap generated =
                QApplication::style()->generatedIconPixmap(mode, normal, &option);
            return generated.isNull() ? normal : generated;
        }

        QString path_;
        std::unique_ptr<QSvgRenderer> renderer_;
        QHash<quint64, QPixmap> drawn_;
    };

    std::shared_ptr<Picture> picture_;
};

} // namespace

QIcon svgIcon(const QString& path) {
    return QIcon(new SvgIconEngine(path));
}

} // namespace velmora::ui
