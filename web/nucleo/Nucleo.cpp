// The core as the web page's worker calls it: plain functions over bytes in the module's memory.
// One level open at a time; a file that cannot be opened leaves the open one as it was.
//
// Every call that yields something leaves it in one result buffer, read with tr4_resultado and
// tr4_tamano_resultado until the next call: the summary (JSON), a model (.glb, or the batches
// the page draws the level from), a page (PNG), or, when the call returns 0, the reason as one
// line of text.
#include "CargarNivel.h"
#include "DecodificarMuestra.h"
#include "EscenaNivel.h"
#include "ExportarGLTF.h"
#include "Idioma.h"
#include "InflarFlujos.h"
#include "InicioNivel.h"
#include "LeerCuartos.h"
#include "LeerSonidos.h"
#include "LogicaPagina.h"
#include "LotesPagina.h"
#include "ModeloGLTF.h"
#include "NivelAbierto.h"
#include "PaginasPNG.h"
#include "Resumen.h"
#include "trObjetos.h"

#include <nlohmann/json.hpp>
#include <zlib.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#define EXPORTAR(nombre) extern "C" __attribute__((export_name(nombre)))

namespace {

std::unique_ptr<NivelAbierto> abierto;
// Built without exceptions, a failed allocation ends the call in a trap. It is marked first, so
// that the worker can tell running out of memory from any other fault (tr4_sin_memoria).
bool agotada = false;
[[noreturn]] void SinMemoria() {
    agotada = true;
    __builtin_trap();
}
const std::new_handler manejadorAnterior = std::set_new_handler(SinMemoria);
std::vector<uint8_t> resultado;
// The alternate groups the page shows flipped, until another level is opened.
std::array<bool, 256> volteados{};

int Motivo(const std::string& texto) {
    resultado.assign(texto.begin(), texto.end());
    return 0;
}

int Texto(const std::string& texto) {
    resultado.assign(texto.begin(), texto.end());
    return 1;
}

const trMovible* Movible(uint32_t id) {
    for (const trMovible& m : abierto->Objetos.Movibles)
        if (m.Id == id)
            return &m;
    return nullptr;
}

// A point of the scene (device axes: the level's y negated) in the exported model's axes, where
// the level's x is negated too, at the export's scale.
nlohmann::json EnModelo(const glm::vec3& p) {
    const double escala = OpcionesGLTF{}.Escala;
    return {-p.x * escala, p.y * escala, p.z * escala};
}

// How the level view opens, as the window opens it: behind Lara's start looking the way she
// faces ("inicio": the eye and the point it looks at, in the model's axes), or, with no Lara,
// framing the rooms that have any light ("iluminados", all of them when none has).
void VistaInicial(nlohmann::ordered_json& j) {
    const NivelAbierto& a = *abierto;
    j["inicio"] = nullptr;
    j["iluminados"] = nlohmann::json::array();
    if (!a.Escena)
        return;
    const EscenaNivel& escena = *a.Escena;
    if (const auto inicio = InicioEnLara(a.Objetos, size_t(escena.NumCuartos()), &escena)) {
        j["inicio"] = {{"ojo", EnModelo(inicio->Ojo)}, {"pivote", EnModelo(inicio->Pivote)}};
        return;
    }
    for (int32_t r = 0; r < escena.NumCuartos(); ++r)
        if (escena.CuartoIluminado(r))
            j["iluminados"].push_back(r);
}

// What the page lists: the summary `tr4tool info` prints, the meshes, the objects (with Lara
// when the level has her body), the rooms the level shows and where its view opens.
std::string Indice() {
    const NivelAbierto& a = *abierto;
    std::ostringstream texto;
    EscribirTexto(Resumir(*a.Nivel, a.Meshes.get()), texto);
    nlohmann::ordered_json j;
    j["resumen"] = texto.str();
    j["meshes"] = a.Cantidad();
    j["movibles"] = nlohmann::json::array();
    for (const trMovible& m : a.Objetos.Movibles)
        j["movibles"].push_back({{"id", m.Id}, {"meshes", m.NumMeshes}});
    j["estaticos"] = nlohmann::json::array();
    for (const trEstatico& e : a.Objetos.Estaticos)
        j["estaticos"].push_back({{"id", e.Id}, {"mesh", e.Mesh}});
    bool prestados = false;
    const trMovible *lara = Movible(ID_LARA), *cuerpo = Movible(a.Objetos.CuerpoLara);
    if (lara && cuerpo && lara != cuerpo)
        ConMeshesDe(*lara, *cuerpo, &prestados);
    j["lara"] = prestados;
    // The rooms the level export holds, by the number its nodes carry.
    j["cuartos"] = nlohmann::json::array();
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(*a.Nivel);
    const std::vector<bool> alterno = CuartosAlternos(cuartos);
    for (size_t r = 0; r < cuartos.size(); ++r)
        if (!alterno[r])
            j["cuartos"].push_back(r);
    VistaInicial(j);
    return j.dump();
}

// What the page's choice `que` (the value tr4_elegidos gives one of its names) and `numero` (an
// index or id) export; a value none of them has is the level.
OpcionesGLTF Opciones(int que, double numero) {
    OpcionesGLTF o;
    o.Numero = int64_t(numero);
    o.Que = Elegido::Nivel;
    for (const NombreDeElegido& n : NOMBRES_ELEGIDO)
        if (int(n.Que) == que)
            o.Que = n.Que;
    if (o.Que == Elegido::Movible || o.Que == Elegido::Lara)
        o.Animadas.Todas = true;
    return o;
}

} // namespace

