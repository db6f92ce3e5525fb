// A catalogue of damaged levels, each opened the way the viewer opens one (over a level already
// on show) and given to `tr4tool info`. Every one must end in a clear result: refused with a
// one-line reason that names the fault, the earlier level untouched and nothing left on the
// device; or opened, with the damage contained. Memory is counted across the open: every
// allocation of this program goes through the counting operator new below.
#include "CargarNivel.h"
#include "DecodificarMuestra.h"
#include "Ejecutar.h"
#include "EscritorClasico.h"
#include "EscritorNivel.h"
#include "Grabacion.h"
#include "Idioma.h"
#include "LeerSonidos.h"
#include "NivelSubido.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/stat.h>
#include <unistd.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>

using namespace fixture;
namespace fs = std::filesystem;

namespace {

std::atomic<int64_t> vivos{0}, pico{0};

void* Reservar(size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    const int64_t ahora = vivos += int64_t(malloc_usable_size(p));
    int64_t visto = pico.load();
    while (ahora > visto && !pico.compare_exchange_weak(visto, ahora)) {
    }
    return p;
}

void Liberar(void* p) {
    if (!p)
        return;
    vivos -= int64_t(malloc_usable_size(p));
    std::free(p);
}

} // namespace

void* operator new(size_t n) {
    return Reservar(n);
}
void* operator new[](size_t n) {
    return Reservar(n);
}
void operator delete(void* p) noexcept {
    Liberar(p);
}
void operator delete[](void* p) noexcept {
    Liberar(p);
}
void operator delete(void* p, size_t) noexcept {
    Liberar(p);
}
void operator delete[](void* p, size_t) noexcept {
    Liberar(p);
}

namespace {

// Far below the 256 MiB the viewer may take for a whole level; the small levels below need
// about one.
constexpr int64_t MEMORIA_MAXIMA = 32 << 20;

// One page, two textured meshes and one room: enough for every kind of damage to land somewhere.
NivelFixture Base() {
    NivelFixture n;
    n.paginas = Paginas(1, [](int, int x, int y) { return uint32_t(0xFF000000u | x << 8 | y); });
    n.bloque2 = Bytes(1000, 7);
    CuartoFixture cuarto;
    cuarto.numVertices = 2;
    n.cuartos = {cuarto};
    n.texturasObjeto.resize(2);
    MeshFixture caja;
    caja.vertices = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 100, 0}};
    caja.normales = caja.vertices;
    caja.rectangulos = {{{0, 1, 3, 2}, 0, 0}};
    caja.triangulos = {{{0, 1, 2}, 1, 0}, {{1, 3, 2}, 1, 0}};
    n.meshes = {caja, caja};
    n.valorFinal = 7;
    return n;
}

Bytes ConTamanos(int bloque, std::optional<uint32_t> inflado, std::optional<uint32_t> comprimido) {
    ContenedorFixture c = ArmarContenedor(Base());
    c.bloques[bloque].tamanoInflado = inflado;
    c.bloques[bloque].tamanoComprimido = comprimido;
    return Serializar(c);
}

Bytes ConDatosNivel(const std::function<void(Bytes&, const DatosNivel&)>& danar,
                    const NivelFixture& n = Base()) {
    DatosNivel d = CodificarDatosNivel(n);
    Bytes datos = d.bytes;
    danar(datos, d);
    ContenedorFixture c = ArmarContenedor(n);
    c.bloques[3].inflado = datos;
    return Serializar(c);
}

void Poner(Bytes& b, size_t en, uint32_t v, size_t ancho) {
    std::memcpy(&b[en], &v, ancho);
}

Bytes ConMesh(const std::function<void(MeshFixture&)>& danar) {
    NivelFixture n = Base();
    danar(n.meshes[0]);
    return EscribirNivel(n);
}

// `ceros` zero bytes as one zlib stream, made a piece at a time so the test never holds them.
Bytes CerosComprimidos(size_t ceros) {
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    const Bytes trozo(1 << 20, 0);
    Bytes salida(deflateBound(&z, ceros));
    z.next_out = salida.data();
    z.avail_out = uInt(salida.size());
    for (size_t quedan = ceros; quedan > 0;) {
        const size_t n = std::min(quedan, trozo.size());
        z.next_in = const_cast<Bytef*>(trozo.data());
        z.avail_in = uInt(n);
        quedan -= n;
        deflate(&z, quedan ? Z_NO_FLUSH : Z_FINISH);
    }
    salida.resize(z.total_out);
    deflateEnd(&z);
    return salida;
}

