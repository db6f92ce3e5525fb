#include "DibujoEnsamblaje.h"

#include "BuffersMesh.h"
#include "Encuadre.h"
#include "MatrizDispositivo.h"
#include "dxBufferTextura.h"
#include "dxDevice8.h"

#include <memory>
#include <vector>

HRESULT EncuadrarEnsamblaje(dxDevice8& dispositivo, const Ensamblaje& objeto, int ancho, int alto) {
    return EncuadrarEsfera(dispositivo, objeto.Centro.x, objeto.Centro.y, objeto.Centro.z,
                           objeto.Radio, ancho, alto);
}

HRESULT DibujarEnsamblaje(dxDevice8& dispositivo, const Ensamblaje& objeto,
                          const BuffersMesh& buffers, float angulo, bool texturizado, bool alambre,
                          int32_t resaltada) {
    HRESULT r = dispositivo.Limpiar(1);
    // A mesh without faces has nothing on the device to draw; that is no failure.
    auto anotar = [&r](const dxBufferTextura& buffer, HRESULT d) {
        if (FAILED(d) && buffer.GetNumVertices() > 0 && r == D3D_OK)
            r = d;
    };
    // A joint's own buffer, made at the pose's positions and gone with the draw.
    std::vector<std::shared_ptr<dxBufferTextura>> posados(objeto.Piezas.size());
    for (size_t i = 0; i < objeto.Piezas.size(); ++i) {
        const PiezaObjeto& p = objeto.Piezas[i];
        if (p.Junta < 0 || !(posados[i] = buffers.Posado(p.Mesh, p.Vertices)))
            continue;
        anotar(*posados[i], dispositivo.CargarBuffer(posados[i].get()));
    }
    auto buffer = [&](size_t i) {
        return objeto.Piezas[i].Junta >= 0 ? posados[i].get()
                                           : buffers.Obtener(objeto.Piezas[i].Mesh);
    };
    // Every mesh's opaque faces before any additive one, which adds over what stands behind it.
    for (const auto pasada : {dxDevice8::Pasada::Opacas, dxDevice8::Pasada::Aditivas}) {
        for (size_t i = 0; i < objeto.Piezas.size(); ++i) {
            const PiezaObjeto& p = objeto.Piezas[i];
            dxBufferTextura* b = buffer(i);
            if (!b || (pasada == dxDevice8::Pasada::Aditivas && !b->AlgunaCon(FLAG_ADITIVA)))
                continue;
            const D3DXMATRIX mundo = MatrizDX(MundoGirado(p, objeto, angulo));
            // A draw resets the world matrix, so each draw is given it again.
            if (texturizado) {
                b->SetMundo(mundo);
                anotar(*b, dispositivo.DibujarBuffer(b, 0, pasada));
            }
            if (alambre && pasada == dxDevice8::Pasada::Opacas) {
                b->SetMundo(mundo);
                anotar(*b, dispositivo.DibujarBuffer(b, 2));
            }
        }
    }
    if (resaltada >= 0 && size_t(resaltada) < objeto.Piezas.size())
        if (dxBufferTextura* b = buffer(size_t(resaltada))) {
            b->SetMundo(MatrizDX(MundoGirado(objeto.Piezas[size_t(resaltada)], objeto, angulo)));
            anotar(*b, dispositivo.DibujarBuffer(b, 2));
        }
    HRESULT p = dispositivo.Presentar();
    return r != D3D_OK ? r : p;
}
