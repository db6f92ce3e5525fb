#pragma once
// The dock that says what a click picked: in the level view an item, a static or a room face
// (with the sector under the cursor), in an object's view one of its meshes. Picking itself is
// the scene's ray cast; this turns its answer into lines a modder reads, and keeps the outline.
#include "Ensamblaje.h"
#include "EscenaNivel.h"
#include "d3dx8.h"
#include "Seleccion.h"

#include <QDockWidget>
#include <QStringList>

#include <functional>
#include <optional>

class QTreeWidget;
class Lista_Mesh;
struct NivelAbierto;
struct NivelSubido;

class PanelDetalles : public QDockWidget {
    Q_OBJECT

  public:
    explicit PanelDetalles(QWidget* padre = nullptr);

    // The click at `punto` of an ancho x alto view drawn with this view and projection, into the
    // level's scene as the options show it. Outlines what it meets (or nothing) and describes it;
    // true when something was met.
    bool ElegirEnNivel(NivelSubido& nivel, const D3DXMATRIX& vista, const D3DXMATRIX& proyeccion,
                       float x, float y, int ancho, int alto, const OpcionesNivel& opciones);
    // The same in an object's view: which of its meshes, turned by angulo as drawn. `nombre` says
    // what the object is ("Movible 8").
    bool ElegirEnObjeto(const NivelAbierto& nivel, const Ensamblaje& objeto, float angulo,
                        const QString& nombre, const D3DXMATRIX& vista,
                        const D3DXMATRIX& proyeccion, float x, float y, int ancho, int alto);
    // Nothing picked: no outline, no lines. `nivel` may be null once the level is gone.
    void Soltar(NivelSubido* nivel);
    // Item `item` of the level picked as a click on it would: outlined when the scene draws it,
    // and described. False for an item the level lacks.
    bool ElegirItem(NivelSubido& nivel, int32_t item);

    // What a trigger's action names, as a link of the dock leads to it.
    struct Destino {
        enum class Tipo : uint8_t { Item, Camara, Vuelo, Grupo };
        Tipo Clase = Tipo::Item;
        int32_t Indice = 0; // item, camera (or sink), flyby sequence, alternate group
        bool operator==(const Destino&) const = default;
    };
    // A link followed; the window frames or shows what it names.
    std::function<void(const Destino&)> AlSeguir;
    // Follows a link's address ("item:3", "camara:0", "vuelo:2", "grupo:1"); an address of
    // another form is ignored.
    void Seguir(const QString& enlace);
    static std::optional<Destino> DestinoDeEnlace(const QString& enlace);
    // The addresses of the links on show, in order.
    QStringList Enlaces() const;

    // The picked part of the level's scene (-1: none) and the picked piece of an object (-1).
    int32_t ParteElegida() const { return parte_; }
    int32_t PiezaElegida() const { return pieza_; }
    // The lines on show, "campo: valor", for those who test the dock.
    QStringList Lineas() const;

    // The lines that describe what a ray met in the level, as the dock shows them: the title,
    // then "campo", "valor" pairs; a third entry is the value as rich text with links.
    static QList<QStringList> DescribirAcierto(const NivelAbierto& nivel, const DuenioCara& duenio,
                                               const glm::vec3& punto, QString& titulo);

  private:
    void Describir(const QString& titulo, const QList<QStringList>& filas);

    QTreeWidget* lista_;
    int32_t parte_ = -1;
    int32_t pieza_ = -1;
};

