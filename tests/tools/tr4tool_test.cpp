#include "Comandos.h"
#include "Ejecutar.h"
#include "EscritorNivel.h"
#include "Idioma.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Guardar(const fixture::Bytes& bytes, const std::string& nombre) {
    // The process id keeps two test runs on one machine apart.
    const std::string ruta = ::testing::TempDir() + "/" + std::to_string(getpid()) + "-" + nombre;
    EXPECT_TRUE(fixture::GuardarArchivo(ruta, bytes));
    return ruta;
}

} // namespace

TEST(tr4tool, ErroresDeUso) {
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"mirar", "x.tr4"},
                                                                  {"info"},
                                                                  {"info", "--xml", "x.tr4"},
                                                                  {"info", "a", "b"},
                                                                  {"objects"},
                                                                  {"objects", "--json", "a", "b"},
                                                                  {"triggers"},
                                                                  {"export", "x.tr4", "--all", "--logic", "--out", "a.glb"},
                                                                  {"triggers", "-x", "a"},
                                                                  {"--json", "info", "x.tr4"}}) {
        const auto r = Ejecutar(args);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.errores.find("uso: tr4tool"), std::string::npos) << r.errores;
        EXPECT_TRUE(r.salida.empty());
        EXPECT_EQ(r.errores.find('\n'), r.errores.size() - 1) << "one line: " << r.errores;
    }
    const auto ayuda = Ejecutar({"--help"});
    EXPECT_EQ(ayuda.estado, 0);
    EXPECT_NE(ayuda.salida.find("info"), std::string::npos);
    EXPECT_NE(ayuda.salida.find("tr4tool render"), std::string::npos);
    EXPECT_NE(ayuda.salida.find("tr4tool sheet"), std::string::npos);
    // Each command tells its own options.
    for (const auto& [orden, opcion] : {std::pair{"info", "--json"},
                                        {"objects", "--json"},
                                        {"triggers", "--json"},
                                        {"render", "--object"},
                                        {"render", "--fit"},
                                        {"render", "--room"},
                                        {"pages", "--out"},
                                        {"sounds", "--out"},
                                        {"sheet", "--cell"},
                                        {"export", "--all"},
                                        {"export", "--scale"}}) {
        const auto r = Ejecutar({orden, "--help"});
        EXPECT_EQ(r.estado, 0) << orden;
        EXPECT_NE(r.salida.find(opcion), std::string::npos) << orden << ": " << r.salida;
        EXPECT_TRUE(r.errores.empty());
    }
    // The top-level help names every option each command takes, in both languages: a user who
    // reads only it must not miss one. The commands are those it lists under its heading.
    for (const Idioma idioma : {Idioma::Espanol, Idioma::Ingles}) {
        FijarIdioma(idioma);
        const std::string general = Ejecutar({"--help"}).salida;
        std::istringstream lineas(general);
        std::vector<std::string> ordenes;
        bool enOrdenes = false;
        for (std::string linea; std::getline(lineas, linea);) {
            if (linea.empty())
                enOrdenes = false;
            else if (linea == Traducir("Órdenes") + std::string(":"))
                enOrdenes = true;
            else if (enOrdenes && linea.starts_with("  "))
                ordenes.push_back(linea.substr(2, linea.find(' ', 2) - 2));
        }
        EXPECT_GE(ordenes.size(), 7u) << general;
        for (const std::string& orden : ordenes) {
            std::istringstream palabras(Ejecutar({orden, "--help"}).salida);
            for (std::string p; palabras >> p;) {
                if (!p.starts_with("--") || p == "--help")
                    continue;
                const std::string opcion = p.substr(0, p.find_first_of(",.;)"));
                EXPECT_NE(general.find(opcion), std::string::npos)
                    << orden << " " << opcion << " is missing from tr4tool --help:\n" << general;
            }
        }
        EXPECT_NE(general.find("render --help"), std::string::npos) << general;
    }
    FijarIdioma(Idioma::Espanol);
}

