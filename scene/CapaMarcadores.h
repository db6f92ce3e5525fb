#pragma once
// Where the level's logic stands in space: each camera, sink, flyby camera and sound source as a
// small solid marker of its own colour, and each flyby sequence's path as a line through its
// cameras in the order they are flown, over everything.
#include "Lotes8.h"
#include "trSectores.h"

#include <memory>
#include <vector>

class dxDevice8;

class CapaMarcadores {
  public:
    static constexpr D3DCOLOR CIAN_CAMARA = 0xFF00C0C0, AZUL_SUMIDERO = 0xFF0040FF,
                              AMARILLO_VUELO = 0xFFE0C000, VERDE_SONIDO = 0xFF00C000;
    // Half the marker's size, in level units (a sector is 1024).
    static constexpr float RADIO = 128;
    static constexpr UINT VERTICES_MARCADOR = 24;

    // Device axes. The markers' triangles first (`solidos` vertices), then the paths' segments,
    // each as a triangle with its last corner repeated, which a drawing in lines shows as one.
    static std::vector<VerticeLote> Vertices(const trLogica& logica, UINT& solidos);

    // Null without a device that draws batches.
    static std::unique_ptr<CapaMarcadores> Crear(const trLogica& logica, dxDevice8* dispositivo);
    // With the view and projection the scene was drawn with, after it.
    [[nodiscard]] HRESULT Dibujar(dxDevice8& dispositivo) const;
    UINT Marcadores() const { return solidos_ / VERTICES_MARCADOR; }

  private:
    CapaMarcadores() = default;
    std::unique_ptr<ILotes8> lotes_;
    UINT solidos_ = 0, total_ = 0;
};
