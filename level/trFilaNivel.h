#pragma once
// The rows of the level data block, in file order: the one description of its layout that the
// reader, the fixture writer and the fuzzers' checks all walk.
#include "trNivel.h"

#include <cstdint>
#include <utility>

enum class trClaseFila : uint8_t {
    Valor,  // a field of fixed size: a lead value, lead-in bytes, the sound map
    Cuenta, // a count, of Tamano (2 or 4) bytes
    Arreglo // CuentaEn's count elements of Tamano bytes each
};

enum class trReglaFila : uint8_t {
    Siempre, // an array is taken even for a count of 0 (then empty)
    NoCero,  // nothing is taken or read for a count of 0
    Positivo // signed counts: nothing for 0 or below (room geometry only)
};

struct trFilaNivel {
    int Numero;
    const char* Clave; // a short name for dumps and tests
    trClaseFila Clase;
    uint32_t Tamano; // bytes of the field, or of one element; 0 for records of their own (rooms)
    trReglaFila Regla = trReglaFila::Siempre;
    int CuentaEn = 0; // for an array, the row of its count
    // Where the row lands in the level record: a field's bytes, or an array's.
    void* (*Campo)(trNivel&) = nullptr;
    trBytes* (*Datos)(trNivel&) = nullptr;
};

namespace filas_nivel {
using C = trClaseFila;
using R = trReglaFila;
template <auto M> void* Campo(trNivel& n) {
    return &(n.*M);
}
template <auto M> trBytes* Datos(trNivel& n) {
    return &(n.*M);
}
constexpr trFilaNivel Valor(int fila, const char* clave, uint32_t tamano,
                            void* (*campo)(trNivel&)) {
    return {fila, clave, C::Valor, tamano, R::Siempre, 0, campo, nullptr};
}
template <auto M> constexpr trFilaNivel Cuenta(int fila, const char* clave) {
    return {fila,       clave, C::Cuenta, sizeof(std::declval<trNivel&>().*M),
            R::Siempre, 0,     Campo<M>,  nullptr};
}
constexpr trFilaNivel Arreglo(int fila, const char* clave, uint32_t tamano, R regla,
                              trBytes* (*datos)(trNivel&), int cuentaEn = 0) {
    return {fila, clave, C::Arreglo, tamano, regla, cuentaEn ? cuentaEn : fila - 1, nullptr, datos};
}
} // namespace filas_nivel

