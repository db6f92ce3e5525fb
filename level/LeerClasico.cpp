#include "LeerClasico.h"
#include "AnimacionesClasicas.h"
#include "CargarNivel.h"
#include "CuartoClasico.h"
#include "DisposicionClasica.h"
#include "FlujoClasico.h"
#include "Idioma.h"
#include "MeshesClasicas.h"
#include "PaginasClasicas.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

using namespace clasico;

namespace {

constexpr uint32_t BYTES_PAGINA8 = 256 * 256, BYTES_PAGINA16 = 256 * 256 * 2;
constexpr uint32_t BYTES_TEXTURA_OBJETO = 20;
// A face's texture field: its low 15 bits, the top bit a flag.
constexpr uint16_t INDICE_TEXTURA = 0x7FFF;

} // namespace

Hecho LeerNivelClasico(int juego, const uint8_t* datos, size_t tamano, trNivel& nivel) {
    if (juego < 1 || juego > 3)
        return Hecho::Fallo(Formatear(Traducir("no hay lector para los niveles de Tomb Raider %s"),
                                      {std::to_string(juego)}));
    const Disposicion& d = DISPOSICIONES[juego - 1];
    auto n = std::make_unique<trNivel>();
    n->Juego = uint8_t(juego);
    Flujo f(datos, datos ? tamano : 0, juego);
    auto T = [](const char* texto) { return std::string(Traducir(texto)); };

    n->Version = f.Valor<uint32_t>(T(PorTraducir("la versión")));
    const uint8_t* paleta8 = nullptr;
    const uint8_t* paleta16 = nullptr;
    if (d.paginas16) {
        paleta8 = f.Tomar(1, 768, T(PorTraducir("la paleta")));
        paleta16 = f.Tomar(1, 1024, T(PorTraducir("la paleta de 16 bits")));
    }
    const uint32_t numPaginas = f.Valor<uint32_t>(T(PorTraducir("el número de páginas")));
    // Each page grows to four bytes a texel: held to what a fourth-game level may inflate to.
    if (uint64_t{numPaginas} * trNivel::BYTES_PAGINA > MAXIMO_BLOQUE_INFLADO)
        f.Rechazar(
            Formatear(Traducir("%s páginas de textura, más de las %s que puede tener un nivel"),
                      {std::to_string(numPaginas),
                       std::to_string(MAXIMO_BLOQUE_INFLADO / trNivel::BYTES_PAGINA)}));
    const uint8_t* paginas8 =
        f.Tomar(numPaginas, BYTES_PAGINA8, T(PorTraducir("las páginas de 8 bits")));
    const uint8_t* paginas16 =
        d.paginas16 ? f.Tomar(numPaginas, BYTES_PAGINA16, T(PorTraducir("las páginas de 16 bits")))
                    : nullptr;
    n->ValorInicial = f.Valor<uint32_t>(T(PorTraducir("el valor inicial")));

    n->NumCuartos = f.Valor<uint16_t>(T(PorTraducir("el número de cuartos")));
    if (f.Cabe(n->NumCuartos, BYTES_MINIMOS_CUARTO, T(PorTraducir("los cuartos")))) {
        n->Cuartos.resize(n->NumCuartos);
        for (uint32_t i = 0; i < n->NumCuartos && !f.Fallo(); ++i)
            LeerCuarto(f, d, juego, n->Cuartos[i],
                       Formatear(Traducir("cuarto %s de %s"),
                                 {std::to_string(i), std::to_string(n->NumCuartos)}));
    }

    // Arrays laid out as the fourth game's, or read raw to convert below.
    f.Arreglo(n->NumDatosSuelo, n->DatosSuelo, 2, PorTraducir("el número de datos de suelo"),
              PorTraducir("los datos de suelo"));
    uint32_t palabrasMesh = 0;
    trBytes meshes;
    f.Arreglo(palabrasMesh, meshes, 2, PorTraducir("el número de palabras de meshes"),
              PorTraducir("los datos de meshes"));
    trBytes punteros;
    f.Arreglo(n->NumPunterosMesh, punteros, 4, PorTraducir("el número de punteros de meshes"),
              PorTraducir("los punteros de meshes"));
    trBytes animaciones;
    f.Arreglo(n->NumAnimaciones, animaciones, BYTES_ANIMACION,
              PorTraducir("el número de animaciones"), PorTraducir("las animaciones"));
    LeerFilasAnimacion(f, *n);
    trBytes cuadros;
    uint32_t palabrasCuadros = 0;
    f.Arreglo(palabrasCuadros, cuadros, 2, PorTraducir("el número de cuadros de animación"),
              PorTraducir("los cuadros de animación"));
    f.Arreglo(n->NumMovibles, n->Movibles, 18, PorTraducir("el número de movibles"),
              PorTraducir("los movibles"));
    f.Arreglo(n->NumMeshesEstaticos, n->MeshesEstaticos, 32,
              PorTraducir("el número de meshes estáticos"), PorTraducir("los meshes estáticos"));
    trBytes texturas;
    uint32_t numTexturas = 0;
    auto texturasObjeto = [&] {
        f.Arreglo(numTexturas, texturas, BYTES_TEXTURA_OBJETO,
                  PorTraducir("el número de texturas de objeto"),
                  PorTraducir("las texturas de objeto"));
    };
    if (!d.texturasTrasAnimadas)
        texturasObjeto();
    LeerFilasSprite(f, *n);
    f.Arreglo(n->NumCamaras, n->Camaras, 16, PorTraducir("el número de cámaras"),
              PorTraducir("las cámaras"));
    f.Arreglo(n->NumFuentesSonido, n->FuentesSonido, 16,
              PorTraducir("el número de fuentes de sonido"), PorTraducir("las fuentes de sonido"));
    trBytes cajas, zonas;
    f.Arreglo(n->NumCajas, cajas, d.caja, PorTraducir("el número de cajas"),
              PorTraducir("las cajas"));
    f.Arreglo(n->NumSolapes, n->Solapes, 2, PorTraducir("el número de solapes"),
              PorTraducir("los solapes"));
    f.Copiar(zonas, n->NumCajas, 2 * d.filasZonas, T(PorTraducir("las zonas")));
    f.Arreglo(n->NumTexturasAnimadas, n->TexturasAnimadas, 2,
              PorTraducir("el número de texturas animadas"), PorTraducir("las texturas animadas"));
    if (d.texturasTrasAnimadas)
        texturasObjeto();
    trBytes items;
    f.Arreglo(n->NumItems, items, d.item, PorTraducir("el número de items"),
              PorTraducir("los items"));
    f.Tomar(1, 8192, T(PorTraducir("el mapa de luces")));
    if (juego == 1)
        paleta8 = f.Tomar(1, 768, T(PorTraducir("la paleta")));
    const uint16_t cinematicos = f.Valor<uint16_t>(T(PorTraducir("el número de cuadros de cine")));
    f.Tomar(cinematicos, 16, T(PorTraducir("los cuadros de cine")));
    n->NumDatosDemo = f.Valor<uint16_t>(T(PorTraducir("el número de datos de demo")));
    // Bytes here, words in the fourth game's files: held by neither, as nothing shows them.
    f.Tomar(n->NumDatosDemo, 1, T(PorTraducir("los datos de demo")));
    std::fill(std::begin(n->MapaSonido), std::end(n->MapaSonido), int16_t(-1));
    if (const uint8_t* mapa = f.Tomar(d.mapaSonido, 2, T(PorTraducir("el mapa de sonido"))))
        std::memcpy(n->MapaSonido, mapa, 2 * size_t{d.mapaSonido});
    f.Arreglo(n->NumDetallesSonido, n->DetallesSonido, 8,
              PorTraducir("el número de detalles de sonido"),
              PorTraducir("los detalles de sonido"));
    if (juego == 1) {
        // The first game's sounds are whole WAVE files, back to back, counted in bytes.
        const uint32_t bytesMuestras =
            f.Valor<uint32_t>(T(PorTraducir("el tamaño de las muestras")));
        f.Tomar(bytesMuestras, 1, T(PorTraducir("las muestras")));
    }
    f.Arreglo(n->NumIndicesMuestra, n->IndicesMuestra, 4,
              PorTraducir("el número de índices de muestras"),
              PorTraducir("los índices de muestras"));
    f.NadaTrasLasMuestras();

    // Converted once the whole stream was read: nothing below reads the file again but through
    // what was taken whole above.
    if (!f.Fallo()) {
        // Pages: the 16-bit ones where the game has them, else through the palette.
        if (d.paginas16)
            Paginas16(paginas16, numPaginas, n->DatosBloque[0]);
        else
            Paginas8(paginas8, numPaginas, paleta8, n->DatosBloque[0]);

        n->TexturasObjeto.resize(numTexturas);
        for (uint32_t i = 0; i < numTexturas; ++i) {
            const uint8_t* p = texturas.data() + BYTES_TEXTURA_OBJETO * i;
            trTexturaObjeto& t = n->TexturasObjeto[i];
            t.Atributo = Leer<uint16_t>(p);
            t.Tile = Leer<uint16_t>(p + 2);
            for (int k = 0; k < 4; ++k)
                t.Esquinas[k] = {Leer<uint16_t>(p + 4 + 4 * k), Leer<uint16_t>(p + 6 + 4 * k)};
        }

        MeshesConvertidas convertidas;
        const uint16_t baseColores = uint16_t(std::min<uint32_t>(numTexturas, INDICE_TEXTURA));
        if (ConvertirMeshes(meshes.data(), uint32_t(meshes.size()), baseColores, juego, convertidas,
                            f)) {
            n->DatosMesh = std::move(convertidas.datos);
            n->NumPalabrasMesh = uint32_t(n->DatosMesh.size() / 2);
            const uint32_t fuera = uint32_t(n->DatosMesh.size()) + 1;
            n->PunterosMesh.resize(punteros.size());
            for (size_t i = 0; i + 4 <= punteros.size(); i += 4) {
                const uint32_t nuevo = NuevoDesplazamiento(
                    convertidas.inicios, Leer<uint32_t>(punteros.data() + i), fuera);
                std::memcpy(n->PunterosMesh.data() + i, &nuevo, 4);
            }
            if (convertidas.coloreadas && baseColores + 256 <= INDICE_TEXTURA + 1) {
                uint8_t colores[256][3] = {};
                for (int c = 0; c < 256; ++c)
                    for (int k = 0; k < 3; ++k)
                        colores[c][k] = juego == 1 ? uint8_t(std::min(255, paleta8[3 * c + k] * 4))
                                                   : paleta16[4 * c + k];
                const uint16_t pagina = uint16_t(n->DatosBloque[0].size() / trNivel::BYTES_PAGINA);
                PaginaDeColores(colores, n->DatosBloque[0]);
                for (int c = 0; c < 256; ++c)
                    n->TexturasObjeto.push_back(TexturaDeColor(pagina, c));
            }
        }
        n->NumTexturasObjeto = uint32_t(n->TexturasObjeto.size());
        n->Bloques[0].TamanoInflado = uint32_t(n->DatosBloque[0].size());
    }

    if (!f.Fallo()) {
        ConvertirAnimaciones(juego, cuadros, animaciones, *n, f);

        // Boxes in sectors, as the later games keep them; zones in ten rows.
        if (juego == 1) {
            for (size_t i = 0; i + 20 <= cajas.size(); i += 20) {
                for (int k = 0; k < 4; ++k)
                    n->Cajas.push_back(uint8_t(
                        std::clamp(Leer<int32_t>(cajas.data() + i + 4 * k) / 1024, 0, 255)));
                n->Cajas.insert(n->Cajas.end(), cajas.begin() + ptrdiff_t(i + 16),
                                cajas.begin() + ptrdiff_t(i + 20));
            }
            const size_t fila = 2 * size_t{n->NumCajas};
            for (int r : {0, 1, 0, 1, 2, 3, 4, 3, 4, 5})
                n->Zonas.insert(n->Zonas.end(), zonas.begin() + ptrdiff_t(fila * r),
                                zonas.begin() + ptrdiff_t(fila * (r + 1)));
        } else {
            n->Cajas = std::move(cajas);
            n->Zonas = std::move(zonas);
        }

        // Items: the later games' code word sits before the flags; the second light is dropped.
        for (size_t i = 0; i + d.item <= items.size(); i += d.item) {
            n->Items.insert(n->Items.end(), items.begin() + ptrdiff_t(i),
                            items.begin() + ptrdiff_t(i + 20));
            Poner<int16_t>(n->Items, 0);
            n->Items.insert(n->Items.end(), items.begin() + ptrdiff_t(i + d.item - 2),
                            items.begin() + ptrdiff_t(i + d.item));
        }
    }

    if (f.Fallo())
        return f.Resultado();
    nivel = std::move(*n);
    return {};
}