TEST(tr4tool, ExportEscribeElModeloOSaleConSuCodigoYUnaLinea) {
    const std::string nivel = Guardar(fixture::EscribirNivel(fixture::NivelObjetos()), "exp.tr4");
    const std::string glb = ::testing::TempDir() + "/" + std::to_string(getpid()) + "-exp.glb";
    const struct {
        std::vector<std::string> args;
        std::string dice;
        int estado = 2; // a usage error unless said otherwise
    } casos[] = {
        {{nivel, "--object", "9999", "--out", glb}, "no hay movible con id 9999; los hay con id 5", 1},
        {{nivel, "--mesh", "3", "--out", glb}, "no hay mesh 3", 1},
        {{nivel, "--all", "--out", "/proc/x.glb"}, "/proc/", 1},
        {{nivel, "--all", "--out", nivel + "/x.glb"}, nivel + " es un archivo, no una carpeta", 1},
        {{"/no/existe.tr4", "--all", "--out", glb}, "/no/existe.tr4: ", 1},
        {{nivel, "--all", "--out", glb + ".obj"}, ".glb o .gltf"},
        {{nivel, "--all", "--mesh", "0", "--out", glb}, "se excluyen"},
        {{nivel, "--all", "--level", "--out", glb}, "se excluyen"},
        {{nivel, "--all", "--out", glb, "--scale", "0"}, "--scale 0"},
        {{nivel, "--all", "--out", glb, "--scale", "inf"}, "--scale inf"},
        {{nivel, "--out", glb}, "--all"},
        {{nivel, "--all"}, "--out"},
        {{"--all", "--out", glb}, "falta el nivel"},
    };
    for (const auto& c : casos) {
        auto args = c.args;
        args.insert(args.begin(), "export");
        const auto r = Ejecutar(args);
        EXPECT_EQ(r.estado, c.estado) << c.dice;
        EXPECT_TRUE(r.salida.empty()) << r.salida;
        EXPECT_NE(r.errores.find(c.dice), std::string::npos) << r.errores;
        EXPECT_EQ(r.errores.find('\n'), r.errores.size() - 1) << r.errores;
        EXPECT_FALSE(std::filesystem::exists(glb)) << c.dice;
    }
    const auto r = Ejecutar({"export", nivel, "--object", "5", "--out", glb, "--scale", "0.01"});
    EXPECT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.salida, "tr4tool: escrito " + glb + "\n");
    EXPECT_EQ(Ejecutar({"export", nivel, "--level", "--out", glb}).estado, 0);
    EXPECT_TRUE(std::filesystem::exists(glb));
    std::filesystem::remove(glb);
    std::filesystem::remove(nivel);
}

TEST(tr4tool, ObjectsJsonDiceLoQueCadaObjetoNombra) {
    auto n = fixture::NivelObjetos();
    // A placement naming a static id, and an item naming a room, that the level lacks.
    n.cuartos[1].estaticos.push_back({0, 0, 0, 0, 0, 0, 99});
    n.items.push_back({6, 9});
    const std::string ruta = Guardar(fixture::EscribirNivel(n), "obj.tr4");
    const auto r = Ejecutar({"objects", "--json", ruta});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const auto j = nlohmann::json::parse(r.salida);
    ASSERT_EQ(j["moveables"].size(), 6u);
    EXPECT_EQ(j["moveables"][0], nlohmann::json::parse(R"({"id": 5, "meshes": [0, 1, 2],
        "animation": 0, "placed": 2, "complete": true})"));
    // A pointer into a record and one past the pointers both name nothing.
    EXPECT_EQ(j["moveables"][1]["meshes"], nlohmann::json::parse("[null, null]"));
    EXPECT_EQ(j["moveables"][1]["complete"], false);
    EXPECT_EQ(j["moveables"][5]["animation"], nullptr);
    ASSERT_EQ(j["statics"].size(), 3u);
    EXPECT_EQ(j["statics"][0], nlohmann::json::parse(R"({"id": 38, "mesh": 2,
        "visibility_box": [-1, 1, -2, 2, -3, 3], "collision_box": [-4, 4, -5, 5, -6, 6],
        "placed": 3})"));
    EXPECT_EQ(j["statics"][1]["mesh"], nullptr);
    // The item of id -1 names no moveable either.
    for (const auto& [clave, valor] : {std::pair{"statics_placed", 4},
                                       {"statics_skipped", 1},
                                       {"items_placed", 3},
                                       {"items_skipped", 2}})
        EXPECT_EQ(j[clave], valor) << clave;

    const auto texto = Ejecutar({"objects", ruta});
    EXPECT_EQ(texto.estado, 0);
    EXPECT_NE(texto.salida.find("Movibles (6)"), std::string::npos) << texto.salida;
    EXPECT_NE(texto.salida.find("Estáticos (3)"), std::string::npos) << texto.salida;
    EXPECT_NE(texto.salida.find("4 estáticos, 3 items (omitidos: 1 estáticos, 2 items)"),
              std::string::npos)
        << texto.salida;
    std::filesystem::remove(ruta);

    const auto ilegible = Ejecutar({"objects", "/no/existe.tr4"});
    EXPECT_EQ(ilegible.estado, 1);
    EXPECT_TRUE(ilegible.errores.starts_with("tr4tool: /no/existe.tr4: ")) << ilegible.errores;
}