// The figures a reason names, in any order: a translation may place them differently.
std::vector<std::string> Cifras(const std::string& texto) {
    std::vector<std::string> v;
    for (size_t i = 0; i < texto.size();) {
        const size_t fin = texto.find_first_not_of("0123456789", i);
        if (fin != i)
            v.push_back(texto.substr(i, fin - i));
        i = fin == std::string::npos ? texto.size() : fin + (fin == i);
    }
    std::sort(v.begin(), v.end());
    return v;
}

bool Texturado(const dxBufferTextura& b, int primitiva) {
    return (b.GetFlags(primitiva) & FLAG_TEXTURADO) != 0 && b.GetTextura(primitiva) != nullptr;
}

struct Caso {
    std::string nombre;
    // Leaves the damaged level in the folder given and returns its path.
    std::function<std::string(const fs::path&)> preparar;
    // What the reason must contain; empty when the level must open.
    std::string pista;
    // For a level that opens: how the damage was contained.
    std::function<void(const NivelSubido&)> comprobar = [](const NivelSubido&) {};
};

// gtest names the case instead of dumping its bytes.
void PrintTo(const Caso& caso, std::ostream* os) {
    *os << caso.nombre;
}

std::function<std::string(const fs::path&)> Archivo(std::function<Bytes()> bytes) {
    return [bytes](const fs::path& carpeta) {
        const std::string ruta = (carpeta / "nivel.tr4").string();
        if (!GuardarArchivo(ruta, bytes()))
            ADD_FAILURE() << "no se pudo escribir " << ruta;
        return ruta;
    };
}

