#include "Render.h"

#include "Encuadre.h"
#include "NivelAbierto.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"

#include <stb_image_write.h>

#include <charconv>
#include <cmath>
#include <memory>
#include <string>

namespace {

constexpr int EXITO = 0, FALLO = 1, USO_INCORRECTO = 2;
constexpr int ANCHO_PANEL = 817, ALTO_PANEL = 769;
// Far beyond any screen; it keeps a typo from asking GL for gigabytes.
constexpr int LADO_MAXIMO = 8192;

struct Opciones {
    std::string nivel, archivo;
    int mesh = -1;
    float angulo = 0;
    bool alambre = false;
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
std::string LeerOpciones(const std::vector<std::string_view>& args, Opciones& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string a(args[i]);
        if (a == "--wireframe") {
            o.alambre = true;
            continue;
        }
        if (a != "--mesh" && a != "--out" && a != "--angle" && a != "--size") {
            if (a.starts_with("-"))
                return "opción desconocida: " + a;
            if (!o.nivel.empty())
                return "sobra el argumento " + a;
            o.nivel = a;
            continue;
        }
        if (i + 1 == args.size())
            return a + " necesita un valor";
        const std::string_view v = args[++i];
        const std::string dicho = a + " " + std::string(v);
        double angulo = 0;
        if (a == "--mesh") {
            if (!Numero(v, o.mesh) || o.mesh < 0)
                return dicho + ": se espera un índice de mesh (0, 1, 2...)";
        } else if (a == "--angle") {
            if (!Numero(v, angulo) || !std::isfinite(float(angulo)))
                return dicho + ": se espera un ángulo en radianes";
            o.angulo = float(angulo);
        } else if (a == "--size") {
            if (!Tamano(v, o.ancho, o.alto))
                return dicho + ": se espera ANCHOxALTO, cada lado de 1 a " +
                       std::to_string(LADO_MAXIMO);
        } else
            o.archivo = v;
    }
    if (o.nivel.empty())
        return "falta el nivel";
    if (o.mesh < 0)
        return "falta --mesh N";
    if (o.archivo.empty())
        return "falta --out ARCHIVO.png";
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

std::string RangoDeMeshes(int32_t cantidad) {
    return cantidad <= 0 ? "el nivel no tiene meshes"
                         : "los índices válidos van de 0 a " + std::to_string(cantidad - 1);
}

} // namespace

int Renderizar(const std::vector<std::string_view>& args, std::ostream& salida,
               std::ostream& errores) {
    Opciones o;
    if (const std::string motivo = LeerOpciones(args, o); !motivo.empty()) {
        errores << "tr4tool render: " << motivo << " (véase tr4tool --help)\n";
        return USO_INCORRECTO;
    }

    // Declared so that they go in the order GL needs: level, device, Direct3D object, surface.
    std::string motivo;
    auto superficie = SuperficieEGL::Crear(o.ancho, o.alto, &motivo);
    if (!superficie) {
        errores << "tr4tool render: sin OpenGL: " << motivo << '\n';
        return FALLO;
    }
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
    if (principal.IniciarD3D() != D3D_OK ||
        principal.CrearDispositivo(superficie.get(), 1, dispositivo) != D3D_OK) {
        errores << "tr4tool render: sin OpenGL: no se pudo crear el dispositivo de dibujo\n";
        return FALLO;
    }
    dispositivo->SetColorFondo(0, 0, 0);
    SetProyeccionVisor(*dispositivo, o.ancho, o.alto);

    std::unique_ptr<NivelAbierto> nivel;
    if (!AbrirNivel(o.nivel.c_str(), dispositivo.get(), nivel, &motivo)) {
        errores << "tr4tool: " << o.nivel << ": " << motivo << '\n';
        return FALLO;
    }
    const trMesh* mesh = nivel->Mesh(o.mesh);
    if (!mesh) {
        errores << "tr4tool: " << o.nivel << ": no hay mesh " << o.mesh << "; "
                << RangoDeMeshes(nivel->Cantidad()) << '\n';
        return FALLO;
    }
    EncuadrarMesh(*dispositivo, *mesh);
    DibujarCuadro(*dispositivo, nivel->Buffer(o.mesh), o.angulo, !o.alambre, o.alambre);
    const std::vector<uint32_t> pixeles = LeerPixeles(*superficie);
    if (pixeles.size() != size_t(o.ancho) * size_t(o.alto)) {
        errores << "tr4tool render: sin OpenGL: no se pudo leer la imagen dibujada\n";
        return FALLO;
    }
    if (!EscribirPng(o.archivo, pixeles, o.ancho, o.alto)) {
        errores << "tr4tool: " << o.archivo << ": no se pudo escribir el PNG\n";
        return FALLO;
    }
    salida << "tr4tool: escrito " << o.archivo << " (mesh " << o.mesh << ", " << o.ancho << 'x'
           << o.alto << (o.alambre ? ", alambre" : ", texturizado") << ")\n";
    return EXITO;
}