TEST(tr4tool, NivelIlegibleEnUnaLineaEnCadaIdioma) {
    fixture::NivelFixture n;
    fixture::Bytes archivo = fixture::EscribirNivel(n);
    archivo.resize(archivo.size() / 2);
    const std::string ruta = Guardar(archivo, "mitad.tr4");
    const std::string corto = Guardar(fixture::Bytes{'T', 'R', '4', 0}, "corto.tr4");
    const struct {
        Idioma idioma;
        std::string nivel, motivo;
    } casos[] = {
        {Idioma::Espanol, ruta, "bloque "},
        {Idioma::Ingles, ruta, "block "},
        {Idioma::Espanol, "/no/existe.tr4", "no se puede abrir: No such file or directory"},
        {Idioma::Ingles, "/no/existe.tr4", "cannot open: No such file or directory"},
        {Idioma::Espanol, corto, "el archivo es demasiado corto para ser un nivel (4 bytes)"},
        {Idioma::Ingles, corto, "the file is too short to be a level (4 bytes)"},
    };
    for (const auto& c : casos) {
        FijarIdioma(c.idioma);
        const auto r = Ejecutar({"info", "--json", c.nivel});
        EXPECT_EQ(r.estado, 1);
        EXPECT_TRUE(r.salida.empty());
        EXPECT_TRUE(r.errores.starts_with("tr4tool: " + c.nivel + ": " + c.motivo)) << r.errores;
        EXPECT_EQ(r.errores.find('\n'), r.errores.size() - 1) << r.errores;
    }
    FijarIdioma(Idioma::Espanol);
    std::filesystem::remove(ruta);
    std::filesystem::remove(corto);
}