std::vector<Caso> Catalogo() {
    std::vector<Caso> v;
    v.push_back({"vacio", Archivo([] { return Bytes{}; }), "demasiado corto para ser un nivel"});
    v.push_back({"solo_cabecera", Archivo([] {
                     Bytes b = EscribirNivel(Base());
                     b.resize(10);
                     return b;
                 }),
                 "el archivo termina antes del bloque 1"});

    // Every size field of every block, at 0 and at 0xFFFFFFFF.
    const Bytes sano = EscribirNivel(Base());
    const ContenedorFixture c = ArmarContenedor(Base());
    for (int b = 0; b < 4; ++b) {
        const std::string n = std::to_string(b + 1);
        v.push_back({"bloque" + n + "_inflado_0", Archivo([=] { return ConTamanos(b, 0, {}); }),
                     "bloque " + n + ": se descomprime en más de los 0 bytes"});
        v.push_back({"bloque" + n + "_inflado_max",
                     Archivo([=] { return ConTamanos(b, 0xFFFFFFFF, {}); }),
                     "bloque " + n + ": 4294967295 bytes no pueden salir"});
        v.push_back({"bloque" + n + "_comprimido_0", Archivo([=] { return ConTamanos(b, {}, 0); }),
                     "bloque " + n + ": " + std::to_string(c.bloques[b].inflado.size()) +
                         " bytes no pueden salir de 0 bytes comprimidos"});
        v.push_back({"bloque" + n + "_comprimido_max",
                     Archivo([=] { return ConTamanos(b, {}, 0xFFFFFFFF); }),
                     "bloque " + n + ": dice tener 4294967295 bytes comprimidos"});
    }
    v.push_back({"comprimido_mas_alla_del_final", Archivo([=] {
                     return Bytes(sano.begin(), sano.begin() + PosicionBloque(c, 3) + 8 + 20);
                 }),
                 "bloque 4: dice tener"});
    v.push_back({"inflado_mayor_que_el_declarado", Archivo([] { return ConTamanos(1, 999, {}); }),
                 "bloque 2: se descomprime en más de los 999 bytes"});
    // A block that yields less than it states is kept at the length it really has.
    v.push_back({"inflado_menor_que_el_declarado", Archivo([] { return ConTamanos(1, 5000, {}); }),
                 "", [](const NivelSubido& a) {
                     EXPECT_EQ(a.Nivel->DatosBloque[1].size(), 1000u);
                     EXPECT_EQ(a.Cantidad(), 2);
                 }});
    // A stated size far beyond the stream, made plausible by junk after it: what is held follows
    // the stream, not the size.
    v.push_back({"inflado_declarado_enorme", Archivo([=] {
                     ContenedorFixture d = c;
                     Bytes f = Comprimir(d.bloques[1].inflado);
                     f.resize(f.size() + (64 << 10), 0);
                     d.bloques[1].flujo = f;
                     d.bloques[1].tamanoInflado = 60 << 20;
                     return Serializar(d);
                 }),
                 "", [](const NivelSubido& a) {
                     EXPECT_EQ(a.Nivel->DatosBloque[1].size(), 1000u);
                     EXPECT_EQ(a.Cantidad(), 2);
                 }});
    // Honest zlib, but far more than any level holds: refused before a byte is inflated.
    v.push_back({"bomba_zlib", Archivo([=] {
                     ContenedorFixture d = c;
                     d.bloques[1].flujo = CerosComprimidos(size_t{300} << 20);
                     d.bloques[1].tamanoInflado = uint32_t{300} << 20;
                     return Serializar(d);
                 }),
                 "bloque 2: dice descomprimirse en 314572800 bytes, más de los 268435456"});
    v.push_back({"flujo_zlib_danado", Archivo([=] {
                     ContenedorFixture d = c;
                     Bytes f = Comprimir(d.bloques[0].inflado);
                     f[f.size() / 2] ^= 0x10;
                     d.bloques[0].flujo = f;
                     return Serializar(d);
                 }),
                 "bloque 1: el flujo zlib está dañado o incompleto"});
    v.push_back({"primeros_bloques_sin_zlib", Archivo([=] {
                     ContenedorFixture d = c;
                     d.bloques[0].flujo = d.bloques[0].inflado;
                     d.bloques[1].flujo = d.bloques[1].inflado;
                     return Serializar(d);
                 }),
                 "bloque 1: no es un flujo zlib"});
    v.push_back({"disposicion_de_tomb_raider_5", Archivo([=] {
                     ContenedorFixture d = c;
                     d.bloques[2].inflado = Bytes(786432, 0);
                     d.bloques[3].flujo = Bytes{};
                     d.bloques[3].tamanoInflado = 0;
                     return Serializar(d);
                 }),
                 "nivel de Tomb Raider 5 dañado: "});

    // Every count row of the level data at its largest. Up to the object textures the viewer
    // needs what follows, so the level is refused; after them the row is dropped.
    const int filas32[] = {4,  6,  8,  10, 12, 14, 16, 18, 20, 22, 24, 27,
                           29, 31, 33, 35, 37, 39, 42, 45, 47, 49, 54, 56};
    for (int f : filas32) {
        v.push_back({"fila" + std::to_string(f) + "_max", Archivo([f] {
                         return ConDatosNivel([f](Bytes& b, const DatosNivel& d) {
                             Poner(b, d.filas[f], 0xFFFFFFFF, 4);
                         });
                     }),
                     f <= 45 ? "datos del nivel dañados" : "",
                     [](const NivelSubido& a) { EXPECT_EQ(a.Cantidad(), 2); }});
    }
    for (int f : {2, 51})
        v.push_back({"fila" + std::to_string(f) + "_max", Archivo([f] {
                         return ConDatosNivel([f](Bytes& b, const DatosNivel& d) {
                             Poner(b, d.filas[f], 0xFFFF, 2);
                         });
                     }),
                     f == 2 ? "los cuartos (65535 × " : "",
                     [](const NivelSubido& a) { EXPECT_EQ(a.Cantidad(), 2); }});

    // Room geometry counts (vertices, rectangles, triangles, sprites) without their bytes. A
    // negative count stands for none.
    for (int16_t cuenta : {int16_t(-1), int16_t(32767)}) {
        v.push_back({std::string("cuarto_cuentas_") + (cuenta < 0 ? "menos_uno" : "32767"),
                     Archivo([cuenta] {
                         NivelFixture n = Base();
                         n.cuartos[0].numVertices = 0;
                         return ConDatosNivel(
                             [cuenta](Bytes& b, const DatosNivel& d) {
                                 for (size_t campo = 20; campo <= 26; campo += 2)
                                     Poner(b, d.filas[3] + campo, uint16_t(cuenta), 2);
                             },
                             n);
                     }),
                     cuenta < 0 ? "" : "cuarto 0 de 1, los vértices (32767 × 12 bytes",
                     [](const NivelSubido& a) {
                         EXPECT_EQ(a.Nivel->Cuartos[0].NumVertices, -1);
                         EXPECT_TRUE(a.Nivel->Cuartos[0].Vertices.empty());
                         EXPECT_TRUE(a.Nivel->Cuartos[0].Sprites.empty());
                         EXPECT_EQ(a.Cantidad(), 2);
                     }});
    }
    v.push_back({"rejilla_de_sectores_65535", Archivo([] {
                     NivelFixture n = Base();
                     n.cuartos[0].numVertices = 0;
                     return ConDatosNivel(
                         [](Bytes& b, const DatosNivel& d) {
                             Poner(b, d.filas[3] + 30, 65535, 2);
                             Poner(b, d.filas[3] + 32, 65535, 2);
                         },
                         n);
                 }),
                 "los sectores (4294836225 × 8 bytes"});

    // Meshes: damage stays inside the mesh it is in.
    v.push_back({"mesh_promete_mas_de_lo_que_hay", Archivo([] {
                     NivelFixture n = Base();
                     Bytes crudos = CodificarMeshes(n.meshes);
                     Poner(crudos, crudos.size() / 2 + 10, 32767, 2); // second mesh's vertices
                     n.datosMeshCrudos = crudos;
                     return EscribirNivel(n);
                 }),
                 "", [](const NivelSubido& a) {
                     ASSERT_EQ(a.Cantidad(), 2);
                     EXPECT_EQ(a.Buffer(0)->GetNumVertices(), 10);
                     EXPECT_EQ(a.Buffer(1)->GetNumVertices(), 0);
                 }});
    v.push_back({"indices_de_vertice_fuera", Archivo([] {
                     return ConMesh([](MeshFixture& m) {
                         m.rectangulos[0].v[2] = 4;
                         m.triangulos[0].v[0] = 0xFFFF;
                     });
                 }),
                 "", [](const NivelSubido& a) {
                     EXPECT_EQ(a.Buffer(0)->GetCuadrados(), 0);
                     EXPECT_EQ(a.Buffer(0)->GetTriangulos(), 1);
                     EXPECT_EQ(a.Buffer(1)->GetTriangulos() + a.Buffer(1)->GetCuadrados(), 3);
                 }});
    v.push_back({"texturas_fuera", Archivo([] {
                     return ConMesh([](MeshFixture& m) {
                         m.rectangulos[0].textura = 2;
                         for (auto& t : m.triangulos)
                             t.textura = 0xFFFF;
                     });
                 }),
                 "", [](const NivelSubido& a) {
                     for (int i = 0; i < 3; ++i) {
                         EXPECT_FALSE(Texturado(*a.Buffer(0), i)) << i;
                         EXPECT_TRUE(Texturado(*a.Buffer(1), i)) << i;
                     }
                 }});
    v.push_back({"paginas_fuera", Archivo([] {
                     NivelFixture n = Base();
                     n.texturasObjeto[0].tile = 1;      // one page only
                     n.texturasObjeto[1].tile = 0x7FFF; // triangles drop the top bit
                     return EscribirNivel(n);
                 }),
                 "", [](const NivelSubido& a) {
                     for (int i = 0; i < 3; ++i)
                         EXPECT_FALSE(Texturado(*a.Buffer(0), i)) << i;
                 }});

    // Damaged samples after the level data: the level opens, and each is told unreadable with
    // its reason while the others still decode.
    struct MuestraDanada {
        const char* nombre;
        std::function<void(NivelFixture&)> danar;
        size_t muestra;
        trFallaMuestra falla;
    };
    const MuestraDanada muestras[] = {
        {"muestra_tamanos_distintos", [](NivelFixture& n) { n.muestras[0].descomprimido = 5; }, 0,
         trFallaMuestra::TamanosDistintos},
        {"muestra_adpcm_tamano_falso",
         [](NivelFixture& n) { n.muestras[1].descomprimido = 0xFFFFFFFF; }, 1,
         trFallaMuestra::TamanosDistintos},
        {"muestra_sin_riff", [](NivelFixture& n) { n.muestras[1].wave.assign(64, 0xAB); }, 1,
         trFallaMuestra::RiffDanado},
        {"muestra_riff_mas_largo",
         [](NivelFixture& n) { Poner(n.muestras[0].wave, 4, 0xFFFFFFF0u, 4); }, 0,
         trFallaMuestra::RiffDanado},
        {"muestra_pasa_del_final", [](NivelFixture& n) { n.muestras[2].guardado = 0xFFFFFFFF; }, 2,
         trFallaMuestra::FueraDelArchivo},
        {"muestra_adpcm_cortada",
         [](NivelFixture& n) {
             // The RIFF and data sizes still say the whole; the bytes stop half way.
             n.muestras[1].wave.resize(n.muestras[1].wave.size() / 2);
             n.muestras[1].guardado = uint32_t(n.muestras[1].wave.size());
         },
         1, trFallaMuestra::RiffDanado},
    };
    for (const MuestraDanada& m : muestras) {
        NivelFixture n = NivelSonoro();
        m.danar(n);
        const Bytes archivo = EscribirNivel(n);
        v.push_back(
            {m.nombre, Archivo([archivo] { return archivo; }), "", [m](const NivelAbierto& a) {
                 trSonidos s;
                 LeerSonidos(*a.Nivel, s);
                 std::vector<trPcm> pcm;
                 DecodificarMuestras(*a.Nivel, s, &pcm);
                 ASSERT_GT(s.Muestras.size(), m.muestra);
                 EXPECT_EQ(s.Muestras[m.muestra].Falla, m.falla) << s.Muestras[m.muestra].Motivo;
                 EXPECT_TRUE(pcm[m.muestra].Valores.empty());
                 for (size_t i = 0; i < m.muestra; ++i)
                     EXPECT_TRUE(s.Muestras[i].Legible()) << s.Muestras[i].Motivo;
             }});
    }
    // A count of samples far beyond what follows: one entry says where the file ends.
    v.push_back({"muestras_declaradas_de_mas", Archivo([] {
                     ContenedorFixture c = ArmarContenedor(NivelSonoro());
                     c.valorFinal = 0xFFFFFFFF;
                     return Serializar(c);
                 }),
                 "", [](const NivelAbierto& a) {
                     trSonidos s;
                     LeerSonidos(*a.Nivel, s);
                     ASSERT_EQ(s.Muestras.size(), 4u);
                     EXPECT_EQ(s.Muestras[3].Falla, trFallaMuestra::FueraDelArchivo);
                 }});

    // Paths that are not level files at all.
    v.push_back({"carpeta", [](const fs::path& carpeta) { return carpeta.string(); },
                 "es una carpeta, no un archivo de nivel"});
    v.push_back({"inexistente",
                 [](const fs::path& carpeta) { return (carpeta / "no-existe.tr4").string(); },
                 "no se puede abrir"});
    // Opening a pipe blocks until something writes to it: it must be refused, not waited on.
    v.push_back({"tuberia",
                 [](const fs::path& carpeta) {
                     const fs::path ruta = carpeta / "tuberia.tr4";
                     EXPECT_EQ(mkfifo(ruta.c_str(), 0600), 0);
                     return ruta.string();
                 },
                 "no es un archivo"});
    // Permissions do not bind the superuser, so there the file is refused for what it holds.
    v.push_back({"sin_permiso_de_lectura",
                 [](const fs::path& carpeta) {
                     const std::string ruta = (carpeta / "cerrado.tr4").string();
                     GuardarArchivo(ruta, Bytes(8, 0));
                     chmod(ruta.c_str(), 0);
                     return ruta;
                 },
                 geteuid() == 0 ? "demasiado corto" : "no se puede abrir: Permission denied"});

    // The first three games' levels: whole, then each section cut short or its count changed.
    // Refused naming the game and the section.
    for (int juego = 1; juego <= 3; ++juego) {
        const std::string j = std::to_string(juego), nombre = "tr" + j + "_";
        const std::string danado = "nivel de Tomb Raider " + j + " dañado: ";
        SeccionesClasico s;
        const Bytes clasico = EscribirNivelClasico(juego, Base(), &s);
        auto cambiado = [clasico](std::function<void(Bytes&)> danar) {
            return Archivo([clasico, danar] {
                Bytes b = clasico;
                danar(b);
                return b;
            });
        };
        auto cortado = [cambiado](size_t n) {
            return cambiado([n](Bytes& b) { b.resize(n); });
        };
        v.push_back({nombre + "sano", cambiado([](Bytes&) {}), "",
                     [](const NivelAbierto& a) { EXPECT_EQ(a.Cantidad(), 2); }});
        v.push_back({nombre + "paginas_cortadas", cortado(s.paginas + 4 + 1000),
                     danado + "el archivo termina"});
        v.push_back({nombre + "paginas_de_mas",
                     cambiado([s](Bytes& b) { Poner(b, s.paginas, 2000, 4); }),
                     danado + "2000 páginas de textura, más de las 1024"});
        v.push_back({nombre + "cuartos_de_mas",
                     cambiado([s](Bytes& b) { b[s.cuartos] = b[s.cuartos + 1] = 0xFF; }),
                     danado + "los cuartos (65535 × "});
        v.push_back({nombre + "cuarto_cortado", cortado(s.cuartos + 2 + 20),
                     danado + "el archivo termina"});
        v.push_back({nombre + "palabras_de_meshes_max",
                     cambiado([s](Bytes& b) { Poner(b, s.meshes, 0xFFFFFFFF, 4); }),
                     danado + "los datos de meshes (4294967295 × 2 bytes"});
        v.push_back({nombre + "mesh_sin_sus_vertices", Archivo([juego] {
                         NivelFixture n = Base();
                         // A record that claims 100 vertices and holds none.
                         n.datosMeshCrudos = Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0};
                         n.punterosMesh = std::vector<uint32_t>{0};
                         return EscribirNivelClasico(juego, n);
                     }),
                     danado + "los datos de meshes, el mesh en el byte 0"});
        v.push_back({nombre + "punteros_de_mas",
                     cambiado([s](Bytes& b) { Poner(b, s.punteros, 0x10000000, 4); }),
                     danado + "los punteros de meshes (268435456 × 4 bytes"});
        v.push_back({nombre + "items_cortados", cortado(s.items + 2), danado});
        v.push_back({nombre + "bytes_de_mas", cambiado([](Bytes& b) { b.insert(b.end(), 3, 0); }),
                     danado + "sobran 3 bytes"});
    }
    return v;
}

