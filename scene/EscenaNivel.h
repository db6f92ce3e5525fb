#pragma once
// The whole level on the device: every room textured and lit by its vertex colours, each static
// and each item's moveable placed where the level says, built once at open into one vertex
// buffer of world positions and drawn in a few batched calls a frame.
#include "Encuadre.h"
#include "d3d8.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class dxDevice8;
class ILotes8;
struct NivelAbierto;
struct TramoLote;

struct OpcionesNivel {
    bool Estaticos = true;
    bool Items = true;
    bool Alternos = false; // the flipped level: rooms with an alternate give way to it
    bool Texturizado = true;
    bool Alambre = false;
};

class EscenaNivel {
  public:
    // With a device that cannot draw batches (the recorder) or a null one, the scene is built
    // and counted but draws nothing.
    static std::unique_ptr<EscenaNivel> Crear(const NivelAbierto& nivel, dxDevice8* dispositivo);
    ~EscenaNivel();

    int32_t NumCuartos() const { return int32_t(esferasCuartos_.size()); }
    // Device axes, as the mesh view (the level's y negated). What the options show; the room's
    // vertices (its origin when it has none).
    Esfera EsferaNivel(const OpcionesNivel& opciones) const;
    Esfera EsferaCuarto(int32_t cuarto) const;

    // With the projection and camera the caller set; no clear, no present. E_FAIL for a scene
    // that cannot draw.
    HRESULT Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // The same picture with every triangle in a call of its own: the reference for the batches.
    HRESULT DibujarPorPrimitiva(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // The same triangles as one call, all culled as one-sided ones: the floor a frame is
    // measured against.
    HRESULT DibujarEnUnaLlamada(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // Of the last draw: triangles submitted and draw calls made.
    uint64_t TriangulosDibujados() const;
    uint32_t LlamadasDibujo() const;

    struct Cuentas {
        int32_t Cuartos = 0, Vertices = 0, Rectangulos = 0, Triangulos = 0;
        int32_t EstaticosColocados = 0, ItemsColocados = 0;
        int32_t EstaticosOmitidos = 0, ItemsOmitidos = 0;
    };
    Cuentas Contar() const { return cuentas_; }

    // Rooms shown whether or not the level is flipped, rooms that give way when it is, and the
    // rooms that take their place; what each holds, and how its faces are culled.
    enum Clase { SIEMPRE, BASE, ALTERNO, CLASES };
    enum Tipo { CUARTOS, ESTATICOS, ITEMS, TIPOS };
    struct Grupo {
        uint32_t Inicio = 0, Vertices[2] = {};       // one-sided, then double-sided
        float Minimo[3] = {1, 1, 1}, Maximo[3] = {}; // empty when Minimo > Maximo
    };

  private:
    EscenaNivel() = default;
    enum Via { LOTES, POR_PRIMITIVA, UNA_LLAMADA };
    HRESULT DibujarCon(dxDevice8& dispositivo, const OpcionesNivel& opciones, Via via) const;
    std::vector<TramoLote> Tramos(const OpcionesNivel& opciones) const;

    std::array<std::array<Grupo, TIPOS>, CLASES> grupos_{};
    std::vector<Esfera> esferasCuartos_;
    Cuentas cuentas_;
    std::unique_ptr<ILotes8> lotes_;
    mutable uint64_t triangulos_ = 0;
    mutable uint32_t llamadas_ = 0;
};
