#include "LeerClasico.h"
#include "CargarNivel.h"
#include "Idioma.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T> void Poner(trBytes& b, T v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + sizeof v);
}

// What differs between the three games' streams; everything else is laid out alike.
struct Disposicion {
    uint32_t verticeCuarto;    // bytes of a room vertex
    uint32_t luzCuarto;        // of a room light
    uint32_t estaticoCuarto;   // of a static placed in a room
    uint32_t ambiente;         // of the lighting fields between the sectors and the lights
    uint32_t colaCuarto;       // of the bytes after a room's flags
    uint32_t caja;             // of a box
    uint32_t filasZonas;       // rows of zones, each a word per box
    uint32_t item;             // of an item
    uint32_t mapaSonido;       // entries of the sound map
    bool paginas16;            // palettes after the version word, and 16-bit pages after the 8-bit
    bool texturasTrasAnimadas; // object textures after the animated textures, not the statics
};

constexpr Disposicion DISPOSICIONES[3] = {
    {8, 18, 18, 2, 0, 20, 6, 22, 256, false, false},
    {12, 24, 20, 6, 0, 8, 10, 24, 370, true, false},
    {12, 24, 20, 4, 3, 8, 10, 24, 370, true, true},
};

constexpr uint32_t BYTES_PAGINA8 = 256 * 256, BYTES_PAGINA16 = 256 * 256 * 2;
constexpr uint32_t BYTES_TEXTURA_OBJETO = 20, BYTES_ANIMACION = 32;
// A face's texture field: its low 15 bits, the top bit a flag.
constexpr uint16_t INDICE_TEXTURA = 0x7FFF;

// A bounded cursor over the file that remembers its first refusal, worded with the game and the
// section that could not be read. After a refusal every read yields nothing.
class Flujo {
  public:
    Flujo(const uint8_t* datos, size_t tamano, int juego, size_t base = 0)
        : datos_(datos), tamano_(tamano), juego_(juego), base_(base) {}

    bool Fallo() const { return !motivo_.empty(); }
    const std::string& Motivo() const { return motivo_; }
    size_t Restante() const { return tamano_ - posicion_; }
    size_t Posicion() const { return base_ + posicion_; }

    // Whether `cuenta` records of `tamano` bytes fit in what is left; refused when not, so that a
    // lying count is caught before anything is allocated for it.
    bool Cabe(uint64_t cuenta, uint64_t tamano, const std::string& que) {
        if (Fallo())
            return false;
        if (tamano == 0 || cuenta <= Restante() / tamano)
            return true;
        Rechazar(cuenta == 1
                     ? Formatear(Traducir("el archivo termina (%s bytes) sin %s"),
                                 {std::to_string(base_ + tamano_), que})
                     : Formatear(Traducir("%s (%s × %s bytes desde la posición %s) no caben en "
                                          "el archivo (%s bytes)"),
                                 {que, std::to_string(cuenta), std::to_string(tamano),
                                  std::to_string(Posicion()), std::to_string(base_ + tamano_)}));
        return false;
    }

    // The next cuenta × tamano bytes, or null once refused.
    const uint8_t* Tomar(uint64_t cuenta, uint64_t tamano, const std::string& que) {
        if (!Cabe(cuenta, tamano, que))
            return nullptr;
        const uint8_t* p = datos_ + posicion_;
        posicion_ += size_t(cuenta * tamano);
        return p;
    }

    template <class T> T Valor(const std::string& que) {
        const uint8_t* p = Tomar(1, sizeof(T), que);
        return p ? Leer<T>(p) : T{};
    }

    void Copiar(trBytes& destino, uint64_t cuenta, uint64_t tamano, const std::string& que) {
        destino.clear();
        if (const uint8_t* p = Tomar(cuenta, tamano, que))
            destino.assign(p, p + cuenta * tamano);
    }

    // The next `bytes` as a stream of their own: a section whose length the file states is read
    // within it, never past it.
    Flujo Seccion(uint64_t bytes, const std::string& que) {
        const size_t inicio = Posicion();
        const uint8_t* p = Tomar(1, bytes, que);
        return p ? Flujo(p, size_t(bytes), juego_, inicio) : Flujo(nullptr, 0, juego_, inicio);
    }

    // A section's refusal is the whole stream's.
    void Absorber(const Flujo& seccion) {
        if (seccion.Fallo() && !Fallo())
            motivo_ = seccion.motivo_;
    }

    void Rechazar(const std::string& texto) {
        if (!Fallo())
            motivo_ = Formatear(Traducir("nivel de Tomb Raider %s dañado: %s"),
                                {std::to_string(juego_), texto});
    }

  private:
    const uint8_t* datos_;
    size_t tamano_;
    size_t posicion_ = 0;
    int juego_;
    size_t base_;
    std::string motivo_;
};

std::string Nombre(const char* texto) {
    return Traducir(texto);
}

// A count read as a signed 16-bit word: nothing for 0 or below, as the fourth game's reader does.
uint64_t Positivo(int16_t cuenta) {
    return cuenta > 0 ? uint64_t(cuenta) : 0;
}

