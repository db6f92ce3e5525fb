#pragma once
// A device wrapper over the recorder, and small builders of buffers, for call-order tests.
#include "Grabador.h"
#include "dxBufferTextura.h"
#include "dxDevice8.h"

#include <array>
#include <memory>

struct DispositivoGrabado {
    std::shared_ptr<RegistroGrabador> registro = std::make_shared<RegistroGrabador>();
    dxDevice8 dispositivo;
    DispositivoGrabado() { dispositivo.SetDispositivo(CrearDispositivoGrabador(registro)); }
};

inline std::unique_ptr<dxTrianguloTex> Triangulo(float z, uint32_t flags = 0x08,
                                                 IDirect3DTexture8* pagina = nullptr) {
    auto t = std::make_unique<dxTrianguloTex>(flags);
    (void)t->AgregarVertice(0, 0, z);
    (void)t->AgregarVertice(1, 0, z);
    (void)t->AgregarVertice(0, 1, z);
    if (pagina)
        (void)t->SetTextura(pagina, 0, 0, 1, 0, 0, 1);
    return t;
}

inline std::unique_ptr<dxCuadradoTex> Cuadrado(float z, uint32_t flags = 0x08,
                                               IDirect3DTexture8* pagina = nullptr) {
    auto q = std::make_unique<dxCuadradoTex>(flags);
    (void)q->AgregarVertice(0, 0, z);
    (void)q->AgregarVertice(1, 0, z);
    (void)q->AgregarVertice(0, 1, z);
    (void)q->AgregarVertice(1, 1, z);
    if (pagina)
        (void)q->SetTextura(pagina, 0, 0, 1, 0, 0, 1, 1, 1);
    return q;
}

// A world point through the device's view and projection: x, y and depth in normalised device
// coordinates, and w (positive in front of the eye).
inline std::array<float, 4> Clip(const dxDevice8& d, D3DXVECTOR3 punto) {
    const D3DXMATRIX v = d.GetVista(), p = d.GetProyeccion();
    float e[4] = {punto.x, punto.y, punto.z, 1}, o[4] = {}, c[4] = {};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            o[j] += e[i] * v.m[i][j];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            c[j] += o[i] * p.m[i][j];
    return {c[0] / c[3], c[1] / c[3], c[2] / c[3], c[3]};
}
