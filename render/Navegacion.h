#pragma once
// Where the viewer's camera stands and whether what is on show turns. It starts, and returns on
// Inicio, at the viewer's first view: DISTANCIA_OJO before the target on its -z side, the panel's
// projection, turning. From there the user orbits about the target, zooms, pans and frames to fit.
// Pure state and arithmetic; Aplicar hands the result to a device.
#include "Encuadre.h"
#include "d3dx8.h"

class dxDevice8;

class Navegacion {
  public:
    // Elevation stops short of straight up or down, where "up" would stop meaning anything.
    static constexpr float ELEVACION_MAXIMA = 1.5f; // radians, about 86 degrees
    // Each zoom step brings the eye this much closer.
    static constexpr float PASO_ZOOM = 0.85f;

    // What to look at: `objetivo` is the target of the first view (a mesh's centre), `limite` holds
    // everything drawn through the whole turn. Orbit and zoom are kept, a pan is dropped.
    void Mostrar(const D3DXVECTOR3& objetivo, const Esfera& limite);
    // Nothing on show: Aplicar leaves the device's camera alone.
    void Quitar();
    bool HayObjetivo() const { return hayObjetivo_; }

    // Back to the first view, turning.
    void Inicio();
    // Frames the limit sphere for an ancho x alto view, from the current direction.
    void Ajustar(int ancho, int alto);
    // Turns the eye about the target: a positive acimut carries it towards +x from the first
    // view, a positive elevation up. Elevation is held within +-ELEVACION_MAXIMA.
    void Orbitar(float acimut, float elevacion);
    // pasos > 0 brings the eye closer, each step by PASO_ZOOM. The whole limit sphere stays past
    // the near plane, however many steps.
    void Acercar(float pasos);
    // Moves the target across the view so that the picture follows a drag of (dx, dy) pixels
    // (y downwards) in a view alto pixels high.
    void Desplazar(float dx, float dy, int alto);

    bool Girando() const { return girando_; }
    void SetGiro(bool girando) { girando_ = girando; }
    // `segundos` pass: the turn advances by GIRO_POR_SEGUNDO each unless paused.
    void Avanzar(double segundos);
    float Angulo() const { return angulo_; }

    // Still at the first view: nothing moved since Inicio.
    bool Inicial() const { return inicial_; }
    float Distancia() const { return distancia_; }
    float DistanciaMinima() const;
    D3DXVECTOR3 Objetivo() const { return objetivo_; }
    D3DXVECTOR3 Ojo() const;
    const Esfera& Limite() const { return limite_; }
    // The planes Aplicar uses: the first view's own, or the ones that hold the limit sphere.
    void Planos(float& cerca, float& lejos) const;

    // Projection and camera on the device for an ancho x alto view. Does nothing without a target.
    [[nodiscard]] HRESULT Aplicar(dxDevice8& dispositivo, int ancho, int alto) const;

  private:
    void Movido();

    bool hayObjetivo_ = false;
    D3DXVECTOR3 objetivo_{0, 0, 0};
    D3DXVECTOR3 objetivoInicial_{0, 0, 0};
    Esfera limite_;
    float distancia_ = DISTANCIA_OJO;
    float acimut_ = 0, elevacion_ = 0;
    bool inicial_ = true;
    bool girando_ = true;
    float angulo_ = 0;
};