void VerticesCuarto(const uint8_t* p, uint64_t cuenta, int juego, trBytes& destino) {
    destino.clear();
    destino.reserve(cuenta * 12);
    const uint32_t paso = juego == 1 ? 8 : 12;
    for (uint64_t i = 0; i < cuenta; ++i, p += paso) {
        destino.insert(destino.end(), p, p + 8); // x, y, z and the grey level
        const int16_t luz = Leer<int16_t>(p + 6);
        Poner<uint16_t>(destino, juego == 1 ? 0 : Leer<uint16_t>(p + 8));
        // The third game paints rooms in colour; the others in grey levels.
        Poner<uint16_t>(destino, juego == 3 ? Leer<uint16_t>(p + 10) : ColorDeLuzClasica(luz));
    }
}

// A room light as a fourth-game point light: position, colour, intensity and the fade distance.
void LucesCuarto(const uint8_t* p, uint64_t cuenta, int juego, trBytes& destino) {
    destino.clear();
    destino.reserve(cuenta * 46);
    const uint32_t paso = juego == 1 ? 18 : 24;
    for (uint64_t i = 0; i < cuenta; ++i, p += paso) {
        destino.insert(destino.end(), p, p + 12);
        uint8_t rgb[3];
        int32_t intensidad = 0, desvanecer = 0;
        if (juego == 3) {
            std::memcpy(rgb, p + 12, 3);
            intensidad = Leer<int32_t>(p + 16);
            desvanecer = Leer<int32_t>(p + 20);
        } else {
            intensidad = Leer<uint16_t>(p + 12);
            desvanecer = int32_t(Leer<uint32_t>(p + (juego == 1 ? 14 : 16)));
            const uint8_t gris = uint8_t(std::clamp(intensidad, 0, 8191) >> 5);
            rgb[0] = rgb[1] = rgb[2] = gris;
        }
        destino.insert(destino.end(), rgb, rgb + 3);
        destino.push_back(1); // a point light
        destino.push_back(0);
        destino.push_back(uint8_t(std::clamp(intensidad, 0, 8191) >> 5));
        Poner<float>(destino, 0.0f);
        Poner<float>(destino, float(desvanecer));
        for (int k = 0; k < 5; ++k)
            Poner<float>(destino, 0.0f);
    }
}

void EstaticosCuarto(const uint8_t* p, uint64_t cuenta, int juego, trBytes& destino) {
    destino.clear();
    if (juego != 1) {
        destino.assign(p, p + cuenta * 20); // laid out as the fourth game's
        return;
    }
    destino.reserve(cuenta * 20);
    for (uint64_t i = 0; i < cuenta; ++i, p += 18) {
        destino.insert(destino.end(), p, p + 16);      // position, turn, intensity
        destino.insert(destino.end(), p + 14, p + 18); // intensity again, then the static's id
    }
}

void LeerCuarto(Flujo& f, const Disposicion& d, int juego, trCuarto& c, const std::string& quien) {
    auto nombre = [&](const char* campo) { return quien + ", " + Traducir(campo); };
    if (const uint8_t* info = f.Tomar(1, sizeof c.Info, nombre(PorTraducir("su información"))))
        std::memcpy(c.Info, info, sizeof c.Info);
    c.NumPalabrasDatos = f.Valor<uint32_t>(nombre(PorTraducir("su número de palabras")));

    Flujo g = f.Seccion(2 * uint64_t{c.NumPalabrasDatos}, nombre(PorTraducir("su geometría")));
    c.NumVertices = g.Valor<int16_t>(nombre(PorTraducir("los vértices")));
    if (const uint8_t* v =
            g.Tomar(Positivo(c.NumVertices), d.verticeCuarto, nombre(PorTraducir("los vértices"))))
        VerticesCuarto(v, Positivo(c.NumVertices), juego, c.Vertices);
    c.NumRectangulos = g.Valor<int16_t>(nombre(PorTraducir("los rectángulos")));
    g.Copiar(c.Rectangulos, Positivo(c.NumRectangulos), 10, nombre(PorTraducir("los rectángulos")));
    c.NumTriangulos = g.Valor<int16_t>(nombre(PorTraducir("los triángulos")));
    g.Copiar(c.Triangulos, Positivo(c.NumTriangulos), 8, nombre(PorTraducir("los triángulos")));
    c.NumSprites = g.Valor<int16_t>(nombre(PorTraducir("los sprites")));
    g.Copiar(c.Sprites, Positivo(c.NumSprites), 4, nombre(PorTraducir("los sprites")));
    f.Absorber(g);

    c.NumPortales = f.Valor<uint16_t>(nombre(PorTraducir("el número de portales")));
    f.Copiar(c.Portales, c.NumPortales, 32, nombre(PorTraducir("los portales")));
    c.DimensionSectores1 = f.Valor<uint16_t>(nombre(PorTraducir("la rejilla de sectores")));
    c.DimensionSectores2 = f.Valor<uint16_t>(nombre(PorTraducir("la rejilla de sectores")));
    f.Copiar(c.Sectores, uint64_t{c.DimensionSectores1} * c.DimensionSectores2, 8,
             nombre(PorTraducir("los sectores")));
    if (const uint8_t* a = f.Tomar(1, d.ambiente, nombre(PorTraducir("su color")))) {
        // The fourth game's ambient colour: A, R in the high word, G, B in the low one.
        const uint16_t gris = uint16_t(std::clamp((8191 - int(Leer<int16_t>(a))) >> 5, 0, 255));
        c.ColorBajo = uint16_t(gris << 8 | gris);
        c.ColorAlto = uint16_t(0xFF00 | gris);
    }
    c.NumLuces = f.Valor<uint16_t>(nombre(PorTraducir("el número de luces")));
    if (const uint8_t* l = f.Tomar(c.NumLuces, d.luzCuarto, nombre(PorTraducir("las luces"))))
        LucesCuarto(l, c.NumLuces, juego, c.Luces);
    c.NumMeshesEstaticos = f.Valor<uint16_t>(nombre(PorTraducir("el número de meshes estáticos")));
    if (const uint8_t* e = f.Tomar(c.NumMeshesEstaticos, d.estaticoCuarto,
                                   nombre(PorTraducir("los meshes estáticos"))))
        EstaticosCuarto(e, c.NumMeshesEstaticos, juego, c.MeshesEstaticos);
    c.CuartoAlterno = f.Valor<int16_t>(nombre(PorTraducir("su cuarto alterno")));
    c.Banderas = f.Valor<int16_t>(nombre(PorTraducir("sus banderas")));
    if (d.colaCuarto != 0)
        if (const uint8_t* t = f.Tomar(1, d.colaCuarto, nombre(PorTraducir("sus últimos bytes")))) {
            c.EsquemaAgua = t[0];
            c.Reverberacion = t[1];
        }
}

