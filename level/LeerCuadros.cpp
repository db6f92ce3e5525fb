#include "LeerCuadros.h"
#include "Idioma.h"

#include <algorithm>
#include <cstring>
#include <numbers>

namespace {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

bool LeerGiro(const uint8_t* palabras, uint64_t numPalabras, uint64_t& i, trGiro& giro) {
    constexpr float VUELTA = 2 * std::numbers::pi_v<float>;
    if (i >= numPalabras)
        return false;
    const uint16_t w0 = Leer<uint16_t>(palabras + 2 * i);
    // One axis alone is 12 bits of a turn; all three share two words at 10 bits each.
    const float paso = VUELTA / 4096;
    switch (w0 >> 14) {
    case 0: {
        if (i + 1 >= numPalabras)
            return false;
        const uint16_t w1 = Leer<uint16_t>(palabras + 2 * (i + 1));
        const float paso3 = VUELTA / 1024;
        giro = {float((w0 >> 4) & 0x3FF) * paso3, float(((w0 & 0xF) << 6) | (w1 >> 10)) * paso3,
                float(w1 & 0x3FF) * paso3};
        i += 2;
        return true;
    }
    case 1:
        giro = {float(w0 & 0xFFF) * paso, 0, 0};
        break;
    case 2:
        giro = {0, float(w0 & 0xFFF) * paso, 0};
        break;
    default:
        giro = {0, 0, float(w0 & 0xFFF) * paso};
        break;
    }
    i += 1;
    return true;
}

Hecho LeerCuadroClave(const trNivel& nivel, uint64_t inicio, uint64_t palabras, uint32_t meshes,
                      trCuadroClave& clave) {
    clave.Giros.assign(meshes, {});
    const uint64_t bytes = nivel.Cuadros.size();
    constexpr uint64_t CABECERA = 9; // bounding box and root offset
    auto fuera = [] {
        return Hecho::Fallo(Traducir("sus cuadros pasan del final de los cuadros del nivel"));
    };
    if (inicio > bytes)
        return fuera();
    uint64_t disponibles = (bytes - inicio) / 2;
    const bool porTamano = palabras > 0 && palabras < disponibles;
    if (porTamano)
        disponibles = palabras;
    // Which bound it ran past tells the user whether the frames or the frame size are wrong.
    auto corto = [&] {
        return porTamano
                   ? Hecho::Fallo(Traducir("sus cuadros son pequeños para el árbol del movible"))
                   : fuera();
    };
    if (disponibles < CABECERA)
        return corto();
    const uint8_t* cuadro = nivel.Cuadros.data() + inicio;
    for (int i = 0; i < 6; ++i)
        clave.Caja[i] = Leer<int16_t>(cuadro + 2 * i);
    clave.RaizX = Leer<int16_t>(cuadro + 12);
    clave.RaizY = Leer<int16_t>(cuadro + 14);
    clave.RaizZ = Leer<int16_t>(cuadro + 16);
    uint64_t i = CABECERA;
    for (trGiro& g : clave.Giros)
        if (!LeerGiro(cuadro, disponibles, i, g))
            return corto();
    return {};
}
