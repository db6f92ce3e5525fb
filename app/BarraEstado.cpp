#include "BarraEstado.h"

#include "EnVista.h"
#include "trMesh.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// A label that asks the status bar for at most `ancho` pixels, however long its text, and draws
// what does not fit as "...", the whole text in its tooltip. A plain label asks for its whole
// text: a long line widened the window, never to give the width back, and the window remembered
// the wider size from run to run.
class EtiquetaRecortada : public QLabel {
  public:
    EtiquetaRecortada(int ancho, QWidget* padre) : QLabel(padre), ancho_(ancho) {}

    QSize sizeHint() const override {
        const QSize s = QLabel::sizeHint();
        return {std::min(s.width(), ancho_), s.height()};
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pintor(this);
        const QRect r = contentsRect();
        pintor.drawText(r, int(alignment()), Visible(r.width()));
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
            if (Visible(contentsRect().width()) != text())
                QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
            else
                QToolTip::hideText();
            return true;
        }
        return QLabel::event(e);
    }

  private:
    QString Visible(int ancho) const {
        return fontMetrics().elidedText(text(), Qt::ElideRight, ancho);
    }
    int ancho_;
};

// What the level's label may take: a long file name is cut, not the window widened.
constexpr int ANCHO_NIVEL = 320;

} // namespace

BarraEstado::BarraEstado(QWidget* padre) : QStatusBar(padre) {
    setObjectName("BarraEstado");
    // It takes what the others leave.
    vista_ = new EtiquetaRecortada(0, this);
    vista_->setObjectName("EstadoVista");
    nivel_ = new EtiquetaRecortada(ANCHO_NIVEL, this);
    nivel_->setObjectName("EstadoNivel");
    cuadros_ = new QLabel(this);
    cuadros_->setObjectName("EstadoCuadros");
    addWidget(vista_, 1);
    addPermanentWidget(nivel_);
    addPermanentWidget(cuadros_);
}

void BarraEstado::SetVista(const EnVista* vista, const trNivel& nivel, int32_t numPaginas) {
    if (!vista) {
        QuitarVista();
        return;
    }
    const RecuentoVista r = Contar(*vista, nivel, numPaginas);
    QStringList paginas;
    for (int32_t p : r.Paginas)
        paginas << QString::number(p);
    const QString enPaginas = paginas.isEmpty() ? tr("ninguna") : paginas.join(", ");
    QString texto;
    if (vista->Clase == Elegido::Mesh) {
        const trMesh* m = vista->Meshes.empty() ? nullptr : vista->Meshes.front();
        texto = tr("Mesh %1: %2 vértices, %3 rectángulos, %4 triángulos, %5 con textura, radio %6, "
                   "páginas %7")
                    .arg(vista->Indice)
                    .arg(r.Vertices)
                    .arg(r.Rectangulos)
                    .arg(r.Triangulos)
                    .arg(r.Texturizadas)
                    .arg(m ? m->Radio : 0)
                    .arg(enPaginas);
        if (!vista->Objetos.empty()) {
            QStringList ids;
            for (int32_t id : vista->Objetos)
                ids << QString::number(id);
            texto += tr("; la usan los objetos %1").arg(ids.join(", "));
        }
    } else {
        const QString quien = vista->Clase == Elegido::Movible
                                  ? tr("Movible %1").arg(vista->Indice)
                                  : tr("Estático %1").arg(vista->Indice);
        texto = tr("%1: %2 meshes, %3 caras, %4 con textura, radio %5, páginas %6")
                    .arg(quien)
                    .arg(vista->Meshes.size())
                    .arg(r.Rectangulos + r.Triangulos)
                    .arg(r.Texturizadas)
                    .arg(std::lround(vista->Limite.Radio))
                    .arg(enPaginas);
    }
    vista_->setText(texto);
}

void BarraEstado::SetNivelCompleto(const EscenaNivel::Cuentas& c, const OpcionesNivel& o,
                                   int32_t cuarto) {
    QStringList partes;
    partes << tr("Nivel: %1 cuartos, %2 vértices, %3 rectángulos, %4 triángulos")
                  .arg(c.Cuartos)
                  .arg(c.Vertices)
                  .arg(c.Rectangulos)
                  .arg(c.Triangulos);
    // Placements naming an object or room the level lacks are left out and counted, so a damaged
    // level says how much of it is missing.
    partes << (o.Estaticos ? tr("estáticos: %1 colocados, %2 omitidos")
                                 .arg(c.EstaticosColocados)
                                 .arg(c.EstaticosOmitidos)
                           : tr("estáticos ocultos"));
    partes
        << (o.Items
                ? tr("items: %1 colocados, %2 omitidos").arg(c.ItemsColocados).arg(c.ItemsOmitidos)
                : tr("items ocultos"));
    if (o.Alternos)
        partes << tr("salas alternas");
    else if (o.GrupoAlterno >= 0)
        partes << tr("salas alternas del grupo %1").arg(o.GrupoAlterno);
    if (o.AguaTenida)
        partes << tr("agua teñida");
    if (cuarto >= 0)
        partes << tr("cuarto %1").arg(cuarto);
    vista_->setText(partes.join("; "));
}

void BarraEstado::QuitarVista() {
    vista_->clear();
}

void BarraEstado::SetNivel(const QString& ruta, qint64 bytes, int juego) {
    if (ruta.isEmpty()) {
        nivel_->clear();
        return;
    }
    nivel_->setText(tr("%1, Tomb Raider %2, %3 KiB")
                        .arg(QFileInfo(ruta).fileName())
                        .arg(juego)
                        .arg((bytes + 1023) / 1024));
    nivel_->setToolTip(ruta);
}

void BarraEstado::SetCuadros(double porSegundo) {
    if (porSegundo < 0)
        cuadros_->clear();
    else
        cuadros_->setText(tr("%1 cuadros/s").arg(std::lround(porSegundo)));
}

void BarraEstado::ContarCuadro(bool dibujado) {
    if (!dibujado) {
        if (contados_ >= 0)
            SetCuadros(-1);
        contados_ = -1;
        return;
    }
    if (contados_ < 0) {
        contados_ = 0;
        reloj_.start();
        return;
    }
    ++contados_;
    if (const qint64 ms = reloj_.elapsed(); ms >= 1000) {
        SetCuadros(contados_ * 1000.0 / double(ms));
        contados_ = 0;
        reloj_.start();
    }
}
