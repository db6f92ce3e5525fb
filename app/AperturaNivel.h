#pragma once
// The one road by which a level enters the window: the menu, the recent files, the command line
// and a drop. The file is read apart from what is open, so a refusal costs nothing but a message
// with the reader's reason. An accepted level replaces the old one in every part that points into
// it; the list and the tree list it, the window and the recent files name it, and it opens in the
// level view.
#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>

class ArbolObjetos;
class ArchivosRecientes;
class MenuVer;
class BarraEstado;
class BucleDibujo;
class MostradorNivel;
class PanelDisparadores;
class PanelPaginas;
class PanelSonidos;
class QLabel;
class QListWidget;
class QMimeData;
class QWidget;
class ReproductorSonido;
struct EstadoVentana;
struct NivelSubido;

class AperturaNivel {
    Q_DECLARE_TR_FUNCTIONS(AperturaNivel)

  public:
    // The parts that list or point into the level; the window owns them all.
    struct Partes {
        QWidget* Ventana;
        QLabel* Rotulo;
        QListWidget* Lista;
        ArbolObjetos* Arbol;
        PanelPaginas* Paginas;
        ReproductorSonido* Sonido;
        PanelSonidos* Sonidos;
        PanelDisparadores* Disparadores;
        BarraEstado* Barra;
        ArchivosRecientes* Recientes;
        MenuVer* Ver;
    };
    // `titulo` is the program's, which the window's title carries before the file's name.
    AperturaNivel(const Partes& partes, const QString& titulo, EstadoVentana& estado,
                  MostradorNivel& mostrador, BucleDibujo& bucle)
        : p_(partes), titulo_(titulo), estado_(estado), mostrador_(mostrador), bucle_(bucle) {}

    // `avisar` tells the user why a file was refused, or that the device took only part of it.
    bool Abrir(const QString& ruta, const std::function<void(const QString&)>& avisar);

    // The folder of the last level opened, where the file dialogs start.
    const QString& Carpeta() const { return carpeta_; }
    void SetCarpeta(const QString& carpeta) { carpeta_ = carpeta; }

  private:
    // Hands `nuevo` to every part in place of the level open.
    void Cambiar(std::unique_ptr<NivelSubido> nuevo);
    // The list of meshes, and the object tree that names in each mesh's tooltip the objects
    // that use it.
    void Listar();
    // The title and file path name the level open.
    void Nombrar(const QString& ruta);

    Partes p_;
    QString titulo_;
    EstadoVentana& estado_;
    MostradorNivel& mostrador_;
    BucleDibujo& bucle_;
    QString carpeta_;
};

// The first local level file among dropped data; empty when there is none.
QString ArchivoSoltado(const QMimeData* datos);
