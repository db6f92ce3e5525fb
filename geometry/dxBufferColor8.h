#pragma once
// The polygons of one mesh gathered into a single vertex array the device can copy as it is, with
// one flag word per primitive, and the world matrix the mesh is drawn with.
//
// Primitives come out in the reverse order of AgregarPoligono: the list grows at its front.
#include <cstdint>
#include <forward_list>
#include <memory>
#include <vector>

#include "d3d8.h"
#include "d3dx8.h"
#include "dxPoligono.h"
#include "dxVertices.h"

// The primitive flag word. A polygon brings the drawing bits; a build adds the kind bits.
constexpr uint32_t FLAG_CUADRADO = 0x01;  // four vertices drawn as a strip; else one triangle
constexpr uint32_t FLAG_ALAMBRE = 0x02;   // wireframe fill
constexpr uint32_t FLAG_CULL_CW = 0x04;   // cull clockwise faces
constexpr uint32_t FLAG_CULL_CCW = 0x08;  // cull counter-clockwise faces; wins over FLAG_CULL_CW
constexpr uint32_t FLAG_TEXTURADO = 0x10; // bind the primitive's page
constexpr uint32_t FLAG_RECORTE = 0x20;   // texels of alpha 0 are not drawn
// Added to what is behind, after the rest of the buffer, without writing depth; texels of alpha
// 0 are not drawn either.
constexpr uint32_t FLAG_ADITIVA = 0x40;

class dxBufferColor8 {
  public:
    dxBufferColor8();
    dxBufferColor8(const dxBufferColor8&) = delete;
    dxBufferColor8& operator=(const dxBufferColor8&) = delete;

    // Bytes of vertex data now in GetVertices, or -1 when nothing changed since the last upload.
    virtual int32_t Construir();
    // Null until the first build.
    virtual void* GetVertices();
    // Frees the polygons and gives back the device's vertex buffer.
    virtual ~dxBufferColor8();

    // Only polygons of this buffer's vertex format are taken.
    [[nodiscard]] HRESULT AgregarPoligono(std::unique_ptr<dxPoligono> p);
    // 0 for triangles, 1 for quads.
    static int TipoPoligono(const dxPoligono* p);

    int32_t GetTriangulos() const { return Triangulos; }
    int32_t GetCuadrados() const { return Cuadrados; }
    int32_t GetNumVertices() const { return 3 * Triangulos + 4 * Cuadrados; }
    uint32_t GetFVF() const { return FVF; }
    uint32_t GetStride() const { return Stride; }

    IDirect3DVertexBuffer8* GetVertexBuffer() const { return VertexBuffer; }
    // The upload that replaces the handle has already released the old one.
    void SetVertexBuffer(IDirect3DVertexBuffer8* vb) { VertexBuffer = vb; }
    void LimpiarModificado() { Modificado = false; }
    // Flags of primitive i of the last build; 0 outside it.
    uint32_t GetFlags(int i) const;
    // Whether any primitive of the last build has all of `banderas`.
    bool AlgunaCon(uint32_t banderas) const;

    void RotarY(float angulo);
    // The whole world matrix for the next draw, for a mesh placed within an object.
    void SetMundo(const D3DXMATRIX& mundo) { Mundo = mundo; }
    D3DXMATRIX* GetMundo(D3DXMATRIX* dst) const;
    void ResetMundo();

  protected:
    bool EsDeLaFamilia(const dxPoligono* p) const;

    std::vector<dxVerticeColor> Vertices;
    IDirect3DVertexBuffer8* VertexBuffer = nullptr;
    std::vector<uint32_t> Flags;
    int32_t Triangulos = 0;
    int32_t Cuadrados = 0;
    bool Modificado = false;
    std::forward_list<std::unique_ptr<dxPoligono>> Poligonos;
    uint32_t FVF = FVF_VERTICE_COLOR;
    uint32_t Stride = sizeof(dxVerticeColor);
    D3DXMATRIX Mundo;
};
