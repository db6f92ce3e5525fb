#pragma once
// A buffer of textured polygons: textured vertices, and the texture page of every primitive.
#include "dxBufferColor8.h"

class dxBufferTextura : public dxBufferColor8 {
  public:
    dxBufferTextura();

    int32_t Construir() override;
    void* GetVertices() override;

    // Page of primitive i of the last build; null outside it. The pages belong to the device.
    IDirect3DTexture8* GetTextura(int i) const;

  protected:
    std::vector<dxVerticeTextura> VerticesTex;
    std::vector<IDirect3DTexture8*> Texturas;
};
