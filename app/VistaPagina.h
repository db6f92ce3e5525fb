#pragma once
// One texture page drawn large: whole texels (nearest sampling) at a whole-number zoom, with the
// faces of what is on show outlined where they take their texels. The wheel zooms.
#include <QImage>
#include <QPolygonF>
#include <QWidget>

#include <vector>

class VistaPagina : public QWidget {
  public:
    static constexpr int ZOOM_MAXIMO = 16;

    explicit VistaPagina(QWidget* padre = nullptr);

    // A null image shows nothing. Outlines are in texels.
    void SetPagina(const QImage& imagen, std::vector<QPolygonF> contornos);
    const QImage& Imagen() const { return imagen_; }
    int NumContornos() const { return int(contornos_.size()); }
    // 1 to ZOOM_MAXIMO.
    void SetZoom(int zoom);
    int Zoom() const { return zoom_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* evento) override;
    void wheelEvent(QWheelEvent* evento) override;

  private:
    QImage imagen_;
    std::vector<QPolygonF> contornos_;
    int zoom_ = 2;
};
