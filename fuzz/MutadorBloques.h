#pragma once
// The mutator both whole-file targets use. Nearly every byte of a real file lies inside a zlib
// stream, where a blind mutation only meets zlib's checks. So half of the mutations inflate one
// block, mutate the inflated bytes and deflate them again: the level data behind the container
// gets as much fuzzing as the container itself. Include it in one file of a target only.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace fuzz {

constexpr size_t CABECERA = 4 + 6; // version and the three header words

struct Bloque {
    uint32_t inflado = 0, comprimido = 0;
    const uint8_t* flujo = nullptr;
};

// The container as its sizes describe it, without inflating anything; false when they do not fit.
inline bool Partir(const uint8_t* datos, size_t tamano, Bloque (&bloques)[4], size_t& final) {
    size_t p = CABECERA;
    if (tamano < p)
        return false;
    for (Bloque& b : bloques) {
        if (tamano - p < 8)
            return false;
        std::memcpy(&b.inflado, datos + p, 4);
        std::memcpy(&b.comprimido, datos + p + 4, 4);
        p += 8;
        if (b.comprimido > tamano - p)
            return false;
        b.flujo = datos + p;
        p += b.comprimido;
    }
    final = p;
    return true;
}

inline void Poner32(std::vector<uint8_t>& b, uint32_t v) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + 4);
}

} // namespace fuzz

extern "C" size_t LLVMFuzzerMutate(uint8_t* datos, size_t tamano, size_t maximo);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* datos, size_t tamano, size_t maximo,
                                          unsigned int semilla) {
    std::minstd_rand azar(semilla);
    fuzz::Bloque bloques[4];
    size_t final = 0;
    if (azar() % 2 == 0 || !fuzz::Partir(datos, tamano, bloques, final))
        return LLVMFuzzerMutate(datos, tamano, maximo);

    // Mostly the level data, where the parsing is; the other blocks are opaque to the reader.
    const int elegido = azar() % 4 != 0 ? 3 : static_cast<int>(azar() % 3);
    const fuzz::Bloque& b = bloques[elegido];
    if (b.inflado > (64u << 20))
        return LLVMFuzzerMutate(datos, tamano, maximo);
    std::vector<uint8_t> inflado(size_t{b.inflado} + b.inflado / 8 + 64);
    uLongf largo = b.inflado;
    if (uncompress(inflado.data(), &largo, b.flujo, b.comprimido) != Z_OK)
        return LLVMFuzzerMutate(datos, tamano, maximo);
    largo = LLVMFuzzerMutate(inflado.data(), largo, inflado.size());
    std::vector<uint8_t> flujo(compressBound(largo));
    uLongf comprimido = flujo.size();
    if (compress2(flujo.data(), &comprimido, inflado.data(), largo, Z_BEST_SPEED) != Z_OK)
        return LLVMFuzzerMutate(datos, tamano, maximo);

    std::vector<uint8_t> salida(datos, datos + fuzz::CABECERA);
    for (int i = 0; i < 4; ++i) {
        if (i == elegido) {
            fuzz::Poner32(salida, static_cast<uint32_t>(largo));
            fuzz::Poner32(salida, static_cast<uint32_t>(comprimido));
            salida.insert(salida.end(), flujo.begin(), flujo.begin() + comprimido);
        } else {
            fuzz::Poner32(salida, bloques[i].inflado);
            fuzz::Poner32(salida, bloques[i].comprimido);
            salida.insert(salida.end(), bloques[i].flujo, bloques[i].flujo + bloques[i].comprimido);
        }
    }
    salida.insert(salida.end(), datos + final, datos + tamano);
    if (salida.size() > maximo)
        return LLVMFuzzerMutate(datos, tamano, maximo);
    std::memcpy(datos, salida.data(), salida.size());
    return salida.size();
}