TEST(tr4tool, InfoJsonDeUnNivelConocido) {
    fixture::NivelFixture n;
    n.cabecera = {1, 2, 3};
    n.paginas = fixture::Bytes(3 * 262144 + 5, 0x40);
    n.cuartos.resize(4);
    n.numDatosSuelo = 6;
    fixture::MeshFixture m;
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    m.rectangulos = {{{0, 1, 3, 2}, 0, 0}};
    m.triangulos = {{{0, 1, 2}, 0, 0}, {{1, 3, 2}, 0, 0}};
    n.meshes = {m, m, fixture::MeshFixture{}};
    n.numAnimaciones = 7;
    n.numMovibles = 8;
    n.numMeshesEstaticos = 9;
    n.texturasObjeto.resize(10);
    n.numTexturasSprite = 11;
    n.numCamaras = 12;
    n.numFuentesSonido = 13;
    n.numCajas = 14;
    n.numItems = 15;
    n.valorFinal = 16;
    n.cola = fixture::Bytes(17, 1);
    const auto contenedor = fixture::ArmarContenedor(n);
    const std::string ruta = Guardar(fixture::Serializar(contenedor), "conocido.tr4");

    const auto r = Ejecutar({"info", "--json", ruta});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const auto j = nlohmann::json::parse(r.salida);
    std::vector<std::string> claves;
    for (const auto& [clave, valor] : j.items())
        claves.push_back(clave);
    std::sort(claves.begin(), claves.end());
    EXPECT_EQ(claves,
              (std::vector<std::string>{
                  "animations",      "blocks",          "boxes",         "cameras",
                  "floor_data",      "floor_data_warnings", "header",          "items",         "items_placed",
                  "items_skipped",   "mesh_data_words", "mesh_pointers", "meshes",
                  "moveables",       "object_textures", "rectangles",    "room_faces_dropped",
                  "room_rectangles", "room_triangles",  "room_vertices", "rooms",
                  "sound_sources",   "sprite_textures", "static_meshes", "statics_placed",
                  "statics_skipped", "tail_bytes",      "texture_pages", "trailing",
                  "triangles",       "version"}));
    EXPECT_EQ(j["version"], "0x00345254");
    EXPECT_EQ(j["header"], nlohmann::json({1, 2, 3}));
    ASSERT_EQ(j["blocks"].size(), 4u);
    EXPECT_EQ(j["blocks"][0]["inflated"], 3 * 262144 + 5);
    EXPECT_EQ(j["blocks"][3]["compressed"],
              fixture::Comprimir(contenedor.bloques[3].inflado).size());
    EXPECT_EQ(j["texture_pages"], 3);
    EXPECT_EQ(j["rooms"], 4);
    EXPECT_EQ(j["floor_data"], 6);
    EXPECT_EQ(j["mesh_pointers"], 3);
    EXPECT_EQ(j["meshes"], 3);
    EXPECT_EQ(j["rectangles"], 2);
    EXPECT_EQ(j["triangles"], 4);
    EXPECT_EQ(j["animations"], 7);
    EXPECT_EQ(j["moveables"], 8);
    EXPECT_EQ(j["static_meshes"], 9);
    EXPECT_EQ(j["object_textures"], 10);
    EXPECT_EQ(j["sprite_textures"], 11);
    EXPECT_EQ(j["cameras"], 12);
    EXPECT_EQ(j["sound_sources"], 13);
    EXPECT_EQ(j["boxes"], 14);
    EXPECT_EQ(j["items"], 15);
    EXPECT_EQ(j["trailing"], 16);
    EXPECT_EQ(j["tail_bytes"], 17);

    // The readable table in each language: the same lines, every value in one column.
    const struct {
        Idioma idioma;
        const char *meshes, *bloque, *paginas;
    } idiomas[] = {
        {Idioma::Espanol, "Meshes:               3 (2 rectángulos, 4 triángulos)\n",
         "Bloque 2:             ", "Páginas de textura:   3\n"},
        {Idioma::Ingles, "Meshes:               3 (2 rectangles, 4 triangles)\n",
         "Block 2:              ", "Texture pages:        3\n"},
    };
    for (const auto& idioma : idiomas) {
        FijarIdioma(idioma.idioma);
        const auto texto = Ejecutar({"info", ruta});
        EXPECT_EQ(texto.estado, 0);
        EXPECT_NE(texto.salida.find(idioma.meshes), std::string::npos) << texto.salida;
        EXPECT_NE(texto.salida.find(idioma.bloque), std::string::npos) << texto.salida;
        EXPECT_NE(texto.salida.find(idioma.paginas), std::string::npos) << texto.salida;
        std::istringstream lineas(texto.salida);
        int cuantas = 0;
        for (std::string linea; std::getline(lineas, linea); ++cuantas) {
            // Characters, not bytes, before the value: "Versión" takes as much room as "Version".
            const size_t dospuntos = linea.find(": ");
            ASSERT_NE(dospuntos, std::string::npos) << linea;
            const size_t valor = linea.find_first_not_of(' ', dospuntos + 1);
            const auto caracteres = std::count_if(linea.begin(), linea.begin() + valor, [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            });
            EXPECT_EQ(caracteres, 22) << linea;
        }
        EXPECT_EQ(cuantas, 26);
    }
    FijarIdioma(Idioma::Espanol);
    std::filesystem::remove(ruta);
}

