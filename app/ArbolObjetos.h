#pragma once
// The tree of what a level holds: the level and its rooms, Lara (her skeleton wearing her body's
// meshes), the moveables with their animations, and the statics. Picking an entry names what
// to show; the window does the showing.
#include "EnVista.h"

#include <QStringList>
#include <QTreeWidget>

#include <cstdint>
#include <optional>
#include <vector>

struct NivelAbierto;

class ArbolObjetos : public QTreeWidget {
    Q_OBJECT

  public:
    explicit ArbolObjetos(QWidget* padre = nullptr);

    // What uses each mesh of the level: a line per use, and the ids of the objects that use it.
    struct Usos {
        std::vector<QStringList> Textos;
        std::vector<std::vector<int32_t>> Ids;
    };
    // Fills the tree with the level (null: empties it).
    Usos Llenar(const NivelAbierto* nivel);

    // The entry "Nivel", null without rooms.
    QTreeWidgetItem* EntradaNivel() const { return entradaNivel_; }

    struct Eleccion {
        ::Elegido Clase = ::Elegido::Mesh;
        int64_t Indice = -1;    // a room, or the object's place in the level's list
        int64_t Animacion = -1; // an animation to play, by its index in the level's list
        int64_t Prestadas = -1; // a moveable's id whose meshes it wears
    };
    // What the current entry names; empty for a heading or nothing.
    std::optional<Eleccion> Elegido() const;
    // The entry of a moveable (by its place in the list), worn as `prestadas` says; null when
    // there is none.
    QTreeWidgetItem* EntradaMovible(int64_t indice, int64_t prestadas) const;

  private:
    void AgregarAnimaciones(QTreeWidgetItem* padre, const NivelAbierto& nivel, size_t movible,
                            int64_t prestadas);
    QTreeWidgetItem* entradaNivel_ = nullptr; // owned by the tree
};
