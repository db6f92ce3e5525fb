#include "ClasesAlternas.h"

#include "OpcionesNivel.h"

#include <algorithm>
#include <array>

ClasesAlternas::ClasesAlternas(const std::vector<trCuartoLogica>& cuartos) {
    const size_t n = cuartos.size();
    auto alterno = [&](size_t r) {
        const int16_t a = cuartos[r].Alterno;
        return a >= 0 && size_t(a) < n && size_t(a) != r ? size_t(a) : n;
    };
    std::array<bool, 256> usado{};
    for (size_t r = 0; r < n; ++r)
        if (alterno(r) < n)
            usado[cuartos[r].GrupoAlterno] = true;
    std::array<uint32_t, 256> indice{};
    for (size_t g = 0; g < usado.size(); ++g)
        if (usado[g]) {
            indice[g] = uint32_t(grupos_.size());
            grupos_.push_back(uint8_t(g));
        }
    clases_.assign(n, SIEMPRE);
    for (size_t r = 0; r < n; ++r)
        if (alterno(r) < n)
            clases_[r] = 1 + 2 * indice[cuartos[r].GrupoAlterno];
    for (size_t r = 0; r < n; ++r)
        if (const size_t a = alterno(r); a < n)
            clases_[a] = 2 + 2 * indice[cuartos[r].GrupoAlterno];
}

bool ClasesAlternas::Visible(uint32_t clase, const OpcionesNivel& o) const {
    if (clase == SIEMPRE || clase >= NumClases())
        return true;
    const bool volteado = o.Volteado(grupos_[(clase - 1) / 2]);
    const bool reemplaza = clase % 2 == 0;
    return volteado == reemplaza;
}
