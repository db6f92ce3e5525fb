#include "DibujoEnsamblaje.h"

#include "BuffersMesh.h"
#include "Encuadre.h"
#include "MatrizDispositivo.h"
#include "dxBufferTextura.h"
#include "dxDevice8.h"

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
    // Every mesh's opaque faces before any additive one, which adds over what stands behind it.
    for (const auto pasada : {dxDevice8::Pasada::Opacas, dxDevice8::Pasada::Aditivas}) {
        for (const PiezaObjeto& p : objeto.Piezas) {
            dxBufferTextura* buffer = buffers.Obtener(p.Mesh);
            if (!buffer ||
                (pasada == dxDevice8::Pasada::Aditivas && !buffer->AlgunaCon(FLAG_ADITIVA)))
                continue;
            const D3DXMATRIX mundo = MatrizDX(MundoGirado(p, objeto, angulo));
            // A draw resets the world matrix, so each draw is given it again.
            if (texturizado) {
                buffer->SetMundo(mundo);
                anotar(*buffer, dispositivo.DibujarBuffer(buffer, 0, pasada));
            }
            if (alambre && pasada == dxDevice8::Pasada::Opacas) {
                buffer->SetMundo(mundo);
                anotar(*buffer, dispositivo.DibujarBuffer(buffer, 2));
            }
        }
    }
    if (resaltada >= 0 && size_t(resaltada) < objeto.Piezas.size())
        if (dxBufferTextura* buffer = buffers.Obtener(objeto.Piezas[size_t(resaltada)].Mesh)) {
            buffer->SetMundo(MatrizDX(MundoGirado(objeto.Piezas[size_t(resaltada)], objeto, angulo)));
            anotar(*buffer, dispositivo.DibujarBuffer(buffer, 2));
        }
    HRESULT p = dispositivo.Presentar();
    return r != D3D_OK ? r : p;
}
