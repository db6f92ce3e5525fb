#pragma once
// The logic's markers and flyby paths (CapaMarcadores) loaded once into a batch, drawn over
// everything.
#include "Lotes8.h"
#include "trSectores.h"

#include <memory>

class dxDevice8;

class DibujoMarcadores {
  public:
    // Null without a device that draws batches, or one that refuses the markers.
    static std::unique_ptr<DibujoMarcadores> Crear(const trLogica& logica, dxDevice8* dispositivo);
    // With the view and projection the scene was drawn with, after it.
    [[nodiscard]] HRESULT Dibujar(dxDevice8& dispositivo) const;
    UINT Marcadores() const;

  private:
    DibujoMarcadores() = default;
    std::unique_ptr<ILotes8> lotes_;
    uint32_t solidos_ = 0, total_ = 0;
};
