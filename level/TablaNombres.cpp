#include "TablaNombres.h"
#include "Idioma.h"

#include <cerrno>
#include <cstring>

#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#ifndef TR4_SIN_ARCHIVOS
#include <filesystem>
#endif
#ifndef TR4_SIN_HILOS
#include <mutex>
#endif

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

Hecho TablaNombres::CargarArchivo(const std::string& ruta) {
    auto noAbre = [](int error) {
        return Hecho::Fallo(Formatear(Traducir("no se puede abrir: %s"), {std::strerror(error)}));
    };
#ifdef TR4_SIN_ARCHIVOS
    (void)ruta;
    return noAbre(ENOTSUP);
#else
    std::ifstream archivo(ruta, std::ios::binary);
    if (!archivo)
        return noAbre(errno);
    // A names table is a few kilobytes; a file picked by mistake is not read whole.
    constexpr size_t MAXIMO = size_t{1} << 20;
    std::string texto(MAXIMO, '\0');
    archivo.read(texto.data(), std::streamsize(MAXIMO));
    texto.resize(size_t(archivo.gcount()));
    Cargar(texto);
    return {};
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
    static const TablaNombres vacia;
    static const auto incluidas = [] {
        std::array<TablaNombres, 3> t;
        t[0].Cargar(nombres_incluidos::TR1);
        t[1].Cargar(nombres_incluidos::TR2);
        t[2].Cargar(nombres_incluidos::TR3);
        return t;
    }();
    if (juego >= 1 && juego <= 3)
        return incluidas[size_t(juego - 1)];
    if (juego != 4 && juego != 5)
        return vacia;
    // A user's table is read again only when it changed (written, removed, or the settings
    // folder moved): a person editing it sees the names on the next open, without a restart.
    static std::string firmas[2];
    static bool leidas[2] = {false, false};
    static TablaNombres usuario[2];
#ifndef TR4_SIN_HILOS
    static std::mutex cerrojo;
    const std::lock_guard<std::mutex> cerrado(cerrojo);
#endif
    const size_t k = size_t(juego - 4);
    const std::string ruta = RutaNombresUsuario(juego);
    std::string firma = ruta;
#ifndef TR4_SIN_ARCHIVOS
    std::error_code ec;
    const auto cuando = std::filesystem::last_write_time(ruta, ec);
    if (!ec)
        firma += "|" + std::to_string(cuando.time_since_epoch().count()) + "|" +
                 std::to_string(std::filesystem::file_size(ruta, ec));
#endif
    if (!leidas[k] || firma != firmas[k]) {
        usuario[k] = {};
        // The user's own names are optional: no file, or one that cannot be read, leaves the
        // table empty and the built-in names stand.
        if (!ruta.empty())
            (void)usuario[k].CargarArchivo(ruta);
        firmas[k] = firma;
        leidas[k] = true;
    }
    return usuario[k];
}
