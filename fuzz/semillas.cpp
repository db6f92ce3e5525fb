// Writes the seed corpora of the fuzz targets into CARPETA/<target>/: levels built by the test
// fixture writer (the sample level and small variants of it), and, when a folder of real levels
// is given, the level data and mesh data of each real level that loads.
//
//   escribir_semillas CARPETA [NIVELES_REALES]
#include "CargarNivel.h"
#include "EscritorNivel.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace fixture;

namespace {

int errores = 0;

void Escribir(const fs::path& carpeta, const std::string& nombre, const Bytes& bytes) {
    if (!GuardarArchivo((carpeta / nombre).string(), bytes)) {
        std::fprintf(stderr, "semillas: no se puede escribir %s\n", (carpeta / nombre).c_str());
        ++errores;
    }
}

// Without pages and with empty side blocks: the same level data in a file that loads fast.
NivelFixture Ligero(NivelFixture n) {
    n.paginas.clear();
    n.bloque2.clear();
    n.bloque3.clear();
    return n;
}

std::vector<std::pair<std::string, NivelFixture>> Niveles() {
    std::vector<std::pair<std::string, NivelFixture>> v;
    const NivelFixture muestra = NivelMuestra();
    v.emplace_back("muestra", muestra);
    v.emplace_back("muestra-ligera", Ligero(muestra));

    NivelFixture vacio = Ligero({});
    v.emplace_back("vacio", vacio);

    NivelFixture colas = Ligero(muestra);
    colas.numObjetosIA = 1;
    colas.numDatosDemo = 3;
    colas.numCamarasVuelo = 1;
    colas.valorFinal = 7;
    colas.cola = {1, 2, 3, 4, 5};
    v.emplace_back("colas", colas);

    NivelFixture sinMapa = colas;
    sinMapa.sinMapaSonido = true;
    v.emplace_back("sin-mapa-sonido", sinMapa);

    // A later game's layout: a longer block 3.
    NivelFixture otra = vacio;
    otra.bloque3 = Bytes(786432, 0);
    v.emplace_back("bloque3-largo", otra);

    // Inflates to far more than its compressed size suggests, so the block's buffer must grow.
    NivelFixture grande = vacio;
    grande.bloque2 = Bytes(3 << 20, 0);
    for (size_t i = 0; i < grande.bloque2.size(); i += 4096)
        grande.bloque2[i] = static_cast<uint8_t>(i >> 12);
    v.emplace_back("bloque2-grande", grande);

    NivelFixture uno = Ligero({});
    uno.meshes = {muestra.meshes.front()};
    uno.cuartos = {muestra.cuartos.front()};
    uno.texturasObjeto = muestra.texturasObjeto;
    v.emplace_back("un-mesh", uno);

    // Moveables over a mesh tree and frames, statics and their placements, some damaged.
    v.emplace_back("objetos", NivelObjetos());
    v.emplace_back("animado", NivelAnimado());
    // Sounds: a map, details and PCM and MS-ADPCM samples after the level data.
    v.emplace_back("sonoro", Ligero(NivelSonoro()));
    // Rooms of real faces, one dropped, a static and an item placed, others naming what is not.
    v.emplace_back("cuartos", NivelCuartos());
    // A sector of each floor data function, a trigger of each type, every action.
    v.emplace_back("logica", Ligero(NivelLogica()));
    return v;
}

std::vector<std::pair<std::string, Bytes>> Meshes() {
    const NivelFixture muestra = NivelMuestra();
    std::vector<std::pair<std::string, Bytes>> v;
    v.emplace_back("todos", CodificarMeshes(muestra.meshes));
    for (size_t i = 0; i < muestra.meshes.size(); ++i)
        v.emplace_back("mesh-" + std::to_string(i), CodificarMeshes({muestra.meshes[i]}));

    // Lights instead of normals, and an odd number of triangles, so the record needs padding.
    MeshFixture luces;
    luces.centro = {1, 2, 3};
    luces.radio = 70000;
    luces.vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    luces.luces = {100, 200, 300};
    luces.triangulos = {{{0, 1, 2}, 0x8001, 0}};
    MeshFixture vacio;
    v.emplace_back("luces-y-vacio", CodificarMeshes({luces, vacio, luces}));
    return v;
}

void Reales(const fs::path& origen, const fs::path& destino) {
    std::error_code ec;
    if (!fs::is_directory(origen, ec)) {
        std::printf("semillas: no hay niveles reales en %s; se siguen sin ellos\n", origen.c_str());
        return;
    }
    std::vector<fs::path> archivos;
    for (const auto& e : fs::directory_iterator(origen, ec))
        if (e.path().extension() == ".tr4")
            archivos.push_back(e.path());
    std::sort(archivos.begin(), archivos.end());
    for (const auto& ruta : archivos) {
        const Bytes archivo = LeerArchivo(ruta.string());
        trNivel nivel;
        std::string motivo;
        if (CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel, &motivo) == 0) {
            std::printf("semillas: %s no carga (%s); se omite\n", ruta.c_str(), motivo.c_str());
            continue;
        }
        const std::string nombre = "real-" + ruta.stem().string();
        Escribir(destino / "LeerNivel", nombre, nivel.DatosBloque[3]);
        Escribir(destino / "LeerMeshes", nombre, nivel.DatosMesh);
        // The real level data in a container without pages: the whole file fuzzes far faster.
        ContenedorFixture c = ArmarContenedor(Ligero({}));
        c.bloques[3].inflado = nivel.DatosBloque[3];
        c.version = nivel.Version;
        Escribir(destino / "CargarNivel", nombre + "-ligero.tr4", Serializar(c));
        // For the whole chain, two of its pages too, so that textured faces meet real pages and
        // faces naming later pages meet none.
        const size_t paginas = std::min<size_t>(nivel.DatosBloque[0].size(), 2u << 18);
        c.bloques[0].inflado.assign(nivel.DatosBloque[0].begin(),
                                    nivel.DatosBloque[0].begin() + paginas);
        Escribir(destino / "AbrirNivel", nombre + "-dos-paginas.tr4", Serializar(c));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "uso: escribir_semillas CARPETA [NIVELES_REALES]\n");
        return 2;
    }
    const fs::path destino = argv[1];
    for (const char* objetivo : {"CargarNivel", "LeerNivel", "LeerMeshes", "AbrirNivel"}) {
        std::error_code ec;
        fs::create_directories(destino / objetivo, ec);
        if (ec) {
            std::fprintf(stderr, "semillas: no se puede crear %s: %s\n",
                         (destino / objetivo).c_str(), ec.message().c_str());
            return 1;
        }
    }

    for (const auto& [nombre, n] : Niveles()) {
        const Bytes archivo = EscribirNivel(n);
        // A seed that does not load would only test the refusals; say so rather than hide it.
        trNivel nivel;
        std::string motivo;
        if (CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel, &motivo) == 0) {
            std::fprintf(stderr, "semillas: %s no carga: %s\n", nombre.c_str(), motivo.c_str());
            ++errores;
        }
        Escribir(destino / "CargarNivel", nombre + ".tr4", archivo);
        Escribir(destino / "AbrirNivel", nombre + ".tr4", archivo);
        Escribir(destino / "LeerNivel", nombre, CodificarDatosNivel(n).bytes);
    }
    for (const auto& [nombre, bytes] : Meshes())
        Escribir(destino / "LeerMeshes", nombre, bytes);
    if (argc == 3)
        Reales(argv[2], destino);
    return errores == 0 ? 0 : 1;
}