TEST(tr4tool, InfoJsonDeLosNivelesReales) {
    struct {
        const char* archivo;
        int cuartos, meshes, texturas, paginas, rectangulos, triangulos, items;
    } const niveles[] = {{"title-a.tr4", 42, 191, 1792, 15, 4022, 159, 30},
                         {"title-b.tr4", 2, 94, 2839, 35, 830, 0, 8}};
    for (const auto& n : niveles) {
        const std::string ruta = std::string(TR4_NIVELES_REALES) + "/" + n.archivo;
        if (!std::filesystem::exists(ruta))
            GTEST_SKIP() << "no real level at " << ruta;
        const auto r = Ejecutar({"info", "--json", ruta});
        ASSERT_EQ(r.estado, 0) << r.errores;
        const auto j = nlohmann::json::parse(r.salida);
        EXPECT_EQ(j["rooms"], n.cuartos);
        EXPECT_EQ(j["meshes"], n.meshes);
        EXPECT_EQ(j["object_textures"], n.texturas);
        EXPECT_EQ(j["texture_pages"], n.paginas);
        EXPECT_EQ(j["room_rectangles"], n.rectangulos);
        EXPECT_EQ(j["room_triangles"], n.triangulos);
        EXPECT_EQ(j["room_faces_dropped"], 0);
        EXPECT_EQ(j["items_placed"], n.items);
        EXPECT_EQ(j["items_skipped"], 0);

        // Every object's meshes named, every mesh of the list used by one.
        const auto o = nlohmann::json::parse(Ejecutar({"objects", "--json", ruta}).salida);
        std::set<int> usadas;
        for (const auto& m : o["moveables"]) {
            EXPECT_TRUE(m["complete"].get<bool>());
            for (const auto& k : m["meshes"])
                usadas.insert(k.get<int>());
        }
        for (const auto& e : o["statics"])
            usadas.insert(e["mesh"].get<int>());
        EXPECT_EQ(usadas.size(), size_t(n.meshes));
    }
}

TEST(tr4tool, AnimationsListaCadaAnimacionConSuMotivo) {
    const std::string ruta = Guardar(fixture::EscribirNivel(fixture::NivelAnimado()), "anim.tr4");
    const auto r = Ejecutar({"animations", "--json", ruta});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const auto j = nlohmann::json::parse(r.salida);
    ASSERT_EQ(j["moveables"].size(), 2u);
    EXPECT_EQ(j["moveables"][0]["id"], 3);
    EXPECT_EQ(j["moveables"][0]["meshes"], 2);
    const auto& primera = j["moveables"][0]["animations"][0];
    for (const auto& [clave, valor] :
         {std::pair<const char*, nlohmann::json>{"index", 0}, {"keyframes", 3}, {"frame_rate", 2},
          {"first_frame", 0}, {"last_frame", 4}, {"next_animation", 0}, {"next_frame", 0},
          {"state", 1}, {"playable", true}, {"reason", nullptr}})
        EXPECT_EQ(primera[clave], valor) << clave;
    EXPECT_EQ(primera["state_changes"], nlohmann::json::parse(R"([{"state": 2, "dispatches":
        [{"low_frame": 0, "high_frame": 4, "next_animation": 1, "next_frame": 5}]}])"));
    EXPECT_EQ(primera["commands"], nlohmann::json::parse(R"([{"type": 5, "name": "sound",
        "args": [2, 7]}, {"type": 3, "name": "empty_hands", "args": []}])"));
    const auto& otras = j["moveables"][1]["animations"];
    ASSERT_EQ(otras.size(), 6u);
    EXPECT_EQ(otras[0]["index"], 2); // counted in the level's list
    const char* motivos[] = {"no_frames", "frames_past_end", "frame_too_small",
                             "next_outside_object", "endless_chain"};
    for (size_t i = 0; i < 5; ++i) {
        // The last two have all their frames: they play, their next link is what is broken.
        const bool enlace = i >= 3;
        const auto& a = otras[i + 1];
        EXPECT_EQ(a["playable"], enlace) << i;
        EXPECT_EQ(a[enlace ? "next_reason" : "reason"], motivos[i]);
        EXPECT_EQ(a[enlace ? "reason" : "next_reason"], nullptr);
        EXPECT_EQ(a["next_broken"], enlace);
        if (enlace) {
            EXPECT_EQ(a["frames"], a["last_frame"].get<int>() - a["first_frame"].get<int>() + 1);
        }
    }
    EXPECT_EQ(otras[0]["next_broken"], false);

    const auto uno = Ejecutar({"animations", ruta, "--object", "4"});
    ASSERT_EQ(uno.estado, 0) << uno.errores;
    EXPECT_NE(uno.salida.find("Movible 4 · 2 meshes · 6 animaciones (3 se pueden ver)"),
              std::string::npos)
        << uno.salida;
    EXPECT_NE(uno.salida.find("sus cuadros no están en este nivel"), std::string::npos);
    EXPECT_NE(uno.salida.find("se repite: su siguiente animación no es de este movible"),
              std::string::npos);
    EXPECT_EQ(uno.salida.find("Movible 3"), std::string::npos);
    const auto falta = Ejecutar({"animations", ruta, "--object", "77"});
    EXPECT_EQ(falta.estado, 1);
    EXPECT_NE(falta.errores.find("no hay movible con id 77"), std::string::npos);
    EXPECT_EQ(Ejecutar({"animations", ruta, "--object", "x"}).estado, 2);
    std::filesystem::remove(ruta);
}

