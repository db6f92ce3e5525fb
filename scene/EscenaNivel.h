#pragma once
// The whole level on the device: every room textured and lit by its vertex colours, each static
// and each item's moveable placed where the level says, built once at open into one vertex
// buffer of world positions and drawn in a few batched calls a frame.
#include "Encuadre.h"
#include "Lotes8.h"
#include "Seleccion.h"
#include "d3d8.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class dxDevice8;
struct NivelAbierto;

struct OpcionesNivel {
    bool Estaticos = true;
    bool Items = true;
    bool Alternos = false; // the flipped level: rooms with an alternate give way to it
    bool Texturizado = true;
    bool Alambre = false;
    // Textures as painted, whatever light the rooms' vertex colours give (some rooms are black
    // in the data).
    bool LuzPlena = false;
    // False: every face drawn opaque, as the level was drawn before blend modes; what a frame
    // with them is measured against.
    bool Mezclas = true;
    // Trigger and kill sectors as tiles over the floor (drawn by CapaDisparadores).
    bool Disparadores = false;
    // Cameras, sinks, flyby paths and sound sources as markers (drawn by CapaMarcadores).
    bool Marcadores = false;
};

class EscenaNivel {
  public:
    // Makes the batches the scene draws with: CrearLotes8 unless a test hands its own.
    using FabricaLotes = std::unique_ptr<ILotes8> (*)(IDirect3DDevice8* dispositivo);
    // With a device that cannot draw batches (the recorder) or a null one, the scene is built
    // and counted but draws nothing. A device that refuses the pages or the vertices leaves the
    // scene built and counted too, and says so in Subida() and in every Dibujar.
    static std::unique_ptr<EscenaNivel> Crear(const NivelAbierto& nivel, dxDevice8* dispositivo,
                                              FabricaLotes fabrica = nullptr);
    // The device's answer to the upload of pages and vertices: D3D_OK, or why they are not there.
    HRESULT Subida() const { return subida_; }
    ~EscenaNivel();

    int32_t NumCuartos() const { return int32_t(esferasCuartos_.size()); }
    // Device axes, as the mesh view (the level's y negated). What the options show; the room's
    // vertices (its origin when it has none).
    Esfera EsferaNivel(const OpcionesNivel& opciones) const;
    Esfera EsferaCuarto(int32_t cuarto) const;
    // What the options show of the rooms that have any light in their vertex colours, and of
    // what stands in them; EsferaNivel when no room has any.
    Esfera EsferaIluminada(const OpcionesNivel& opciones) const;
    bool CuartoIluminado(int32_t cuarto) const;

    // The first thing the ray meets among what the options show, and what it belongs to.
    std::optional<Acierto> Elegir(const Rayo& rayo, const OpcionesNivel& opciones) const;
    // Every face with its owner, device axes: rooms, then statics, then items.
    const GeometriaElegible& Geometria() const { return elegible_; }
    // The part of Geometria() that an owner's faces make, or -1.
    int32_t ParteDe(const DuenioCara& duenio) const;
    // The sphere round a part's faces.
    Esfera EsferaParte(int32_t parte) const;
    // Outlines part `parte` (-1: nothing) in the frames drawn from now on, over everything.
    void Resaltar(int32_t parte);
    int32_t Resaltada() const { return resaltada_; }
    // Mesh list positions the item's faces were made of: for Lara, her body's and her joints'.
    const std::vector<int32_t>& MeshesDeItem(int32_t item) const;

    // Items in motion: each item whose moveable has an animation that plays takes the first
    // such (Lara her own on her body's meshes), looped, in place, at game frame `cuadro`
    // counted from its first. Only the items' vertices are posed again and sent to the device;
    // picking and the outline keep the pose the scene was built in. `nivel` is the level the
    // scene was built from. D3D_OK, or the device's refusal of the new vertices (the frame then
    // draws the pose they had).
    [[nodiscard]] HRESULT Animar(const NivelAbierto& nivel, double cuadro);
    // The items back in the pose they were built in, the same vertices as before Animar.
    [[nodiscard]] HRESULT Detener();
    bool Animada() const { return animada_; }
    // Items that Animar moves.
    int32_t ItemsAnimados() const;
    // The items' vertices as they stand now, in the buffer's order; none when no item moves.
    const std::vector<VerticeLote>& VerticesItems() const;

    // With the projection and camera the caller set; no clear, no present. E_FAIL for a scene
    // that cannot draw, Subida() when what it draws never reached the device: a picture without
    // the level is no picture of it.
    [[nodiscard]] HRESULT Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // The same picture with every triangle in a call of its own: the reference for the batches.
    [[nodiscard]] HRESULT DibujarPorPrimitiva(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // The same triangles as one call, all culled as one-sided ones: the floor a frame is
    // measured against.
    [[nodiscard]] HRESULT DibujarEnUnaLlamada(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
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
    // Opaque, alpha-tested, additive: the buffer holds every group's opaque faces, then every
    // group's alpha-tested ones, then the additive ones, so each kind draws in few calls.
    enum { MEZCLAS = 3 };
    struct Grupo {
        uint32_t Inicio[MEZCLAS] = {};
        uint32_t Vertices[MEZCLAS][2] = {};          // one-sided, then double-sided
        float Minimo[3] = {1, 1, 1}, Maximo[3] = {}; // empty when Minimo > Maximo
    };

  private:
    EscenaNivel() = default;
    enum Via { LOTES, POR_PRIMITIVA, UNA_LLAMADA };
    [[nodiscard]] HRESULT DibujarCon(dxDevice8& dispositivo, const OpcionesNivel& opciones, Via via) const;
    std::vector<TramoLote> Tramos(const OpcionesNivel& opciones) const;
    [[nodiscard]] HRESULT SubirItems();

    std::array<std::array<Grupo, TIPOS>, CLASES> grupos_{};
    std::vector<Esfera> esferasCuartos_;
    std::vector<bool> iluminados_;
    GeometriaElegible elegible_;
    std::vector<std::vector<int32_t>> meshesItems_;
    int32_t resaltada_ = -1;
    uint32_t verticesContorno_ = 0;
    std::unique_ptr<ILotes8> contorno_;
    Cuentas cuentas_;
    std::unique_ptr<ILotes8> lotes_;
    struct Movimiento;
    std::unique_ptr<Movimiento> movimiento_;
    bool animada_ = false;
    HRESULT subida_ = D3D_OK;
    mutable uint64_t triangulos_ = 0;
    mutable uint32_t llamadas_ = 0;
};
