#include "Paginas.h"

#include "CodigosSalida.h"
#include "CargarNivel.h"
#include "EscrituraAtomica.h"
#include "Idioma.h"
#include "PaginasPNG.h"
#include "trNivel.h"
#include "PaginasNivel.h"

#include <memory>

int EscribirPaginas(const std::string& nivel, const std::string& carpeta, std::ostream& salida,
                    std::ostream& errores) {
    const char* falta = nivel.empty()     ? Traducir("falta el nivel")
                        : carpeta.empty() ? Traducir("falta --out CARPETA")
                                          : nullptr;
    if (falta) {
        errores << "tr4tool pages: " << falta << Traducir(" (uso: tr4tool pages --help)") << '\n';
        return USO_INCORRECTO;
    }
    auto n = std::make_unique<trNivel>();
    std::string motivo;
    if (!CargarNivel(nivel.c_str(), *n, &motivo)) {
        errores << "tr4tool: " << nivel << ": " << motivo << '\n';
        return FALLO;
    }
    // The pages are read in place from the level: no device, no OpenGL needed.
    const PaginasNivel texturas(n.get());
    if (texturas.NumPaginas() == 0) {
        errores << "tr4tool: " << nivel << ": " << Traducir("el nivel no tiene páginas de textura")
                << '\n';
        return FALLO;
    }
    const std::vector<ArchivoPorEscribir> archivos = PaginasPNG(texturas, carpeta);
    for (const ArchivoPorEscribir& a : archivos)
        if (a.Bytes.empty()) {
            errores << "tr4tool: " << a.Ruta << ": " << Traducir("no se pudo escribir el PNG")
                    << '\n';
            return FALLO;
        }
    if (!EscribirAtomico(archivos, &motivo)) {
        errores << "tr4tool: " << motivo << '\n';
        return FALLO;
    }
    auto nombre = [](const std::string& ruta) { return ruta.substr(ruta.find_last_of('/') + 1); };
    salida << "tr4tool: "
           << Formatear(Traducir("escritas %s páginas de 256x256 en %s: de %s a %s"),
                        {std::to_string(archivos.size()), carpeta, nombre(archivos.front().Ruta),
                         nombre(archivos.back().Ruta)})
           << '\n';
    return EXITO;
}
