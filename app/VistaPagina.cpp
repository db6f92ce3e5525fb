#include "VistaPagina.h"

#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

VistaPagina::VistaPagina(QWidget* padre) : QWidget(padre) {
    setObjectName("VistaPagina");
    resize(sizeHint());
}

void VistaPagina::SetPagina(const QImage& imagen, std::vector<QPolygonF> contornos) {
    imagen_ = imagen;
    contornos_ = std::move(contornos);
    update();
}

void VistaPagina::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, ZOOM_MAXIMO);
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize VistaPagina::sizeHint() const {
    return {256 * zoom_, 256 * zoom_};
}

void VistaPagina::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    if (imagen_.isNull())
        return;
    // No smoothing: each texel a square of zoom x zoom pixels, as a level builder counts them.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(0, 0, imagen_.width() * zoom_, imagen_.height() * zoom_), imagen_);
    // A dark edge under a bright line, so that outlines show on any texel.
    p.scale(zoom_, zoom_);
    QPen borde(QColor(0, 0, 0, 200), 3);
    borde.setCosmetic(true);
    QPen linea(QColor(255, 40, 200), 1);
    linea.setCosmetic(true);
    p.setBrush(Qt::NoBrush);
    for (const QPolygonF& c : contornos_) {
        p.setPen(borde);
        p.drawPolygon(c);
        p.setPen(linea);
        p.drawPolygon(c);
    }
}

void VistaPagina::wheelEvent(QWheelEvent* evento) {
    const int pasos = evento->angleDelta().y() / 120;
    if (pasos == 0) {
        evento->ignore();
        return;
    }
    SetZoom(zoom_ + pasos);
    evento->accept();
}