TEST(tr4tool, TriggersNombraCadaDisparadorYCadaAccion) {
    const std::string ruta = Guardar(fixture::EscribirNivel(fixture::NivelLogica()), "logica.tr4");
    const auto r = Ejecutar({"triggers", "--json", ruta});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const auto j = nlohmann::ordered_json::parse(r.salida);
    std::vector<std::string> claves;
    for (const auto& [clave, valor] : j.items())
        claves.push_back(clave);
    EXPECT_EQ(claves, (std::vector<std::string>{"sectors", "sectors_with_floor_data", "functions",
                                                "triggers", "cameras", "flyby_cameras",
                                                "sound_sources", "rooms", "warnings"}));
    EXPECT_EQ(j["sectors"], 21);
    EXPECT_EQ(j["sectors_with_floor_data"], 17);
    EXPECT_EQ(j["functions"], nlohmann::ordered_json::parse(R"({"portal": 1, "floor_slant": 1,
        "ceiling_slant": 1, "floor_triangles": 1, "ceiling_triangles": 1, "kill": 1, "climb": 1,
        "monkey": 1, "trigger": 13, "trigger_triggerer": 1, "beetle": 1})"));
    const char* tipos[] = {"trigger", "pad",   "switch",      "key",          "pickup",
                           "heavy",   "antipad", "combat",    "dummy",        "antitrigger",
                           "heavy_switch", "heavy_antitrigger", "monkey"};
    ASSERT_EQ(j["triggers"].size(), 13u);
    std::set<std::string> acciones;
    for (size_t t = 0; t < 13; ++t) {
        EXPECT_EQ(j["triggers"][t]["type"], tipos[t]);
        EXPECT_EQ(j["triggers"][t]["room"], 0);
        EXPECT_EQ(j["triggers"][t]["x"], (4 + t) / 4);
        EXPECT_EQ(j["triggers"][t]["z"], (4 + t) % 4);
        for (const auto& a : j["triggers"][t]["actions"])
            acciones.insert(a["action"].get<std::string>());
    }
    EXPECT_EQ(acciones, (std::set<std::string>{"object", "camera", "current", "flipmap", "flip_on",
                                               "flip_off", "look_at", "end_level", "soundtrack",
                                               "flipeffect", "secret", "clear_bodies", "flyby",
                                               "cutscene"}));
    const auto& primero = j["triggers"][0];
    EXPECT_EQ(primero["timer"], -5);
    EXPECT_EQ(primero["one_shot"], true);
    EXPECT_EQ(primero["mask"], 31);
    EXPECT_EQ(primero["actions"][1], nlohmann::ordered_json::parse(
                                         R"({"action": "camera", "parameter": 0, "timer": 3,
                                             "once": true, "word": 33027})"));
    EXPECT_EQ(j["triggers"][2]["actions"][0]["role"], "switch");
    EXPECT_EQ(j["triggers"][3]["actions"][0]["role"], "keyhole");
    EXPECT_FALSE(j["triggers"][12]["actions"][0].contains("role"));
    EXPECT_EQ(j["cameras"], 2);
    EXPECT_EQ(j["flyby_cameras"], 3);
    EXPECT_EQ(j["sound_sources"], 1);
    EXPECT_EQ(j["rooms"][0], nlohmann::ordered_json::parse(R"({"index": 0, "flags": 9,
        "water": true, "alternate": 1, "alternate_group": 3})"));
    EXPECT_TRUE(j["warnings"].empty());

    const struct {
        Idioma idioma;
        const char *disparador, *cuartos;
    } idiomas[] = {
        {Idioma::Espanol, "  cuarto 0, x 1, z 2: interruptor, tiempo 0, máscara 0: palanca 1, "
                          "mapa alterno 1\n",
         "Cuartos alternos: 0 por 1 (grupo 3)\n"},
        {Idioma::Ingles, "  room 0, x 1, z 2: switch, timer 0, mask 0: switch 1, flip map 1\n",
         "Alternate rooms: 0 by 1 (group 3)\n"},
    };
    for (const auto& idioma : idiomas) {
        FijarIdioma(idioma.idioma);
        const auto texto = Ejecutar({"triggers", ruta});
        EXPECT_EQ(texto.estado, 0);
        EXPECT_NE(texto.salida.find(idioma.disparador), std::string::npos) << texto.salida;
        EXPECT_NE(texto.salida.find(idioma.cuartos), std::string::npos) << texto.salida;
    }
    FijarIdioma(Idioma::Espanol);
    std::filesystem::remove(ruta);
}

