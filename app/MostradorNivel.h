#pragma once
// Shows on the panel what the list, the tree and the menus pick from the open level: a mesh, an
// object, or the level view framed whole, on a room or on a sector. The camera aims at it (framing
// it to fit when so chosen); the status bar, the pages and details docks and Archivo -> Exportar
// follow what is on show.
#include "EnVista.h"
#include "MostradorObjeto.h"
#include "PanelDetalles.h"

#include <QCoreApplication>

#include <cstdint>

class ArbolObjetos;
class BarraAnimacion;
class BarraEstado;
class BucleDibujo;
class ControlesVista;
class MenuVer;
class PanelGL;
class PanelPaginas;
class QAction;
class QListWidget;
struct EstadoVentana;

class MostradorNivel {
    Q_DECLARE_TR_FUNCTIONS(MostradorNivel)

  public:
    // The widgets that pick and those that describe; the window owns them all.
    struct Partes {
        ControlesVista* Controles;
        MenuVer* Ver;
        PanelGL* Panel;
        QListWidget* Lista;
        ArbolObjetos* Arbol;
        BarraAnimacion* Animacion;
        PanelDetalles* Detalles;
        PanelPaginas* Paginas;
        BarraEstado* Barra;
        QAction* Exportar;
    };
    MostradorNivel(const Partes& partes, EstadoVentana& estado, BucleDibujo& bucle);

    // What the panel has on show: a mesh, an object or the level; null for nothing.
    void MostrarEnVista(const EnVista* vista);
    // The list's current mesh, alone.
    void MostrarMesh();
    // The tree's current entry: the level, a room, or the whole object, assembled and framed.
    void MostrarElegido();
    // Moveable `indice` of the level's list wearing the meshes of id `prestadas` (-1: its own),
    // playing `animacion` when not negative.
    void MostrarMovible(int64_t indice, int64_t prestadas, int64_t animacion);
    // Picks the tree's "Nivel": the whole level, where a player starts.
    void NivelCompleto();
    // The level view, framing room `cuarto` (-1: the whole level).
    void MostrarNivel(int32_t cuarto);
    // Flies the level view to sector (x, z) of room `cuarto`, showing the level if it is not.
    void EncuadrarSector(uint32_t cuarto, uint16_t x, uint16_t z);
    // Flies the level view to the sphere (device axes), showing the level if it is not.
    void EncuadrarEnNivel(const Esfera& esfera);
    // A link of the details dock followed: an item picked and framed, a camera or a flyby's
    // first camera framed, an alternate group shown flipped.
    void SeguirDestino(const PanelDetalles::Destino& destino);
    // What the level view draws changed in Ver.
    void CambioOpcion();
    // Back to the list's mesh view: no object, the viewer's own projection.
    void SoltarObjeto();

  private:
    // The object just assembled, framed and described.
    void MostrarObjeto(const EnVista& vista);
    // The list's mesh is no longer on show.
    void SoltarMesh();

    Partes p_;
    EstadoVentana& estado_;
    BucleDibujo& bucle_;
    MostradorObjeto objeto_;
};
