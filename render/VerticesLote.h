#pragma once
// The core's plain scene vertices as the device's batches read them: the same 28 bytes, field
// for field.
#include "Lotes8.h"
#include "VerticeEscena.h"

#include <cstddef>
#include <vector>

static_assert(sizeof(VerticeEscena) == sizeof(VerticeLote));
static_assert(offsetof(VerticeEscena, Color) == offsetof(VerticeLote, Color));
static_assert(PAGINA_NINGUNA == SIN_PAGINA);

inline void ALotes(const VerticeEscena* v, size_t cantidad, std::vector<VerticeLote>& l) {
    l.resize(cantidad);
    for (size_t i = 0; i < cantidad; ++i)
        l[i] = {v[i].X, v[i].Y, v[i].Z, v[i].U, v[i].V, v[i].Pagina, D3DCOLOR(v[i].Color)};
}
