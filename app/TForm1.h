#pragma once
// The viewer's main window: a render panel, the list of the open level's meshes, the render mode
// and the menu. It owns the device and the open level; a 1 ms timer draws the picked mesh turning.
#include "Ensamblaje.h"
#include "NivelAbierto.h"
#include "dxMain.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class PanelGL;
class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QMimeData;
class QRadioButton;
class QTimer;
class QTreeWidget;
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
    void Salir1Click();
    // Picking an entry of the object tree: the whole object, assembled and framed, turns.
    void TreeView1Click();

    // The one road by which a level enters: the menu, the command line and a drop. On failure the
    // user is told why and everything stays as it was.
    bool AbrirArchivo(const QString& ruta);

    // The file the user picks; empty when cancelled. A file dialog unless replaced.
    std::function<QString()> ElegirArchivo;
    // Tells the user of a failure. A message box unless replaced.
    std::function<void(const QString& texto)> Avisar;

    // The window-wide state, for those who drive the window.
    dxDevice8* Dispositivo() const;
    const NivelAbierto* Nivel() const { return nivel_.get(); }
    dxBufferTextura* Seleccionado() const { return seleccionado_; }
    float Angulo() const { return angulo_; }

    // What the panel shows: a mesh of the list or an object of the tree, with the sphere that
    // holds it (device axes). Empty when nothing is picked.
    struct EnPantalla {
        enum class Clase { Mesh, Movible, Estatico } Que = Clase::Mesh;
        uint32_t Id = 0; // the mesh index, or the object's id
        int32_t Meshes = 0;
        int32_t Caras = 0;
        D3DXVECTOR3 Centro{0, 0, 0};
        float Radio = 0;
    };
    std::optional<EnPantalla> Mostrado() const;

    // Controls, by the names the window has always given them.
    QWidget* Panel1Marco;
    PanelGL* Panel1;
    QLabel* Label1;
    QListWidget* ListBox1;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QTreeWidget* TreeView1; // "Objetos": the level's moveables and statics
    QTimer* Timer1;
    QMenu* Archivo1;
    QAction* Abrir1;
    QAction* N1;
    QAction* Salir1;
    QMenu* Acerca1;
    QAction* Acerca2;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void dragEnterEvent(QDragEnterEvent* evento) override;
    void dropEvent(QDropEvent* evento) override;

  private:
    void CrearControles();
    void CrearMenu();
    void Acomodar();
    void Proyectar();
    // Fills the object tree and names in each mesh's tooltip the objects that use it.
    void LlenarObjetos();
    // Back to the list's mesh view: no object, the viewer's own projection.
    void SoltarObjeto();

    struct LiberarTextura {
        void operator()(IDirect3DTexture8* t) const;
    };

    // Destroyed bottom-up: the level's buffers and pages, then the start-up texture, then the
    // device; the panel they all live on goes last, with the widgets.
    dxMain d3d_;
    std::unique_ptr<dxDevice8> dispositivo_;
    std::unique_ptr<IDirect3DTexture8, LiberarTextura> texturaInicio_;
    std::unique_ptr<NivelAbierto> nivel_;
    dxBufferTextura* seleccionado_ = nullptr;
    // The object picked in the tree, assembled; it names meshes of nivel_.
    std::optional<Ensamblaje> objeto_;
    EnPantalla objetoMostrado_;
    float angulo_ = 0.0f;

    // Why the panel cannot draw; told once the window is up.
    QString sinDispositivo_;
    QString carpeta_;
};

// The first local .tr4 file among dropped data; empty when there is none.
QString ArchivoSoltado(const QMimeData* datos);