// FILAS_NIVEL[r] is row r (1-based); entry 0 stands for no row. Rows 3 (rooms) and 46 (object
// textures) are records the reader takes apart itself; their Datos is null.
inline constexpr trFilaNivel FILAS_NIVEL[59] = {
    {0, "", trClaseFila::Valor, 0},
    filas_nivel::Valor(1, "lead_value", 4, filas_nivel::Campo<&trNivel::ValorInicial>),
    filas_nivel::Cuenta<&trNivel::NumCuartos>(2, "room_count"),
    filas_nivel::Arreglo(3, "rooms", 0, trReglaFila::NoCero, nullptr),
    filas_nivel::Cuenta<&trNivel::NumDatosSuelo>(4, "floor_data_count"),
    filas_nivel::Arreglo(5, "floor_data", 2, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::DatosSuelo>),
    filas_nivel::Cuenta<&trNivel::NumPalabrasMesh>(6, "mesh_data_words"),
    filas_nivel::Arreglo(7, "mesh_data", 2, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::DatosMesh>),
    filas_nivel::Cuenta<&trNivel::NumPunterosMesh>(8, "mesh_pointer_count"),
    filas_nivel::Arreglo(9, "mesh_pointers", 4, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::PunterosMesh>),
    filas_nivel::Cuenta<&trNivel::NumAnimaciones>(10, "animation_count"),
    filas_nivel::Arreglo(11, "animations", 40, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::Animaciones>),
    filas_nivel::Cuenta<&trNivel::NumCambiosEstado>(12, "state_change_count"),
    filas_nivel::Arreglo(13, "state_changes", 6, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::CambiosEstado>),
    filas_nivel::Cuenta<&trNivel::NumDespachosAnim>(14, "anim_dispatch_count"),
    filas_nivel::Arreglo(15, "anim_dispatches", 8, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::DespachosAnim>),
    filas_nivel::Cuenta<&trNivel::NumComandosAnim>(16, "anim_command_count"),
    filas_nivel::Arreglo(17, "anim_commands", 2, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::ComandosAnim>),
    filas_nivel::Cuenta<&trNivel::NumArbolesMesh>(18, "mesh_tree_count"),
    filas_nivel::Arreglo(19, "mesh_trees", 4, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::ArbolesMesh>),
    filas_nivel::Cuenta<&trNivel::NumCuadros>(20, "frame_count"),
    filas_nivel::Arreglo(21, "frames", 2, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::Cuadros>),
    filas_nivel::Cuenta<&trNivel::NumMovibles>(22, "moveable_count"),
    filas_nivel::Arreglo(23, "moveables", 18, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::Movibles>),
    filas_nivel::Cuenta<&trNivel::NumMeshesEstaticos>(24, "static_mesh_count"),
    filas_nivel::Arreglo(25, "static_meshes", 32, trReglaFila::Siempre,
                         filas_nivel::Datos<&trNivel::MeshesEstaticos>),
    filas_nivel::Valor(26, "sprite_lead_in", 3, filas_nivel::Campo<&trNivel::PreludioSprites>),
    filas_nivel::Cuenta<&trNivel::NumTexturasSprite>(27, "sprite_texture_count"),
    filas_nivel::Arreglo(28, "sprite_textures", 16, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::TexturasSprite>),
    filas_nivel::Cuenta<&trNivel::NumSecuenciasSprite>(29, "sprite_sequence_count"),
    filas_nivel::Arreglo(30, "sprite_sequences", 8, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::SecuenciasSprite>),
    filas_nivel::Cuenta<&trNivel::NumCamaras>(31, "camera_count"),
    filas_nivel::Arreglo(32, "cameras", 16, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::Camaras>),
    filas_nivel::Cuenta<&trNivel::NumCamarasVuelo>(33, "flyby_camera_count"),
    filas_nivel::Arreglo(34, "flyby_cameras", 40, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::CamarasVuelo>),
    filas_nivel::Cuenta<&trNivel::NumFuentesSonido>(35, "sound_source_count"),
    filas_nivel::Arreglo(36, "sound_sources", 16, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::FuentesSonido>),
    filas_nivel::Cuenta<&trNivel::NumCajas>(37, "box_count"),
    filas_nivel::Arreglo(38, "boxes", 8, trReglaFila::NoCero, filas_nivel::Datos<&trNivel::Cajas>),
    filas_nivel::Cuenta<&trNivel::NumSolapes>(39, "overlap_count"),
    filas_nivel::Arreglo(40, "overlaps", 2, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::Solapes>),
    // No count of its own: ten words per box.
    filas_nivel::Arreglo(41, "zones", 20, trReglaFila::NoCero, filas_nivel::Datos<&trNivel::Zonas>,
                         37),
    filas_nivel::Cuenta<&trNivel::NumTexturasAnimadas>(42, "animated_texture_count"),
    filas_nivel::Arreglo(43, "animated_textures", 2, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::TexturasAnimadas>),
    filas_nivel::Valor(44, "texture_lead_in", 4, filas_nivel::Campo<&trNivel::PreludioTexturas>),
    filas_nivel::Cuenta<&trNivel::NumTexturasObjeto>(45, "object_texture_count"),
    filas_nivel::Arreglo(46, "object_textures", trTexturaObjeto::BYTES_EN_ARCHIVO,
                         trReglaFila::NoCero, nullptr),
    filas_nivel::Cuenta<&trNivel::NumItems>(47, "item_count"),
    filas_nivel::Arreglo(48, "items", 24, trReglaFila::NoCero, filas_nivel::Datos<&trNivel::Items>),
    filas_nivel::Cuenta<&trNivel::NumObjetosIA>(49, "ai_object_count"),
    filas_nivel::Arreglo(50, "ai_objects", 24, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::ObjetosIA>),
    filas_nivel::Cuenta<&trNivel::NumDatosDemo>(51, "demo_data_count"),
    filas_nivel::Arreglo(52, "demo_data", 2, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::DatosDemo>),
    filas_nivel::Valor(53, "sound_map", 740, filas_nivel::Campo<&trNivel::MapaSonido>),
    filas_nivel::Cuenta<&trNivel::NumDetallesSonido>(54, "sound_detail_count"),
    filas_nivel::Arreglo(55, "sound_details", 8, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::DetallesSonido>),
    filas_nivel::Cuenta<&trNivel::NumIndicesMuestra>(56, "sample_index_count"),
    filas_nivel::Arreglo(57, "sample_indices", 4, trReglaFila::NoCero,
                         filas_nivel::Datos<&trNivel::IndicesMuestra>),
    filas_nivel::Valor(58, "end_bytes", 6, filas_nivel::Campo<&trNivel::BytesFinales>),
};

// The count row r's array is sized by, as read into nivel; 0 for a row that is no array.
uint64_t CuentaDeFila(const trNivel& nivel, int fila);
