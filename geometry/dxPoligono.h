#pragma once
// One face of a mesh as it is gathered before a buffer is built: vertices are added one by one and
// the polygon is complete when all of its corners are in. Coloured polygons take a position and
// then a colour per corner; textured ones take positions, and their u,v with the texture page.
#include <cstdint>

#include "d3d8.h"
#include "d3dx8.h"
#include "dxVertices.h"

class dxPoligono {
  public:
    dxPoligono(uint32_t flags, int32_t ultimoIndice);
    dxPoligono(const dxPoligono&) = default;
    dxPoligono& operator=(const dxPoligono&) = default;

    // The coloured corners, or the textured ones for a textured polygon.
    virtual void* GetVertices() = 0;
    // 0 once every corner is in, else E_FAIL.
    [[nodiscard]] virtual HRESULT Verificar();
    [[nodiscard]] virtual HRESULT AgregarVertice(float x, float y, float z) = 0;
    [[nodiscard]] virtual HRESULT SetColor(uint8_t r, uint8_t g, uint8_t b) = 0;
    virtual ~dxPoligono() = default;

    uint32_t GetFlags() const { return Flags; }

  protected:
    bool Lleno() const { return NumVertices > UltimoIndice; }
    // A coloured corner is complete only with its colour, so the position does not advance.
    [[nodiscard]] HRESULT PonerPosicion(dxVerticeColor* vertices, float x, float y, float z);
    [[nodiscard]] HRESULT PonerColor(dxVerticeColor* vertices, uint8_t r, uint8_t g, uint8_t b);
    [[nodiscard]] HRESULT PonerPosicionTex(dxVerticeTextura* vertices, float x, float y, float z);

    D3DXMATRIX Matriz1;
    D3DXMATRIX Matriz2;
    uint32_t Flags;
    int32_t NumVertices = 0;
    int32_t UltimoIndice;
};

class dxTriangulo : public dxPoligono {
  public:
    explicit dxTriangulo(uint32_t flags);

    void* GetVertices() override { return Vertices; }
    [[nodiscard]] HRESULT AgregarVertice(float x, float y, float z) override;
    [[nodiscard]] HRESULT SetColor(uint8_t r, uint8_t g, uint8_t b) override;

  protected:
    dxVerticeColor Vertices[3] = {};
};

class dxCuadrado : public dxPoligono {
  public:
    explicit dxCuadrado(uint32_t flags);

    void* GetVertices() override { return Vertices; }
    [[nodiscard]] HRESULT AgregarVertice(float x, float y, float z) override;
    [[nodiscard]] HRESULT SetColor(uint8_t r, uint8_t g, uint8_t b) override;

  protected:
    dxVerticeColor Vertices[4] = {};
};

// The texture page is the device's; the polygon only names it.
class dxTrianguloTex : public dxTriangulo {
  public:
    explicit dxTrianguloTex(uint32_t flags);

    void* GetVertices() override { return VerticesTex; }
    [[nodiscard]] HRESULT AgregarVertice(float x, float y, float z) override;
    // Textured corners carry no colour.
    [[nodiscard]] HRESULT SetColor(uint8_t, uint8_t, uint8_t) override { return E_FAIL; }

    [[nodiscard]] HRESULT SetTextura(IDirect3DTexture8* pagina, float U0, float V0, float U1, float V1, float U2,
                       float V2);
    IDirect3DTexture8* GetTextura() const { return Textura; }

  protected:
    dxVerticeTextura VerticesTex[3] = {};
    IDirect3DTexture8* Textura = nullptr;
};

class dxCuadradoTex : public dxCuadrado {
  public:
    explicit dxCuadradoTex(uint32_t flags);

    void* GetVertices() override { return VerticesTex; }
    [[nodiscard]] HRESULT AgregarVertice(float x, float y, float z) override;
    [[nodiscard]] HRESULT SetColor(uint8_t, uint8_t, uint8_t) override { return E_FAIL; }

    [[nodiscard]] HRESULT SetTextura(IDirect3DTexture8* pagina, float U0, float V0, float U1, float V1, float U2,
                       float V2, float U3, float V3);
    IDirect3DTexture8* GetTextura() const { return Textura; }

  protected:
    dxVerticeTextura VerticesTex[4] = {};
    IDirect3DTexture8* Textura = nullptr;
};
