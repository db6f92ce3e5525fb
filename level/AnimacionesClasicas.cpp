#include "AnimacionesClasicas.h"
#include "Idioma.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace clasico {

namespace {

// The first game's keyframes carry a count of rotation words and store each three-axis rotation
// with its two words swapped. Rewritten as the later games' keyframes: the count left out, the
// words in order. `mapa` takes each old keyframe's byte offset to its new one, with its meshes.
struct CuadroTR1 {
    uint32_t viejo, nuevo, meshes;
};

bool ConvertirCuadrosTR1(const trBytes& viejos, trBytes& nuevos, std::vector<CuadroTR1>& mapa,
                         Flujo& error) {
    Flujo f(viejos.data(), viejos.size(), 1);
    const std::string que = Traducir(PorTraducir("los cuadros de animación"));
    nuevos.clear();
    nuevos.reserve(viejos.size());
    while (f.Restante() > 0 && !f.Fallo()) {
        const uint32_t inicio = uint32_t(f.Posicion());
        const uint8_t* cabecera = f.Tomar(1, 20, que);
        if (!cabecera)
            break;
        const uint16_t valores = Leer<uint16_t>(cabecera + 18);
        const uint8_t* giros = f.Tomar(valores, 4, que);
        if (!giros)
            break;
        mapa.push_back({inicio, uint32_t(nuevos.size()), valores});
        nuevos.insert(nuevos.end(), cabecera, cabecera + 18);
        for (uint32_t k = 0; k < valores; ++k) {
            nuevos.insert(nuevos.end(), giros + 4 * k + 2, giros + 4 * k + 4);
            nuevos.insert(nuevos.end(), giros + 4 * k, giros + 4 * k + 2);
        }
    }
    error.Absorber(f);
    return !f.Fallo();
}

// Words looked at when widening the one-axis rotations; far beyond any real level's frames.
constexpr uint64_t MAXIMO_PALABRAS_GIRO = uint64_t{1} << 23;

// The second and third games turn one axis alone in 10 bits of a word, 1024 a full turn; the
// fourth in 12. Each keyframe an animation or a moveable reaches is walked once with its owner's
// meshes, and its one-axis words widened.
class Ensanchar {
  public:
    explicit Ensanchar(trBytes& cuadros) : cuadros_(cuadros), hecho_(cuadros.size() / 2) {}

    void Cuadro(uint64_t byte, uint64_t palabras, uint32_t meshes) {
        const uint64_t total = cuadros_.size() / 2;
        if (byte % 2 != 0 || byte / 2 >= total)
            return;
        uint64_t i = byte / 2 + 9;
        const uint64_t fin = std::min(total, byte / 2 + palabras);
        for (uint32_t m = 0; m < meshes && i < fin && presupuesto_ > 0; ++m, --presupuesto_) {
            uint8_t* p = cuadros_.data() + 2 * i;
            const uint16_t w = Leer<uint16_t>(p);
            if ((w & 0xC000) == 0) {
                i += 2;
                continue;
            }
            if (!hecho_[i]) {
                const uint16_t ancho = uint16_t((w & 0xC000) | ((w & 0x3FF) << 2));
                std::memcpy(p, &ancho, 2);
                hecho_[i] = true;
            }
            i += 1;
        }
    }

  private:
    trBytes& cuadros_;
    std::vector<bool> hecho_;
    uint64_t presupuesto_ = MAXIMO_PALABRAS_GIRO;
};

} // namespace

