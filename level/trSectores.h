#pragma once
// How a level works rather than how it looks: every room's sectors with their floor data walked
// into plain records, the triggers, the cameras, flyby cameras and sound sources. Level axes
// (y down), world coordinates; nothing here draws.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The functions a floor data chain can hold, by their number in the setup word.
enum class trFuncionSuelo : uint8_t {
    Portal = 1,
    InclinacionSuelo = 2,
    InclinacionTecho = 3,
    Disparador = 4,
    Muerte = 5,
    Trepar = 6,
    // 7..18: a floor or ceiling cut in two triangles (see trSuperficieSector)
    PrimerTriangulo = 7,
    UltimoTriangulo = 18,
    Mono = 19,
    DisparaDisparador = 20,
    Escarabajo = 21,
};
inline constexpr int NUM_FUNCIONES_SUELO = 22; // 0 unused

// Which way a sector's floor or ceiling is cut, by the two corners its diagonal joins. Corners
// are numbered 2 * x + z: 0 the corner at the sector's origin, 1 one sector along +z, 2 along
// +x, 3 along both.
enum class trDiagonal : uint8_t { Ninguna, Esquinas1y2, Esquinas0y3 };

// A floor or a ceiling: the height of each corner (world y, y down) with slants and triangles
// applied, and how it is cut.
struct trSuperficieSector {
    std::array<int32_t, 4> Y = {};
    trDiagonal Diagonal = trDiagonal::Ninguna;
    // The corner at the right angle of the triangle that is a portal to the room below (floor)
    // or above (ceiling); -1 when both halves are solid or the surface is not cut.
    int8_t MitadPortal = -1;
    // The slant, in clicks of 256 along x and z, as the file gives it.
    int8_t InclinacionX = 0, InclinacionZ = 0;
    // The two triangles' own heights (5-bit signed values whose use nothing documents).
    int8_t AlturaTriangulo[2] = {};
    bool Inclinada = false, Triangulada = false;
};

enum class trTipoDisparador : uint8_t {
    Disparador,
    Placa,
    Interruptor,
    Llave,
    Recoger,
    Pesado,
    Antiplaca,
    Combate,
    Ficticio,
    Antidisparador,
    InterruptorPesado,
    AntidisparadorPesado,
    Mono,
};
inline constexpr int NUM_TIPOS_DISPARADOR = 13;

enum class trTipoAccion : uint8_t {
    Objeto,
    Camara,
    Corriente,
    MapaAlterno,
    AlternoEncendido,
    AlternoApagado,
    MirarItem,
    FinNivel,
    Musica,
    Efecto,
    Secreto,
    LimpiarCuerpos,
    Vuelo,
    Cinematica,
};
inline constexpr int NUM_TIPOS_ACCION = 14;

struct trAccion {
    uint8_t Tipo = 0;       // a trTipoAccion; a number past them is kept as read
    uint16_t Parametro = 0; // item, camera, flyby sequence, group, track, effect... (10 bits)
    // Camera and flyby take one more word: timer in bits 0-7, once in bit 8.
    bool ConExtra = false;
    uint16_t Extra = 0;
    uint8_t Tiempo() const { return uint8_t(Extra & 0xFF); }
    bool UnaVez() const { return (Extra & 0x100) != 0; }
};

struct trDisparador {
    uint32_t Cuarto = 0;
    uint32_t Sector = 0; // index in its room's grid
    uint16_t X = 0, Z = 0; // the sector's column and row
    uint8_t Tipo = 0;      // a trTipoDisparador; a number past them is kept as read
    int8_t Tiempo = 0;     // negative: wait before acting
    bool UnaVez = false;
    uint8_t Mascara = 0; // five bits
    // Switch and key triggers: the switch or keyhole item their first action names; -1 else.
    int32_t Item = -1;
    std::vector<trAccion> Acciones;
};

struct trSector {
    // As the file holds it.
    uint16_t IndiceDatos = 0, Caja = 0;
    uint8_t CuartoAbajo = 255, CuartoArriba = 255; // 255 none
    int8_t Suelo = 0, Techo = 0;                    // clicks of 256, y down

    trSuperficieSector SueloS, TechoS;
    int32_t Portal = -1; // the room this sector leads into sideways; -1 none
    bool Muerte = false, Mono = false, DisparaDisparador = false, Escarabajo = false;
    uint8_t Trepar = 0;      // climbable sides: 1 +z, 2 +x, 4 -z, 8 -x
    int32_t Disparador = -1; // index in trLogica::Disparadores; -1 none
    // Bit f set when function f is in its chain.
    uint32_t Funciones = 0;
};

// A reason a sector's floor data could not be read whole or names what the level lacks.
struct trAvisoSuelo {
    uint32_t Cuarto = 0, Sector = 0;
    std::string Texto; // in the language in force
};

// A room's light as the level places it: where it stands and its colour. Lights of the games
// before the fourth come converted to its layout (grey, from their intensity).
struct trLuzCuarto {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 46;
    int32_t X = 0, Y = 0, Z = 0;
    uint8_t Rojo = 0, Verde = 0, Azul = 0;
    uint8_t Tipo = 0, Intensidad = 0;
};

struct trCuartoLogica {
    int32_t X = 0, Z = 0; // the room's origin
    uint16_t NumZ = 0, NumX = 0;
    std::vector<trSector> Sectores; // x-major: sector s is column s / NumZ, row s % NumZ
    uint16_t Banderas = 0;
    int16_t Alterno = -1;
    uint8_t GrupoAlterno = 0;
    std::vector<trLuzCuarto> Luces;
    bool Agua() const { return (Banderas & 1) != 0; }
};

// Room flags the documentation names, by bit.
inline constexpr uint16_t CUARTO_AGUA = 1u << 0, CUARTO_CIELO = 1u << 3, CUARTO_VIENTO = 1u << 5,
                          CUARTO_SIN_DESTELLO = 1u << 7, CUARTO_CAUSTICAS = 1u << 8,
                          CUARTO_REFLEJO = 1u << 9;

struct trCamara { // a camera, or a sink when an underwater current names it
    static constexpr uint32_t BYTES_EN_ARCHIVO = 16;
    int32_t X = 0, Y = 0, Z = 0;
    int16_t Cuarto = 0;
    uint16_t Banderas = 0;
};

struct trCamaraVuelo {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 40;
    int32_t X = 0, Y = 0, Z = 0;
    int32_t HaciaX = 0, HaciaY = 0, HaciaZ = 0; // where it looks
    uint8_t Secuencia = 0, Indice = 0;
    uint16_t Campo = 0; // field of view
    int16_t Giro = 0;
    uint16_t Tiempo = 0, Velocidad = 0, Banderas = 0;
    int32_t Cuarto = 0;
};

struct trFuenteSonido {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 16;
    int32_t X = 0, Y = 0, Z = 0;
    uint16_t Sonido = 0, Banderas = 0;
};

struct trLogica {
    std::vector<trCuartoLogica> Cuartos;
    std::vector<trDisparador> Disparadores;
    uint32_t Sectores = 0, SectoresConDatos = 0;
    std::array<uint32_t, NUM_FUNCIONES_SUELO> Funciones = {}; // sectors holding each function
    std::vector<trCamara> Camaras;
    std::vector<trCamaraVuelo> CamarasVuelo; // file order
    // Each sequence's cameras (indices into CamarasVuelo) in the order they are flown.
    std::vector<std::vector<uint32_t>> Secuencias;
    std::vector<trFuenteSonido> FuentesSonido;
    std::vector<trAvisoSuelo> Avisos;
};
