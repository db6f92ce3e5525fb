#include "LeerTR5.h"
#include "CargarNivel.h"
#include "FlujoClasico.h"
#include "Idioma.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

using namespace clasico;

namespace {

constexpr uint32_t BYTES_CABECERA_CUARTO5 = 216, BYTES_VERTICE5 = 28, BYTES_CAPA5 = 56;

// A room of the fifth game: "XELA", its size, then that many bytes: a 216-byte header (from
// "XELA") whose offsets count from its end, lights, fog bulbs, sectors, portals, statics, layers,
// faces layer by layer, vertices in floats.
void LeerCuarto5(Flujo& f, trCuarto& c, const std::string& quien) {
    auto nombre = [&](const char* campo) { return quien + ", " + Traducir(campo); };
    const uint8_t* marca = f.Tomar(1, 4, nombre(PorTraducir("su marca")));
    if (marca && std::memcmp(marca, "XELA", 4) != 0)
        f.Rechazar(Formatear(Traducir("%s no empieza por «XELA»"), {quien}));
    const uint32_t tamano = f.Valor<uint32_t>(nombre(PorTraducir("su tamaño")));
    Flujo s = f.Seccion(tamano, nombre(PorTraducir("sus datos")));
    // Header fields, by their offset from "XELA" (the section starts 8 bytes after it).
    const uint8_t* h = s.Tomar(1, BYTES_CABECERA_CUARTO5 - 8, nombre(PorTraducir("su cabecera")));
    if (!h) {
        f.Absorber(s);
        return;
    }
    auto en = [h](uint32_t desdeXela) { return h + desdeXela - 8; };
    const int32_t x = Leer<int32_t>(en(28)), z = Leer<int32_t>(en(36));
    c.Info[0] = uint32_t(x);
    c.Info[1] = uint32_t(z);
    c.Info[2] = Leer<uint32_t>(en(40));
    c.Info[3] = Leer<uint32_t>(en(44));
    c.DimensionSectores1 = Leer<uint16_t>(en(48));
    c.DimensionSectores2 = Leer<uint16_t>(en(50));
    const uint32_t color = Leer<uint32_t>(en(52));
    c.ColorBajo = uint16_t(color);
    c.ColorAlto = uint16_t(color >> 16);
    c.NumMeshesEstaticos = Leer<uint16_t>(en(58));
    c.Reverberacion = *en(60);
    c.GrupoAlterno = *en(61);
    c.EsquemaAgua = uint8_t(Leer<uint16_t>(en(62)));
    c.CuartoAlterno = Leer<int16_t>(en(84));
    c.Banderas = Leer<int16_t>(en(86));
    const uint32_t finSectores = Leer<uint32_t>(en(12)), inicioSectores = Leer<uint32_t>(en(16)),
                   finPortales = Leer<uint32_t>(en(24)), capas = Leer<uint32_t>(en(176)),
                   inicioCapas = Leer<uint32_t>(en(180)), inicioVertices = Leer<uint32_t>(en(184)),
                   inicioCaras = Leer<uint32_t>(en(188));
    const uint8_t* datos = h + (BYTES_CABECERA_CUARTO5 - 8);
    const size_t bytes = s.Restante();
    // Each part is read where its offset says, within the room's own bytes.
    auto parte = [&](uint64_t desde, uint64_t cuenta, uint64_t tamano, const char* que) {
        if (desde > bytes) {
            f.Rechazar(Formatear(Traducir("%s empieza en %s, fuera de los %s bytes del cuarto"),
                                 {nombre(que), std::to_string(desde), std::to_string(bytes)}));
            return static_cast<const uint8_t*>(nullptr);
        }
        Flujo resto(datos + desde, bytes - size_t(desde), 5, 0);
        const uint8_t* r = resto.Tomar(cuenta, tamano, nombre(que));
        f.Absorber(resto);
        return r;
    };
    const uint64_t sectores = uint64_t{c.DimensionSectores1} * c.DimensionSectores2;
    if (const uint8_t* p = parte(inicioSectores, sectores, 8, PorTraducir("los sectores")))
        c.Sectores.assign(p, p + sectores * 8);
    if (const uint8_t* p = parte(finSectores, 1, 2, PorTraducir("el número de portales"))) {
        c.NumPortales = Leer<uint16_t>(p);
        if (const uint8_t* q =
                parte(finSectores + 2, c.NumPortales, 32, PorTraducir("los portales")))
            c.Portales.assign(q, q + size_t{c.NumPortales} * 32);
    }
    if (const uint8_t* p =
            parte(finPortales, c.NumMeshesEstaticos, 20, PorTraducir("los meshes estáticos")))
        c.MeshesEstaticos.assign(p, p + size_t{c.NumMeshesEstaticos} * 20);
    const uint8_t* capa = parte(inicioCapas, capas, BYTES_CAPA5, PorTraducir("sus capas"));
    if (!capa)
        return;
    uint64_t vertices = 0, caras = 0;
    for (uint32_t k = 0; k < capas; ++k) {
        const uint8_t* l = capa + BYTES_CAPA5 * k;
        vertices += Leer<uint32_t>(l);
        caras += 12 * uint64_t{Leer<uint16_t>(l + 6)} + 10 * uint64_t{Leer<uint16_t>(l + 8)};
    }
    const uint8_t* v = parte(inicioVertices, vertices, BYTES_VERTICE5, PorTraducir("los vértices"));
    const uint8_t* cara = parte(inicioCaras, caras, 1, PorTraducir("sus caras"));
    if (!v || !cara || vertices > 0x7FFF) {
        if (v && cara)
            f.Rechazar(Formatear(Traducir("%s: más de 32767 vértices"), {quien}));
        return;
    }
    // Vertices as the fourth game's: x and z from the room's origin, y absolute; the colour's
    // channels in 5 bits, the texture as painted at half their range as in the fourth game.
    c.NumVertices = int16_t(vertices);
    c.Vertices.reserve(size_t(vertices) * 12);
    auto corto = [](float valor) {
        return int16_t(std::clamp(std::isfinite(valor) ? valor : 0.0f, -32768.0f, 32767.0f));
    };
    for (uint64_t i = 0; i < vertices; ++i) {
        const uint8_t* p = v + BYTES_VERTICE5 * i;
        for (int k = 0; k < 3; ++k)
            Poner<int16_t>(c.Vertices, corto(Leer<float>(p + 4 * k)));
        const uint32_t rgb = Leer<uint32_t>(p + 24);
        Poner<int16_t>(c.Vertices, 0);
        Poner<uint16_t>(c.Vertices, 0);
        Poner<uint16_t>(c.Vertices, uint16_t(((rgb >> 19) & 31) << 10 | ((rgb >> 11) & 31) << 5 |
                                             ((rgb >> 3) & 31)));
    }
    // Faces, each layer's naming its own vertices: moved past the layers before it.
    uint64_t base = 0;
    const uint8_t* p = cara;
    for (uint32_t k = 0; k < capas; ++k) {
        const uint8_t* l = capa + BYTES_CAPA5 * k;
        for (int lados : {4, 3}) {
            const uint16_t n = Leer<uint16_t>(l + (lados == 4 ? 6 : 8));
            trBytes& destino = lados == 4 ? c.Rectangulos : c.Triangulos;
            for (uint32_t i = 0; i < n; ++i, p += 2 * lados + 4) {
                for (int e = 0; e < lados; ++e)
                    Poner<uint16_t>(destino, uint16_t(std::min<uint64_t>(
                                                 Leer<uint16_t>(p + 2 * e) + base, 0xFFFF)));
                Poner<uint16_t>(destino, Leer<uint16_t>(p + 2 * lados));
            }
        }
        base += Leer<uint32_t>(l);
    }
    c.NumRectangulos = int16_t(std::min<size_t>(c.Rectangulos.size() / 10, 0x7FFF));
    c.NumTriangulos = int16_t(std::min<size_t>(c.Triangulos.size() / 8, 0x7FFF));
    c.NumPalabrasDatos =
        uint32_t((c.Vertices.size() + c.Rectangulos.size() + c.Triangulos.size()) / 2 + 4);
}

} // namespace

