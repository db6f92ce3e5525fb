#include "Render.h"

#include "ArmarElegido.h"
#include "CamaraVuelo.h"
#include "CodigosSalida.h"
#include "ConvencionesNivel.h"
#include "DibujoEnsamblaje.h"
#include "DibujoSinVentana.h"
#include "Encuadre.h"
#include "EncuadreNivel.h"
#include "EscenaNivel.h"
#include "EscrituraAtomica.h"
#include "Idioma.h"
#include "InicioNivel.h"
#include "LeerCuartos.h"
#include "MatrizDispositivo.h"
#include "NivelSubido.h"
#include "PaginasPNG.h"
#include "PoseMovible.h"
#include "dxBufferTextura.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int ANCHO_PANEL = 817, ALTO_PANEL = 769;
// Far beyond any screen; it keeps a typo from asking GL for gigabytes.
constexpr int LADO_MAXIMO = 8192;

struct Opciones {
    std::string nivel, archivo;
    Elegido que = Elegido::Mesh;
    int64_t numero = -1; // mesh index, object id, or for the level the room framed alone (-1: none)
    std::optional<std::array<float, 3>> desde, hacia; // device axes (y negated)
    float angulo = 0;
    bool anguloDado = false;
    bool alambre = false, ajustar = false, luzPlena = false;
    uint32_t fondo = 0;
    int ancho = ANCHO_PANEL, alto = ALTO_PANEL;
    int64_t meshesDe = -1, animacion = -1;
    double cuadro = 0;
    std::string cuadroDado; // as typed, to name it back in a refusal
    std::string secuencia;
};

// A room of the level, framed alone.
bool UnCuarto(const Opciones& o) {
    return o.que == Elegido::Nivel && o.numero >= 0;
}

template <typename T> bool Numero(std::string_view texto, T& valor) {
    const char* fin = texto.data() + texto.size();
    auto [resto, error] = std::from_chars(texto.data(), fin, valor);
    return error == std::errc() && resto == fin;
}

// "X,Y,Z" in the level's axes, each finite, taken to the device's (y negated).
bool Punto(std::string_view texto, std::optional<std::array<float, 3>>& punto) {
    glm::vec3 p{};
    for (int k = 0; k < 3; ++k) {
        const size_t coma = k < 2 ? texto.find(',') : texto.size();
        double v = 0;
        if (coma == std::string_view::npos || !Numero(texto.substr(0, coma), v) ||
            !std::isfinite(float(v)))
            return false;
        p[k] = float(v);
        texto.remove_prefix(k < 2 ? coma + 1 : coma);
    }
    const glm::vec3 d = EnDispositivo(p);
    punto = {d.x, d.y, d.z};
    return true;
}

bool Tamano(std::string_view texto, int& ancho, int& alto) {
    const auto x = texto.find('x');
    return x != std::string_view::npos && Numero(texto.substr(0, x), ancho) &&
           Numero(texto.substr(x + 1), alto) && ancho >= 1 && alto >= 1 && ancho <= LADO_MAXIMO &&
           alto <= LADO_MAXIMO;
}