// The fewest bytes a room can take: every count present, every array empty.
constexpr uint64_t BYTES_MINIMOS_CUARTO = 16 + 4 + 2 + 4 + 2 + 2 + 2 + 2 + 4;

// ---- Texture pages

// 32-bit pages (B, G, R, A per texel) from the 16-bit ones, whose top bit is opacity.
void Paginas16(const uint8_t* p, uint32_t paginas, trBytes& destino) {
    const size_t texeles = size_t{paginas} * 256 * 256;
    destino.resize(texeles * 4);
    auto expandir = [](uint32_t v) { return uint8_t((v << 3) | (v >> 2)); };
    for (size_t i = 0; i < texeles; ++i) {
        const uint16_t t = Leer<uint16_t>(p + 2 * i);
        uint8_t* q = destino.data() + 4 * i;
        q[0] = expandir(t & 31);
        q[1] = expandir((t >> 5) & 31);
        q[2] = expandir((t >> 10) & 31);
        q[3] = (t & 0x8000) ? 255 : 0;
    }
}

// The first game's palette holds 6-bit components; index 0 is see-through.
void Paginas8(const uint8_t* p, uint32_t paginas, const uint8_t* paleta, trBytes& destino) {
    const size_t texeles = size_t{paginas} * 256 * 256;
    destino.resize(texeles * 4);
    for (size_t i = 0; i < texeles; ++i) {
        const uint8_t* rgb = paleta + 3 * size_t{p[i]};
        uint8_t* q = destino.data() + 4 * i;
        q[0] = uint8_t(std::min(255, rgb[2] * 4));
        q[1] = uint8_t(std::min(255, rgb[1] * 4));
        q[2] = uint8_t(std::min(255, rgb[0] * 4));
        q[3] = p[i] == 0 ? 0 : 255;
    }
}

// Coloured faces name a palette entry, not a texture. They are drawn from a page of their own:
// 16 × 16 cells of one colour each, and an object texture inside each cell.
constexpr int LADO_CELDA = 16;

void PaginaDeColores(const uint8_t colores[256][3], trBytes& destino) {
    const size_t inicio = destino.size();
    destino.resize(inicio + trNivel::BYTES_PAGINA);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint8_t* c = colores[(y / LADO_CELDA) * 16 + x / LADO_CELDA];
            uint8_t* q = destino.data() + inicio + 4 * size_t(y * 256 + x);
            q[0] = c[2];
            q[1] = c[1];
            q[2] = c[0];
            q[3] = 255;
        }
}

trTexturaObjeto TexturaDeColor(uint16_t pagina, int indice) {
    trTexturaObjeto t;
    t.Tile = pagina;
    const uint16_t x0 = uint16_t((indice % 16) * LADO_CELDA + 4) << 8,
                   y0 = uint16_t((indice / 16) * LADO_CELDA + 4) << 8;
    const uint16_t x1 = uint16_t(x0 + (8 << 8)), y1 = uint16_t(y0 + (8 << 8));
    t.Esquinas[0] = {x0, y0};
    t.Esquinas[1] = {x1, y0};
    t.Esquinas[2] = {x1, y1};
    t.Esquinas[3] = {x0, y1};
    return t;
}

// ---- Meshes

// One mesh record of these games: the fourth game's, with two lists more (coloured rectangles and
// triangles) and faces without the effects word. Every record is padded to a multiple of 4 bytes.
struct MeshesConvertidas {
    trBytes datos;
    std::vector<std::pair<uint32_t, uint32_t>> inicios; // old offset, new offset
    bool coloreadas = false;
};

