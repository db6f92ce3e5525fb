#include "Comandos.h"
#include "CargarNivel.h"
#include "LeerMeshes.h"
#include "Render.h"
#include "Resumen.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int EXITO = 0, NIVEL_ILEGIBLE = 1, USO_INCORRECTO = 2;

const char* const USO =
    "uso: tr4tool info [--json] NIVEL.tr4\n"
    "     tr4tool render NIVEL.tr4 --mesh N --out ARCHIVO.png [--angle RADIANES] [--wireframe]\n"
    "                    [--size ANCHOxALTO]\n"
    "  info    resume un nivel de Tomb Raider 4 (con --json, como objeto JSON)\n"
    "  render  dibuja la mesh N como la muestra el visor y la guarda en PNG; por omisión\n"
    "          817x769 (el panel del visor), ángulo 0 y texturizada\n";

int Info(const std::vector<std::string_view>& args, std::ostream& salida, std::ostream& errores) {
    bool json = false;
    const char* archivo = nullptr;
    for (auto a : args) {
        if (a == "--json")
            json = true;
        else if (a.starts_with("-") || archivo) {
            errores << "tr4tool: argumento inesperado: " << a << '\n' << USO;
            return USO_INCORRECTO;
        } else
            archivo = a.data();
    }
    if (!archivo) {
        errores << "tr4tool: falta el nivel\n" << USO;
        return USO_INCORRECTO;
    }

    auto nivel = std::make_unique<trNivel>();
    std::string motivo;
    if (!CargarNivel(archivo, *nivel, &motivo)) {
        errores << "tr4tool: " << archivo << ": " << motivo << '\n';
        return NIVEL_ILEGIBLE;
    }
    std::unique_ptr<Lista_Mesh> lista;
    LeerMeshes(nivel->DatosMesh.data(), static_cast<uint32_t>(nivel->DatosMesh.size()), lista);
    const ResumenNivel r = Resumir(*nivel, lista.get());
    if (json)
        EscribirJson(r, salida);
    else
        EscribirTexto(r, salida);
    return EXITO;
}

} // namespace

int EjecutarTr4tool(int argc, const char* const* argv, std::ostream& salida,
                    std::ostream& errores) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        errores << USO;
        return USO_INCORRECTO;
    }
    const auto orden = args.front();
    args.erase(args.begin());
    if (orden == "--help" || orden == "-h" || orden == "help") {
        salida << USO;
        return EXITO;
    }
    if (orden == "info")
        return Info(args, salida, errores);
    if (orden == "render")
        return Renderizar(args, salida, errores);
    errores << "tr4tool: orden desconocida: " << orden << '\n' << USO;
    return USO_INCORRECTO;
}