// Done when the options are complete and valid; else the reason.
Hecho LeerOpciones(const OpcionesRender& d, Opciones& o) {
    o.nivel = d.nivel;
    o.archivo = d.archivo;
    o.alambre = d.alambre;
    o.ajustar = d.ajustar;
    o.luzPlena = d.luzPlena;
    if (const Hecho fondo = LeerFondo(d.fondo, o.fondo); !fondo)
        return Hecho::Fallo("--background " + d.fondo + ": " + fondo.Motivo());
    const int elegidos = !d.mesh.empty() + !d.objeto.empty() + !d.estatico.empty() + d.nivelEntero +
                         !d.cuarto.empty();
    if (elegidos > 1)
        return Hecho::Fallo(Traducir("--mesh, --object, --static, --level y --room se excluyen"));
    if ((!d.desde.empty() || !d.hacia.empty()) && !d.nivelEntero)
        return Hecho::Fallo(Traducir("--from y --to solo valen con --level"));
    if (d.desde.empty() != d.hacia.empty())
        return Hecho::Fallo(Traducir("--from y --to van juntos"));
    if (!d.desde.empty() && !d.angulo.empty())
        return Hecho::Fallo(Traducir("--angle no vale con --from y --to: la cámara ya está dada"));
    if (!d.desde.empty() && !Punto(d.desde, o.desde))
        return Hecho::Fallo("--from " + d.desde + ": " + Traducir("se espera X,Y,Z"));
    if (!d.hacia.empty() && !Punto(d.hacia, o.hacia))
        return Hecho::Fallo("--to " + d.hacia + ": " + Traducir("se espera X,Y,Z"));
    if (o.desde && *o.desde == *o.hacia)
        return Hecho::Fallo(Traducir("--from y --to son el mismo punto"));
    if (d.nivelEntero)
        o.que = Elegido::Nivel;
    if (!d.mesh.empty()) {
        if (!Numero(d.mesh, o.numero) || o.numero < 0 || o.numero > INT32_MAX)
            return Hecho::Fallo("--mesh " + d.mesh + ": " +
                                Traducir("se espera un índice de mesh (0, 1, 2...)"));
    } else if (!d.cuarto.empty()) {
        o.que = Elegido::Nivel;
        if (!Numero(d.cuarto, o.numero) || o.numero < 0 || o.numero > INT32_MAX)
            return Hecho::Fallo("--room " + d.cuarto + ": " +
                                Traducir("se espera el índice de un cuarto (0, 1, 2...)"));
    } else if (!d.objeto.empty() || !d.estatico.empty()) {
        const bool movible = !d.objeto.empty();
        const std::string& id = movible ? d.objeto : d.estatico;
        o.que = movible ? Elegido::Movible : Elegido::Estatico;
        if (!Numero(id, o.numero) || o.numero < 0 || o.numero > UINT32_MAX)
            return Hecho::Fallo((movible ? "--object " : "--static ") + id + ": " +
                                Traducir("se espera el id de un objeto (0, 1, 2...)"));
    }
    if (!d.angulo.empty()) {
        double angulo = 0;
        if (!Numero(d.angulo, angulo) || !std::isfinite(float(angulo)))
            return Hecho::Fallo("--angle " + d.angulo + ": " +
                                Traducir("se espera un ángulo en radianes"));
        o.angulo = float(angulo);
        o.anguloDado = true;
    }
    const bool animada = !d.animacion.empty();
    if ((!d.meshesDe.empty() || animada) && d.objeto.empty())
        return Hecho::Fallo(Traducir("--meshes-from y --anim solo valen con --object"));
    if ((!d.cuadro.empty() || !d.secuencia.empty()) && !animada)
        return Hecho::Fallo(Traducir("--frame y --sequence solo valen con --anim"));
    if (!d.secuencia.empty() && (!d.cuadro.empty() || !d.archivo.empty()))
        return Hecho::Fallo(
            Traducir("--sequence escribe cada cuadro: no va con --frame ni con --out"));
    if (!d.meshesDe.empty() &&
        (!Numero(d.meshesDe, o.meshesDe) || o.meshesDe < 0 || o.meshesDe > UINT32_MAX))
        return Hecho::Fallo("--meshes-from " + d.meshesDe + ": " +
                            Traducir("se espera el id de un objeto (0, 1, 2...)"));
    if (animada && (!Numero(d.animacion, o.animacion) || o.animacion < 0 || o.animacion > 0xFFFF))
        return Hecho::Fallo("--anim " + d.animacion + ": " +
                            Traducir("se espera el índice de una animación en la lista del nivel"));
    if (!d.cuadro.empty() && (!Numero(d.cuadro, o.cuadro) || !std::isfinite(o.cuadro) || o.cuadro < 0))
        return Hecho::Fallo(
            "--frame " + d.cuadro + ": " +
            Traducir(
                "se espera un cuadro de juego desde el primero de la animación (0, 1, 2.5...)"));
    o.cuadroDado = d.cuadro;
    o.secuencia = d.secuencia;
    if (!d.tamano.empty() && !Tamano(d.tamano, o.ancho, o.alto))
        return Hecho::Fallo("--size " + d.tamano + ": " +
                            Traducir("se espera ANCHOxALTO, cada lado de 1 a ") +
                            std::to_string(LADO_MAXIMO));
    if (o.nivel.empty())
        return Hecho::Fallo(Traducir("falta el nivel"));
    if (elegidos == 0)
        return Hecho::Fallo(
            Traducir("falta --mesh N, --object ID, --static ID, --level o --room R"));
    if (o.archivo.empty() && o.secuencia.empty())
        return Hecho::Fallo(Traducir("falta --out ARCHIVO.png"));
    return {};
}

