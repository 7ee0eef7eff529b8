// The icon engine that reads the executable's icon images only when first drawn.
#include "platform/qt/QtIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace tavrel::ui::qt {

IconEngine::IconEngine(QList<IconImage> images) : images_(std::move(images)) {}

QSize IconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    // Images are scaled down, never up.
    int largest = 0;
    for (const IconImage& image : images_) {
        largest = std::max(largest, std::max(image.size.width(), image.size.height()));
    }
    return size.boundedTo(QSize(largest, largest));
}

QList<QSize> IconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (const IconImage& image : images_) {
        sizes.append(image.size);
    }
    return sizes;
}

QPixmap IconEngine::pixmap(const QSize& wanted, QIcon::Mode mode, QIcon::State) {
    const QSize size = actualSize(wanted, mode, QIcon::Off);
    if (size.isEmpty() || images_.isEmpty()) {
        return {};
    }
    const auto key = std::make_pair(size.width(), size.height());
    auto cached = scaled_.find(key);
    if (cached == scaled_.end()) {
        // The smallest image at least as large as asked for, or else the largest.
        const IconImage* best = nullptr;
        for (const IconImage& image : images_) {
            const bool fits =
                image.size.width() >= size.width() && image.size.height() >= size.height();
            const bool bestFits = best != nullptr && best->size.width() >= size.width() &&
                                  best->size.height() >= size.height();
            if (best == nullptr ||
                (fits && (!bestFits || image.size.width() < best->size.width())) ||
                (!fits && !bestFits && image.size.width() > best->size.width())) {
                best = &image;
            }
        }
        QPixmap& source = read_[best->path];
        if (source.isNull()) {
            source.load(best->path);
        }
        QPixmap pixmap = source.size() == size
                             ? source
                             : source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        cached = scaled_.insert(key, pixmap);
    }
    if (mode == QIcon::Disabled && qApp != nullptr) {
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, *cached, &option);
    }
    return *cached;
}

void IconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap image = pixmap(rect.size() * ratio, mode, state);
    image.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, image);
}

QIconEngine* IconEngine::clone() const {
    return new IconEngine(images_);
}

QString IconEngine::key() const {
    return QStringLiteral("tavrel-png");
}

}  // namespace tavrel::ui::qt