Hecho LeerNivelTR5(const uint8_t* datos, size_t tamano, trNivel& nivel) {
    auto n = std::make_unique<trNivel>();
    n->Juego = 5;
    Flujo f(datos, datos ? tamano : 0, 5);
    auto T = [](const char* texto) { return std::string(Traducir(texto)); };
    n->Version = f.Valor<uint32_t>(T(PorTraducir("la versión")));
    if (const uint8_t* c = f.Tomar(1, 6, T(PorTraducir("la cabecera"))))
        std::memcpy(n->Cabecera, c, 6);
    // Three compressed chunks: the 32-bit pages, the same in 16 bits, three pages of their own.
    for (int b = 0; b < 3; ++b) {
        const std::string que = Formatear(Traducir("bloque %s"), {std::to_string(b + 1)});
        n->Bloques[b].TamanoInflado = f.Valor<uint32_t>(que);
        n->Bloques[b].TamanoComprimido = f.Valor<uint32_t>(que);
        const uint8_t* z = f.Tomar(n->Bloques[b].TamanoComprimido, 1, que);
        if (b != 0 || !z)
            continue;
        const uint64_t declarado = n->Bloques[0].TamanoInflado;
        if (declarado > MAXIMO_BLOQUE_INFLADO ||
            declarado > uint64_t{n->Bloques[0].TamanoComprimido} * 1032 + 64) {
            f.Rechazar(Formatear(
                Traducir("%s: %s bytes no pueden salir de %s bytes comprimidos"),
                {que, std::to_string(declarado), std::to_string(n->Bloques[0].TamanoComprimido)}));
            continue;
        }
        n->DatosBloque[0].resize(size_t(declarado));
        uLongf salida = uLongf(declarado);
        if (uncompress(n->DatosBloque[0].data(), &salida, z, n->Bloques[0].TamanoComprimido) !=
                Z_OK ||
            salida != declarado)
            f.Rechazar(Formatear(Traducir("%s: el flujo zlib está dañado o incompleto"), {que}));
    }
    f.Tomar(1, 32, T(PorTraducir("los bytes tras los bloques")));
    const uint32_t bytesDatos =
        f.Valor<uint32_t>(T(PorTraducir("el tamaño de los datos del nivel")));
    f.Valor<uint32_t>(T(PorTraducir("el tamaño de los datos del nivel")));
    Flujo g = f.Seccion(bytesDatos, T(PorTraducir("los datos del nivel")));
    n->Bloques[3].TamanoInflado = n->Bloques[3].TamanoComprimido = bytesDatos;

    n->ValorInicial = g.Valor<uint32_t>(T(PorTraducir("el valor inicial")));
    const uint32_t cuartos = g.Valor<uint32_t>(T(PorTraducir("el número de cuartos")));
    if (cuartos > 0xFFFF)
        g.Rechazar(Formatear(Traducir("%s cuartos, más de los 65535 que puede tener un nivel"),
                             {std::to_string(cuartos)}));
    if (g.Cabe(cuartos, BYTES_CABECERA_CUARTO5, T(PorTraducir("los cuartos")))) {
        n->NumCuartos = uint16_t(cuartos);
        n->Cuartos.resize(cuartos);
        for (uint32_t i = 0; i < cuartos && !g.Fallo(); ++i)
            LeerCuarto5(g, n->Cuartos[i],
                        Formatear(Traducir("cuarto %s de %s"),
                                  {std::to_string(i), std::to_string(cuartos)}));
    }
    g.Arreglo(n->NumDatosSuelo, n->DatosSuelo, 2, PorTraducir("el número de datos de suelo"),
              PorTraducir("los datos de suelo"));
    g.Arreglo(n->NumPalabrasMesh, n->DatosMesh, 2, PorTraducir("el número de palabras de meshes"),
              PorTraducir("los datos de meshes"));
    g.Arreglo(n->NumPunterosMesh, n->PunterosMesh, 4,
              PorTraducir("el número de punteros de meshes"),
              PorTraducir("los punteros de meshes"));
    g.Arreglo(n->NumAnimaciones, n->Animaciones, 40, PorTraducir("el número de animaciones"),
              PorTraducir("las animaciones"));
    LeerFilasAnimacion(g, *n);
    g.Arreglo(n->NumCuadros, n->Cuadros, 2, PorTraducir("el número de cuadros de animación"),
              PorTraducir("los cuadros de animación"));
    // Moveables are 20 bytes here: the fourth game's 18 and a word that is always 0xFEFF.
    n->NumMovibles = g.Valor<uint32_t>(T(PorTraducir("el número de movibles")));
    if (const uint8_t* m = g.Tomar(n->NumMovibles, 20, T(PorTraducir("los movibles"))))
        for (uint32_t i = 0; i < n->NumMovibles; ++i)
            n->Movibles.insert(n->Movibles.end(), m + 20 * i, m + 20 * i + 18);
    g.Arreglo(n->NumMeshesEstaticos, n->MeshesEstaticos, 32,
              PorTraducir("el número de meshes estáticos"), PorTraducir("los meshes estáticos"));
    if (const uint8_t* p = g.Tomar(1, 4, T(PorTraducir("el preludio de sprites"))))
        std::memcpy(n->PreludioSprites, p, 3);
    LeerFilasSprite(g, *n);
    g.Arreglo(n->NumCamaras, n->Camaras, 16, PorTraducir("el número de cámaras"),
              PorTraducir("las cámaras"));
    g.Arreglo(n->NumCamarasVuelo, n->CamarasVuelo, 40, PorTraducir("el número de cámaras de vuelo"),
              PorTraducir("las cámaras de vuelo"));
    g.Arreglo(n->NumFuentesSonido, n->FuentesSonido, 16,
              PorTraducir("el número de fuentes de sonido"), PorTraducir("las fuentes de sonido"));
    g.Arreglo(n->NumCajas, n->Cajas, 8, PorTraducir("el número de cajas"),
              PorTraducir("las cajas"));
    g.Arreglo(n->NumSolapes, n->Solapes, 2, PorTraducir("el número de solapes"),
              PorTraducir("los solapes"));
    g.Copiar(n->Zonas, n->NumCajas, 20, T(PorTraducir("las zonas")));
    g.Arreglo(n->NumTexturasAnimadas, n->TexturasAnimadas, 2,
              PorTraducir("el número de texturas animadas"), PorTraducir("las texturas animadas"));
    if (const uint8_t* p = g.Tomar(1, 5, T(PorTraducir("el preludio de texturas"))))
        std::memcpy(n->PreludioTexturas, p, 4);
    // Object textures are 40 bytes: the fourth game's 38 and a word that is always 0.
    const uint32_t texturas = g.Valor<uint32_t>(T(PorTraducir("el número de texturas de objeto")));
    if (const uint8_t* t = g.Tomar(texturas, 40, T(PorTraducir("las texturas de objeto")))) {
        n->TexturasObjeto.resize(texturas);
        for (uint32_t i = 0; i < texturas; ++i) {
            const uint8_t* p = t + 40 * i;
            trTexturaObjeto& o = n->TexturasObjeto[i];
            o.Atributo = Leer<uint16_t>(p);
            o.Tile = Leer<uint16_t>(p + 2);
            o.Banderas = Leer<uint16_t>(p + 4);
            for (int k = 0; k < 4; ++k)
                o.Esquinas[k] = {Leer<uint16_t>(p + 6 + 4 * k), Leer<uint16_t>(p + 8 + 4 * k)};
            o.ValorA = Leer<uint32_t>(p + 22);
            o.ValorB = Leer<uint32_t>(p + 26);
            o.ValorC = Leer<uint32_t>(p + 30);
            o.ValorD = Leer<uint32_t>(p + 34);
        }
    }
    n->NumTexturasObjeto = uint32_t(n->TexturasObjeto.size());
    g.Arreglo(n->NumItems, n->Items, 24, PorTraducir("el número de items"),
              PorTraducir("los items"));
    g.Arreglo(n->NumObjetosIA, n->ObjetosIA, 24, PorTraducir("el número de objetos de IA"),
              PorTraducir("los objetos de IA"));
    n->NumDatosDemo = g.Valor<uint16_t>(T(PorTraducir("el número de datos de demo")));
    g.Copiar(n->DatosDemo, n->NumDatosDemo, 2, T(PorTraducir("los datos de demo")));
    if (const uint8_t* mapa = g.Tomar(450, 2, T(PorTraducir("el mapa de sonido")))) {
        std::memcpy(n->MapaSonido, mapa, sizeof n->MapaSonido);
        n->MapaSonidoLargo.resize(450);
        std::memcpy(n->MapaSonidoLargo.data(), mapa, 450 * 2);
    }
    g.Arreglo(n->NumDetallesSonido, n->DetallesSonido, 8,
              PorTraducir("el número de detalles de sonido"),
              PorTraducir("los detalles de sonido"));
    g.Arreglo(n->NumIndicesMuestra, n->IndicesMuestra, 4,
              PorTraducir("el número de índices de muestras"),
              PorTraducir("los índices de muestras"));
    if (const uint8_t* p = g.Tomar(1, 6, T(PorTraducir("los bytes finales"))))
        std::memcpy(n->BytesFinales, p, 6);
    g.NadaTrasLasMuestras();
    f.Absorber(g);
    // The samples follow, counted, to the end of the file: kept as the fourth game's tail.
    n->ValorFinal = f.Valor<uint32_t>(T(PorTraducir("el número de muestras")));
    if (!f.Fallo()) {
        n->Cola.assign(datos + (tamano - f.Restante()), datos + tamano);
        n->Bloques[0].TamanoInflado = uint32_t(n->DatosBloque[0].size());
    }
    if (f.Fallo())
        return f.Resultado();
    nivel = std::move(*n);
    return {};
}
