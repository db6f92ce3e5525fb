#include "Idioma.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {
// -1: not decided yet; otherwise an Idioma.
std::atomic<int> fijado{-1};
} // namespace

Idioma IdiomaDelEntorno() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* valor = std::getenv(variable);
        if (!valor || !*valor)
            continue;
        const bool ingles =
            std::strncmp(valor, "en", 2) == 0 && (valor[2] == '\0' || valor[2] == '_' ||
                                                  valor[2] == '.' || valor[2] == '@');
        return ingles ? Idioma::Ingles : Idioma::Espanol;
    }
    return Idioma::Espanol;
}

Idioma IdiomaActual() {
    int v = fijado.load(std::memory_order_relaxed);
    if (v < 0) {
        v = int(IdiomaDelEntorno());
        fijado.store(v, std::memory_order_relaxed);
    }
    return Idioma(v);
}

void FijarIdioma(Idioma idioma) { fijado.store(int(idioma), std::memory_order_relaxed); }

const char* Traducir(const char* espanol) {
    // The catalogue comes with the translations; until then every text is its own.
    return espanol;
}