// Whether the level leaves room `cuarto` unlit: it has vertices, and every one's colour is black,
// so that its faces are drawn black whatever their texels.
bool CuartoSinLuz(const trNivel& nivel, int64_t cuarto) {
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(nivel);
    if (cuarto < 0 || size_t(cuarto) >= cuartos.size())
        return false;
    const trGeometriaCuarto& g = cuartos[size_t(cuarto)];
    return !g.Vertices.empty() && !CuartoConLuz(g);
}

// Where the device's answers become tools' own: a drawing the device refused, so that no
// picture is written and the user is not handed a blank one.
Hecho Dibujado(HRESULT hr) {
    return FAILED(hr) ? Hecho::Fallo(Traducir("OpenGL no pudo dibujar la imagen")) : Hecho();
}

// The whole level, framed as the options say; not done, with the reason, when the room is not
// there. A failed drawing lands in `dibujo` unless it holds an earlier failure.
Hecho DibujarNivelEntero(const Opciones& o, const NivelSubido& nivel, dxDevice8& dispositivo,
                         Hecho& dibujo) {
    const EscenaNivel* escena = nivel.Escena.get();
    const int32_t cuartos = escena ? escena->NumCuartos() : 0;
    if (UnCuarto(o) && o.numero >= cuartos)
        return Hecho::Fallo(Formatear(Traducir("no hay cuarto %s; "), {std::to_string(o.numero)}) +
                            (cuartos == 0 ? Traducir("el nivel no tiene cuartos")
                                          : Traducir("los índices válidos van de 0 a ") +
                                                std::to_string(cuartos - 1)));
    OpcionesNivel opciones;
    opciones.Texturizado = !o.alambre;
    opciones.Alambre = o.alambre;
    opciones.LuzPlena = o.luzPlena;
    // As the window opens the level: behind Lara's start, unless a camera or angle is given.
    const std::optional<InicioJugador> inicio =
        escena && o.que == Elegido::Nivel && !UnCuarto(o) && !o.desde && !o.anguloDado
            ? InicioEnLara(nivel.Objetos, size_t(cuartos), escena)
            : std::nullopt;
    HRESULT hr = D3D_OK;
    if (inicio) {
        CamaraVuelo camara;
        camara.Situar(VectorDX(inicio->Ojo), inicio->Guinada, inicio->Cabeceo, VectorDX(inicio->Pivote),
                      escena->EsferaNivel(opciones));
        hr = camara.Aplicar(dispositivo, o.ancho, o.alto);
    } else if (escena && o.desde) {
        hr = EncuadrarDesde(dispositivo, escena->EsferaNivel(opciones), *o.desde, *o.hacia, o.ancho,
                            o.alto);
    } else if (escena) {
        CajaCuartos caja = CajaDeCuartos(*nivel.Nivel, *escena, UnCuarto(o) ? o.numero : -1);
        if (caja.Vacia()) {
            // Rooms without vertices: the box of what the scene holds.
            const Esfera e = UnCuarto(o) ? escena->EsferaCuarto(int32_t(o.numero))
                                         : escena->EsferaNivel(opciones);
            const float r = std::max(e.Radio, 1.0f);
            caja.minimo = {e.X - r, e.Y - r, e.Z - r};
            caja.maximo = {e.X + r, e.Y + r, e.Z + r};
        }
        hr = EncuadrarCaja(dispositivo, caja, o.angulo, o.ancho, o.alto);
    }
    if (SUCCEEDED(hr))
        hr = dispositivo.Limpiar(1);
    if (SUCCEEDED(hr) && nivel.Dibujo)
        hr = nivel.Dibujo->Dibujar(dispositivo, opciones);
    if (SUCCEEDED(hr))
        hr = dispositivo.Presentar();
    if (dibujo)
        dibujo = Dibujado(hr);
    return {};
}