// 1 once an allocation has failed: the trap that followed was the module out of memory.
EXPORTAR("tr4_sin_memoria") int tr4_sin_memoria() {
    return agotada;
}

// Room for `tamano` bytes that the worker fills; null when there is no memory for them.
EXPORTAR("tr4_reservar") uint8_t* tr4_reservar(uint32_t tamano) {
    return static_cast<uint8_t*>(std::malloc(tamano ? tamano : 1));
}

EXPORTAR("tr4_liberar") void tr4_liberar(uint8_t* p) {
    std::free(p);
}

EXPORTAR("tr4_resultado") const uint8_t* tr4_resultado() {
    return resultado.data();
}

EXPORTAR("tr4_tamano_resultado") uint32_t tr4_tamano_resultado() {
    return uint32_t(resultado.size());
}

// 1 for English, 0 for Spanish: the page's language, as a locale would choose it.
EXPORTAR("tr4_idioma") void tr4_idioma(int ingles) {
    FijarIdioma(ingles ? Idioma::Ingles : Idioma::Espanol);
}

// Whether a file of `tamano` bytes may be read at all, asked before it is read: 0, with the
// reason the command line gives for a file that large, when it may not.
EXPORTAR("tr4_admitir_tamano") int tr4_admitir_tamano(double tamano) {
    if (tamano <= double(MAXIMO_ARCHIVO_NIVEL))
        return 1;
    return Motivo(Formatear(Traducir("mide %s bytes, demasiado para ser un nivel"),
                            {std::to_string(uint64_t(tamano))}));
}

// Opens the level held in `datos`; 1 and the index (JSON) as the result, or 0 and the reason,
// the level open before kept.
EXPORTAR("tr4_abrir") int tr4_abrir(const uint8_t* datos, uint32_t tamano) {
    if (tamano > MAXIMO_ARCHIVO_NIVEL)
        return tr4_admitir_tamano(tamano);
    std::unique_ptr<NivelAbierto> nuevo;
    if (const Hecho abrir = AbrirNivelDeMemoria(datos, tamano, nuevo); !abrir)
        return Motivo(abrir.Motivo());
    abierto = std::move(nuevo);
    volteados = {};
    return Texto(Indice());
}

