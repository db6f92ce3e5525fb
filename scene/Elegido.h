#pragma once
// What a person picks to see or export, one list for the window, the command line, the export
// and the page: a mesh by its index; a moveable or a static by its id; the whole level (or one of
// its rooms); every moveable and static side by side; or Lara as the game draws her, the first
// moveable wearing her body's meshes.
#include <array>
#include <string_view>

enum class Elegido { Mesh, Movible, Estatico, Nivel, Todo, Lara };

// Each with the name it goes by outside the program, where a number of ours would mean nothing:
// the page names its choices so, and learns from the core the value each stands for.
struct NombreDeElegido {
    Elegido Que;
    std::string_view Nombre;
};
inline constexpr std::array<NombreDeElegido, 6> NOMBRES_ELEGIDO = {{
    {Elegido::Mesh, "mesh"},
    {Elegido::Movible, "movible"},
    {Elegido::Estatico, "estatico"},
    {Elegido::Nivel, "nivel"},
    {Elegido::Todo, "todo"},
    {Elegido::Lara, "lara"},
}};
