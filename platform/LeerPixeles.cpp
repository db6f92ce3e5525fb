#include "SuperficieGL.h"

#include <GL/glcorearb.h>

#include <algorithm>

std::vector<uint32_t> LeerPixeles(SuperficieGL& superficie) {
    if (!superficie.HacerActual())
        return {};
    const int ancho = superficie.Ancho(), alto = superficie.Alto();
    std::vector<uint32_t> pixeles(size_t(ancho) * alto);
    // Only the read binding changes, so the device's draw binding stays valid.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, superficie.Framebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, ancho, alto, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixeles.data());
    // GL's first row is the bottom one; flipping here keeps the drawing (and its winding) upright.
    for (int y = 0; y < alto / 2; ++y)
        std::swap_ranges(pixeles.begin() + size_t(y) * ancho,
                         pixeles.begin() + size_t(y + 1) * ancho,
                         pixeles.begin() + size_t(alto - 1 - y) * ancho);
    return pixeles;
}