// What the page may show, as a .glb: a mesh, a moveable or a static (`numero` its index or id),
// the whole level, or Lara (moveable 0 wearing her body's meshes). A moveable comes with every
// animation of it that can be played, as `tr4tool export --animations all` writes it.
EXPORTAR("tr4_exportar") int tr4_exportar(int que, double numero) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    const OpcionesGLTF o = Opciones(que, numero);
    std::vector<ArchivoPorEscribir> archivos;
    const Hecho exportado = ExportarGLTFEnMemoria(*abierto, o, "modelo.glb", archivos);
    if (!exportado || archivos.empty())
        return Motivo(exportado.Motivo());
    resultado = std::move(archivos.back().Bytes);
    return 1;
}

// The whole level as the page draws it, with no .glb made and parsed again: the batches, pages
// and nodes LotesPagina lays out, from the model the level's .glb is made of.
EXPORTAR("tr4_nivel") int tr4_nivel() {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    OpcionesGLTF o;
    o.Que = Elegido::Nivel;
    o.GruposVolteados = volteados;
    ModeloGLTF modelo(*abierto, float(o.Escala));
    if (const Hecho armado = ArmarModeloGLTF(*abierto, o, modelo); !armado)
        return Motivo(armado.Motivo());
    resultado = LotesPagina(modelo, abierto->Texturas.get());
    if (resultado.empty())
        return Motivo(Traducir("el nivel no cabe en la memoria de la página"));
    return 1;
}

// Shows alternate group `grupo` (0-255; -1 every group) flipped or not from the next tr4_nivel
// on; 0 and the reason for a group that cannot be.
EXPORTAR("tr4_voltear") int tr4_voltear(double grupo, int volteado) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    if (grupo == -1)
        volteados.fill(volteado != 0);
    else if (grupo >= 0 && grupo < double(volteados.size()) && grupo == std::floor(grupo))
        volteados[size_t(grupo)] = volteado != 0;
    else {
        std::ostringstream numero;
        numero << std::setprecision(17) << grupo; // as the page wrote it, however large
        return Motivo(Formatear(Traducir("no hay grupo alterno %s"), {numero.str()}));
    }
    return 1;
}

// The level's triggers and rooms as the page lists them (LogicaPagina).
EXPORTAR("tr4_logica") int tr4_logica() {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    return Texto(LogicaPagina(abierto->Logica));
}

// Sector (x, z) of room `cuarto`, or with `punto` set the sector of that room under the model
// point (x, z), as SectorPagina lists it; 0 and the reason when there is none.
EXPORTAR("tr4_sector") int tr4_sector(double cuarto, double x, double z, int punto) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    const float escala = float(OpcionesGLTF{}.Escala);
    const bool valido = cuarto >= 0 && cuarto < double(abierto->Logica.Cuartos.size());
    std::string j;
    if (valido && punto)
        j = SectorEnPunto(abierto->Logica, size_t(cuarto), x, z, escala);
    else if (valido && x >= 0 && z >= 0 && x < 65536 && z < 65536)
        j = SectorPagina(abierto->Logica, size_t(cuarto), int64_t(x), int64_t(z), escala);
    if (j.empty())
        return Motivo(Traducir("no hay ningún sector ahí"));
    return Texto(j);
}

// The number of texture pages of the open level.
EXPORTAR("tr4_paginas") int tr4_paginas() {
    return abierto && abierto->Texturas ? abierto->Texturas->NumPaginas() : 0;
}

// Where page `i`'s 256 x 256 texels lie in the module's memory (B, G, R, A each), until the next
// level is opened; 0 for a page the open level lacks.
EXPORTAR("tr4_texels") const uint8_t* tr4_texels(int i) {
    return abierto && abierto->Texturas && i >= 0 && i < tr4_paginas() ? abierto->Texturas->GetTexels(i)
                                                                       : nullptr;
}