class ArchivoDanado : public ::testing::TestWithParam<Caso> {
  protected:
    void SetUp() override {
        // The process id keeps two test runs on one machine (two worktrees, say) apart.
        carpeta_ = fs::path(::testing::TempDir()) /
                   ("danado-" + GetParam().nombre + "-" + std::to_string(getpid()));
        fs::remove_all(carpeta_);
        fs::create_directories(carpeta_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(carpeta_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(carpeta_, ec);
    }
    fs::path carpeta_;
};

TEST_P(ArchivoDanado, TerminaConUnResultadoClaro) {
    const Caso& caso = GetParam();
    const std::string ruta = caso.preparar(carpeta_);

    DispositivoGrabado d;
    std::unique_ptr<NivelSubido> abierto;
    const std::string previo = (carpeta_ / "previo.tr4").string();
    ASSERT_TRUE(GuardarArchivo(previo, EscribirNivel(Base())));
    ASSERT_TRUE(AbrirNivel(previo.c_str(), &d.dispositivo, abierto));
    const NivelSubido* enPantalla = abierto.get();
    const int objetosPrevios = d.registro->Vivos;

    const int64_t antes = vivos;
    pico = antes;
    const auto inicio = std::chrono::steady_clock::now();
    const Hecho r = AbrirNivel(ruta.c_str(), &d.dispositivo, abierto);
    const std::string& motivo = r.Motivo();
    // Reported, not asserted: --gtest_output=xml lists both for every case.
    RecordProperty("ms_abrir", int(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - inicio)
                                       .count()));
    RecordProperty("kib_pico", int((pico - antes) >> 10));
    EXPECT_LT(pico - antes, MEMORIA_MAXIMA);

    const Resultado info = Ejecutar({"info", ruta});
    // The sounds: refused as info refuses, or every sample listed, the unreadable with a reason.
    const Resultado sonidos = Ejecutar({"sounds", ruta});
    if (!caso.pista.empty()) {
        EXPECT_EQ(sonidos.errores, info.errores);
    } else {
        EXPECT_EQ(sonidos.estado, 0) << sonidos.errores;
        EXPECT_TRUE(sonidos.errores.empty()) << sonidos.errores;
    }
    // The pages, written whole from whatever block 1 holds, or refused as info refuses.
    const fs::path paginas = carpeta_.string() + "-paginas";
    fs::create_directories(paginas);
    const Resultado png = Ejecutar({"pages", ruta, "--out", paginas.string()});
    if (!caso.pista.empty()) {
        EXPECT_EQ(png.errores, info.errores);
    }
    EXPECT_EQ(png.estado == 0, png.errores.empty()) << png.errores;
    EXPECT_EQ(png.estado == 0, !fs::is_empty(paginas)) << png.errores;
    EXPECT_LE(std::count(png.errores.begin(), png.errores.end(), '\n'), 1) << png.errores;
    fs::remove_all(paginas);
    if (!caso.pista.empty()) {
        EXPECT_FALSE(r);
        EXPECT_NE(motivo.find(caso.pista), std::string::npos) << motivo;
        EXPECT_EQ(motivo.find('\n'), std::string::npos) << motivo;
        EXPECT_EQ(abierto.get(), enPantalla);
        EXPECT_EQ(d.registro->Vivos, objetosPrevios);

        EXPECT_EQ(info.estado, 1);
        EXPECT_EQ(info.errores, "tr4tool: " + ruta + ": " + motivo + "\n");
        EXPECT_EQ(info.salida, "");

        // The same refusal under an English locale: every fixed word translated, every figure
        // kept, still one line.
        FijarIdioma(Idioma::Ingles);
        const Resultado ingles = Ejecutar({"info", ruta});
        FijarIdioma(Idioma::Espanol);
        const std::string prefijo = "tr4tool: " + ruta + ": ";
        EXPECT_EQ(ingles.estado, 1);
        ASSERT_TRUE(ingles.errores.starts_with(prefijo)) << ingles.errores;
        const std::string razon = ingles.errores.substr(prefijo.size());
        EXPECT_EQ(razon.find('\n'), razon.size() - 1) << razon;
        EXPECT_EQ(Cifras(razon), Cifras(motivo)) << razon;
        for (const char* espanol :
             {" de ", " del ", " el ", " los ", " las ", " que ", " se ", "bloque", "archivo",
              "dañad", "á", "é", "í", "ó", "ú", "ñ", "¿"})
            EXPECT_EQ(razon.find(espanol), std::string::npos) << razon;
    } else {
        ASSERT_TRUE(r) << motivo;
        ASSERT_NE(abierto.get(), enPantalla);
        caso.comprobar(*abierto);
        for (int i = 0; i < abierto->Cantidad(); ++i) {
            EXPECT_EQ(d.dispositivo.DibujarBuffer(abierto->Buffer(i), 0), D3D_OK);
            EXPECT_EQ(d.dispositivo.DibujarBuffer(abierto->Buffer(i), 2), D3D_OK);
        }
        EXPECT_EQ(d.registro->DibujosFueraDeRango, 0);
        EXPECT_EQ(info.estado, 0) << info.errores;
    }
    abierto.reset();
    EXPECT_EQ(d.registro->Vivos, 1); // only the device: every page and buffer was given back
}

INSTANTIATE_TEST_SUITE_P(Catalogo, ArchivoDanado, ::testing::ValuesIn(Catalogo()),
                         [](const auto& info) { return info.param.nombre; });

} // namespace