void ConvertirAnimaciones(int juego, trBytes& cuadros, const trBytes& animaciones, trNivel& n,
                          Flujo& f) {
    // Animations: the fourth game's record has the lateral speed and acceleration after the
    // speed and acceleration; these games have none.
    std::vector<CuadroTR1> mapaCuadros;
    if (juego == 1)
        ConvertirCuadrosTR1(cuadros, n.Cuadros, mapaCuadros, f);
    else
        n.Cuadros = std::move(cuadros);
    n.NumCuadros = uint32_t(n.Cuadros.size() / 2);
    const uint32_t fuera = uint32_t(n.Cuadros.size()) + 2;
    auto cuadroNuevo = [&](uint32_t viejo, uint32_t* meshesCuadro) {
        const auto en =
            std::lower_bound(mapaCuadros.begin(), mapaCuadros.end(), viejo,
                             [](const CuadroTR1& c, uint32_t v) { return c.viejo < v; });
        if (en == mapaCuadros.end() || en->viejo != viejo)
            return fuera;
        if (meshesCuadro)
            *meshesCuadro = en->meshes;
        return en->nuevo;
    };
    n.Animaciones.reserve(size_t{n.NumAnimaciones} * 40);
    for (uint32_t a = 0; a < n.NumAnimaciones; ++a) {
        const uint8_t* p = animaciones.data() + BYTES_ANIMACION * a;
        trBytes registro(p, p + 16);
        registro.insert(registro.end(), 8, 0);
        registro.insert(registro.end(), p + 16, p + 32);
        if (juego == 1) {
            // Its frame size is 0 in every level: the stride is the keyframe's own.
            uint32_t meshesCuadro = 0;
            const uint32_t nuevo = cuadroNuevo(Leer<uint32_t>(p), &meshesCuadro);
            std::memcpy(registro.data(), &nuevo, 4);
            const uint32_t palabras = 9 + 2 * meshesCuadro;
            registro[5] = nuevo == fuera || palabras > 255 ? 0 : uint8_t(palabras);
        }
        n.Animaciones.insert(n.Animaciones.end(), registro.begin(), registro.end());
    }
    if (juego == 1)
        for (size_t i = 0; i + 18 <= n.Movibles.size(); i += 18) {
            const uint32_t nuevo = cuadroNuevo(Leer<uint32_t>(n.Movibles.data() + i + 12), nullptr);
            std::memcpy(n.Movibles.data() + i + 12, &nuevo, 4);
        }
    else {
        // Each animation is its moveable's from that moveable's first up to the next first.
        std::vector<std::pair<uint16_t, uint16_t>> primeras; // first animation, meshes
        Ensanchar ensanchar(n.Cuadros);
        for (size_t i = 0; i + 18 <= n.Movibles.size(); i += 18) {
            const uint8_t* m = n.Movibles.data() + i;
            const uint16_t meshesMovible = Leer<uint16_t>(m + 4), primera = Leer<uint16_t>(m + 16);
            if (primera == 0xFFFF)
                continue; // its frame offset is then never read
            ensanchar.Cuadro(Leer<uint32_t>(m + 12), 0xFFFF, meshesMovible);
            primeras.emplace_back(primera, meshesMovible);
        }
        std::stable_sort(primeras.begin(), primeras.end(),
                         [](auto a, auto b) { return a.first < b.first; });
        for (uint32_t a = 0; a < n.NumAnimaciones; ++a) {
            const auto en = std::upper_bound(primeras.begin(), primeras.end(), a,
                                             [](uint32_t v, auto p) { return v < p.first; });
            if (en == primeras.begin())
                continue;
            // Among moveables sharing a first animation, the first in file order owns it.
            auto dueno = std::prev(en);
            while (dueno != primeras.begin() && std::prev(dueno)->first == dueno->first)
                --dueno;
            const uint8_t* p = animaciones.data() + BYTES_ANIMACION * a;
            const uint8_t tasa = p[4], tamano = p[5];
            const uint16_t primero = Leer<uint16_t>(p + 16), ultimo = Leer<uint16_t>(p + 18);
            if (tasa == 0 || tamano == 0 || ultimo < primero)
                continue;
            const uint32_t claves = (uint32_t(ultimo - primero) + tasa - 1) / tasa + 1;
            for (uint32_t k = 0; k < claves; ++k)
                ensanchar.Cuadro(uint64_t{Leer<uint32_t>(p)} + 2 * uint64_t{k} * tamano, tamano,
                                 dueno->second);
        }
    }
}

} // namespace clasico