bool ConvertirMeshes(const uint8_t* datos, uint32_t bytes, uint16_t baseColores, int juego,
                     MeshesConvertidas& r, Flujo& error) {
    Flujo f(datos, bytes, juego);
    const std::string que = Nombre(PorTraducir("los datos de meshes"));
    r.datos.reserve(bytes + bytes / 4);
    while (f.Restante() > 0 && !f.Fallo()) {
        const size_t inicio = f.Posicion(), nuevo = r.datos.size();
        r.inicios.emplace_back(uint32_t(inicio), uint32_t(nuevo));
        const std::string quien =
            Formatear(Traducir("%s, el mesh en el byte %s"), {que, std::to_string(inicio)});
        const uint8_t* cabecera = f.Tomar(1, 10, quien);
        const int16_t nv = f.Valor<int16_t>(quien);
        const uint8_t* vertices = f.Tomar(Positivo(nv), 6, quien);
        const int16_t nn = f.Valor<int16_t>(quien);
        const uint8_t* normales =
            f.Tomar(nn > 0 ? uint64_t(nn) : uint64_t(-int32_t{nn}), nn > 0 ? 6 : 2, quien);
        struct Lista {
            int16_t cuenta = 0;
            const uint8_t* p = nullptr;
        } listas[4]; // textured rectangles, textured triangles, coloured rectangles, triangles
        for (int k = 0; k < 4; ++k) {
            listas[k].cuenta = f.Valor<int16_t>(quien);
            listas[k].p = f.Tomar(Positivo(listas[k].cuenta), k % 2 == 0 ? 10 : 8, quien);
        }
        if ((f.Posicion() - inicio) % 4 != 0)
            f.Tomar(1, 2, quien);
        if (f.Fallo())
            break;
        const uint64_t rectangulos = Positivo(listas[0].cuenta) + Positivo(listas[2].cuenta),
                       triangulos = Positivo(listas[1].cuenta) + Positivo(listas[3].cuenta);
        if (rectangulos > 0x7FFF || triangulos > 0x7FFF) {
            f.Rechazar(Formatear(Traducir("%s: más de 32767 caras de un tipo"), {quien}));
            break;
        }
        r.datos.insert(r.datos.end(), cabecera, cabecera + 10);
        Poner<int16_t>(r.datos, nv);
        if (vertices)
            r.datos.insert(r.datos.end(), vertices, vertices + 6 * Positivo(nv));
        Poner<int16_t>(r.datos, nn);
        if (normales && nn != 0)
            r.datos.insert(r.datos.end(), normales,
                           normales + (nn > 0 ? 6 * size_t(nn) : 2 * size_t(-int32_t{nn})));
        for (int lados : {4, 3}) {
            const Lista& texturadas = listas[lados == 4 ? 0 : 1];
            const Lista& coloreadas = listas[lados == 4 ? 2 : 3];
            Poner<int16_t>(r.datos, int16_t(lados == 4 ? rectangulos : triangulos));
            const size_t paso = 2 * size_t(lados) + 2;
            for (uint64_t i = 0; i < Positivo(texturadas.cuenta); ++i) {
                r.datos.insert(r.datos.end(), texturadas.p + paso * i,
                               texturadas.p + paso * (i + 1));
                Poner<uint16_t>(r.datos, 0);
            }
            for (uint64_t i = 0; i < Positivo(coloreadas.cuenta); ++i) {
                const uint8_t* cara = coloreadas.p + paso * i;
                r.datos.insert(r.datos.end(), cara, cara + 2 * size_t(lados));
                const uint16_t campo = Leer<uint16_t>(cara + 2 * size_t(lados));
                // The first game names an entry of its 8-bit palette; the others also name one
                // of their 16-bit palette in the high byte, the colour they draw.
                const int color = juego == 1 ? (campo & 0xFF) : (campo >> 8);
                Poner<uint16_t>(r.datos, uint16_t(baseColores + color));
                Poner<uint16_t>(r.datos, 0);
                r.coloreadas = true;
            }
        }
        if ((r.datos.size() - nuevo) % 4 != 0)
            Poner<uint16_t>(r.datos, 0);
    }
    error.Absorber(f);
    return !f.Fallo();
}

uint32_t NuevoDesplazamiento(const std::vector<std::pair<uint32_t, uint32_t>>& mapa, uint32_t viejo,
                             uint32_t fuera) {
    const auto en = std::lower_bound(mapa.begin(), mapa.end(), std::make_pair(viejo, 0u));
    return en != mapa.end() && en->first == viejo ? en->second : fuera;
}

// ---- Frames

// The first game's keyframes carry a count of rotation words and store each three-axis rotation
// with its two words swapped. Rewritten as the later games' keyframes: the count left out, the
// words in order. `mapa` takes each old keyframe's byte offset to its new one, with its meshes.
struct CuadroTR1 {
    uint32_t viejo, nuevo, meshes;
};

bool ConvertirCuadrosTR1(const trBytes& viejos, trBytes& nuevos, std::vector<CuadroTR1>& mapa,
                         Flujo& error) {
    Flujo f(viejos.data(), viejos.size(), 1);
    const std::string que = Nombre(PorTraducir("los cuadros de animación"));
    nuevos.clear();
    nuevos.reserve(viejos.size());
    while (f.Restante() > 0 && !f.Fallo()) {
        const uint32_t inicio = uint32_t(f.Posicion());
        const uint8_t* cabecera = f.Tomar(1, 20, que);
        if (!cabecera)
            break;
        const uint16_t valores = Leer<uint16_t>(cabecera + 18);
        const uint8_t* giros = f.Tomar(valores, 4, que);
        if (!giros)
            break;
        mapa.push_back({inicio, uint32_t(nuevos.size()), valores});
        nuevos.insert(nuevos.end(), cabecera, cabecera + 18);
        for (uint32_t k = 0; k < valores; ++k) {
            nuevos.insert(nuevos.end(), giros + 4 * k + 2, giros + 4 * k + 4);
            nuevos.insert(nuevos.end(), giros + 4 * k, giros + 4 * k + 2);
        }
    }
    error.Absorber(f);
    return !f.Fallo();
}

