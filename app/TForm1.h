#pragma once
// The viewer's main window: a render panel, the list of the open level's meshes, the render mode
// and the menu. It owns the device and the open level; a 1 ms timer draws the picked mesh turning
// while the window is on screen. The form wires its parts: the camera moved on the panel
// (ControlesVista), the menu "Ver" (MenuVer), the object tree, the animation bar, the status bar
// and the docks of details and texture pages that describe what is on show.
#include "ControladorVista.h"
#include "ControlesVista.h"
#include "EnVista.h"
#include "Ensamblaje.h"
#include "NivelSubido.h"
#include "PanelDetalles.h"
#include "dxMain.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ArbolObjetos;
class ArchivosRecientes;
class SitioDocks;
class BarraAnimacion;
class BarraEstado;
class MenuApariencia;
class MenuVer;
class PanelGL;
class PanelDisparadores;
class PanelPaginas;
class PanelSonidos;
class ReproductorSonido;
class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QMimeData;
class QRadioButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class dxBufferTextura;
struct IDirect3DTexture8;

class TForm1 : public QMainWindow {
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

    // What the panel has on show: a mesh, or later an object; null for nothing. The camera aims
    // at it (framing it to fit when so chosen), the status bar and the pages dock describe it.
    void MostrarEnVista(const EnVista* vista);

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
    const NivelSubido* Nivel() const { return nivel_.get(); }
    dxBufferTextura* Seleccionado() const { return seleccionado_; }
    float Angulo() const { return Camara().Angulo(); }
    // The camera of a mesh's or an object's view, and of the "Nivel" view.
    const Navegacion& Camara() const { return controles_->Camara(); }
    const CamaraVuelo& Vuelo() const { return controles_->Vuelo(); }
    // What the "Nivel" view draws, from Ver's toggles and the render mode.
    OpcionesNivel Opciones() const;

    // What the panel shows: a mesh of the list or an object of the tree; null when nothing is.
    const EnVista* Mostrado() const { return vista_.Mostrado(); }

    // A click on the panel at (x, y) (its own pixels): picks what is under it, outlines it and
    // describes it in the details dock. True when something was met.
    bool ElegirEn(float x, float y);
    PanelDetalles* Detalles() const { return detalles_; }
    // A link of the details dock followed: an item picked and framed, a camera or a flyby's
    // first camera framed, an alternate group shown flipped.
    void SeguirDestino(const PanelDetalles::Destino& destino);
    PanelDisparadores* Disparadores() const { return disparadores_; }
    MenuApariencia* Apariencia() const;

    // Controls, by the names the window has always given them.
    QWidget* Panel1Marco;
    PanelGL* Panel1;
    QLabel* Label1;
    QListWidget* ListBox1;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    ArbolObjetos* TreeView1; // "Objetos": the level, Lara, the moveables and their animations, statics
    BarraAnimacion* Animacion1; // under the panel: plays the animations of the moveable on show
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
    void CrearMenu();
    void Proyectar();
    // Fills the object tree and names in each mesh's tooltip the objects that use it.
    void LlenarObjetos();
    // Flies the level view to sector (x, z) of room `cuarto`, showing the level if it is not.
    void EncuadrarSector(uint32_t cuarto, uint16_t x, uint16_t z);
    // Flies the level view to the sphere (device axes), showing the level if it is not.
    void EncuadrarEnNivel(const Esfera& esfera);
    // Shows moveable `indice` of the level's list wearing the meshes of id `prestadas` (-1: its
    // own), playing `animacion` when not negative.
    void MostrarMovible(int64_t indice, int64_t prestadas, int64_t animacion);
    // The object just assembled in objeto_, framed and described.
    void MostrarObjeto(EnVista vista);
    // Back to the list's mesh view: no object, the viewer's own projection.
    void SoltarObjeto();
    void CrearMenuVer();
    void AbrirReciente(const QString& ruta);
    void LeerAjustes();
    // The title and file path name the level open.
    void NombrarArchivo(const QString& ruta);
    bool EnNivel() const { return vista_.EnNivel(); }
    // The level view, framing room `cuarto` (-1: the whole level).
    void MostrarNivel(int32_t cuarto);
    void CambioOpcionNivel();
    void AplicarFondo();
    // Frames run while the window is on screen and something turns; otherwise one is drawn when
    // something changes.
    void ActualizarTimer();
    void Redibujar();
    // The status bar counts the frames drawn while the timer runs them.
    void ContarCuadro(bool dibujado);

    struct LiberarTextura {
        void operator()(IDirect3DTexture8* t) const;
    };

    // Destroyed bottom-up: the level's buffers and pages, then the start-up texture, then the
    // device; the panel they all live on goes last, with the widgets.
    dxMain d3d_;
    std::unique_ptr<dxDevice8> dispositivo_;
    std::unique_ptr<IDirect3DTexture8, LiberarTextura> texturaInicio_;
    std::unique_ptr<NivelSubido> nivel_;
    dxBufferTextura* seleccionado_ = nullptr;
    // The object picked in the tree, assembled; it names meshes of nivel_.
    std::optional<Ensamblaje> objeto_;
    std::vector<glm::mat4> pose_;
    // For each mesh of the list, the ids of the objects that use it.
    std::vector<std::vector<int32_t>> usosMesh_;
    // What is on show (it names meshes of the open level: cleared before the level goes).
    ControladorVista vista_;
    ControlesVista* controles_ = nullptr;

    BarraEstado* barra_ = nullptr;
    PanelPaginas* paginas_ = nullptr;
    ReproductorSonido* sonido_ = nullptr;
    PanelSonidos* sonidos_ = nullptr;
    PanelDetalles* detalles_ = nullptr;
    PanelDisparadores* disparadores_ = nullptr;
    MenuVer* ver_ = nullptr;
    QTreeWidgetItem* entradaNivel_ = nullptr; // owned by the tree; null without a scene
    ArchivosRecientes* recientes_ = nullptr;
    SitioDocks* docks_ = nullptr;

    // Why the panel cannot draw; told once the window is up.
    QString sinDispositivo_;
    QString carpeta_;
};

// The first local .tr4 file among dropped data; empty when there is none.
QString ArchivoSoltado(const QMimeData* datos);
