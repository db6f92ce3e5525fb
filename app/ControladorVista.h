#pragma once
// What the window has on show, and what an export of it writes: a mesh of the list, an object of
// the tree (for a moveable, whose meshes it wears), or the level view. Holds no widget, so the
// rules of what is on show and of its export are driven and checked without a window.
#include "EnVista.h"
#include "ExportarGLTF.h"

#include <cstdint>
#include <optional>
#include <string>

class ControladorVista {
  public:
    // What is on show now; a moveable stays named only while a moveable is on show.
    void Mostrar(const EnVista& vista);
    void Quitar();
    const EnVista* Mostrado() const { return enVista_ ? &*enVista_ : nullptr; }
    bool EnNivel() const { return enVista_ && enVista_->Clase == Elegido::Nivel; }

    // The moveable on show: its place in the level's list and the id whose meshes it wears (-1:
    // its own); both -1 when none.
    void SetMovible(int64_t indice, int64_t prestadas);
    void SoltarMovible() { movible_ = prestadas_ = -1; }
    int64_t Movible() const { return movible_; }
    int64_t Prestadas() const { return prestadas_; }
    // Showing moveable `indice` wearing `prestadas` needs it built anew: it is not the one on
    // show, worn the same way (then a new animation just plays, framed as it was).
    bool OtroMovible(int64_t indice, int64_t prestadas) const;

    // The export of what is on show: the file name offered and what goes in it. The level view
    // exports the whole level, whichever room is framed; a moveable as it is on show, in the
    // meshes it wears, with every animation it plays. None while nothing is on show.
    struct Exportacion {
        std::string Nombre;
        OpcionesGLTF Opciones;
    };
    std::optional<Exportacion> Exportar() const;

  private:
    std::optional<EnVista> enVista_;
    int64_t movible_ = -1, prestadas_ = -1;
};