// Words looked at when widening the one-axis rotations; far beyond any real level's frames.
constexpr uint64_t MAXIMO_PALABRAS_GIRO = uint64_t{1} << 23;

// The second and third games turn one axis alone in 10 bits of a word, 1024 a full turn; the
// fourth in 12. Each keyframe an animation or a moveable reaches is walked once with its owner's
// meshes, and its one-axis words widened.
class Ensanchar {
  public:
    explicit Ensanchar(trBytes& cuadros) : cuadros_(cuadros), hecho_(cuadros.size() / 2) {}

    void Cuadro(uint64_t byte, uint64_t palabras, uint32_t meshes) {
        const uint64_t total = cuadros_.size() / 2;
        if (byte % 2 != 0 || byte / 2 >= total)
            return;
        uint64_t i = byte / 2 + 9;
        const uint64_t fin = std::min(total, byte / 2 + palabras);
        for (uint32_t m = 0; m < meshes && i < fin && presupuesto_ > 0; ++m, --presupuesto_) {
            uint8_t* p = cuadros_.data() + 2 * i;
            const uint16_t w = Leer<uint16_t>(p);
            if ((w & 0xC000) == 0) {
                i += 2;
                continue;
            }
            if (!hecho_[i]) {
                const uint16_t ancho = uint16_t((w & 0xC000) | ((w & 0x3FF) << 2));
                std::memcpy(p, &ancho, 2);
                hecho_[i] = true;
            }
            i += 1;
        }
    }

  private:
    trBytes& cuadros_;
    std::vector<bool> hecho_;
    uint64_t presupuesto_ = MAXIMO_PALABRAS_GIRO;
};

} // namespace

uint16_t ColorDeLuzClasica(int16_t luz) {
    const int c = std::clamp((8191 - int(luz)) >> 8, 0, 31);
    return uint16_t(c << 10 | c << 5 | c);
}

