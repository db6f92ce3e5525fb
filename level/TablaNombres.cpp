#include "TablaNombres.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

namespace nombres_incluidos {
extern const char* const TR1;
extern const char* const TR2;
extern const char* const TR3;
} // namespace nombres_incluidos

namespace {

std::string_view Recortar(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' '))
        s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

} // namespace

void TablaNombres::Cargar(std::string_view texto) {
    while (!texto.empty()) {
        const size_t fin = texto.find('\n');
        std::string_view linea = texto.substr(0, fin);
        texto = fin == std::string_view::npos ? std::string_view{} : texto.substr(fin + 1);
        linea = Recortar(linea);
        if (linea.empty() || linea.front() == '#')
            continue;
        const size_t tab1 = linea.find('\t');
        if (tab1 == std::string_view::npos)
            continue;
        const std::string_view numero = Recortar(linea.substr(0, tab1));
        std::string_view resto = linea.substr(tab1 + 1);
        const size_t tab2 = resto.find('\t');
        const std::string_view nombre = Recortar(resto.substr(0, tab2));
        const std::string_view clase =
            tab2 == std::string_view::npos ? std::string_view{} : resto.substr(tab2 + 1);
        uint32_t id = 0;
        const auto [p, error] = std::from_chars(numero.data(), numero.data() + numero.size(), id);
        if (error != std::errc{} || p != numero.data() + numero.size() || nombre.empty())
            continue;
        (clase.find("static") != std::string_view::npos ? estaticos_ : movibles_)[id] =
            std::string(nombre);
    }
}

bool TablaNombres::CargarArchivo(const std::string& ruta) {
#ifdef TR4_SIN_ARCHIVOS
    (void)ruta;
    return false;
#else
    std::ifstream archivo(ruta, std::ios::binary);
    if (!archivo)
        return false;
    // A names table is a few kilobytes; a file picked by mistake is not read whole.
    constexpr size_t MAXIMO = size_t{1} << 20;
    std::string texto(MAXIMO, '\0');
    archivo.read(texto.data(), std::streamsize(MAXIMO));
    texto.resize(size_t(archivo.gcount()));
    Cargar(texto);
    return true;
#endif
}

const std::string& TablaNombres::Buscar(const std::unordered_map<uint32_t, std::string>& tabla,
                                        uint32_t id) {
    static const std::string ninguno;
    const auto en = tabla.find(id);
    return en == tabla.end() ? ninguno : en->second;
}

std::string ConNombre(std::string base, const std::string& nombre) {
    if (!nombre.empty())
        base += " " + nombre;
    return base;
}

std::string RutaNombresUsuario(int juego) {
#ifdef TR4_SIN_ARCHIVOS
    (void)juego;
    return {};
#else
    std::string carpeta;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        carpeta = xdg;
    else if (const char* casa = std::getenv("HOME"); casa && *casa)
        carpeta = std::string(casa) + "/.config";
    else
        return {};
    return carpeta + "/tr4visor/nombres/tr" + std::to_string(juego) + ".tsv";
#endif
}

const TablaNombres& NombresDeJuego(int juego) {
    static TablaNombres tablas[6];
    static std::once_flag cargadas[6];
    if (juego < 1 || juego > 5)
        juego = 0;
    std::call_once(cargadas[juego], [juego] {
        TablaNombres& t = tablas[juego];
        switch (juego) {
        case 1:
            t.Cargar(nombres_incluidos::TR1);
            break;
        case 2:
            t.Cargar(nombres_incluidos::TR2);
            break;
        case 3:
            t.Cargar(nombres_incluidos::TR3);
            break;
        case 4:
        case 5:
            if (const std::string ruta = RutaNombresUsuario(juego); !ruta.empty())
                t.CargarArchivo(ruta);
            break;
        default:
            break;
        }
    });
    return tablas[juego];
}