// A damaged chain opens all the same, and both commands say where it is.
TEST(tr4tool, CadenasDanadasEnTriggersEInfo) {
    auto n = fixture::NivelLogica();
    n.datosSuelo[2] = 9; // sector 0's portal to a room the level lacks
    n.cuartos[0].sectores[19].datos = 60000;
    const std::string ruta = Guardar(fixture::EscribirNivel(n), "logica-danada.tr4");
    const auto t = Ejecutar({"triggers", "--json", ruta});
    ASSERT_EQ(t.estado, 0) << t.errores;
    const auto j = nlohmann::json::parse(t.salida);
    ASSERT_EQ(j["warnings"].size(), 2u);
    EXPECT_EQ(j["warnings"][0]["x"], 0);
    EXPECT_EQ(j["warnings"][1]["x"], 4);
    EXPECT_EQ(j["warnings"][1]["z"], 3);
    EXPECT_EQ(j["triggers"].size(), 13u);
    const auto i = Ejecutar({"info", "--json", ruta});
    ASSERT_EQ(i.estado, 0) << i.errores;
    const auto k = nlohmann::json::parse(i.salida);
    ASSERT_EQ(k["floor_data_warnings"].size(), 2u);
    EXPECT_EQ(k["floor_data_warnings"][0], "cuarto 0, x 0, z 0: el portal lleva al cuarto 9, que no existe");
    const auto texto = Ejecutar({"info", ruta});
    EXPECT_NE(texto.salida.find("Avisos de suelo:      2\n  cuarto 0, x 0, z 0: el portal lleva"),
              std::string::npos)
        << texto.salida;
    std::filesystem::remove(ruta);
}

TEST(tr4tool, TriggersDeLosNivelesReales) {
    struct {
        const char* archivo;
        int disparadores, portales, suelos, techos, conDatos;
    } const niveles[] = {{"title-a.tr4", 13, 135, 84 + 35, 171 + 36, 447},
                         {"title-b.tr4", 1, 0, 0, 0, 1}};
    for (const auto& n : niveles) {
        const std::string ruta = std::string(TR4_NIVELES_REALES) + "/" + n.archivo;
        if (!std::filesystem::exists(ruta))
            GTEST_SKIP() << "no real level at " << ruta;
        const auto r = Ejecutar({"triggers", "--json", ruta});
        ASSERT_EQ(r.estado, 0) << r.errores;
        const auto j = nlohmann::json::parse(r.salida);
        EXPECT_EQ(j["triggers"].size(), size_t(n.disparadores));
        EXPECT_EQ(j["sectors_with_floor_data"], n.conDatos);
        EXPECT_EQ(j["functions"]["portal"], n.portales);
        EXPECT_EQ(j["functions"]["floor_slant"].get<int>() +
                      j["functions"]["floor_triangles"].get<int>(),
                  n.suelos);
        EXPECT_EQ(j["functions"]["ceiling_slant"].get<int>() +
                      j["functions"]["ceiling_triangles"].get<int>(),
                  n.techos);
        EXPECT_TRUE(j["warnings"].empty());
    }
}