std::string QueSeDibuja(const Opciones& o) {
    switch (o.que) {
    case Elegido::Nivel:
        return o.numero < 0 ? Traducir("nivel entero")
                            : Traducir("cuarto ") + std::to_string(o.numero);
    case Elegido::Movible:
        return Traducir("movible ") + std::to_string(o.numero);
    case Elegido::Estatico:
        return Traducir("estático ") + std::to_string(o.numero);
    default:
        return "mesh " + std::to_string(o.numero);
    }
}

// The panel's picture as PNG, written whole or not at all.
Hecho GuardarCuadro(const DibujoSinVentana& dibujo, const Opciones& o, const std::string& archivo) {
    const std::vector<uint32_t> pixeles = LeerPixeles(*dibujo.Superficie);
    if (pixeles.size() != size_t(o.ancho) * size_t(o.alto))
        return Hecho::Fallo(Traducir("sin OpenGL: no se pudo leer la imagen dibujada"));
    const std::vector<uint8_t> png =
        CodificarPNG(std::span<const uint32_t>(pixeles), o.ancho, o.alto);
    if (png.empty())
        return Hecho::Fallo(archivo + ": " + Traducir("no se pudo escribir el PNG"));
    return EscribirAtomico(archivo, png);
}

// The sphere that holds every pose of a sequence, so that the framing holds still through it.
void Abarcar(Ensamblaje& todo, const Ensamblaje& pose, bool primera) {
    if (pose.Radio <= 0)
        return;
    if (primera || todo.Radio <= 0) {
        todo.Centro = pose.Centro;
        todo.Radio = pose.Radio;
        return;
    }
    const D3DXVECTOR3 d{pose.Centro.x - todo.Centro.x, pose.Centro.y - todo.Centro.y,
                        pose.Centro.z - todo.Centro.z};
    const float distancia = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (distancia + pose.Radio <= todo.Radio)
        return;
    if (distancia + todo.Radio <= pose.Radio) {
        todo.Centro = pose.Centro;
        todo.Radio = pose.Radio;
        return;
    }
    const float radio = (distancia + todo.Radio + pose.Radio) / 2;
    const float paso = (radio - todo.Radio) / distancia;
    todo.Centro = {todo.Centro.x + d.x * paso, todo.Centro.y + d.y * paso,
                   todo.Centro.z + d.z * paso};
    todo.Radio = radio;
}

