// Whole level files as any bytes, then the mesh list and the sounds of every file that loads.
#include "CargarNivel.h"
#include "Invariantes.h"
#include "LeerMeshes.h"
#include "MutadorBloques.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using fuzz::CABECERA;

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
        COMPROBAR(b.TamanoInflado <= MAXIMO_BLOQUE_INFLADO);
        // The stated size is only a ceiling: what is held follows what the stream yielded.
        COMPROBAR(datos.capacity() <=
                  std::max<uint64_t>(2 * uint64_t{b.TamanoInflado},
                                     uint64_t{b.TamanoComprimido} * 16 + (1u << 20)));
    }
    COMPROBAR(contados == tamano); // every byte of the file belongs to some field
    fuzz::ComprobarDatosNivel(n);
    fuzz::ComprobarSonidos(n);

    std::unique_ptr<Lista_Mesh> lista;
    const uint32_t longitud = static_cast<uint32_t>(n.DatosMesh.size());
    COMPROBAR(LeerMeshes(n.DatosMesh.data(), longitud, lista) == (longitud == 0 ? 0 : 1));
    if (lista)
        fuzz::ComprobarMeshes(*lista, longitud);
}

} // namespace

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
