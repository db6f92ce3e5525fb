#pragma once
// The dock of the level's texture pages: thumbnails of every page, the picked one large with the
// faces of what is on show outlined on it, and "Guardar como PNG" for that page. The texels are
// those the device is given, read in place from the open level.
#include "EnVista.h"

#include <QDockWidget>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class VistaPagina;
class PaginasNivel;
struct trNivel;

class PanelPaginas : public QDockWidget {
    Q_OBJECT

  public:
    explicit PanelPaginas(QWidget* padre = nullptr);

    // The pages of the open level; null for none. Both must outlive the dock's use of them: the
    // window hands null before it lets a level go.
    void SetNivel(const PaginasNivel* texturas, const trNivel* nivel);
    // Null when nothing is on show. The page shown moves to one it uses, when it uses any.
    void SetVista(const EnVista* vista);

    void MostrarPagina(int32_t pagina);
    int32_t Pagina() const { return pagina_; }
    // Page i as uploaded, alpha included; null outside the level's pages.
    QImage ImagenPagina(int32_t pagina) const;
    // Asks for a file and writes the page shown there as PNG; false when nothing was written.
    bool GuardarPagina();

    // The file to write; empty when cancelled. A file dialog unless replaced.
    std::function<QString(const QString& sugerido)> ElegirDestino;
    // Tells the user of a failure. A message box unless replaced.
    std::function<void(const QString& texto)> Avisar;

  private:
    void ActualizarPagina();

    QListWidget* miniaturas_;
    VistaPagina* vista_;
    QLabel* titulo_;
    QPushButton* guardar_;
    const PaginasNivel* texturas_ = nullptr;
    const trNivel* nivel_ = nullptr;
    std::optional<EnVista> enVista_;
    int32_t pagina_ = -1;
};
