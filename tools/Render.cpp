#include "Render.h"

#include "ArmarElegido.h"
#include "Encuadre.h"
#include "Ensamblaje.h"
#include "Idioma.h"
#include "NivelAbierto.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"

#include <stb_image_write.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int EXITO = 0, FALLO = 1, USO_INCORRECTO = 2;
constexpr int ANCHO_PANEL = 817, ALTO_PANEL = 769;
// Far beyond any screen; it keeps a typo from asking GL for gigabytes.
constexpr int LADO_MAXIMO = 8192;

struct Opciones {
    std::string nivel, archivo;
    enum class Que { Mesh, Movible, Estatico } que = Que::Mesh;
    int64_t numero = -1; // mesh index or object id
    float angulo = 0;
    bool alambre = false, ajustar = false;
    int ancho = ANCHO_PANEL, alto = ALTO_PANEL;
};

template <typename T> bool Numero(std::string_view texto, T& valor) {
    const char* fin = texto.data() + texto.size();
    auto [resto, error] = std::from_chars(texto.data(), fin, valor);
    return error == std::errc() && resto == fin;
}

bool Tamano(std::string_view texto, int& ancho, int& alto) {
    const auto x = texto.find('x');
    return x != std::string_view::npos && Numero(texto.substr(0, x), ancho) &&
           Numero(texto.substr(x + 1), alto) && ancho >= 1 && alto >= 1 && ancho <= LADO_MAXIMO &&
           alto <= LADO_MAXIMO;
}

// Empty when the options are complete and valid; else the reason.
std::string LeerOpciones(const OpcionesRender& d, Opciones& o) {
    o.nivel = d.nivel;
    o.archivo = d.archivo;
    o.alambre = d.alambre;
    o.ajustar = d.ajustar;
    const int elegidos = !d.mesh.empty() + !d.objeto.empty() + !d.estatico.empty();
    if (elegidos > 1)
        return Traducir("--mesh, --object y --static se excluyen");
    if (!d.mesh.empty()) {
        if (!Numero(d.mesh, o.numero) || o.numero < 0 || o.numero > INT32_MAX)
            return "--mesh " + d.mesh + ": " + Traducir("se espera un índice de mesh (0, 1, 2...)");
    } else if (!d.objeto.empty() || !d.estatico.empty()) {
        const bool movible = !d.objeto.empty();
        const std::string& id = movible ? d.objeto : d.estatico;
        o.que = movible ? Opciones::Que::Movible : Opciones::Que::Estatico;
        if (!Numero(id, o.numero) || o.numero < 0 || o.numero > UINT32_MAX)
            return (movible ? "--object " : "--static ") + id + ": " +
                   Traducir("se espera el id de un objeto (0, 1, 2...)");
    }
    if (!d.angulo.empty()) {
        double angulo = 0;
        if (!Numero(d.angulo, angulo) || !std::isfinite(float(angulo)))
            return "--angle " + d.angulo + ": " + Traducir("se espera un ángulo en radianes");
        o.angulo = float(angulo);
    }
    if (!d.tamano.empty() && !Tamano(d.tamano, o.ancho, o.alto))
        return "--size " + d.tamano + ": " + Traducir("se espera ANCHOxALTO, cada lado de 1 a ") +
               std::to_string(LADO_MAXIMO);
    if (o.nivel.empty())
        return Traducir("falta el nivel");
    if (elegidos == 0)
        return Traducir("falta --mesh N, --object ID o --static ID");
    if (o.archivo.empty())
        return Traducir("falta --out ARCHIVO.png");
    return {};
}

bool EscribirPng(const std::string& archivo, const std::vector<uint32_t>& pixeles, int ancho,
                 int alto) {
    std::vector<uint8_t> rgba(pixeles.size() * 4);
    for (size_t i = 0; i < pixeles.size(); ++i) {
        const uint32_t p = pixeles[i];
        rgba[4 * i] = uint8_t(p >> 16);
        rgba[4 * i + 1] = uint8_t(p >> 8);
        rgba[4 * i + 2] = uint8_t(p);
        rgba[4 * i + 3] = uint8_t(p >> 24);
    }
    return stbi_write_png(archivo.c_str(), ancho, alto, 4, rgba.data(), ancho * 4) != 0;
}

