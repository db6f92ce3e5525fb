#include "Idioma.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace {
// -1: not decided yet; otherwise an Idioma.
std::atomic<int> fijado{-1};

const EntradaCatalogo ENTRADAS[] = {
#include "CatalogoIngles.inc"
};
} // namespace

Idioma IdiomaDelEntorno() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* valor = std::getenv(variable);
        if (!valor || !*valor)
            continue;
        const bool ingles =
            std::strncmp(valor, "en", 2) == 0 &&
            (valor[2] == '\0' || valor[2] == '_' || valor[2] == '.' || valor[2] == '@');
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

void FijarIdioma(Idioma idioma) {
    fijado.store(int(idioma), std::memory_order_relaxed);
}

std::span<const EntradaCatalogo> CatalogoIngles() {
    return ENTRADAS;
}

const char* Traducir(const char* espanol) {
    if (!espanol || IdiomaActual() != Idioma::Ingles)
        return espanol;
    // Built once, on the first text asked for in English; the C++ runtime makes that thread-safe.
    static const auto indice = [] {
        std::unordered_map<std::string_view, const char*> m;
        for (const auto& e : ENTRADAS)
            if (*e.ingles && !e.dudosa)
                m.emplace(e.espanol, e.ingles);
        return m;
    }();
    const auto i = indice.find(espanol);
    return i == indice.end() ? espanol : i->second;
}

std::string Formatear(std::string_view plantilla, std::initializer_list<std::string_view> valores) {
    std::string texto;
    texto.reserve(plantilla.size() + 16 * valores.size());
    size_t siguiente = 0;
    for (size_t i = 0; i < plantilla.size(); ++i) {
        const char c = plantilla[i];
        if (c != '%' || i + 1 == plantilla.size()) {
            texto += c;
            continue;
        }
        size_t fin = i + 1, numero = 0;
        while (fin < plantilla.size() && plantilla[fin] >= '0' && plantilla[fin] <= '9')
            numero = numero * 10 + size_t(plantilla[fin++] - '0');
        const bool posicional = fin > i + 1 && fin + 1 < plantilla.size() &&
                                plantilla[fin] == '$' && plantilla[fin + 1] == 's';
        if (plantilla[i + 1] == '%') {
            texto += '%';
            i += 1;
        } else if (plantilla[i + 1] == 's') {
            if (siguiente < valores.size())
                texto += valores.begin()[siguiente];
            ++siguiente;
            i += 1;
        } else if (posicional) {
            if (numero >= 1 && numero <= valores.size())
                texto += valores.begin()[numero - 1];
            i = fin + 1;
        } else {
            texto += c; // not a placeholder of ours: left as written
        }
    }
    return texto;
}
