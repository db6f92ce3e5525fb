#pragma once
// The texture pages of one level as device textures: page i is the 256 x 256 A8R8G8B8 run of
// block 1 that starts at i x 262144.
#include "d3d8.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct trNivel;
class dxDevice8;

class trTextura {
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
    int32_t NumPaginas() const { return numPaginas_; }
    // Page i's 262144 bytes as they are uploaded (A8R8G8B8: B, G, R, A in memory), read in place
    // from the level; null outside 0..count-1.
    const uint8_t* GetTexels(int32_t indice) const;

  private:
    void Liberar();

    std::vector<IDirect3DTexture8*> paginas_;
    int32_t numPaginas_ = 0;
    const trNivel* nivel_;
};
