#pragma once
// The device's fixed-function state: what the viewer asked for through SetRenderState and
// SetTextureStageState, and what was last applied to GL, so that a draw touches GL only where the
// two differ (the viewer sets fill, cull and texture before each of hundreds of draws a frame).
#include "ProgramaGL.h"
#include "RecursosGL.h"
#include "d3d8.h"

// Asked for; Direct3D 8's defaults until set.
struct EstadoPedido {
    DWORD relleno = D3DFILL_SOLID;
    DWORD cull = D3DCULL_CCW;
    DWORD opColor = D3DTOP_MODULATE;
    DWORD argColor1 = D3DTA_TEXTURE;
    DWORD argColor2 = D3DTA_CURRENT;
    DWORD opAlfa = D3DTOP_SELECTARG1;
    DWORD argAlfa1 = D3DTA_TEXTURE;
    DWORD argAlfa2 = D3DTA_CURRENT;
    DWORD zEscritura = 1;
    DWORD pruebaAlfa = 0, refAlfa = 0, funcAlfa = D3DCMP_ALWAYS;
    DWORD mezclaAlfa = 0, mezclaOrigen = D3DBLEND_ONE, mezclaDestino = D3DBLEND_ZERO;
};

class EstadoAplicadoGL {
  public:
    // Brings GL to `pedido` with `programa` in use, emitting the queued draws before the first
    // change; answers the texture the next draw samples (none when no stage reads it).
    const TexturaGL* Aplicar(const EstadoPedido& pedido, ContextoGL& contexto,
                             const ProgramaGL& programa);
    // Direct3D clears depth whatever D3DRS_ZWRITEENABLE says; GL's clear obeys the mask.
    void AbrirEscrituraZ();
    // The program the device's creation left in use.
    void ProgramaEnUso(GLuint nombre) { programaAplicado_ = nombre; }

  private:
    // 0 / -1 mean "not yet", forcing the first draw to set it.
    GLuint programaAplicado_ = 0;
    GLenum modoPoligonoAplicado_ = 0;
    int cullActivoAplicado_ = -1;
    GLenum caraCullAplicada_ = 0;
    GLint arg1Aplicado_ = -1, arg2Aplicado_ = -1;
    GLint alfa1Aplicado_ = -1, alfa2Aplicado_ = -1;
    GLint pruebaAplicada_ = -1;
    float refAplicada_ = -1;
    int zEscrituraAplicada_ = -1, mezclaAplicada_ = -1;
    GLenum origenAplicado_ = 0, destinoAplicado_ = 0;
};
