#pragma once
// The texture pages of one level as device textures, made from the texels the level holds.
#include "PaginasNivel.h"
#include "d3d8.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct trNivel;
class dxDevice8;

class trTextura : public PaginasNivel {
  public:
    // The page count is taken now, from the level as it stands.
    explicit trTextura(const trNivel* nivel);
    // Releases the textures it made; polygons that still name them must be gone by then.
    ~trTextura();
    trTextura(const trTextura&) = delete;
    trTextura& operator=(const trTextura&) = delete;

    // E_FAIL without a device. A page the device refuses stays null.
    [[nodiscard]] HRESULT CrearTexturas(dxDevice8* dispositivo);
    // Null outside 0..count-1, before CrearTexturas, or for a page that could not be made.
    IDirect3DTexture8* GetTextura(int32_t indice) const;

  private:
    void Liberar();

    std::vector<IDirect3DTexture8*> paginas_;
};
