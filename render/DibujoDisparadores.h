#pragma once
// The trigger and kill tiles (CapaDisparadores) loaded once into a batch, drawn over the scene.
#include "EscenaNivel.h"
#include "Lotes8.h"
#include "trSectores.h"

#include <memory>
#include <vector>

class dxDevice8;

class DibujoDisparadores {
  public:
    // Null without a device that draws batches (the recorder, none at all), or one that refuses
    // the tiles.
    static std::unique_ptr<DibujoDisparadores> Crear(const trLogica& logica,
                                                     dxDevice8* dispositivo);
    // With the view and projection the scene was drawn with, after it.
    [[nodiscard]] HRESULT Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    UINT Baldosas() const { return hasta_.empty() ? 0 : hasta_.back() / 6; }

  private:
    DibujoDisparadores() = default;
    std::unique_ptr<ILotes8> lotes_;
    ClasesAlternas clases_;
    std::vector<uint32_t> hasta_; // where each class's tiles end
};
