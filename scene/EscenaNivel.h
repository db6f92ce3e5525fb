#pragma once
// The whole level as one scene: every room textured and lit by its vertex colours, each static
// and each item's moveable placed where the level says, built once at open into one list of
// world-position vertices with runs that a device draws in a few batched calls a frame
// (DibujoEscena) and a page hands to its own renderer. No device here.
#include "ClasesAlternas.h"
#include "Esfera.h"
#include "OpcionesNivel.h"
#include "Seleccion.h"
#include "VerticeEscena.h"

#include <array>
#include <utility>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct NivelAbierto;

class EscenaNivel {
  public:
    // Null for a level without its record.
    static std::unique_ptr<EscenaNivel> Crear(const NivelAbierto& nivel);
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
    // The outline of part `parte`: its triangles' corners, yellow and untextured; none for a
    // part the scene lacks.
    std::vector<VerticeEscena> Contorno(int32_t parte) const;
    // Mesh list positions the item's faces were made of: for Lara, her body's and her joints'.
    const std::vector<int32_t>& MeshesDeItem(int32_t item) const;

    // Items in motion: each item whose moveable has an animation that plays takes the first
    // such (Lara her own on her body's meshes), looped, in place, at game frame `cuadro`
    // counted from its first. Only the items' vertices are posed again (TramosItems says where
    // they sit among Vertices()); picking and the outline keep the pose the scene was built in.
    // `nivel` is the level the scene was built from. false when nothing moved.
    bool Animar(const NivelAbierto& nivel, double cuadro);
    // The items back in the pose they were built in, the same vertices as before Animar; false
    // when they were there already.
    bool Detener();
    bool Animada() const { return animada_; }
    // Items that Animar moves.
    int32_t ItemsAnimados() const;
    // The items' vertices as they stand now, in the order of TramosItems; none when no item
    // moves.
    const std::vector<VerticeEscena>& VerticesItems() const;
    // Where the moving items' vertices sit among Vertices(): (first, count) runs in order.
    const std::vector<std::pair<uint32_t, uint32_t>>& TramosItems() const;

    // Every vertex of the scene as built, all groups' runs laid out as Grupo says.
    const std::vector<VerticeEscena>& Vertices() const { return vertices_; }
    // The runs that draw what the options show: every kind's opaque faces, then alpha-tested,
    // then additive ones, each one-sided then double-sided.
    std::vector<TramoEscena> Tramos(const OpcionesNivel& opciones) const;

    struct Cuentas {
        int32_t Cuartos = 0, Vertices = 0, Rectangulos = 0, Triangulos = 0;
        int32_t EstaticosColocados = 0, ItemsColocados = 0;
        int32_t EstaticosOmitidos = 0, ItemsOmitidos = 0;
    };
    Cuentas Contar() const { return cuentas_; }

    // Which rooms show with which flip, as the scene lays them out.
    const ClasesAlternas& Clases() const { return clases_; }
    bool CuartoVisible(int32_t cuarto, const OpcionesNivel& opciones) const {
        return cuarto >= 0 && size_t(cuarto) < esferasCuartos_.size() &&
               clases_.CuartoVisible(size_t(cuarto), opciones);
    }

    // Rooms flagged as water take this colour times their vertices' own (A8R8G8B8): blue-green,
    // and still as light or dark as the level lit them.
    static constexpr uint32_t TINTE_AGUA = 0xFF80D8FF;
    // The water rooms' vertex colours tinted (true) or back as built (false), in Vertices()
    // itself; false when they were so already. TramosAgua says which vertices a device must load
    // again.
    bool TenirAgua(bool si);
    bool AguaTenida() const { return aguaTenida_; }
    const std::vector<std::pair<uint32_t, uint32_t>>& TramosAgua() const { return tramosAgua_; }

    enum Tipo { CUARTOS, ESTATICOS, ITEMS, TIPOS };
    // Opaque, alpha-tested, additive: the buffer holds every class's opaque faces, then every
    // class's alpha-tested ones, then the additive ones, so each kind draws in few calls.
    enum { MEZCLAS = 3 };
    struct Grupo {
        uint32_t Inicio[MEZCLAS] = {};
        uint32_t Vertices[MEZCLAS][2] = {};          // one-sided, then double-sided
        float Minimo[3] = {1, 1, 1}, Maximo[3] = {}; // empty when Minimo > Maximo
    };

  private:
    EscenaNivel() = default;

    ClasesAlternas clases_;
    std::vector<std::array<Grupo, TIPOS>> grupos_; // one per class
    // Runs of Vertices() that water rooms' faces fill, and those vertices' colours as built.
    std::vector<std::pair<uint32_t, uint32_t>> tramosAgua_;
    std::vector<uint32_t> coloresAgua_;
    bool aguaTenida_ = false;
    std::vector<Esfera> esferasCuartos_;
    std::vector<bool> iluminados_;
    GeometriaElegible elegible_;
    std::vector<std::vector<int32_t>> meshesItems_;
    Cuentas cuentas_;
    std::vector<VerticeEscena> vertices_;
    struct Movimiento;
    std::unique_ptr<Movimiento> movimiento_;
    bool animada_ = false;
};
