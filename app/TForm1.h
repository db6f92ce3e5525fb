#pragma once
// The viewer's main window: a render panel, the list of the open level's meshes, the render mode,
// the object tree, the animation bar, the menu, the status bar and the docks that describe what is
// on show. The form creates them and wires them to the parts that do the work: the frames
// (BucleDibujo), what is shown (MostradorNivel), opening (AperturaNivel), the export
// (ExportacionVista) and a click on the panel (ClicEnPanel), over the open level and what of it is
// on show (EstadoVentana).
#include "ControlesVista.h"
#include "DisposicionCliente.h"
#include "EstadoVentana.h"
#include "PanelDetalles.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AperturaNivel;
class ArchivosRecientes;
class BarraEstado;
class BucleDibujo;
class ClicEnPanel;
class ExportacionVista;
class MenuApariencia;
class MenuVer;
class MostradorNivel;
class PanelDisparadores;
class PanelPaginas;
class PanelSonidos;
class ReproductorSonido;
class SitioDocks;
class QAction;
class QMenu;
class QTimer;
class dxDevice8;

// The controls, laid out as designed, are the window's own by the names it has always given them.
class TForm1 : public QMainWindow, public DisposicionCliente {
    Q_OBJECT

  public:
    explicit TForm1(QWidget* padre = nullptr);
    ~TForm1() override;

    void FormCreate();
    void FormPaint();
    void ListBox1Click();
    void Abrir1Click();
    // Archivo -> Exportar: what is on show, as glTF, where the user says.
    void Exportar1Click();
    void Salir1Click();
    // Picking an entry of the object tree: the whole object, assembled and framed, turns.
    void TreeView1Click();
    void Acerca2Click();

    // Ver -> Nivel completo: picks the tree's "Nivel", the whole level framed from above.
    void NivelCompleto1Click();

    // Writes what the window remembers: size, place, docks, recent files, folder, options.
    void GuardarAjustes() const;
    // The last opened first.
    QStringList Recientes() const;

    // The one road by which a level enters: the menu, the command line and a drop. On failure the
    // user is told why and everything stays as it was.
    bool AbrirArchivo(const QString& ruta);

    // The file the user picks; empty when cancelled. A file dialog unless replaced.
    std::function<QString()> ElegirArchivo;
    // Where an export goes (.glb or .gltf), offered `sugerido`; empty when cancelled. A save
    // dialog unless replaced.
    std::function<QString(const QString& sugerido)> ElegirDestino;
    // Writes what is on show to `ruta` as glTF; what is open and on show stays as it was. On
    // failure the user is told why.
    bool ExportarA(const QString& ruta);
    // Tells the user of a failure. A message box unless replaced.
    std::function<void(const QString& texto)> Avisar;

    // What the window is called before a level is open, and what message boxes are called.
    static QString TituloPrograma();

    // The window-wide state, for those who drive the window.
    dxDevice8* Dispositivo() const;
    const NivelSubido* Nivel() const { return estado_.Nivel.get(); }
    dxBufferTextura* Seleccionado() const { return estado_.Seleccionado; }
    float Angulo() const { return Camara().Angulo(); }
    // The camera of a mesh's or an object's view, and of the "Nivel" view.
    const Navegacion& Camara() const { return controles_->Camara(); }
    const CamaraVuelo& Vuelo() const { return controles_->Vuelo(); }
    // What the "Nivel" view draws, from Ver's toggles and the render mode.
    OpcionesNivel Opciones() const;

    // What the panel shows: a mesh of the list or an object of the tree; null when nothing is.
    const EnVista* Mostrado() const { return estado_.Vista.Mostrado(); }

    // A click on the panel at (x, y) (its own pixels): picks what is under it, outlines it and
    // describes it in the details dock. True when something was met.
    bool ElegirEn(float x, float y);
    PanelDetalles* Detalles() const { return detalles_; }
    // A link of the details dock followed, as a click on it does.
    void SeguirDestino(const PanelDetalles::Destino& destino);
    PanelDisparadores* Disparadores() const { return disparadores_; }
    MenuApariencia* Apariencia() const;

    // The menu's and the timer's, by the names the window has always given them.
    QTimer* Timer1;
    QMenu* Archivo1;
    QAction* Abrir1;
    QAction* Exportar1; // disabled while nothing is on show
    QAction* N1;
    QAction* Salir1;
    QMenu* Acerca1;
    QAction* Acerca2;

  protected:
    void paintEvent(QPaintEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void dragEnterEvent(QDragEnterEvent* evento) override;
    void dropEvent(QDropEvent* evento) override;

  private:
    void CrearControles();
    void CrearDocks();
    void CrearMenu();
    void CrearMenuVer();
    // The parts that do the window's work, once every widget they use stands.
    void CrearTrabajo();
    void AbrirReciente(const QString& ruta);
    void LeerAjustes();

    // Destroyed bottom-up: the level's buffers and pages, then the device with its start-up
    // texture; the panel they all live on goes last, with the widgets.
    std::unique_ptr<BucleDibujo> bucle_;
    EstadoVentana estado_;
    std::unique_ptr<MostradorNivel> mostrador_;
    std::unique_ptr<AperturaNivel> apertura_;
    std::unique_ptr<ExportacionVista> exportacion_;
    std::unique_ptr<ClicEnPanel> clic_;
    ControlesVista* controles_ = nullptr;

    BarraEstado* barra_ = nullptr;
    PanelPaginas* paginas_ = nullptr;
    ReproductorSonido* sonido_ = nullptr;
    PanelSonidos* sonidos_ = nullptr;
    PanelDetalles* detalles_ = nullptr;
    PanelDisparadores* disparadores_ = nullptr;
    MenuVer* ver_ = nullptr;
    ArchivosRecientes* recientes_ = nullptr;
    SitioDocks* docks_ = nullptr;

    // Why the panel cannot draw; told once the window is up.
    QString sinDispositivo_;
};
