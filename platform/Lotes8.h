#pragma once
// Drawing many faces that take their texels from many pages in a handful of calls: the pages
// live in one texture array and every vertex names its page, so faces of different pages share
// a draw. The per-primitive device stays as it is; this sits beside it on the same context and
// surface, and leaves the device's GL state as it found it.
#include "d3d8.h"

#include <cstdint>
#include <memory>

// 28 bytes, read by the GL implementation straight from the array handed to CargarVertices.
struct VerticeLote {
    float X = 0, Y = 0, Z = 0; // world, device axes
    float U = 0, V = 0;
    uint32_t Pagina = 0;         // SIN_PAGINA, or one past the pages loaded: untextured
    D3DCOLOR Color = 0xFFFFFFFF; // modulates the texel; untextured faces take it alone
};
inline constexpr uint32_t SIN_PAGINA = 0xFFFFFFFF;

// How a run's faces go over what is behind them.
enum MezclaLote : uint8_t {
    MEZCLA_OPACA = 0,
    MEZCLA_RECORTE = 1, // texels of alpha 0 are not drawn
    // Added to what is behind (ONE, ONE) without writing depth, after every other run of the
    // draw whatever their order; texels of alpha 0 are not drawn either.
    MEZCLA_ADITIVA = 2,
};

// A run of a triangle list in the loaded vertices.
struct TramoLote {
    UINT Inicio = 0, Vertices = 0;
    bool DobleCara = false; // drawn from both sides; otherwise culled as the device's meshes are
    MezclaLote Mezcla = MEZCLA_OPACA;
};

enum ModoLote : uint32_t {
    LOTE_TEXTURIZADO = 0, // texel times the vertex colour
    LOTE_COLOR = 1,       // the vertex colour alone
    LOTE_ALAMBRE = 2,     // white lines, as the device draws a wireframe without texture
    LOTE_LUZ_PLENA = 3,   // the texel as painted, whatever the vertex colour; untextured: white
    LOTE_CONTORNO = 4,    // lines in the vertex colour over everything, depth not tested
};

class ILotes8 {
  public:
    virtual ~ILotes8() = default;
    // numPaginas pages of 256 x 256 A8R8G8B8 texels, back to back. Pages past what the driver
    // holds in one array draw untextured.
    [[nodiscard]] virtual HRESULT CargarPaginas(UINT numPaginas, const BYTE* texels) = 0;
    [[nodiscard]] virtual HRESULT CargarVertices(const VerticeLote* vertices, UINT cantidad) = 0;
    // Replaces vertices inicio.. of those loaded, in place: what moves each frame is sent again
    // without the rest. A run past the vertices loaded is refused, and nothing changes.
    [[nodiscard]] virtual HRESULT ActualizarVertices(UINT inicio, const VerticeLote* vertices,
                                                     UINT cantidad) = 0;
    // The runs with this view and projection (D3DX layout) into the device's surface, depth
    // tested. Blend modes count only in the two textured modes. Adjacent runs drawn alike go in
    // one call; porPrimitiva draws every triangle in a
    // call of its own instead (the reference the batched picture is compared with).
    [[nodiscard]] virtual HRESULT Dibujar(const D3DMATRIX& vista, const D3DMATRIX& proyeccion,
                            const TramoLote* tramos, UINT numTramos, ModoLote modo,
                            bool porPrimitiva) = 0;
    // Of the last Dibujar.
    virtual uint64_t TriangulosDibujados() const = 0;
    virtual uint32_t LlamadasDibujo() const = 0;
};

// Null for a device of another kind (the recorder), or without a usable context.
std::unique_ptr<ILotes8> CrearLotes8(IDirect3DDevice8* dispositivo);