int LeerNivelClasico(int juego, const uint8_t* datos, size_t tamano, trNivel& nivel,
                     std::string* motivo) {
    if (juego < 1 || juego > 3) {
        if (motivo)
            *motivo = Formatear(Traducir("no hay lector para los niveles de Tomb Raider %s"),
                                {std::to_string(juego)});
        return 0;
    }
    const Disposicion& d = DISPOSICIONES[juego - 1];
    auto n = std::make_unique<trNivel>();
    n->Juego = uint8_t(juego);
    Flujo f(datos, datos ? tamano : 0, juego);
    auto T = [](const char* texto) { return Nombre(texto); };

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
    auto arreglo = [&](uint32_t& cuenta, trBytes& destino, uint32_t tamano,
                       const char* nombreCuenta, const char* nombre) {
        cuenta = f.Valor<uint32_t>(T(nombreCuenta));
        f.Copiar(destino, cuenta, tamano, T(nombre));
    };
    arreglo(n->NumDatosSuelo, n->DatosSuelo, 2, PorTraducir("el número de datos de suelo"),
            PorTraducir("los datos de suelo"));
    uint32_t palabrasMesh = 0;
    trBytes meshes;
    arreglo(palabrasMesh, meshes, 2, PorTraducir("el número de palabras de meshes"),
            PorTraducir("los datos de meshes"));
    trBytes punteros;
    arreglo(n->NumPunterosMesh, punteros, 4, PorTraducir("el número de punteros de meshes"),
            PorTraducir("los punteros de meshes"));
    trBytes animaciones;
    arreglo(n->NumAnimaciones, animaciones, BYTES_ANIMACION,
            PorTraducir("el número de animaciones"), PorTraducir("las animaciones"));
    arreglo(n->NumCambiosEstado, n->CambiosEstado, 6, PorTraducir("el número de cambios de estado"),
            PorTraducir("los cambios de estado"));
    arreglo(n->NumDespachosAnim, n->DespachosAnim, 8,
            PorTraducir("el número de despachos de animación"),
            PorTraducir("los despachos de animación"));
    arreglo(n->NumComandosAnim, n->ComandosAnim, 2,
            PorTraducir("el número de comandos de animación"),
            PorTraducir("los comandos de animación"));
    arreglo(n->NumArbolesMesh, n->ArbolesMesh, 4, PorTraducir("el número de árboles de meshes"),
            PorTraducir("los árboles de meshes"));
    trBytes cuadros;
    uint32_t palabrasCuadros = 0;
    arreglo(palabrasCuadros, cuadros, 2, PorTraducir("el número de cuadros de animación"),
            PorTraducir("los cuadros de animación"));
    arreglo(n->NumMovibles, n->Movibles, 18, PorTraducir("el número de movibles"),
            PorTraducir("los movibles"));
    arreglo(n->NumMeshesEstaticos, n->MeshesEstaticos, 32,
            PorTraducir("el número de meshes estáticos"), PorTraducir("los meshes estáticos"));
    trBytes texturas;
    uint32_t numTexturas = 0;
    auto texturasObjeto = [&] {
        arreglo(numTexturas, texturas, BYTES_TEXTURA_OBJETO,
                PorTraducir("el número de texturas de objeto"),
                PorTraducir("las texturas de objeto"));
    };
    if (!d.texturasTrasAnimadas)
        texturasObjeto();
    arreglo(n->NumTexturasSprite, n->TexturasSprite, 16,
            PorTraducir("el número de texturas de sprite"), PorTraducir("las texturas de sprite"));
    arreglo(n->NumSecuenciasSprite, n->SecuenciasSprite, 8,
            PorTraducir("el número de secuencias de sprite"),
            PorTraducir("las secuencias de sprite"));
    arreglo(n->NumCamaras, n->Camaras, 16, PorTraducir("el número de cámaras"),
            PorTraducir("las cámaras"));
    arreglo(n->NumFuentesSonido, n->FuentesSonido, 16,
            PorTraducir("el número de fuentes de sonido"), PorTraducir("las fuentes de sonido"));
    trBytes cajas, zonas;
    arreglo(n->NumCajas, cajas, d.caja, PorTraducir("el número de cajas"),
            PorTraducir("las cajas"));
    arreglo(n->NumSolapes, n->Solapes, 2, PorTraducir("el número de solapes"),
            PorTraducir("los solapes"));
    f.Copiar(zonas, n->NumCajas, 2 * d.filasZonas, T(PorTraducir("las zonas")));
    arreglo(n->NumTexturasAnimadas, n->TexturasAnimadas, 2,
            PorTraducir("el número de texturas animadas"), PorTraducir("las texturas animadas"));
    if (d.texturasTrasAnimadas)
        texturasObjeto();
    trBytes items;
    arreglo(n->NumItems, items, d.item, PorTraducir("el número de items"),
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
    arreglo(n->NumDetallesSonido, n->DetallesSonido, 8,
            PorTraducir("el número de detalles de sonido"), PorTraducir("los detalles de sonido"));
    if (juego == 1) {
        // The first game's sounds are whole WAVE files, back to back, counted in bytes.
        const uint32_t bytesMuestras =
            f.Valor<uint32_t>(T(PorTraducir("el tamaño de las muestras")));
        f.Tomar(bytesMuestras, 1, T(PorTraducir("las muestras")));
    }
    arreglo(n->NumIndicesMuestra, n->IndicesMuestra, 4,
            PorTraducir("el número de índices de muestras"),
            PorTraducir("los índices de muestras"));
    if (!f.Fallo() && f.Restante() != 0)
        f.Rechazar(Formatear(Traducir("sobran %s bytes tras los índices de muestras: alguna cuenta "
                                      "no es la que el archivo guarda"),
                             {std::to_string(f.Restante())}));

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
        // Animations: the fourth game's record has the lateral speed and acceleration after the
        // speed and acceleration; these games have none.
        std::vector<CuadroTR1> mapaCuadros;
        if (juego == 1)
            ConvertirCuadrosTR1(cuadros, n->Cuadros, mapaCuadros, f);
        else
            n->Cuadros = std::move(cuadros);
        n->NumCuadros = uint32_t(n->Cuadros.size() / 2);
        const uint32_t fuera = uint32_t(n->Cuadros.size()) + 2;
        auto cuadroNuevo = [&](uint32_t viejo, uint32_t* meshesCuadro) {
            const auto en =
                std::lower_bound(mapaCuadros.begin(), mapaCuadros.end(), viejo,
                                 [](const CuadroTR1& c, uint32_t v) { return c.viejo < v; });
            if (en == mapaCuadros.end() || en->viejo != viejo)
                return fuera;
            if (meshesCuadro)
                *meshesCuadro = en->meshes;
            return en->nuevo;
        };
        n->Animaciones.reserve(size_t{n->NumAnimaciones} * 40);
        for (uint32_t a = 0; a < n->NumAnimaciones; ++a) {
            const uint8_t* p = animaciones.data() + BYTES_ANIMACION * a;
            trBytes registro(p, p + 16);
            registro.insert(registro.end(), 8, 0);
            registro.insert(registro.end(), p + 16, p + 32);
            if (juego == 1) {
                // Its frame size is 0 in every level: the stride is the keyframe's own.
                uint32_t meshesCuadro = 0;
                const uint32_t nuevo = cuadroNuevo(Leer<uint32_t>(p), &meshesCuadro);
                std::memcpy(registro.data(), &nuevo, 4);
                const uint32_t palabras = 9 + 2 * meshesCuadro;
                registro[5] = nuevo == fuera || palabras > 255 ? 0 : uint8_t(palabras);
            }
            n->Animaciones.insert(n->Animaciones.end(), registro.begin(), registro.end());
        }
        if (juego == 1)
            for (size_t i = 0; i + 18 <= n->Movibles.size(); i += 18) {
                const uint32_t nuevo =
                    cuadroNuevo(Leer<uint32_t>(n->Movibles.data() + i + 12), nullptr);
                std::memcpy(n->Movibles.data() + i + 12, &nuevo, 4);
            }
        else {
            // Each animation is its moveable's from that moveable's first up to the next first.
            std::vector<std::pair<uint16_t, uint16_t>> primeras; // first animation, meshes
            Ensanchar ensanchar(n->Cuadros);
            for (size_t i = 0; i + 18 <= n->Movibles.size(); i += 18) {
                const uint8_t* m = n->Movibles.data() + i;
                const uint16_t meshesMovible = Leer<uint16_t>(m + 4),
                               primera = Leer<uint16_t>(m + 16);
                if (primera == 0xFFFF)
                    continue; // its frame offset is then never read
                ensanchar.Cuadro(Leer<uint32_t>(m + 12), 0xFFFF, meshesMovible);
                primeras.emplace_back(primera, meshesMovible);
            }
            std::stable_sort(primeras.begin(), primeras.end(),
                             [](auto a, auto b) { return a.first < b.first; });
            for (uint32_t a = 0; a < n->NumAnimaciones; ++a) {
                const auto en = std::upper_bound(primeras.begin(), primeras.end(), a,
                                                 [](uint32_t v, auto p) { return v < p.first; });
                if (en == primeras.begin())
                    continue;
                // Among moveables sharing a first animation, the first in file order owns it.
                auto dueno = std::prev(en);
                while (dueno != primeras.begin() && std::prev(dueno)->first == dueno->first)
                    --dueno;
                const uint8_t* p = animaciones.data() + BYTES_ANIMACION * a;
                const uint8_t tasa = p[4], tamano = p[5];
                const uint16_t primero = Leer<uint16_t>(p + 16), ultimo = Leer<uint16_t>(p + 18);
                if (tasa == 0 || tamano == 0 || ultimo < primero)
                    continue;
                const uint32_t claves = (uint32_t(ultimo - primero) + tasa - 1) / tasa + 1;
                for (uint32_t k = 0; k < claves; ++k)
                    ensanchar.Cuadro(uint64_t{Leer<uint32_t>(p)} + 2 * uint64_t{k} * tamano, tamano,
                                     dueno->second);
            }
        }

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

    if (f.Fallo()) {
        if (motivo)
            *motivo = f.Motivo();
        return 0;
    }
    nivel = std::move(*n);
    return 1;
}

// ---- The fifth game

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
        if (const uint8_t* q = parte(finSectores + 2, c.NumPortales, 32, PorTraducir("los portales")))
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
    c.NumPalabrasDatos = uint32_t((c.Vertices.size() + c.Rectangulos.size() +
                                   c.Triangulos.size()) / 2 + 4);
}

} // namespace

