#pragma once
// An icon made of PNG images of known sizes, each read only when a pixmap is first
// wanted: building the icon at start-up costs no image decoding and no plugin lookup.

#include <QIconEngine>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QString>

namespace tavrel::ui::qt {

struct IconImage {
    QString path;
    QSize size;
};

class IconEngine : public QIconEngine {
public:
    explicit IconEngine(QList<IconImage> images);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    QList<IconImage> images_;
    QMap<QString, QPixmap> read_;                // by path
    QMap<std::pair<int, int>, QPixmap> scaled_;  // by size asked for
};

}  // namespace tavrel::ui::qt
