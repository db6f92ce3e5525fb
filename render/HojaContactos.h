#pragma once
// A contact sheet: every mesh, or every moveable and static, of a level drawn small in a grid of
// labelled cells, so that a person finds a model at a glance and reads the number to ask for.
#include "DibujoEnsamblaje.h"
#include "Hecho.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class BuffersMesh;
class Lista_Mesh;
class SuperficieGL;
class dxDevice8;
struct trObjetos;

struct CeldaHoja {
    std::string Etiqueta; // printable ASCII: the sheet's letters have no accents
    Ensamblaje Objeto;
};

// One cell per mesh of the list, labelled with its index.
std::vector<CeldaHoja> CeldasDeMeshes(const Lista_Mesh& lista);
// One per moveable ("M8") then one per static ("E20"; "S20" in English), in file order, each
// assembled as `render --object/--static` shows it.
std::vector<CeldaHoja> CeldasDeObjetos(const trObjetos& objetos, const Lista_Mesh& lista);

inline constexpr int CELDA_POR_OMISION = 128, CELDA_MINIMA = 32, CELDA_MAXIMA = 1024;
// Neither side of a sheet passes this: 64 MiB of pixels at most, whatever the level or the cell.
inline constexpr int LADO_MAXIMO_HOJA = 4096;
// A three-quarter view from the front: the level's creatures face +z, away from the camera.
inline constexpr float ANGULO_HOJA = 2.5f;

struct Rejilla {
    int Columnas = 0, Filas = 0, Celda = 0;
};

// The near-square grid for `celdas` cells of `celda` pixels. A grid that would pass
// LADO_MAXIMO_HOJA gets smaller cells, down to CELDA_MINIMA; not done, with the reason, when even
// those do not fit, or when there is no cell at all.
Hecho PlanearRejilla(size_t celdas, int celda, Rejilla& rejilla);

struct ImagenRGBA {
    int Ancho = 0, Alto = 0;
    std::vector<uint8_t> Bytes; // R, G, B, A, top row first
};

// Writes `texto` into the picture with its top-left corner at (x, y): stb_easy_font's strokes,
// each pixel of them `escala` pixels wide, light on a black outline so that it reads on any
// texture. Clipped at the picture's edges; characters outside printable ASCII are skipped.
void Rotular(ImagenRGBA& imagen, int x, int y, std::string_view texto, int escala);

// Draws every cell on `superficie` (rejilla.Celda pixels square, the device's own) framed to fit
// and turned by ANGULO_HOJA, reads it back and puts it in its place, row by row, then the labels.
// Not done, with the reason, when the device fails a cell or the surface cannot be read: the
// device's failures end here, as a reason. `fondo`: 0xRRGGBB behind every cell.
Hecho ComponerHoja(dxDevice8& dispositivo, SuperficieGL& superficie, const BuffersMesh& buffers,
                   const std::vector<CeldaHoja>& celdas, const Rejilla& rejilla, ImagenRGBA& hoja,
                   uint32_t fondo = 0);