// An object posed by one of its animations: one picture, or one per game frame in a folder.
// Done with the line to print in `linea`; else the reason.
Hecho DibujarAnimacion(const Opciones& o, const NivelSubido& nivel, DibujoSinVentana& dibujo,
                       std::string& linea) {
    trMovible movible;
    if (Hecho h = MovibleElegido(nivel, o.numero, o.meshesDe, movible); !h)
        return h;
    if (Hecho h = AnimacionJugable(nivel, movible, o.animacion); !h)
        return h;
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    const trAnimaciones& animaciones = nivel.Objetos.Animaciones;
    const uint32_t indice = uint32_t(o.animacion);
    const uint32_t ultimo = animaciones.Animaciones[indice].Duracion();
    // Posing clamps to the last frame: a frame past it would quietly draw that one instead.
    if (o.secuencia.empty() && o.cuadro > double(ultimo))
        return Hecho::Fallo(
            Formatear(Traducir("la animación %s no tiene cuadro %s; sus cuadros van de 0 a %s"),
                      {std::to_string(indice), o.cuadroDado, std::to_string(ultimo)}));
    std::vector<glm::mat4> mundos;
    dxDevice8& dispositivo = *dibujo.Dispositivo;
    auto posar = [&](double cuadro) {
        return PosarMovible(*nivel.Nivel, animaciones, movible, indice, cuadro, mundos);
    };
    if (o.secuencia.empty()) {
        if (Hecho h = posar(o.cuadro); !h)
            return h;
        const Ensamblaje objeto = ArmarMovible(movible, lista, mundos, nivel.Articulaciones);
        HRESULT hr = EncuadrarEnsamblaje(dispositivo, objeto, o.ancho, o.alto);
        if (SUCCEEDED(hr))
            hr = DibujarEnsamblaje(dispositivo, objeto, nivel.Buffers, o.angulo, !o.alambre,
                                   o.alambre);
        if (Hecho h = Dibujado(hr); !h)
            return h;
        if (Hecho h = GuardarCuadro(dibujo, o, o.archivo); !h)
            return h;
        linea = o.archivo;
        return {};
    }
    std::error_code error;
    std::filesystem::create_directories(o.secuencia, error);
    if (!std::filesystem::is_directory(o.secuencia, error)) {
        const std::string archivo = ArchivoEnLugarDeCarpeta(o.secuencia);
        return Hecho::Fallo(archivo.empty()
                                ? o.secuencia + ": " + Traducir("no se pudo crear la carpeta")
                                : Formatear(Traducir("no se pudo crear la carpeta %s: %s es un "
                                                     "archivo, no una carpeta"),
                                            {o.secuencia, archivo}));
    }
    Ensamblaje objeto = ArmarMovible(movible, lista, nivel.Articulaciones);
    for (uint32_t f = 0; f <= ultimo; ++f) {
        if (Hecho h = posar(f); !h)
            return h;
        Abarcar(objeto, ArmarMovible(movible, lista, mundos, nivel.Articulaciones), f == 0);
    }
    if (Hecho h = Dibujado(EncuadrarEnsamblaje(dispositivo, objeto, o.ancho, o.alto)); !h)
        return h;
    for (uint32_t f = 0; f <= ultimo; ++f) {
        // Every frame was posed once already, to frame them all alike: this one cannot fail.
        if (Hecho h = posar(f); !h)
            return h;
        AplicarPose(objeto, mundos);
        if (Hecho h = Dibujado(DibujarEnsamblaje(dispositivo, objeto, nivel.Buffers, o.angulo,
                                                 !o.alambre, o.alambre));
            !h)
            return h;
        char nombre[32];
        std::snprintf(nombre, sizeof nombre, "cuadro_%04u.png", f);
        const std::string ruta = (std::filesystem::path(o.secuencia) / nombre).string();
        if (Hecho h = GuardarCuadro(dibujo, o, ruta); !h)
            return h;
    }
    linea = Formatear(Traducir("%s cuadros en %s"), {std::to_string(ultimo + 1), o.secuencia});
    return {};
}

} // namespace

