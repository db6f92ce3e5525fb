#pragma once
// The level's logic over its picture: every trigger sector as a translucent tile on its floor,
// coloured by the trigger's type, and every kill sector red. Added over the scene's colours
// without writing depth, a little above the floor so the floor never hides it.
#include "EscenaNivel.h"
#include "Lotes8.h"
#include "trSectores.h"

#include <memory>
#include <vector>

class dxDevice8;

class CapaDisparadores {
  public:
    // What the tile of a sector adds: its trigger type's colour, red where Lara dies (over any
    // trigger), nothing (0) for a sector that neither triggers nor kills.
    static D3DCOLOR ColorSector(const trLogica& logica, const trSector& sector);
    static D3DCOLOR ColorTipo(uint8_t tipo);
    static constexpr D3DCOLOR ROJO_MUERTE = 0xFFC00000;
    // How far above its floor (level units) a tile floats.
    static constexpr float ALTURA = 16;

    // Two triangles a tile, device axes, untextured; the rooms shown whatever the flip first,
    // then those that give way when flipped, then those that take their place (as the scene's
    // own classes). hasta[c] is where class c's vertices end.
    static std::vector<VerticeLote> Vertices(const trLogica& logica, UINT hasta[3]);

    // Null without a device that draws batches (the recorder, none at all).
    static std::unique_ptr<CapaDisparadores> Crear(const trLogica& logica, dxDevice8* dispositivo);
    // With the view and projection the scene was drawn with, after it.
    [[nodiscard]] HRESULT Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    UINT Baldosas() const { return hasta_[2] / 6; }

  private:
    CapaDisparadores() = default;
    std::unique_ptr<ILotes8> lotes_;
    UINT hasta_[3] = {};
};
