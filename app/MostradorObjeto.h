#pragma once
// The object picked in the tree, assembled from the open level's meshes: a static, or a moveable
// wearing its own meshes or another id's, posed by the animation bar.
#include "EnVista.h"

#include <cstdint>
#include <functional>
#include <optional>

class BarraAnimacion;
struct EstadoVentana;

class MostradorObjeto {
  public:
    MostradorObjeto(EstadoVentana& estado, BarraAnimacion& animacion)
        : estado_(estado), animacion_(animacion) {}

    // Moveable `indice` of the level's list wearing the meshes of id `prestadas` (-1: its own),
    // playing `animacion` when not negative, else in its rest pose. Built anew, it is handed to
    // `mostrar` to be framed and described; the same moveable worn the same way keeps its
    // framing. False when the level has no such moveable.
    bool Movible(int64_t indice, int64_t prestadas, int64_t animacion,
                 const std::function<void(EnVista)>& mostrar);
    // Static `indice` of the level's list, to be framed and described; none when there is none.
    std::optional<EnVista> Estatico(int64_t indice);
    // No object on show, nor a moveable in the animation bar.
    void Quitar();

  private:
    // The view of the object just assembled: its meshes, and the sphere it turns in.
    EnVista Vista(Elegido clase, int32_t id) const;

    EstadoVentana& estado_;
    BarraAnimacion& animacion_;
};
