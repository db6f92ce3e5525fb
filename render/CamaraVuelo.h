#pragma once
// The camera of the whole-level view: an eye that flies where it looks. Device axes (the level's
// y negated, y up, left-handed): guiñada 0 looks along +z and grows turning right; cabeceo > 0
// looks up. Pure state and arithmetic, like Navegacion; Aplicar hands the result to a device.
#include "ConvencionesNivel.h"
#include "Encuadre.h"
#include "d3dx8.h"

class dxDevice8;

class CamaraVuelo {
  public:
    // Short of straight up or down, where turning about y would stop meaning anything.
    static constexpr float CABECEO_MAXIMO = 1.5f; // radians, about 86 degrees
    // How far below the horizon the first view of a level looks.
    static constexpr float CABECEO_INICIAL = -0.6f;
    static constexpr float RADIANES_POR_PIXEL = 0.005f;
    // Shift's speed-up.
    static constexpr float MULTIPLICADOR_RAPIDO = 4.0f;
    // Units a second, one sector by default.
    static constexpr float VELOCIDAD_INICIAL = float(LADO_SECTOR);

    // Looks at the whole sphere from above it at CABECEO_INICIAL, far enough back that it fills
    // most of the shorter side of an ancho x alto view; the speed crosses it in about eight
    // seconds. The sphere also bounds the far plane from then on.
    void Encuadrar(const Esfera& esfera, int ancho, int alto) {
        Encuadrar(esfera, esfera, ancho, alto);
    }
    // The same for a part (a room) of what `limite` holds, which keeps bounding the far plane.
    void Encuadrar(const Esfera& vista, const Esfera& limite, int ancho, int alto);
    // Puts the eye at `ojo` looking along guinada and cabeceo at `pivote` (what it orbits and
    // zooms towards); `limite` bounds the far plane from then on.
    void Situar(const D3DXVECTOR3& ojo, float guinada, float cabeceo, const D3DXVECTOR3& pivote,
                const Esfera& limite);
    // Turns the eye about `pivote` at its distance, looking at it: the orbit of the object view.
    void Orbitar(float acimut, float elevacion, const D3DXVECTOR3& pivote);
    void Orbitar(float acimut, float elevacion) { Orbitar(acimut, elevacion, pivote_); }
    // pasos > 0 brings the eye closer to the pivot, each step by PASO_ZOOM of the distance, as
    // the object view zooms; never nearer than DISTANCIA_MINIMA. Back out without bound.
    static constexpr float PASO_ZOOM = 0.85f;
    static constexpr float DISTANCIA_MINIMA = 64.0f;
    void Acercar(float pasos);
    // Moves eye and pivot across the view so that the picture follows a drag of (dx, dy) pixels
    // (y downwards) in a view alto pixels high.
    void Desplazar(float dx, float dy, int alto);
    // What Orbitar and Acercar turn about: the framed sphere's centre, or what Situar named.
    D3DXVECTOR3 Pivote() const { return pivote_; }

    // Each of adelante, lado (right) and arriba is -1, 0 or 1 (or between); forward follows the
    // pitch, sideways stays level, up is the world's. `segundos` of travel at the speed, times
    // MULTIPLICADOR_RAPIDO when `rapido`. Non-finite input is ignored.
    void Mover(float adelante, float lado, float arriba, float segundos, bool rapido);
    // A mouse drag of (dx, dy) pixels, y downwards: right turns right, down looks down.
    void Mirar(float dx, float dy);

    void SetVelocidad(float unidadesPorSegundo);
    float Velocidad() const { return velocidad_; }
    float Guinada() const { return guinada_; }
    float Cabeceo() const { return cabeceo_; }
    D3DXVECTOR3 Ojo() const { return ojo_; }
    D3DXVECTOR3 Adelante() const;
    // A point one sector ahead of the eye, for SetObjetivo.
    D3DXVECTOR3 Objetivo() const;
    // Near and far planes: far past the whole sphere from wherever the eye is, near as far out as
    // depth precision asks.
    void Planos(float& cerca, float& lejos) const;

    // Projection and camera on the device for an ancho x alto view.
    [[nodiscard]] HRESULT Aplicar(dxDevice8& dispositivo, int ancho, int alto) const;
    // The same matrices, D3DX layout, without a device (for picking).
    void Matrices(int ancho, int alto, D3DXMATRIX& vista, D3DXMATRIX& proyeccion) const;

  private:
    D3DXVECTOR3 ojo_{0, 0, 0};
    float guinada_ = 0, cabeceo_ = 0;
    float velocidad_ = VELOCIDAD_INICIAL;
    Esfera esfera_;
    D3DXVECTOR3 pivote_{0, 0, 0};
};
