#pragma once
// A 64x64 off-screen surface with a device on it, and helpers to draw and read pixels back.
// Vertices are given in clip space under identity matrices: pixel (x, y), counted from the
// top-left, has its centre at (Ndc(x), NdcY(y)).
#include "SuperficieEGL.h"
#include "d3d8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

struct VerticeColor {
    float x, y, z;
    D3DCOLOR color;
};
struct VerticeTextura {
    float x, y, z, u, v;
};
constexpr DWORD FVF_COLOR = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr DWORD FVF_TEXTURA = D3DFVF_XYZ | D3DFVF_TEX1;

constexpr int kLado = 64;
constexpr float Ndc(float x) {
    return (x + 0.5f) / (kLado / 2) - 1.f;
}
constexpr float NdcY(float y) {
    return 1.f - (y + 0.5f) / (kLado / 2);
}

constexpr D3DCOLOR kFondo = 0xFF102030, kRojo = 0xFFFF0000, kVerde = 0xFF00FF00, kAzul = 0xFF0000FF,
                   kBlanco = 0xFFFFFFFF;

inline D3DMATRIX Identidad() {
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1.f;
    return m;
}

inline IDirect3DDevice8* CrearDispositivo(SuperficieGL* superficie, bool profundidad = true) {
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS p{};
    p.Windowed = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.EnableAutoDepthStencil = profundidad;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice8* dispositivo = nullptr;
    (void)d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, superficie, 0, &p, &dispositivo);
    d3d->Release();
    return dispositivo;
}

template <class V> IDirect3DVertexBuffer8* CrearBuffer(IDirect3DDevice8* dev, const V* v, UINT n) {
    IDirect3DVertexBuffer8* b = nullptr;
    BYTE* p = nullptr;
    if (FAILED(dev->CreateVertexBuffer(n * sizeof(V), 0, 0, D3DPOOL_MANAGED, &b)) ||
        FAILED(b->Lock(0, 0, &p, 0)))
        return b;
    std::memcpy(p, v, n * sizeof(V));
    (void)b->Unlock();
    return b;
}

class PruebaGL : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string motivo;
        superficie_ = SuperficieEGL::Crear(kLado, kLado, &motivo);
        if (!superficie_)
            GTEST_FAIL() << "sin OpenGL sin superficie: " << motivo;
        dev_ = CrearDispositivo(superficie_.get());
        ASSERT_NE(dev_, nullptr);
        const D3DMATRIX id = Identidad();
        (void)dev_->SetTransform(D3DTS_WORLD, &id);
        (void)dev_->SetTransform(D3DTS_VIEW, &id);
        (void)dev_->SetTransform(D3DTS_PROJECTION, &id);
        (void)dev_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        ASSERT_EQ(dev_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kFondo, 1.f, 0),
                  D3D_OK);
    }
    void TearDown() override {
        for (auto* b : buffers_)
            b->Release();
        if (dev_)
            dev_->Release();
    }

    template <class V> IDirect3DVertexBuffer8* Buffer(const std::vector<V>& v) {
        buffers_.push_back(CrearBuffer(dev_, v.data(), UINT(v.size())));
        return buffers_.back();
    }
    template <class V>
    HRESULT Dibujar(const std::vector<V>& v, D3DPRIMITIVETYPE tipo = D3DPT_TRIANGLESTRIP,
                    UINT primitivas = 2) {
        (void)dev_->SetStreamSource(0, Buffer(v), sizeof(V));
        (void)dev_->SetVertexShader(sizeof(V) == sizeof(VerticeColor) ? FVF_COLOR : FVF_TEXTURA);
        return dev_->DrawPrimitive(tipo, 0, primitivas);
    }
    // Between pixel centres, as a strip of two clockwise triangles.
    static std::vector<VerticeColor> Rectangulo(int x0, int y0, int x1, int y1, D3DCOLOR c,
                                                float z = .5f) {
        return {{Ndc(x0), NdcY(y0), z, c},
                {Ndc(x1), NdcY(y0), z, c},
                {Ndc(x0), NdcY(y1), z, c},
                {Ndc(x1), NdcY(y1), z, c}};
    }
    // The whole surface, texture coordinates 0..uv.
    static std::vector<VerticeTextura> Cuadro(float uv = 1.f) {
        return {{-1, 1, .5f, 0, 0}, {1, 1, .5f, uv, 0}, {-1, -1, .5f, 0, uv}, {1, -1, .5f, uv, uv}};
    }
    uint32_t Pixel(int x, int y) { return LeerPixeles(*superficie_).at(size_t(y) * kLado + x); }

    std::unique_ptr<SuperficieEGL> superficie_;
    IDirect3DDevice8* dev_ = nullptr;
    std::vector<IDirect3DVertexBuffer8*> buffers_;
};