std::string QueSeDibuja(const Opciones& o) {
    switch (o.que) {
    case Opciones::Que::Movible:
        return Traducir("movible ") + std::to_string(o.numero);
    case Opciones::Que::Estatico:
        return Traducir("estático ") + std::to_string(o.numero);
    default:
        return "mesh " + std::to_string(o.numero);
    }
}

} // namespace

int Renderizar(const OpcionesRender& opciones, std::ostream& salida, std::ostream& errores) {
    Opciones o;
    if (const std::string motivo = LeerOpciones(opciones, o); !motivo.empty()) {
        errores << "tr4tool render: " << motivo << Traducir(" (uso: tr4tool render --help)")
                << '\n';
        return USO_INCORRECTO;
    }

    // Declared so that they go in the order GL needs: level, device, Direct3D object, surface.
    std::string motivo;
    auto superficie = SuperficieEGL::Crear(o.ancho, o.alto, &motivo);
    if (!superficie) {
        errores << "tr4tool render: " << Traducir("sin OpenGL: ") << motivo << '\n';
        return FALLO;
    }
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
    if (principal.IniciarD3D() != D3D_OK ||
        principal.CrearDispositivo(superficie.get(), 1, dispositivo) != D3D_OK) {
        errores << "tr4tool render: "
                << Traducir("sin OpenGL: no se pudo crear el dispositivo de dibujo") << '\n';
        return FALLO;
    }
    dispositivo->SetColorFondo(0, 0, 0);
    SetProyeccionVisor(*dispositivo, o.ancho, o.alto);

    std::unique_ptr<NivelAbierto> nivel;
    if (!AbrirNivel(o.nivel.c_str(), dispositivo.get(), nivel, &motivo)) {
        errores << "tr4tool: " << o.nivel << ": " << motivo << '\n';
        return FALLO;
    }
    const Elegido que = o.que == Opciones::Que::Movible    ? Elegido::Movible
                        : o.que == Opciones::Que::Estatico ? Elegido::Estatico
                                                           : Elegido::Mesh;
    const std::optional<Ensamblaje> objeto = ArmarElegido(*nivel, que, o.numero, motivo);
    if (!objeto) {
        errores << "tr4tool: " << o.nivel << ": " << motivo << '\n';
        return FALLO;
    }
    if (o.que == Opciones::Que::Mesh && !o.ajustar) {
        // The panel's own camera, 1500 units before the mesh's centre.
        EncuadrarMesh(*dispositivo, *nivel->Mesh(int(o.numero)));
        DibujarCuadro(*dispositivo, nivel->Buffer(int(o.numero)), o.angulo, !o.alambre, o.alambre);
    } else {
        EncuadrarEnsamblaje(*dispositivo, *objeto, o.ancho, o.alto);
        DibujarEnsamblaje(*dispositivo, *objeto, *nivel->Meshes, o.angulo, !o.alambre, o.alambre);
    }
    const std::vector<uint32_t> pixeles = LeerPixeles(*superficie);
    if (pixeles.size() != size_t(o.ancho) * size_t(o.alto)) {
        errores << "tr4tool render: " << Traducir("sin OpenGL: no se pudo leer la imagen dibujada")
                << '\n';
        return FALLO;
    }
    if (!EscribirPng(o.archivo, pixeles, o.ancho, o.alto)) {
        errores << "tr4tool: " << o.archivo << ": " << Traducir("no se pudo escribir el PNG")
                << '\n';
        return FALLO;
    }
    salida << "tr4tool: " << Traducir("escrito ") << o.archivo << " (" << QueSeDibuja(o) << ", "
           << o.ancho << 'x' << o.alto
           << (o.alambre ? Traducir(", alambre") : Traducir(", texturizado")) << ")\n";
    return EXITO;
}