int LeerNivelTR5(const uint8_t* datos, size_t tamano, trNivel& nivel, std::string* motivo) {
    auto n = std::make_unique<trNivel>();
    n->Juego = 5;
    Flujo f(datos, datos ? tamano : 0, 5);
    auto T = [](const char* texto) { return Nombre(texto); };
    n->Version = f.Valor<uint32_t>(T(PorTraducir("la versión")));
    if (const uint8_t* c = f.Tomar(1, 6, T(PorTraducir("la cabecera"))))
        std::memcpy(n->Cabecera, c, 6);
    // Three compressed chunks: the 32-bit pages, the same in 16 bits, three pages of their own.
    for (int b = 0; b < 3; ++b) {
        const std::string que =
            Formatear(Traducir("bloque %s"), {std::to_string(b + 1)});
        n->Bloques[b].TamanoInflado = f.Valor<uint32_t>(que);
        n->Bloques[b].TamanoComprimido = f.Valor<uint32_t>(que);
        const uint8_t* z = f.Tomar(n->Bloques[b].TamanoComprimido, 1, que);
        if (b != 0 || !z)
            continue;
        const uint64_t declarado = n->Bloques[0].TamanoInflado;
        if (declarado > MAXIMO_BLOQUE_INFLADO ||
            declarado > uint64_t{n->Bloques[0].TamanoComprimido} * 1032 + 64) {
            f.Rechazar(Formatear(Traducir("%s: %s bytes no pueden salir de %s bytes comprimidos"),
                                 {que, std::to_string(declarado),
                                  std::to_string(n->Bloques[0].TamanoComprimido)}));
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
    const uint32_t bytesDatos = f.Valor<uint32_t>(T(PorTraducir("el tamaño de los datos del nivel")));
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
    auto arreglo = [&](uint32_t& cuenta, trBytes& destino, uint32_t tamano,
                       const char* nombreCuenta, const char* nombre) {
        cuenta = g.Valor<uint32_t>(T(nombreCuenta));
        g.Copiar(destino, cuenta, tamano, T(nombre));
    };
    arreglo(n->NumDatosSuelo, n->DatosSuelo, 2, PorTraducir("el número de datos de suelo"),
            PorTraducir("los datos de suelo"));
    arreglo(n->NumPalabrasMesh, n->DatosMesh, 2, PorTraducir("el número de palabras de meshes"),
            PorTraducir("los datos de meshes"));
    arreglo(n->NumPunterosMesh, n->PunterosMesh, 4, PorTraducir("el número de punteros de meshes"),
            PorTraducir("los punteros de meshes"));
    arreglo(n->NumAnimaciones, n->Animaciones, 40, PorTraducir("el número de animaciones"),
            PorTraducir("las animaciones"));
    arreglo(n->NumCambiosEstado, n->CambiosEstado, 6, PorTraducir("el número de cambios de estado"),
            PorTraducir("los cambios de estado"));
    arreglo(n->NumDespachosAnim, n->DespachosAnim, 8,
            PorTraducir("el número de despachos de animación"),
            PorTraducir("los despachos de animación"));
    arreglo(n->NumComandosAnim, n->ComandosAnim, 2,
            PorTraducir("el número de comandos de animación"),
            PorTraducir("los comandos de animación"));
    arreglo(n->NumArbolesMesh, n->ArbolesMesh, 4, PorTraducir("el número de árboles de meshes"),
            PorTraducir("los árboles de meshes"));
    arreglo(n->NumCuadros, n->Cuadros, 2, PorTraducir("el número de cuadros de animación"),
            PorTraducir("los cuadros de animación"));
    // Moveables are 20 bytes here: the fourth game's 18 and a word that is always 0xFEFF.
    n->NumMovibles = g.Valor<uint32_t>(T(PorTraducir("el número de movibles")));
    if (const uint8_t* m = g.Tomar(n->NumMovibles, 20, T(PorTraducir("los movibles"))))
        for (uint32_t i = 0; i < n->NumMovibles; ++i)
            n->Movibles.insert(n->Movibles.end(), m + 20 * i, m + 20 * i + 18);
    arreglo(n->NumMeshesEstaticos, n->MeshesEstaticos, 32,
            PorTraducir("el número de meshes estáticos"), PorTraducir("los meshes estáticos"));
    if (const uint8_t* p = g.Tomar(1, 4, T(PorTraducir("el preludio de sprites"))))
        std::memcpy(n->PreludioSprites, p, 3);
    arreglo(n->NumTexturasSprite, n->TexturasSprite, 16,
            PorTraducir("el número de texturas de sprite"), PorTraducir("las texturas de sprite"));
    arreglo(n->NumSecuenciasSprite, n->SecuenciasSprite, 8,
            PorTraducir("el número de secuencias de sprite"),
            PorTraducir("las secuencias de sprite"));
    arreglo(n->NumCamaras, n->Camaras, 16, PorTraducir("el número de cámaras"),
            PorTraducir("las cámaras"));
    arreglo(n->NumCamarasVuelo, n->CamarasVuelo, 40, PorTraducir("el número de cámaras de vuelo"),
            PorTraducir("las cámaras de vuelo"));
    arreglo(n->NumFuentesSonido, n->FuentesSonido, 16,
            PorTraducir("el número de fuentes de sonido"), PorTraducir("las fuentes de sonido"));
    arreglo(n->NumCajas, n->Cajas, 8, PorTraducir("el número de cajas"), PorTraducir("las cajas"));
    arreglo(n->NumSolapes, n->Solapes, 2, PorTraducir("el número de solapes"),
            PorTraducir("los solapes"));
    g.Copiar(n->Zonas, n->NumCajas, 20, T(PorTraducir("las zonas")));
    arreglo(n->NumTexturasAnimadas, n->TexturasAnimadas, 2,
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
    arreglo(n->NumItems, n->Items, 24, PorTraducir("el número de items"), PorTraducir("los items"));
    arreglo(n->NumObjetosIA, n->ObjetosIA, 24, PorTraducir("el número de objetos de IA"),
            PorTraducir("los objetos de IA"));
    n->NumDatosDemo = g.Valor<uint16_t>(T(PorTraducir("el número de datos de demo")));
    g.Copiar(n->DatosDemo, n->NumDatosDemo, 2, T(PorTraducir("los datos de demo")));
    if (const uint8_t* mapa = g.Tomar(450, 2, T(PorTraducir("el mapa de sonido")))) {
        std::memcpy(n->MapaSonido, mapa, sizeof n->MapaSonido);
        n->MapaSonidoLargo.resize(450);
        std::memcpy(n->MapaSonidoLargo.data(), mapa, 450 * 2);
    }
    arreglo(n->NumDetallesSonido, n->DetallesSonido, 8,
            PorTraducir("el número de detalles de sonido"), PorTraducir("los detalles de sonido"));
    arreglo(n->NumIndicesMuestra, n->IndicesMuestra, 4,
            PorTraducir("el número de índices de muestras"), PorTraducir("los índices de muestras"));
    if (const uint8_t* p = g.Tomar(1, 6, T(PorTraducir("los bytes finales"))))
        std::memcpy(n->BytesFinales, p, 6);
    if (!g.Fallo() && g.Restante() != 0)
        g.Rechazar(Formatear(Traducir("sobran %s bytes tras los índices de muestras: alguna cuenta "
                                      "no es la que el archivo guarda"),
                             {std::to_string(g.Restante())}));
    f.Absorber(g);
    // The samples follow, counted, to the end of the file: kept as the fourth game's tail.
    n->ValorFinal = f.Valor<uint32_t>(T(PorTraducir("el número de muestras")));
    if (!f.Fallo()) {
        n->Cola.assign(datos + (tamano - f.Restante()), datos + tamano);
        n->Bloques[0].TamanoInflado = uint32_t(n->DatosBloque[0].size());
    }
    if (f.Fallo()) {
        if (motivo)
            *motivo = f.Motivo();
        return 0;
    }
    nivel = std::move(*n);
    return 1;
}
