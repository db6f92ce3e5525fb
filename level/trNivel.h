#pragma once
#include <bit>
#include <cstdint>
#include <vector>

// Arrays of the level are kept as raw copies of their little-endian file bytes; the records that
// overlay them (trMesh's vertices and faces) rely on the host sharing that byte order.
static_assert(std::endian::native == std::endian::little,
              "level data is read in place as little-endian");

using trBytes = std::vector<uint8_t>;

// One object texture as the mesh conversion needs it: the tile names the page (its top bit is a
// flag) and the high byte of each corner coordinate is a pixel position in that page.
struct trTexturaObjeto {
    uint16_t Atributo = 0;
    uint16_t Tile = 0;
    uint16_t Banderas = 0;
    struct Esquina {
        uint16_t X = 0;
        uint16_t Y = 0;
    } Esquinas[4];
    uint32_t ValorA = 0, ValorB = 0, ValorC = 0, ValorD = 0;

    static constexpr uint32_t BYTES_EN_ARCHIVO = 38;
};

struct trCuarto {
    uint32_t Info[4] = {};
    uint32_t NumPalabrasDatos = 0;
    int16_t NumVertices = 0, NumRectangulos = 0, NumTriangulos = 0, NumSprites = 0;
    trBytes Vertices, Rectangulos, Triangulos, Sprites; // 12, 10, 8 and 4 bytes each
    uint16_t NumPortales = 0;
    uint16_t DimensionSectores1 = 0, DimensionSectores2 = 0;
    uint16_t NumLuces = 0, NumMeshesEstaticos = 0;
    int16_t Banderas = 0;
    uint16_t ColorBajo = 0, ColorAlto = 0;
    int16_t CuartoAlterno = 0;
    trBytes Portales, Sectores, Luces, MeshesEstaticos; // 32, 8, 46 and 20 bytes each
    uint8_t EsquemaAgua = 0, Reverberacion = 0, GrupoAlterno = 0;
};

struct trBloque {
    uint32_t TamanoInflado = 0; // after a load, what zlib actually wrote
    uint32_t TamanoComprimido = 0;
};

// The whole of one level file: container fields, then everything the level data block holds.
struct trNivel {
    static constexpr uint32_t BYTES_PAGINA = 256 * 256 * 4;

    // The game that wrote the file (1 to 5). Whatever its records look like, its reader fills
    // every array below in the layouts of the fourth game's files.
    uint8_t Juego = 4;

    // Container
    uint32_t Version = 0;
    uint16_t Cabecera[3] = {};
    trBloque Bloques[4];
    uint32_t ValorFinal = 0;
    trBytes DatosBloque[4];
    trBytes Cola;

    // Level data block
    uint32_t ValorInicial = 0;
    uint16_t NumCuartos = 0;
    std::vector<trCuarto> Cuartos;
    uint32_t NumDatosSuelo = 0;
    trBytes DatosSuelo;

    uint32_t NumPalabrasMesh = 0, NumPunterosMesh = 0, NumAnimaciones = 0, NumCambiosEstado = 0,
             NumDespachosAnim = 0, NumComandosAnim = 0, NumArbolesMesh = 0, NumCuadros = 0,
             NumMovibles = 0, NumMeshesEstaticos = 0, NumTexturasSprite = 0, NumTexturasObjeto = 0,
             NumSecuenciasSprite = 0, NumCamaras = 0, NumCamarasVuelo = 0, NumFuentesSonido = 0,
             NumCajas = 0, NumSolapes = 0, NumTexturasAnimadas = 0, NumItems = 0, NumObjetosIA = 0,
             NumDetallesSonido = 0, NumIndicesMuestra = 0;
    uint16_t NumDatosDemo = 0;
    uint8_t PreludioSprites[3] = {}, PreludioTexturas[4] = {}, BytesFinales[6] = {};

    trBytes DatosMesh, PunterosMesh, Animaciones, CambiosEstado, DespachosAnim, ComandosAnim,
        ArbolesMesh, Cuadros, Movibles, MeshesEstaticos, TexturasSprite, SecuenciasSprite, Camaras,
        CamarasVuelo, FuentesSonido, Cajas, Solapes, Zonas, TexturasAnimadas;
    std::vector<trTexturaObjeto> TexturasObjeto;
    trBytes Items, ObjetosIA, DatosDemo;
    int16_t MapaSonido[370] = {};
    // The fifth game's map is longer (450 entries): kept whole here, MapaSonido holding its start.
    std::vector<int16_t> MapaSonidoLargo;
    trBytes DetallesSonido, IndicesMuestra;
    // The first row past the ones the viewer needs that could not be read (0: none), so the
    // fields from it on are known to be empty rather than read.
    uint8_t FilaNoLeida = 0;

    // Whole 256 x 256 pages in block 1; a remainder belongs to no page.
    uint32_t NumPaginas() const { return Bloques[0].TamanoInflado >> 18; }
};
