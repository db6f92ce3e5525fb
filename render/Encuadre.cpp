#include "Encuadre.h"

#include "dxBufferColor8.h"
#include "dxDevice8.h"
#include "trMesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

HRESULT SetProyeccionVisor(dxDevice8& dispositivo, int ancho, int alto) {
    const float proporcion = float(ancho < 1 ? 1 : ancho) / float(alto < 1 ? 1 : alto);
    return dispositivo.SetProyeccion(PLANO_CERCANO, PLANO_LEJANO, proporcion, CAMPO_VISION);
}

HRESULT EncuadrarMesh(dxDevice8& dispositivo, const trMesh& mesh) {
    const float x = float(mesh.CentroX), y = float(-int32_t(mesh.CentroY)), z = float(mesh.CentroZ);
    HRESULT r = dispositivo.SetOjo(x, y, z - DISTANCIA_OJO);
    return r != D3D_OK ? r : dispositivo.SetObjetivo(x, y, z);
}

float DistanciaAjuste(float radio, int ancho, int alto) {
    const float proporcion = float(ancho < 1 ? 1 : ancho) / float(alto < 1 ? 1 : alto);
    // The narrower of the two half-angles of view decides; a sphere seen at distance d under
    // half-angle a spans sin(a) * d of radius.
    const float medioVertical = CAMPO_VISION / 2;
    const float medioHorizontal = std::atan(std::tan(medioVertical) * proporcion);
    const float medio = std::min(medioVertical, medioHorizontal);
    return std::max(radio, 1.0f) / (std::sin(medio) * AJUSTE_RELLENO);
}

void PlanosEsfera(float distancia, float radio, float& cerca, float& lejos) {
    // Depth precision follows the ratio far/near, so near stays as far out as the sphere allows.
    cerca = std::max(distancia - radio * 1.05f, distancia / 1000.0f);
    lejos = distancia + radio * 1.05f;
}

HRESULT EncuadrarEsfera(dxDevice8& dispositivo, float x, float y, float z, float radio, int ancho,
                        int alto) {
    radio = std::max(radio, 1.0f);
    const float d = DistanciaAjuste(radio, ancho, alto);
    const float proporcion = float(ancho < 1 ? 1 : ancho) / float(alto < 1 ? 1 : alto);
    float cerca = 0, lejos = 0;
    PlanosEsfera(d, radio, cerca, lejos);
    HRESULT r = dispositivo.SetProyeccion(cerca, lejos, proporcion, CAMPO_VISION);
    if (r == D3D_OK)
        r = dispositivo.SetOjo(x, y, z - d);
    return r != D3D_OK ? r : dispositivo.SetObjetivo(x, y, z);
}

float AvanzarAngulo(float angulo, double paso) {
    double siguiente = std::fmod(double(angulo) + paso, 2.0 * std::numbers::pi);
    return float(siguiente < 0 ? siguiente + 2.0 * std::numbers::pi : siguiente);
}

HRESULT DibujarCuadro(dxDevice8& dispositivo, dxBufferColor8* buffer, float angulo,
                      bool texturizado, bool alambre) {
    HRESULT r = dispositivo.Limpiar(1);
    // A mesh without faces has nothing on the device to draw; that is no failure.
    auto dibujar = [&](int32_t modo) {
        if (const HRESULT d = dispositivo.DibujarBuffer(buffer, modo);
            FAILED(d) && buffer->GetNumVertices() > 0 && SUCCEEDED(r))
            r = d;
    };
    if (buffer) {
        buffer->RotarY(angulo);
        if (texturizado)
            dibujar(0);
        if (alambre) {
            // A draw resets the world matrix; the wireframe over a textured picture turns too.
            if (texturizado)
                buffer->RotarY(angulo);
            dibujar(2);
        }
    }
    HRESULT p = dispositivo.Presentar();
    return r != D3D_OK ? r : p;
}
