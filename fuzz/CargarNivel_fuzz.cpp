// Whole level files as any bytes, then the mesh list of every file that loads.
//
// Nearly every byte of a real file lies inside a zlib stream, where a blind mutation only meets
// zlib's checks. So half of the mutations inflate one block, mutate the inflated bytes and deflate
// them again: the level data behind the container gets as much fuzzing as the container itself.
#include "CargarNivel.h"
#include "Invariantes.h"
#include "LeerMeshes.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t CABECERA = 4 + 6; // version and the three header words

// Stands for the level already open in the viewer, which a refused file must leave as it was.
void Marcar(trNivel& n) {
    n.Version = 0x11223344;
    n.Cabecera[1] = 5;
    n.Bloques[2].TamanoComprimido = 77;
    n.DatosBloque[0] = {9};
    n.ValorFinal = 0xC0FFEE;
    n.Cola = {1, 2, 3};
    n.NumCuartos = 12345;
    n.DatosMesh = {4, 5};
    n.TexturasObjeto.resize(1);
}

bool Marcado(const trNivel& n) {
    return n.Version == 0x11223344 && n.Cabecera[1] == 5 && n.Bloques[2].TamanoComprimido == 77 &&
           n.DatosBloque[0] == trBytes{9} && n.ValorFinal == 0xC0FFEE &&
           n.Cola == trBytes{1, 2, 3} && n.NumCuartos == 12345 && n.DatosMesh == trBytes{4, 5} &&
           n.TexturasObjeto.size() == 1 && n.Cuartos.empty();
}

void ComprobarCargado(const trNivel& n, size_t tamano) {
    uint64_t contados = CABECERA + 4 + n.Cola.size();
    for (int i = 0; i < 4; ++i) {
        const trBloque& b = n.Bloques[i];
        const trBytes& datos = n.DatosBloque[i];
        contados += 8 + b.TamanoComprimido;
        COMPROBAR(datos.size() == b.TamanoInflado);
        COMPROBAR(b.TamanoInflado <= uint64_t{b.TamanoComprimido} * 1032 + 64);
        // The stated size is only a ceiling: what is held follows what the stream yielded.
        COMPROBAR(datos.capacity() <=
                  std::max<uint64_t>(2 * uint64_t{b.TamanoInflado},
                                     uint64_t{b.TamanoComprimido} * 16 + (1u << 20)));
    }
    COMPROBAR(contados == tamano); // every byte of the file belongs to some field
    fuzz::ComprobarDatosNivel(n);

    std::unique_ptr<Lista_Mesh> lista;
    const uint32_t longitud = static_cast<uint32_t>(n.DatosMesh.size());
    COMPROBAR(LeerMeshes(n.DatosMesh.data(), longitud, lista) == (longitud == 0 ? 0 : 1));
    if (lista)
        fuzz::ComprobarMeshes(*lista, longitud);
}

struct Bloque {
    uint32_t inflado = 0, comprimido = 0;
    const uint8_t* flujo = nullptr;
};

// The container as its sizes describe it, without inflating anything; false when they do not fit.
bool Partir(const uint8_t* datos, size_t tamano, Bloque (&bloques)[4], size_t& final) {
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

void Poner32(std::vector<uint8_t>& b, uint32_t v) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + 4);
}

} // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* datos, size_t tamano, size_t maximo);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* datos, size_t tamano, size_t maximo,
                                          unsigned int semilla) {
    std::minstd_rand azar(semilla);
    Bloque bloques[4];
    size_t final = 0;
    if (azar() % 2 == 0 || !Partir(datos, tamano, bloques, final))
        return LLVMFuzzerMutate(datos, tamano, maximo);

    // Mostly the level data, where the parsing is; the other blocks are opaque to the reader.
    const int elegido = azar() % 4 != 0 ? 3 : static_cast<int>(azar() % 3);
    const Bloque& b = bloques[elegido];
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

    std::vector<uint8_t> salida(datos, datos + CABECERA);
    for (int i = 0; i < 4; ++i) {
        if (i == elegido) {
            Poner32(salida, static_cast<uint32_t>(largo));
            Poner32(salida, static_cast<uint32_t>(comprimido));
            salida.insert(salida.end(), flujo.begin(), flujo.begin() + comprimido);
        } else {
            Poner32(salida, bloques[i].inflado);
            Poner32(salida, bloques[i].comprimido);
            salida.insert(salida.end(), bloques[i].flujo, bloques[i].flujo + bloques[i].comprimido);
        }
    }
    salida.insert(salida.end(), datos + final, datos + tamano);
    if (salida.size() > maximo)
        return LLVMFuzzerMutate(datos, tamano, maximo);
    std::memcpy(datos, salida.data(), salida.size());
    return salida.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    if (tamano > MAXIMO_ARCHIVO_NIVEL)
        return -1;
    trNivel nivel;
    Marcar(nivel);
    std::string motivo;
    if (CargarNivelDeMemoria(datos, tamano, nivel, &motivo) == 0) {
        fuzz::ComprobarMotivo(motivo);
        COMPROBAR(Marcado(nivel));
        return 0;
    }
    ComprobarCargado(nivel, tamano);
    return 0;
}
