#include "Exportar.h"

#include "CodigosSalida.h"
#include "ExportarGLTF.h"
#include "Hecho.h"
#include "Idioma.h"
#include "NivelAbierto.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <memory>

namespace {

template <typename T> bool Numero(std::string_view texto, T& valor) {
    const char* fin = texto.data() + texto.size();
    auto [resto, error] = std::from_chars(texto.data(), fin, valor);
    return error == std::errc() && resto == fin;
}

// Done when the options are complete and valid; else the reason.
Hecho LeerOpciones(const OpcionesExportar& d, OpcionesGLTF& o) {
    const int elegidos =
        !d.mesh.empty() + !d.objeto.empty() + !d.estatico.empty() + d.todo + d.nivel_entero;
    if (elegidos > 1)
        return Hecho::Fallo(Traducir("--mesh, --object, --static, --all y --level se excluyen"));
    if (!d.mesh.empty()) {
        if (!Numero(d.mesh, o.Numero) || o.Numero < 0 || o.Numero > INT32_MAX)
            return Hecho::Fallo("--mesh " + d.mesh + ": " +
                                Traducir("se espera un índice de mesh (0, 1, 2...)"));
    } else if (!d.objeto.empty() || !d.estatico.empty()) {
        const bool movible = !d.objeto.empty();
        const std::string& id = movible ? d.objeto : d.estatico;
        o.Que = movible ? Elegido::Movible : Elegido::Estatico;
        if (!Numero(id, o.Numero) || o.Numero < 0 || o.Numero > UINT32_MAX)
            return Hecho::Fallo((movible ? "--object " : "--static ") + id + ": " +
                                Traducir("se espera el id de un objeto (0, 1, 2...)"));
    } else if (d.todo) {
        o.Que = Elegido::Todo;
    } else if (d.nivel_entero) {
        o.Que = Elegido::Nivel;
    }
    if (d.logica && !d.nivel_entero)
        return Hecho::Fallo(Traducir("--logic solo vale con --level"));
    o.Logica = d.logica;
    if ((!d.meshesDe.empty() || !d.animaciones.empty()) && d.objeto.empty())
        return Hecho::Fallo(Traducir("--meshes-from y --animations solo valen con --object"));
    if (!d.meshesDe.empty() && (!Numero(d.meshesDe, o.Animadas.MeshesDe) ||
                                o.Animadas.MeshesDe < 0 || o.Animadas.MeshesDe > UINT32_MAX))
        return Hecho::Fallo("--meshes-from " + d.meshesDe + ": " +
                            Traducir("se espera el id de un objeto (0, 1, 2...)"));
    if (!d.animaciones.empty())
        if (const Hecho lista = LeerListaAnimaciones(d.animaciones, o.Animadas); !lista)
            return Hecho::Fallo("--animations " + d.animaciones + ": " + lista.Motivo());
    if (!d.escala.empty() &&
        (!Numero(d.escala, o.Escala) || !std::isfinite(float(o.Escala)) || !(float(o.Escala) > 0)))
        return Hecho::Fallo("--scale " + d.escala + ": " +
                            Traducir("la escala ha de ser un número positivo"));
    if (d.nivel.empty())
        return Hecho::Fallo(Traducir("falta el nivel"));
    if (elegidos == 0)
        return Hecho::Fallo(Traducir("falta --mesh N, --object ID, --static ID, --all o --level"));
    if (d.archivo.empty())
        return Hecho::Fallo(Traducir("falta --out ARCHIVO.glb o ARCHIVO.gltf"));
    if (!ExtensionGLTF(d.archivo))
        return Hecho::Fallo("--out " + d.archivo + ": " +
                            Traducir("se espera un nombre acabado en .glb o .gltf"));
    return {};
}

} // namespace

int Exportar(const OpcionesExportar& opciones, std::ostream& salida, std::ostream& errores) {
    OpcionesGLTF o;
    if (const Hecho leidas = LeerOpciones(opciones, o); !leidas)
        return RechazarUso(errores, "tr4tool export", "export", leidas);
    std::unique_ptr<NivelAbierto> nivel;
    if (const Hecho abierto = AbrirNivel(opciones.nivel.c_str(), nivel); !abierto)
        return Fallar(errores, "tr4tool: " + opciones.nivel, abierto);
    std::vector<ArchivoPorEscribir> archivos;
    if (const Hecho armado = ExportarGLTFEnMemoria(*nivel, o, opciones.archivo, archivos); !armado)
        return Fallar(errores, "tr4tool: " + opciones.nivel, armado);
    if (const Hecho escrito = EscribirAtomico(archivos); !escrito)
        return Fallar(errores, "tr4tool", escrito);
    salida << "tr4tool: " << Traducir("escrito ") << opciones.archivo;
    if (archivos.size() > 1)
        salida << Formatear(Traducir(" y %s archivos a su lado"), {std::to_string(archivos.size() - 1)});
    salida << '\n';
    return EXITO;
}
