#include "LeerCuartos.h"

#include <cstring>

namespace {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

constexpr size_t BYTES_VERTICE = 12, BYTES_RECTANGULO = 10, BYTES_TRIANGULO = 8;
constexpr uint16_t DOBLE_CARA = 0x8000;

void LeerCaras(const trBytes& bytes, uint8_t lados, trGeometriaCuarto& g, uint32_t& cuenta) {
    const size_t paso = 2 * size_t{lados} + 2;
    for (size_t i = 0; i + paso <= bytes.size(); i += paso) {
        const uint8_t* p = bytes.data() + i;
        trCaraCuarto c;
        c.Lados = lados;
        bool dentro = true;
        for (uint8_t k = 0; k < lados; ++k) {
            c.Vertices[k] = Leer<uint16_t>(p + 2 * k);
            dentro = dentro && c.Vertices[k] < g.Vertices.size();
        }
        const uint16_t textura = Leer<uint16_t>(p + 2 * lados);
        c.Textura = textura & uint16_t(~DOBLE_CARA);
        c.DobleCara = (textura & DOBLE_CARA) != 0;
        if (!dentro) {
            ++g.Descartadas;
            continue;
        }
        g.Caras.push_back(c);
        ++cuenta;
    }
}

} // namespace

std::vector<trGeometriaCuarto> LeerCuartos(const trNivel& nivel) {
    std::vector<trGeometriaCuarto> cuartos(nivel.Cuartos.size());
    for (size_t r = 0; r < cuartos.size(); ++r) {
        const trCuarto& c = nivel.Cuartos[r];
        trGeometriaCuarto& g = cuartos[r];
        g.X = int32_t(c.Info[0]);
        g.Z = int32_t(c.Info[1]);
        g.YAbajo = int32_t(c.Info[2]);
        g.YArriba = int32_t(c.Info[3]);
        g.Alterno = c.CuartoAlterno;
        g.Vertices.resize(c.Vertices.size() / BYTES_VERTICE);
        for (size_t i = 0; i < g.Vertices.size(); ++i) {
            const uint8_t* p = c.Vertices.data() + BYTES_VERTICE * i;
            // In 64 bits: a damaged origin near the int32 limits must not overflow.
            auto mas = [](int64_t a, int64_t b) { return int32_t(uint32_t(a + b)); };
            g.Vertices[i] = {mas(g.X, Leer<int16_t>(p)), Leer<int16_t>(p + 2),
                             mas(g.Z, Leer<int16_t>(p + 4)), Leer<uint16_t>(p + 10)};
        }
        g.Caras.reserve(c.Rectangulos.size() / BYTES_RECTANGULO +
                        c.Triangulos.size() / BYTES_TRIANGULO);
        LeerCaras(c.Rectangulos, 4, g, g.Rectangulos);
        LeerCaras(c.Triangulos, 3, g, g.Triangulos);
        for (const trCaraCuarto& f : g.Caras)
            g.SinTextura += f.Textura >= nivel.TexturasObjeto.size();
    }
    return cuartos;
}

std::unordered_map<int64_t, size_t> IndicePorId(const trObjetos& objetos, bool movibles) {
    std::unordered_map<int64_t, size_t> indice;
    const size_t n = movibles ? objetos.Movibles.size() : objetos.Estaticos.size();
    for (size_t i = 0; i < n; ++i)
        indice.emplace(movibles ? objetos.Movibles[i].Id : objetos.Estaticos[i].Id, i);
    return indice;
}

std::vector<bool> CuartosAlternos(const std::vector<trGeometriaCuarto>& cuartos) {
    std::vector<bool> alterno(cuartos.size(), false);
    for (const trGeometriaCuarto& c : cuartos)
        if (c.Alterno >= 0 && size_t(c.Alterno) < cuartos.size())
            alterno[size_t(c.Alterno)] = true;
    return alterno;
}

trColocacionesCuartos ContarColocaciones(const trObjetos& objetos, size_t cuartos) {
    const auto movibles = IndicePorId(objetos, true), estaticos = IndicePorId(objetos, false);
    trColocacionesCuartos n;
    for (const trEstaticoColocado& c : objetos.Colocaciones)
        (c.Cuarto < cuartos && estaticos.contains(c.Id) ? n.Estaticos : n.EstaticosOmitidos) += 1;
    for (const trItem& i : objetos.Items)
        (i.Cuarto >= 0 && size_t(i.Cuarto) < cuartos && movibles.contains(i.Objeto)
             ? n.Items
             : n.ItemsOmitidos) += 1;
    return n;
}