int Renderizar(const OpcionesRender& opciones, std::ostream& salida, std::ostream& errores) {
    Opciones o;
    if (const Hecho leidas = LeerOpciones(opciones, o); !leidas)
        return RechazarUso(errores, "tr4tool render", "render", leidas);

    DibujoSinVentana dibujo;
    if (const Hecho preparado = PrepararDibujo(o.ancho, o.alto, dibujo); !preparado)
        return Fallar(errores, "tr4tool render", preparado);
    dxDevice8* dispositivo = dibujo.Dispositivo.get();
    Hecho dibujado = Dibujado(dispositivo->SetColorFondo(
        int32_t(o.fondo >> 16 & 0xFF), int32_t(o.fondo >> 8 & 0xFF), int32_t(o.fondo & 0xFF)));
    if (dibujado)
        dibujado = Dibujado(SetProyeccionVisor(*dispositivo, o.ancho, o.alto));

    const std::string deNivel = "tr4tool: " + o.nivel;
    std::unique_ptr<NivelSubido> nivel;
    if (const Hecho abierto = AbrirNivel(o.nivel.c_str(), dispositivo, nivel); !abierto)
        return Fallar(errores, deNivel, abierto);
    if (o.animacion >= 0) {
        std::string linea;
        if (const Hecho animado = DibujarAnimacion(o, *nivel, dibujo, linea); !animado)
            return Fallar(errores, deNivel, animado);
        salida << "tr4tool: " << Traducir("escrito ") << linea << " (" << QueSeDibuja(o)
               << Formatear(Traducir(", animación %s"), {std::to_string(o.animacion)}) << ", "
               << o.ancho << 'x' << o.alto << ")\n";
        return EXITO;
    }
    if (o.que == Elegido::Nivel) {
        if (const Hecho cuarto = DibujarNivelEntero(o, *nivel, *dispositivo, dibujado); !cuarto)
            return Fallar(errores, deNivel, cuarto);
    } else {
        const Elegido que = o.que;
        // A still moveable wears another's meshes as its animated frames do: without them, a
        // skeleton whose own meshes are all empty stand-ins draws nothing.
        Ensamblaje objeto;
        Hecho elegido;
        if (que == Elegido::Movible && o.meshesDe >= 0) {
            static const Lista_Mesh vacia;
            trMovible m;
            if ((elegido = MovibleElegido(*nivel, o.numero, o.meshesDe, m)))
                objeto =
                    ArmarMovible(m, nivel->Meshes ? *nivel->Meshes : vacia, nivel->Articulaciones);
        } else {
            elegido = ArmarElegido(*nivel, que, o.numero, objeto);
        }
        if (!elegido)
            return Fallar(errores, deNivel, elegido);
        if (o.que == Elegido::Mesh && !o.ajustar) {
            // The panel's own camera, 1500 units before the mesh's centre.
            if (dibujado)
                dibujado = Dibujado(EncuadrarMesh(*dispositivo, *nivel->Mesh(int(o.numero))));
            if (dibujado)
                dibujado = Dibujado(DibujarCuadro(*dispositivo, nivel->Buffer(int(o.numero)),
                                                  o.angulo, !o.alambre, o.alambre));
        } else {
            if (dibujado)
                dibujado = Dibujado(EncuadrarEnsamblaje(*dispositivo, objeto, o.ancho, o.alto));
            if (dibujado)
                dibujado = Dibujado(DibujarEnsamblaje(*dispositivo, objeto, nivel->Buffers,
                                                      o.angulo, !o.alambre, o.alambre));
        }
    }
    // A page or mesh the device refused, or a draw it failed, leaves a picture short of what was
    // asked: no file rather than a blank or partial one.
    if (dibujado)
        dibujado = Dibujado(nivel->Subida);
    if (!dibujado)
        return Fallar(errores, "tr4tool render", dibujado);
    const std::vector<uint32_t> pixeles = LeerPixeles(*dibujo.Superficie);
    if (pixeles.size() != size_t(o.ancho) * size_t(o.alto))
        return Fallar(errores, "tr4tool render",
                      Hecho::Fallo(Traducir("sin OpenGL: no se pudo leer la imagen dibujada")));
    // Written whole or not at all: a failed write never leaves half a picture where one stood.
    const std::vector<uint8_t> png =
        CodificarPNG(std::span<const uint32_t>(pixeles), o.ancho, o.alto);
    if (png.empty())
        return Fallar(errores, "tr4tool: " + o.archivo,
                      Hecho::Fallo(Traducir("no se pudo escribir el PNG")));
    if (const Hecho escrito = EscribirAtomico(o.archivo, png); !escrito)
        return Fallar(errores, "tr4tool", escrito);
    // A black picture and a quiet success would look like a fault of the drawing.
    if (UnCuarto(o) && !o.alambre && !o.luzPlena && CuartoSinLuz(*nivel->Nivel, o.numero))
        errores << "tr4tool render: "
                << Formatear(Traducir("el cuarto %s no tiene luz: el nivel deja negros todos sus "
                                      "vértices, y así se dibuja; --full-light lo muestra con "
                                      "las texturas como se pintaron"),
                             {std::to_string(o.numero)})
                << '\n';
    salida << "tr4tool: " << Traducir("escrito ") << o.archivo << " (" << QueSeDibuja(o) << ", "
           << o.ancho << 'x' << o.alto
           << (o.alambre ? Traducir(", alambre") : Traducir(", texturizado")) << ")\n";
    return EXITO;
}
