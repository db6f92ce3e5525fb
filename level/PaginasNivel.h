#pragma once
// The level's texture pages as texels, the one page format everything shown or exported takes:
// page i is the 256 x 256 A8R8G8B8 run of block 1 that starts at i x 262144, read in place.
#include <cstdint>

struct trNivel;

class PaginasNivel {
  public:
    // The page count is taken now, from the level as it stands; the level must outlive this.
    explicit PaginasNivel(const trNivel* nivel);

    int32_t NumPaginas() const { return numPaginas_; }
    // Page i's 262144 bytes (B, G, R, A in memory); null outside 0..count-1.
    const uint8_t* GetTexels(int32_t indice) const;

  private:
    int32_t numPaginas_ = 0;
    const trNivel* nivel_;
};
