#pragma once
// llvmpipe allocates its scene memory for every draw and frees it at the frame's end. With the C
// library's default, the freed top of the heap goes back to the system each frame and comes back
// as page faults in the next one: more than half the frame time of a textured mesh. Programs that
// draw continuously keep that memory instead.
#include <cstddef>

inline constexpr size_t MONTICULO_CONSERVADO = size_t{64} << 20;

// Keeps up to `bytes` of freed memory at the heap's top. No effect where the C library lacks the
// setting.
void ConservarMonticulo(size_t bytes = MONTICULO_CONSERVADO);