// Page `i` as PNG, texel for texel what `tr4tool pages` writes.
EXPORTAR("tr4_pagina") int tr4_pagina(int i) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    const uint8_t* texels =
        i >= 0 && i < tr4_paginas() ? abierto->Texturas->GetTexels(i) : nullptr;
    if (!texels)
        return Motivo(Formatear(Traducir("no hay página %s"), {std::to_string(i)}));
    resultado = PaginaPNG(texels);
    return 1;
}

// The name page `i` is offered under, as `tr4tool pages` writes it: pagina_07.png, pagina_123.png.
EXPORTAR("tr4_nombre_pagina") int tr4_nombre_pagina(int i) {
    return Texto(ArchivoPagina(i));
}

// The name the export of what tr4_exportar(que, numero) makes is offered under, after the level
// file's name (`largo` bytes of UTF-8 at `archivo`): tut1_movible_5.glb.
EXPORTAR("tr4_nombre_exportacion")
int tr4_nombre_exportacion(int que, double numero, const char* archivo, uint32_t largo) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    return Texto(NombreExportacion(Opciones(que, numero), std::string(archivo, largo)));
}

// What the page may choose, by name, with the value its calls pass for each: {"mesh": 0, ...}.
// The page reads these rather than numbering its choices itself.
EXPORTAR("tr4_elegidos") int tr4_elegidos() {
    nlohmann::ordered_json j;
    for (const NombreDeElegido& n : NOMBRES_ELEGIDO)
        j[std::string(n.Nombre)] = int(n.Que);
    return Texto(j.dump());
}

// The level's sounds as JSON: every sound id its map names with the level samples it picks
// from, and every sample, readable or with the reason it is not.
EXPORTAR("tr4_sonidos") int tr4_sonidos() {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    trSonidos s;
    LeerSonidos(*abierto->Nivel, s);
    // Decoded, as the command line lists them: a sample the decoder refuses is not offered.
    DecodificarMuestras(*abierto->Nivel, s, nullptr);
    nlohmann::ordered_json j;
    j["sonidos"] = nlohmann::json::array();
    for (uint32_t id = 0; id < s.Mapa.size(); ++id)
        if (const int32_t d = DetalleDeSonido(s, id); d >= 0)
            j["sonidos"].push_back(
                {{"id", id}, {"muestras", MuestrasDeSonido(s, s.Detalles[size_t(d)])}});
    j["muestras"] = nlohmann::json::array();
    for (const trMuestra& m : s.Muestras)
        j["muestras"].push_back({{"legible", m.Legible()}, {"motivo", m.Motivo}});
    return Texto(j.dump());
}

// The sound commands of the level's animation `a` as JSON, [{cuadro, id}] with the game frame
// counted from its first, by the rule the window's player follows; [] for one that cannot play.
EXPORTAR("tr4_sonidos_animacion") int tr4_sonidos_animacion(double a) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    const trAnimaciones& t = abierto->Objetos.Animaciones;
    nlohmann::json j = nlohmann::json::array();
    if (a >= 0 && a < double(t.Animaciones.size()) && t.Animaciones[size_t(a)].Jugable()) {
        const uint32_t indice = uint32_t(a);
        std::vector<uint16_t> ids;
        for (uint32_t f = 0; f <= t.Animaciones[indice].Duracion(); ++f) {
            ids.clear();
            SonidosEntre(t, indice, f, f + 1, ids);
            for (uint16_t id : ids)
                j.push_back({{"cuadro", f}, {"id", id}});
        }
    }
    return Texto(j.dump());
}

// Sample `i` as a WAVE the browser decodes: the level's own when it is PCM, which every
// browser reads, else its PCM as libsndfile decodes it (Chromium's decoder refuses MS-ADPCM);
// 0 and the reason when it cannot be read or decoded.
EXPORTAR("tr4_muestra") int tr4_muestra(int i) {
    if (!abierto)
        return Motivo(Traducir("no hay ningún nivel abierto"));
    trSonidos s;
    LeerSonidos(*abierto->Nivel, s);
    if (i < 0 || size_t(i) >= s.Muestras.size())
        return Motivo(Formatear(Traducir("no hay muestra %s"), {std::to_string(i)}));
    trMuestra& m = s.Muestras[size_t(i)];
    trPcm pcm;
    if (const Hecho decodificada = DecodificarMuestra(*abierto->Nivel, m, pcm); !decodificada)
        return Motivo(decodificada.Motivo());
    if (m.Formato == 1) {
        const uint8_t* bytes = BytesMuestra(*abierto->Nivel, m);
        resultado.assign(bytes, bytes + m.TamanoGuardado);
        return 1;
    }
    resultado = WavePcm(pcm);
    if (resultado.empty())
        return Motivo(Traducir("no se pudo escribir el WAVE"));
    return 1;
}

