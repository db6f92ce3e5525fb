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
    if (nivel.empty() || carpeta.empty())
        return RechazarUso(errores, "tr4tool pages", "pages",
                           Hecho::Fallo(nivel.empty() ? Traducir("falta el nivel")
                                                      : Traducir("falta --out CARPETA")));
    auto n = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(nivel.c_str(), *n, &motivo))
        return Fallar(errores, "tr4tool: " + nivel, Hecho::Fallo(motivo));
    // The pages are read in place from the level: no device, no OpenGL needed.
    const PaginasNivel texturas(n.get());
    if (texturas.NumPaginas() == 0)
        return Fallar(errores, "tr4tool: " + nivel,
                      Hecho::Fallo(Traducir("el nivel no tiene páginas de textura")));
    const std::vector<ArchivoPorEscribir> archivos = PaginasPNG(texturas, carpeta);
    for (const ArchivoPorEscribir& a : archivos)
        if (a.Bytes.empty())
            return Fallar(errores, "tr4tool: " + a.Ruta,
                          Hecho::Fallo(Traducir("no se pudo escribir el PNG")));
    if (const Hecho escrito = EscribirAtomico(archivos); !escrito)
        return Fallar(errores, "tr4tool", escrito);
    auto nombre = [](const std::string& ruta) { return ruta.substr(ruta.find_last_of('/') + 1); };
    salida << "tr4tool: "
           << Formatear(Traducir("escritas %s páginas de 256x256 en %s: de %s a %s"),
                        {std::to_string(archivos.size()), carpeta, nombre(archivos.front().Ruta),
                         nombre(archivos.back().Ruta)})
           << '\n';
    return EXITO;
}
