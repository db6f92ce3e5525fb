#include "PanelPaginas.h"

#include "EscrituraAtomica.h"
#include "PaginasPNG.h"
#include "VistaPagina.h"
#include "PaginasNivel.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int LADO = 256;
constexpr int LADO_MINIATURA = 64;

// The large page's area asks for one page's width, not Qt's default of three dozen letters: the
// dock took half the window and squeezed the 3D panel to a third of its width.
class AreaPagina : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int borde = 2 * frameWidth();
        return {LADO + borde + verticalScrollBar()->sizeHint().width(), LADO + borde};
    }
};
} // namespace

PanelPaginas::PanelPaginas(QWidget* padre) : QDockWidget(tr("Páginas de textura"), padre) {
    setObjectName("PanelPaginas");

    auto* contenido = new QWidget(this);
    auto* columna = new QVBoxLayout(contenido);
    auto* division = new QSplitter(Qt::Vertical, contenido);

    miniaturas_ = new QListWidget(division);
    miniaturas_->setObjectName("MiniaturasPaginas");
    miniaturas_->setViewMode(QListView::IconMode);
    miniaturas_->setIconSize(QSize(LADO_MINIATURA, LADO_MINIATURA));
    miniaturas_->setResizeMode(QListView::Adjust);
    miniaturas_->setMovement(QListView::Static);
    miniaturas_->setUniformItemSizes(true);
    connect(miniaturas_, &QListWidget::currentRowChanged, this, &PanelPaginas::MostrarPagina);

    auto* grande = new QWidget(division);
    auto* columnaGrande = new QVBoxLayout(grande);
    columnaGrande->setContentsMargins(0, 0, 0, 0);
    titulo_ = new QLabel(grande);
    titulo_->setObjectName("TituloPagina");
    auto* desplazable = new AreaPagina(grande);
    vista_ = new VistaPagina;
    desplazable->setWidget(vista_);
    guardar_ = new QPushButton(tr("Guardar como PNG"), grande);
    guardar_->setObjectName("GuardarPagina");
    connect(guardar_, &QPushButton::clicked, this, &PanelPaginas::GuardarPagina);
    columnaGrande->addWidget(titulo_);
    columnaGrande->addWidget(desplazable, 1);
    columnaGrande->addWidget(guardar_);
    division->addWidget(miniaturas_);
    division->addWidget(grande);
    division->setStretchFactor(1, 3);
    columna->addWidget(division);
    setWidget(contenido);

    ElegirDestino = [this](const QString& sugerido) {
        return QFileDialog::getSaveFileName(this, tr("Guardar la página como PNG"), sugerido,
                                            tr("Imagen PNG (*.png)"));
    };
    Avisar = [this](const QString& texto) { QMessageBox::warning(this, windowTitle(), texto); };
    ActualizarPagina();
}

void PanelPaginas::SetNivel(const PaginasNivel* texturas, const trNivel* nivel) {
    texturas_ = texturas;
    nivel_ = nivel;
    enVista_.reset();
    pagina_ = -1;
    const QSignalBlocker silencio(miniaturas_);
    miniaturas_->clear();
    const int32_t cuantas = texturas_ ? texturas_->NumPaginas() : 0;
    for (int32_t i = 0; i < cuantas; ++i) {
        const QImage miniatura = ImagenPagina(i)
                                     .convertToFormat(QImage::Format_RGB32)
                                     .scaled(LADO_MINIATURA, LADO_MINIATURA, Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation);
        new QListWidgetItem(QIcon(QPixmap::fromImage(miniatura)), QString::number(i), miniaturas_);
    }
    if (cuantas > 0) {
        pagina_ = 0;
        miniaturas_->setCurrentRow(0);
    }
    ActualizarPagina();
}

void PanelPaginas::SetVista(const EnVista* vista) {
    if (vista)
        enVista_ = *vista;
    else
        enVista_.reset();
    if (enVista_ && nivel_ && texturas_) {
        const RecuentoVista r = Contar(*enVista_, *nivel_, texturas_->NumPaginas());
        if (!r.Paginas.empty() &&
            !std::binary_search(r.Paginas.begin(), r.Paginas.end(), pagina_)) {
            MostrarPagina(r.Paginas.front());
            return;
        }
    }
    ActualizarPagina();
}

void PanelPaginas::MostrarPagina(int32_t pagina) {
    if (!texturas_ || pagina < 0 || pagina >= texturas_->NumPaginas())
        return;
    pagina_ = pagina;
    if (miniaturas_->currentRow() != pagina) {
        const QSignalBlocker silencio(miniaturas_);
        miniaturas_->setCurrentRow(pagina);
    }
    ActualizarPagina();
}

QImage PanelPaginas::ImagenPagina(int32_t pagina) const {
    const uint8_t* texels = texturas_ ? texturas_->GetTexels(pagina) : nullptr;
    if (!texels)
        return {};
    // A8R8G8B8 in memory is B, G, R, A: Qt's ARGB32 on this little-endian host, read in place.
    return QImage(texels, LADO, LADO, LADO * 4, QImage::Format_ARGB32);
}

void PanelPaginas::ActualizarPagina() {
    const QImage imagen = ImagenPagina(pagina_);
    std::vector<QPolygonF> contornos;
    if (!imagen.isNull() && enVista_ && nivel_)
        for (const Contorno& c : ContornosEnPagina(*enVista_, *nivel_, pagina_)) {
            QPolygonF poligono;
            for (int k = 0; k < c.Esquinas; ++k)
                poligono << QPointF(c.X[k], c.Y[k]);
            contornos.push_back(poligono);
        }
    // Drawn as the panel draws it: without alpha.
    vista_->SetPagina(imagen.isNull() ? QImage() : imagen.convertToFormat(QImage::Format_RGB32),
                      std::move(contornos));
    titulo_->setText(imagen.isNull() ? QString() : tr("Página %1").arg(pagina_));
    guardar_->setEnabled(!imagen.isNull());
}

bool PanelPaginas::GuardarPagina() {
    const uint8_t* texels = texturas_ ? texturas_->GetTexels(pagina_) : nullptr;
    if (!texels || !ElegirDestino)
        return false;
    const QString ruta = ElegirDestino(tr("pagina-%1.png").arg(pagina_));
    if (ruta.isEmpty())
        return false;
    // The encoder `tr4tool pages` uses, so both give the same file; written whole or not at all,
    // so a failed save never leaves half a picture where one stood.
    const std::vector<uint8_t> png = PaginaPNG(texels);
    if (png.empty() || !EscribirAtomico(QFile::encodeName(ruta).toStdString(), png)) {
        if (Avisar)
            Avisar(tr("No se pudo escribir \"%1\".").arg(QDir::toNativeSeparators(ruta)));
        return false;
    }
    return true;
}