// Inflates one zlib stream that states `declarado` bytes, as the loader inflates a block: for
// the page that measures the core's inflating against the browser's own. 1 and the bytes, or 0.
EXPORTAR("tr4_inflar") int tr4_inflar(const uint8_t* datos, uint32_t tamano, uint32_t declarado) {
    const FlujoBloque flujo{datos, tamano, declarado};
    trBytes destino;
    Inflado fallo = Inflado::Bien;
    if (InflarFlujos(&flujo, 1, &destino, fallo) != 1)
        return Motivo(Formatear(Traducir("%s: el flujo zlib está dañado o incompleto"),
                                {Formatear(Traducir("bloque %s"), {"1"})}));
    resultado = std::move(destino);
    return 1;
}

// Called once by the worker while the page waits for a file. A browser first runs a module's
// code as its quick compiler makes it, and recompiles what proves busy: this runs the busiest
// work of an open and an export (laying rooms out for drawing, inflating, compressing pages) on
// made-up rooms and a made-up page, so that a level dropped later meets it compiled at its best.
EXPORTAR("tr4_calentar") void tr4_calentar() {
    // A made-up room of 32 x 32 sectors' floor, laid out as the page draws a level.
    trGeometriaCuarto cuarto;
    for (int32_t z = 0; z <= 32; ++z)
        for (int32_t x = 0; x <= 32; ++x)
            cuarto.Vertices.push_back({x * 1024, (x ^ z) & 3, z * 1024, uint16_t(x * 33 + z)});
    for (uint16_t z = 0; z < 32; ++z)
        for (uint16_t x = 0; x < 32; ++x) {
            trCaraCuarto c;
            const uint16_t v = uint16_t(z * 33 + x);
            c.Vertices[0] = v;
            c.Vertices[1] = uint16_t(v + 1);
            c.Vertices[2] = uint16_t(v + 34);
            c.Vertices[3] = uint16_t(v + 33);
            c.DobleCara = (x + z) % 7 == 0;
            cuarto.Caras.push_back(c);
        }
    const NivelAbierto vacio;
    for (int vez = 0; vez < 8; ++vez) {
        ModeloGLTF modelo(vacio, 1.0f / 512);
        for (size_t r = 0; r < 4; ++r)
            modelo.Cuarto(cuarto, r);
        LotesPagina(modelo, nullptr);
    }

    std::vector<uint8_t> pagina(256 * 256 * 4);
    uint32_t semilla = 1;
    for (size_t i = 0; i < pagina.size(); i += 4) {
        semilla = semilla * 1103515245u + 12345u;
        const uint8_t v = uint8_t((i >> 6) ^ (semilla >> 28)); // rows alike, a little noise
        pagina[i] = pagina[i + 1] = pagina[i + 2] = v;
        pagina[i + 3] = 0xFF;
    }
    for (int vez = 0; vez < 4; ++vez) {
        const std::vector<uint8_t> png = PaginaPNG(pagina.data());
        uLongf comprimido = compressBound(uLong(pagina.size()));
        std::vector<uint8_t> flujo(comprimido);
        if (compress2(flujo.data(), &comprimido, pagina.data(), uLong(pagina.size()), 1) == Z_OK)
            tr4_inflar(flujo.data(), uint32_t(comprimido), uint32_t(pagina.size()));
    }
    resultado.clear();
}