namespace {

// The catalogue as files, for the web page's tests, which drop each on the page: with
// TR4_GUARDAR_CATALOGO=FOLDER every damaged level that is a file is written there as NAME.tr4.
// Without the variable there is nothing to do.
TEST(CatalogoEnArchivos, SeGuardaCuandoSePide) {
    const char* destino = std::getenv("TR4_GUARDAR_CATALOGO");
    if (!destino || !*destino)
        GTEST_SKIP() << "TR4_GUARDAR_CATALOGO no está puesta";
    fs::create_directories(destino);
    const fs::path trabajo = fs::path(::testing::TempDir()) / ("catalogo-" + std::to_string(getpid()));
    int escritos = 0;
    for (const Caso& caso : Catalogo()) {
        fs::remove_all(trabajo);
        fs::create_directories(trabajo);
        const fs::path ruta = caso.preparar(trabajo);
        std::error_code ec;
        if (fs::is_regular_file(ruta, ec) && (fs::status(ruta).permissions() & fs::perms::owner_read) != fs::perms::none) {
            fs::copy_file(ruta, fs::path(destino) / (caso.nombre + ".tr4"),
                          fs::copy_options::overwrite_existing);
            ++escritos;
        }
    }
    fs::remove_all(trabajo);
    EXPECT_GT(escritos, 40);
}

} // namespace
