#include "Comandos.h"

#include "Animaciones.h"
#include "CargarNivel.h"
#include "CodigosSalida.h"
#include "Disparadores.h"
#include "Exportar.h"
#include "Hoja.h"
#include "Idioma.h"
#include "LeerCuartos.h"
#include "LeerMeshes.h"
#include "LeerObjetos.h"
#include "Objetos.h"
#include "Paginas.h"
#include "Render.h"
#include "Resumen.h"
#include "Sonidos.h"

#include <CLI/CLI.hpp>

#include <array>
#include <memory>
#include <string>

namespace {

#ifdef TR4_SIN_DISPOSITIVO
// This build has no device to draw with (tr4tool.exe for Windows). The two commands that draw
// still read their options, so a call written for Linux is refused for the right reason.
int SinDispositivo(const std::string& orden, std::ostream& errores) {
    return Fallar(
        errores, "tr4tool " + orden,
        Hecho::Fallo(Traducir("esta orden dibuja con OpenGL y solo está en tr4tool para Linux")));
}
#endif

// Whose help tells the whole story of a refused call: empty for tr4tool's own.
std::string Orden(const CLI::App* orden) {
    return orden ? orden->get_name() : std::string();
}

struct Nivel {
    std::unique_ptr<trNivel> nivel;
    std::unique_ptr<Lista_Mesh> lista;
};

// The level and its meshes, or 1 with the loader's reason on one line.
int Cargar(const std::string& archivo, Nivel& n, std::ostream& errores) {
    n.nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(archivo.c_str(), *n.nivel, &motivo))
        return Fallar(errores, "tr4tool: " + archivo, Hecho::Fallo(motivo));
    LeerMeshes(n.nivel->DatosMesh.data(), static_cast<uint32_t>(n.nivel->DatosMesh.size()),
               n.lista);
    return EXITO;
}

int Info(const std::string& archivo, bool json, std::ostream& salida, std::ostream& errores) {
    Nivel n;
    if (int r = Cargar(archivo, n, errores); r != EXITO)
        return r;
    const ResumenNivel r = Resumir(*n.nivel, n.lista.get());
    if (json)
        EscribirJson(r, salida);
    else
        EscribirTexto(r, salida);
    return EXITO;
}

int Objetos(const std::string& archivo, bool json, std::ostream& salida, std::ostream& errores) {
    Nivel n;
    if (int r = Cargar(archivo, n, errores); r != EXITO)
        return r;
    trObjetos objetos;
    LeerObjetos(*n.nivel, n.lista.get(), objetos);
    const trColocacionesCuartos colocaciones = ContarColocaciones(objetos, n.nivel->Cuartos.size());
    if (json)
        EscribirObjetosJson(objetos, colocaciones, salida);
    else
        EscribirObjetosTexto(objetos, colocaciones, salida);
    return EXITO;
}

// CLI11's words in its help, in the system's language.
void Etiquetas(CLI::App& app) {
    auto f = app.get_formatter();
    f->label("Usage", Traducir("Uso"));
    f->label("OPTIONS", Traducir("OPCIONES"));
    f->label("SUBCOMMAND", Traducir("ORDEN"));
    f->label("Positionals", Traducir("Argumentos"));
    f->label("REQUIRED", Traducir("OBLIGATORIO"));
    f->label("TEXT", Traducir("TEXTO"));
    f->column_width(28);
}

// Anything the parser could not place: an option it does not know or an argument too many.
std::string Sobrantes(const std::vector<std::string>& resto) {
    const std::string& a = resto.front();
    if (a.size() > 1 && a[0] == '-')
        return Traducir("opción desconocida: ") + a;
    return Traducir("sobra el argumento ") + a;
}

// An option and the placeholder its help shows for the value.
template <class T>
CLI::Option* Opcion(CLI::App* orden, const std::string& nombre, T& destino,
                    const std::string& ayuda, const std::string& valor) {
    return orden->add_option(nombre, destino, ayuda)->type_name(valor);
}

