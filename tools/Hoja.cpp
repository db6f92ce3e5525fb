#include "Hoja.h"

#include "CodigosSalida.h"
#include "DibujoSinVentana.h"
#include "EscrituraAtomica.h"
#include "HojaContactos.h"
#include "Idioma.h"
#include "NivelSubido.h"
#include "PaginasPNG.h"

#include <charconv>

namespace {

// Done when the options are complete and valid; else the reason.
Hecho LeerCelda(const OpcionesHoja& o, int& celda, uint32_t& fondo) {
    celda = CELDA_POR_OMISION;
    if (!o.celda.empty()) {
        const char* fin = o.celda.data() + o.celda.size();
        auto [resto, error] = std::from_chars(o.celda.data(), fin, celda);
        if (error != std::errc() || resto != fin || celda < CELDA_MINIMA || celda > CELDA_MAXIMA)
            return Hecho::Fallo(
                "--cell " + o.celda + ": " +
                Formatear(Traducir("se espera un lado en píxeles de %s a %s"),
                          {std::to_string(CELDA_MINIMA), std::to_string(CELDA_MAXIMA)}));
    }
    if (const Hecho leido = LeerFondo(o.fondo, fondo); !leido)
        return Hecho::Fallo("--background " + o.fondo + ": " + leido.Motivo());
    if (o.nivel.empty())
        return Hecho::Fallo(Traducir("falta el nivel"));
    if (o.archivo.empty())
        return Hecho::Fallo(Traducir("falta --out ARCHIVO.png"));
    return {};
}

} // namespace

int EscribirHoja(const OpcionesHoja& o, std::ostream& salida, std::ostream& errores) {
    int pedida = 0;
    uint32_t fondo = 0;
    if (const Hecho leidas = LeerCelda(o, pedida, fondo); !leidas)
        return RechazarUso(errores, "tr4tool sheet", "sheet", leidas);
    // The grid, and so the surface's size, depends on what the level holds: the surface starts
    // small and takes the cell's size once the level is read.
    DibujoSinVentana dibujo;
    if (const Hecho preparado = PrepararDibujo(CELDA_MINIMA, CELDA_MINIMA, dibujo); !preparado)
        return Fallar(errores, "tr4tool sheet", preparado);
    std::unique_ptr<NivelSubido> nivel;
    if (const Hecho abierto = AbrirNivel(o.nivel.c_str(), dibujo.Dispositivo.get(), nivel);
        !abierto)
        return Fallar(errores, "tr4tool: " + o.nivel, abierto);
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel->Meshes ? *nivel->Meshes : vacia;
    // Planned before anything is assembled: a level refused for its size costs nothing more.
    const size_t cuantas = o.objetos
                               ? nivel->Objetos.Movibles.size() + nivel->Objetos.Estaticos.size()
                               : size_t(lista.Cantidad());
    Rejilla rejilla;
    if (const Hecho planeada = PlanearRejilla(cuantas, pedida, rejilla); !planeada)
        return Fallar(errores, "tr4tool: " + o.nivel, planeada);
    const std::vector<CeldaHoja> celdas =
        o.objetos ? CeldasDeObjetos(nivel->Objetos, lista) : CeldasDeMeshes(lista);
    if (!dibujo.Superficie->CambiarTamano(rejilla.Celda, rejilla.Celda))
        return Fallar(
            errores, "tr4tool sheet",
            Hecho::Fallo(Traducir("sin OpenGL: no se pudo crear el dispositivo de dibujo")));
    ImagenRGBA hoja;
    if (const Hecho compuesta = ComponerHoja(*dibujo.Dispositivo, *dibujo.Superficie,
                                             nivel->Buffers, celdas, rejilla, hoja, fondo);
        !compuesta)
        return Fallar(errores, "tr4tool sheet", compuesta);
    const std::vector<uint8_t> png =
        CodificarPNG(std::span<const uint8_t>(hoja.Bytes), hoja.Ancho, hoja.Alto);
    if (png.empty())
        return Fallar(errores, "tr4tool: " + o.archivo,
                      Hecho::Fallo(Traducir("no se pudo escribir el PNG")));
    if (const Hecho escrito = EscribirAtomico(o.archivo, png); !escrito)
        return Fallar(errores, "tr4tool", escrito);
    salida << "tr4tool: "
           << Formatear(Traducir("escrito %s (%s celdas en %s x %s, celda de %s px, %s x %s)"),
                        {o.archivo, std::to_string(celdas.size()), std::to_string(rejilla.Columnas),
                         std::to_string(rejilla.Filas), std::to_string(rejilla.Celda),
                         std::to_string(hoja.Ancho), std::to_string(hoja.Alto)});
    if (rejilla.Celda < pedida)
        salida << Formatear(Traducir("; la celda pedida, %s px, se redujo para que la hoja no pase "
                                     "de %s px de lado"),
                            {std::to_string(pedida), std::to_string(LADO_MAXIMO_HOJA)});
    salida << '\n';
    return EXITO;
}