TEST(tr4tool, SoundsListaCadaSonidoYEscribeCadaMuestraLegible) {
    fixture::NivelFixture f = fixture::NivelSonoro();
    f.muestras[2].wave[0] = 'X'; // no RIFF: listed with its reason, not written
    const std::string ruta = Guardar(fixture::EscribirNivel(f), "sonidos.tr4");
    const auto r = Ejecutar({"sounds", "--json", ruta});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const auto j = nlohmann::json::parse(r.salida);
    EXPECT_EQ(j["samples_declared"], 3);
    EXPECT_EQ(j["sound_map_entries"], 370);
    // Ids 0, 3, 5 and 7 name a detail; 5's is past the list.
    ASSERT_EQ(j["sounds"].size(), 4u);
    const auto& siete = j["sounds"][3];
    EXPECT_EQ(siete["id"], 7);
    EXPECT_EQ(siete["detail"], 1);
    EXPECT_EQ(siete["volume"], 100);
    EXPECT_EQ(siete["loop"], 3);
    EXPECT_EQ(siete["samples"], nlohmann::json::parse("[1, 2]"));
    EXPECT_EQ(j["sounds"][2]["detail_missing"], true);
    const auto& m = j["samples"];
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0]["frames"], 100);
    EXPECT_EQ(m[1]["format_name"], "ms_adpcm");
    EXPECT_EQ(m[1]["readable"], true);
    EXPECT_EQ(m[1]["pcm_bytes"], m[1]["uncompressed_size"]);
    EXPECT_EQ(m[2]["readable"], false);
    EXPECT_EQ(m[2]["reason"], "damaged_riff");
    EXPECT_EQ(m[2]["frames"], nullptr);

    const auto texto = Ejecutar({"sounds", ruta});
    ASSERT_EQ(texto.estado, 0) << texto.errores;
    EXPECT_NE(texto.salida.find("4 sonidos en un mapa de 370 entradas · 3 detalles · 3 muestras "
                                "(2 se pueden oír)"),
              std::string::npos)
        << texto.salida;
    EXPECT_NE(texto.salida.find("no empieza como un archivo WAVE"), std::string::npos);

    // The readable ones as PCM WAVE, whole; the damaged one left out.
    const std::filesystem::path carpeta = ruta + "-wav";
    std::filesystem::create_directories(carpeta);
    const auto w = Ejecutar({"sounds", ruta, "--out", carpeta.string()});
    ASSERT_EQ(w.estado, 0) << w.errores;
    EXPECT_NE(w.salida.find("escritas 2 muestras"), std::string::npos) << w.salida;
    EXPECT_NE(w.salida.find("1 muestras no se pueden oír"), std::string::npos) << w.salida;
    const auto cero = fixture::LeerArchivo((carpeta / "muestra_000.wav").string());
    EXPECT_EQ(cero, f.muestras[0].wave); // PCM in, the same PCM WAVE out
    const auto uno = fixture::LeerArchivo((carpeta / "muestra_001.wav").string());
    EXPECT_EQ(uno.size(), 44 + m[1]["pcm_bytes"].get<size_t>());
    EXPECT_FALSE(std::filesystem::exists(carpeta / "muestra_002.wav"));
    // A folder that is not there: one line, nothing written.
    const auto sin = Ejecutar({"sounds", ruta, "--out", (carpeta / "no").string()});
    EXPECT_EQ(sin.estado, 1);
    EXPECT_EQ(sin.errores.find('\n'), sin.errores.size() - 1) << sin.errores;
    EXPECT_EQ(Ejecutar({"sounds"}).estado, 2);
    std::filesystem::remove_all(carpeta);
    std::filesystem::remove(ruta);
}