// Render and export dress an object in another's meshes alike.
void MeshesDe(CLI::App* orden, std::string& destino) {
    Opcion(orden, "--meshes-from", destino,
           Traducir("con --object, el objeto lleva las meshes del movible con ese id "
                    "(el mismo número de meshes): Lara es --object 0 --meshes-from 8"),
           "ID");
}

} // namespace

int EjecutarTr4tool(int argc, const char* const* argv, std::ostream& salida,
                    std::ostream& errores) {
    CLI::App app(Traducir("Lee niveles de Tomb Raider 4 (.tr4) sin ventana."), "tr4tool");
    Etiquetas(app);
    app.option_defaults()->group(Traducir("Opciones"));
    app.set_help_flag("-h,--help", Traducir("muestra esta ayuda y sale"));
    app.require_subcommand(0, 1);
    app.allow_extras();
    // The same options on every system: on Windows a path may start with a slash, never /option.
    app.allow_windows_style_options(false);
    app.footer(
        std::string(Traducir(
            "uso: tr4tool info [--json] NIVEL.tr4\n"
            "     tr4tool objects [--json] NIVEL.tr4\n"
            "     tr4tool triggers [--json] NIVEL.tr4\n"
            "     tr4tool animations [--json] [--object ID] NIVEL.tr4\n"
            "     tr4tool render NIVEL.tr4 (--mesh N | --object ID | --static ID)\n"
            "                    --out ARCHIVO.png [--fit] [--angle RADIANES]\n"
            "     tr4tool render NIVEL.tr4 --object ID [--meshes-from ID] --anim A\n"
            "                    (--frame F --out ARCHIVO.png | --sequence CARPETA)\n"
            "                    [--angle RADIANES]\n"
            "     tr4tool render NIVEL.tr4 (--level [--from X,Y,Z --to X,Y,Z] | --room R)\n"
            "                    --out ARCHIVO.png [--angle RADIANES] [--full-light]\n"
            "       (cada render, además: [--wireframe] [--size ANCHOxALTO]\n"
            "                             [--background black|grey|white])\n"
            "     tr4tool export NIVEL.tr4 (--mesh N | --object ID | --static ID | --all\n"
            "                    | --level [--logic]) --out ARCHIVO.glb|ARCHIVO.gltf [--scale S]\n"
            "     tr4tool export NIVEL.tr4 --object ID [--meshes-from ID]\n"
            "                    [--animations all|A,B,...] --out ARCHIVO.glb|ARCHIVO.gltf\n"
            "     tr4tool pages NIVEL.tr4 --out CARPETA\n"
            "     tr4tool sheet NIVEL.tr4 --out ARCHIVO.png [--objects] [--cell PX]\n"
            "                   [--background black|grey|white]\n"
            "     tr4tool sounds [--json] NIVEL.tr4 [--out CARPETA]\n"
            "Cada orden explica sus opciones con --help: tr4tool render --help.\n"))
#ifdef TR4_SIN_DISPOSITIVO
        + Traducir("En Windows no están render ni sheet, que dibujan con OpenGL: úselas en "
                   "Linux.\n")
#endif
    );

    std::string archivo;
    bool json = false;
    CLI::App* info = app.add_subcommand(
        "info", Traducir("resume un nivel de Tomb Raider 4 (con --json, como objeto JSON)"));
    Opcion(info, Traducir("nivel"), archivo, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    info->add_flag("--json", json, Traducir("la salida como un objeto JSON"));

    CLI::App* objetos = app.add_subcommand(
        "objects",
        Traducir("lista los movibles y los estáticos del nivel, en el orden del archivo"));
    Opcion(objetos, Traducir("nivel"), archivo, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    objetos->add_flag("--json", json, Traducir("la salida como un objeto JSON"));

    CLI::App* disparadores = app.add_subcommand(
        "triggers", Traducir("lista los disparadores del nivel con sus acciones, cuenta las "
                             "funciones de sus datos de suelo y avisa de las cadenas dañadas"));
    Opcion(disparadores, Traducir("nivel"), archivo, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    disparadores->add_flag("--json", json, Traducir("la salida como un objeto JSON"));

    std::string objetoAnimaciones;
    CLI::App* animaciones = app.add_subcommand(
        "animations", Traducir("lista las animaciones de cada movible: cuadros clave, cuadros, "
                               "estado, siguiente, cambios de estado, comandos y si se pueden "
                               "ver"));
    Opcion(animaciones, Traducir("nivel"), archivo, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    Opcion(animaciones, "--object", objetoAnimaciones, Traducir("solo el movible con ese id"),
           "ID");
    animaciones->add_flag("--json", json, Traducir("la salida como un objeto JSON"));

    OpcionesRender render;
    CLI::App* dibujo = app.add_subcommand(
        "render",
        Traducir("dibuja una mesh, un objeto o el nivel entero como lo muestra el visor y lo "
                 "guarda en PNG; por omisión 817x769 (el panel del visor), ángulo 0 y "
                 "texturizado"));
    Opcion(dibujo, Traducir("nivel"), render.nivel, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    Opcion(dibujo, "--mesh", render.mesh, Traducir("la mesh N de la lista del visor"), "N");
    Opcion(dibujo, "--object", render.objeto,
           Traducir("el movible con ese id, armado en su pose de reposo y ajustado"), "ID");
    Opcion(dibujo, "--static", render.estatico,
           Traducir("el estático con ese id, ajustado a la imagen"), "ID");
    dibujo->add_flag("--level", render.nivelEntero,
                     Traducir("el nivel entero: sus cuartos, estáticos e items, visto desde detrás "
                              "de Lara donde empieza; sin Lara, o con --angle, desde arriba en "
                              "ángulo"));
    Opcion(dibujo, "--room", render.cuarto,
           Traducir("el nivel entero, encuadrado en el cuarto R (0, 1, 2...)"), "R");
    dibujo
        ->add_option("--from", render.desde,
                     Traducir("con --level, la cámara en ese punto, en los ejes del propio nivel "
                              "(y hacia abajo; un sector mide 1024)"))
        ->type_name("X,Y,Z");
    Opcion(dibujo, "--to", render.hacia,
           Traducir("con --level, el punto al que mira la cámara, en los mismos ejes"), "X,Y,Z");
    MeshesDe(dibujo, render.meshesDe);
    Opcion(dibujo, "--anim", render.animacion,
           Traducir("con --object, posado por la animación A (su índice en la lista "
                    "del nivel, como lo da animations)"),
           "A");
    dibujo
        ->add_option("--frame", render.cuadro,
                     Traducir("con --anim, el cuadro de juego F desde el primero de la animación "
                              "(0 por omisión; entre cuadros clave se interpola)"))
        ->type_name("F");
    Opcion(dibujo, "--sequence", render.secuencia,
           Traducir("con --anim, cada cuadro de juego de la animación como "
                    "cuadro_0000.png, cuadro_0001.png... en la carpeta, en vez de --out"),
           Traducir("CARPETA"));
    Opcion(dibujo, "--out", render.archivo, Traducir("el PNG que se escribe"),
           Traducir("ARCHIVO.png"));
    dibujo->add_flag("--fit", render.ajustar,
                     Traducir("ajusta también una mesh a la imagen, en vez de verla a 1500 "
                              "unidades"));
    Opcion(dibujo, "--angle", render.angulo, Traducir("el giro sobre la vertical, en radianes"),
           Traducir("RADIANES"));
    dibujo->add_flag("--wireframe", render.alambre, Traducir("en alambre, sin texturas"));
    dibujo->add_flag("--full-light", render.luzPlena,
                     Traducir("con --level o --room, las texturas como se pintaron, sin la luz de "
                              "los colores de los vértices"));
    Opcion(dibujo, "--background", render.fondo,
           Traducir("el color del fondo: black (por omisión), grey o white"), Traducir("COLOR"));
    Opcion(dibujo, "--size", render.tamano, Traducir("el tamaño de la imagen"),
           Traducir("ANCHOxALTO"));

    std::string carpeta;
    CLI::App* paginas = app.add_subcommand(
        "pages", Traducir("guarda cada página de textura del nivel como PNG de 256x256 (RGBA), "
                          "con los mismos texels que sube el visor"));
    Opcion(paginas, Traducir("nivel"), archivo, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    Opcion(paginas, "--out", carpeta,
           Traducir("la carpeta, que ya existe, donde se escriben pagina_00.png, "
                    "pagina_01.png..."),
           Traducir("CARPETA"));

    std::string carpetaSonidos;
    CLI::App* sonidos = app.add_subcommand(
        "sounds", Traducir("lista los sonidos del nivel con sus detalles y sus muestras; con "
                           "--out guarda cada muestra como WAVE PCM de 16 bits"));
    Opcion(sonidos, Traducir("nivel"), archivo, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    sonidos->add_flag("--json", json, Traducir("la salida como un objeto JSON"));
    Opcion(sonidos, "--out", carpetaSonidos,
           Traducir("la carpeta, que ya existe, donde se escriben muestra_000.wav, "
                    "muestra_001.wav..."),
           Traducir("CARPETA"));

    OpcionesHoja hoja;
    CLI::App* contactos = app.add_subcommand(
        "sheet", Traducir("dibuja todas las meshes (o todos los objetos) del nivel en una "
                          "rejilla de celdas rotuladas con su índice o id, en un PNG"));
    Opcion(contactos, Traducir("nivel"), hoja.nivel, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    Opcion(contactos, "--out", hoja.archivo, Traducir("el PNG que se escribe"),
           Traducir("ARCHIVO.png"));
    contactos->add_flag("--objects", hoja.objetos,
                        Traducir("los movibles (M8) y los estáticos (E20) en vez de las meshes"));
    contactos
        ->add_option("--cell", hoja.celda,
                     Traducir("el lado de cada celda, de 32 a 1024 (128 por omisión); se reduce "
                              "si la hoja pasaría de 4096 píxeles de lado"))
        // Not "PÍXELES": the help's columns count bytes, and the accent would push the text aside.
        ->type_name("PX");
    Opcion(contactos, "--background", hoja.fondo,
           Traducir("el color detrás de cada celda: black (por omisión), grey o white"),
           Traducir("COLOR"));

    OpcionesExportar exportar;
    CLI::App* exporta = app.add_subcommand(
        "export", Traducir("guarda una mesh, un objeto o todos como modelo glTF 2.0 (.glb o "
                           ".gltf con su .bin y sus páginas en PNG al lado)"));
    Opcion(exporta, Traducir("nivel"), exportar.nivel, Traducir("el nivel, NIVEL.tr4"),
           Traducir("NIVEL.tr4"));
    Opcion(exporta, "--mesh", exportar.mesh, Traducir("la mesh N de la lista del visor"), "N");
    Opcion(exporta, "--object", exportar.objeto,
           Traducir("el movible con ese id, un nodo por mesh colgado como dice su "
                    "árbol, en su pose de reposo"),
           "ID");
    MeshesDe(exporta, exportar.meshesDe);
    Opcion(exporta, "--animations", exportar.animaciones,
           Traducir("con --object, sus animaciones como animaciones glTF: all (las "
                    "que se pueden ver) o índices de la lista del nivel, A,B,..."),
           "all|A,B");
    Opcion(exporta, "--static", exportar.estatico, Traducir("el estático con ese id"), "ID");
    exporta->add_flag("--all", exportar.todo,
                      Traducir("todos los movibles y estáticos, uno junto a otro en el suelo"));
    exporta->add_flag("--level", exportar.nivel_entero,
                      Traducir("el nivel entero: sus cuartos, con el color de cada vértice, y "
                               "cada estático e item donde el nivel los coloca"));
    exporta->add_flag("--logic", exportar.logica,
                      Traducir("con --level, también la lógica del nivel: un nodo vacío por "
                               "disparador, cámara, cámara de vuelo y fuente de sonido, con sus "
                               "datos como extras"));
    Opcion(exporta, "--out", exportar.archivo,
           Traducir("el modelo que se escribe: .glb (un archivo) o .gltf"),
           Traducir("ARCHIVO.glb"));
    exporta
        ->add_option("--scale", exportar.escala,
                     Traducir("metros por unidad del nivel; por omisión 1/512: un sector (1024) "
                              "mide 2 m y Lara, 1,5 m"))
        ->type_name("S");
    exporta->footer(
        Traducir("Las caras con recorte (texels de alfa 0 sin dibujar) salen como alphaMode MASK.\n"
                 "glTF no tiene modo aditivo: las caras aditivas (brillos, llamas) salen como\n"
                 "BLEND, con el brillo del texel como alfa. Los colores de los cuartos van en\n"
                 "COLOR_0 en luz lineal, como pide glTF. Las caras sin área se omiten."));

    const std::array<CLI::App*, 9> ordenes = {info,    objetos, disparadores, animaciones, dibujo,
                                              exporta, paginas, contactos,    sonidos};
    for (CLI::App* orden : ordenes) {
        // An option given twice takes its last value, as shells' users expect.
        for (CLI::Option* opcion : orden->get_options())
            opcion->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        orden->allow_extras();
        orden->group(Traducir("Órdenes"));
        // A subcommand's help flag is made before it takes the parent's option group, and would
        // stand alone under CLI11's English "Options".
        orden->get_help_ptr()->group(Traducir("Opciones"));
    }

    // The subcommand the arguments name, once they are parsed, to say where its help is.
    auto elegida = [&]() -> CLI::App* {
        for (CLI::App* orden : ordenes)
            if (orden->parsed())
                return orden;
        return nullptr;
    };
    const std::string primera = argc > 1 ? argv[1] : "";
    const std::string quien = primera == "render" || primera == "export" || primera == "pages" ||
                                      primera == "sheet" || primera == "animations" ||
                                      primera == "sounds"
                                  ? "tr4tool " + primera
                                  : "tr4tool";
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        salida << app.help();
        return EXITO;
    } catch (const CLI::ArgumentMismatch& e) {
        // "--size: 1 required TEXT missing": the option is what precedes the colon.
        const std::string texto = e.what();
        const std::string opcion = texto.substr(0, texto.find_first_of(": "));
        return RechazarUso(errores, quien, Orden(elegida()),
                           Hecho::Fallo(texto.find("missing") != std::string::npos
                                            ? opcion + Traducir(" necesita un valor")
                                            : Traducir("valor no válido para ") + opcion));
    } catch (const CLI::ParseError& e) {
        return RechazarUso(errores, quien, Orden(elegida()),
                           Hecho::Fallo(Traducir("argumentos no válidos")));
    }

    CLI::App* orden = elegida();
    if (!orden) {
        const auto resto = app.remaining();
        return RechazarUso(errores, "tr4tool", {},
                           Hecho::Fallo(resto.empty() ? std::string(Traducir("falta la orden"))
                                        : resto.front().starts_with("-")
                                            ? Sobrantes(resto)
                                            : Traducir("orden desconocida: ") + resto.front()));
    }
    if (const auto resto = app.remaining(true); !resto.empty())
        return RechazarUso(errores, quien, Orden(orden), Hecho::Fallo(Sobrantes(resto)));
#ifdef TR4_SIN_DISPOSITIVO
    if (orden == dibujo || orden == contactos)
        return SinDispositivo(orden->get_name(), errores);
#else
    if (orden == dibujo)
        return Renderizar(render, salida, errores);
    if (orden == contactos)
        return EscribirHoja(hoja, salida, errores);
#endif
    if (orden == exporta)
        return Exportar(exportar, salida, errores);
    if (orden == paginas)
        return EscribirPaginas(archivo, carpeta, salida, errores);
    if (archivo.empty())
        return RechazarUso(errores, "tr4tool", Orden(orden),
                           Hecho::Fallo(Traducir("falta el nivel")));
    if (orden == disparadores)
        return ListarDisparadores(archivo, json, salida, errores);
    if (orden == animaciones)
        return ListarAnimaciones(archivo, objetoAnimaciones, json, salida, errores);
    if (orden == sonidos)
        return ListarSonidos(archivo, json, carpetaSonidos, salida, errores);
    return orden == info ? Info(archivo, json, salida, errores)
                         : Objetos(archivo, json, salida, errores);
}
