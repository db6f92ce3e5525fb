#include "MostradorNivel.h"

#include "ArbolObjetos.h"
#include "BarraAnimacion.h"
#include "BarraEstado.h"
#include "BucleDibujo.h"
#include "ControlesVista.h"
#include "ConvencionesNivel.h"
#include "EstadoVentana.h"
#include "InicioNivel.h"
#include "MatrizDispositivo.h"
#include "MenuVer.h"
#include "PanelDetalles.h"
#include "PanelGL.h"
#include "PanelPaginas.h"

#include <QAction>
#include <QListWidget>
#include <QSignalBlocker>

MostradorNivel::MostradorNivel(const Partes& partes, EstadoVentana& estado, BucleDibujo& bucle)
    : p_(partes), estado_(estado), bucle_(bucle), objeto_(estado, *partes.Animacion) {}

void MostradorNivel::MostrarEnVista(const EnVista* vista) {
    ControlesVista& controles = *p_.Controles;
    const NivelSubido* nivel = estado_.Nivel.get();
    const OpcionesNivel opciones = p_.Ver->Opciones();
    controles.Soltar();
    const bool nivelEntero = vista && nivel && vista->Clase == Elegido::Nivel;
    controles.SetNivel(nivelEntero ? nivel->Escena.get() : nullptr);
    controles.SetOpciones(opciones);
    // A pick names a part of what was on show.
    p_.Detalles->Soltar(estado_.Nivel.get());
    if (nivelEntero) {
        estado_.Vista.Mostrar(*vista);
        controles.Camara().Quitar();
        p_.Barra->SetNivelCompleto(nivel->Escena ? nivel->Escena->Contar() : EscenaNivel::Cuentas{},
                                   opciones, vista->Indice);
        p_.Paginas->SetVista(nullptr);
        bucle_.ActualizarTimer();
        p_.Exportar->setEnabled(true);
        bucle_.Redibujar();
        return;
    }
    if (vista && nivel) {
        estado_.Vista.Mostrar(*vista);
        controles.Camara().Mostrar(vista->Centro, vista->Limite);
        // An object has no stored view of its own to start from: it is always framed to fit.
        if (p_.Ver->AjustarAlMostrar() || vista->Clase != Elegido::Mesh)
            controles.Camara().Ajustar(p_.Panel->Ancho(), p_.Panel->Alto());
        p_.Barra->SetVista(vista, *nivel->Nivel,
                           nivel->Texturas ? nivel->Texturas->NumPaginas() : 0);
    } else {
        estado_.Vista.Quitar();
        controles.Camara().Quitar();
        p_.Barra->QuitarVista();
    }
    p_.Paginas->SetVista(vista && nivel ? vista : nullptr);
    bucle_.ActualizarTimer();
    p_.Exportar->setEnabled(estado_.Vista.Mostrado() != nullptr);
    bucle_.Redibujar();
}

void MostradorNivel::MostrarMesh() {
    SoltarObjeto();
    if (estado_.EnNivel()) {
        const QSignalBlocker bloqueo(p_.Arbol);
        p_.Arbol->setCurrentItem(nullptr);
        p_.Controles->Camara().Inicio();
        bucle_.Proyectar();
    }
    const int fila = p_.Lista->currentRow();
    NivelSubido* nivel = estado_.Nivel.get();
    estado_.Seleccionado = nivel ? nivel->Buffer(fila) : nullptr;
    const trMesh* mesh = estado_.Seleccionado ? nivel->Mesh(fila) : nullptr;
    if (!mesh) {
        MostrarEnVista(nullptr);
        return;
    }
    EnVista vista = EnVistaDeMesh(*mesh, fila);
    if (size_t(fila) < estado_.UsosMesh.size())
        vista.Objetos = estado_.UsosMesh[size_t(fila)];
    MostrarEnVista(&vista);
}

void MostradorNivel::MostrarElegido() {
    const std::optional<ArbolObjetos::Eleccion> e = p_.Arbol->Elegido();
    if (!estado_.Nivel || !estado_.Nivel->Meshes || !e)
        return; // a heading, or nothing
    switch (e->Clase) {
    case Elegido::Nivel:
        MostrarNivel(int32_t(e->Indice));
        return;
    case Elegido::Movible:
        MostrarMovible(e->Indice, e->Prestadas, e->Animacion);
        return;
    case Elegido::Estatico:
        if (const std::optional<EnVista> vista = objeto_.Estatico(e->Indice))
            MostrarObjeto(*vista);
        return;
    case Elegido::Mesh: // the mesh list's, not the tree's
    case Elegido::Todo:
    case Elegido::Lara: // the tree's Lara is a moveable wearing her body's meshes
        return;
    }
}

void MostradorNivel::MostrarMovible(int64_t indice, int64_t prestadas, int64_t animacion) {
    if (!objeto_.Movible(indice, prestadas, animacion,
                         [this](const EnVista& vista) { MostrarObjeto(vista); }))
        return;
    bucle_.ActualizarTimer();
    bucle_.Redibujar();
}

void MostradorNivel::MostrarObjeto(const EnVista& vista) {
    SoltarMesh();
    MostrarEnVista(&vista);
}

void MostradorNivel::SoltarMesh() {
    estado_.Seleccionado = nullptr;
    const QSignalBlocker bloqueo(p_.Lista);
    p_.Lista->setCurrentRow(-1);
}

void MostradorNivel::SoltarObjeto() {
    if (!estado_.Objeto)
        return;
    objeto_.Quitar();
    {
        const QSignalBlocker bloqueo(p_.Arbol);
        p_.Arbol->setCurrentItem(nullptr);
    }
    // The object was framed for itself; a mesh starts again from the viewer's own view, turning
    // or paused as the user left it.
    Navegacion& camara = p_.Controles->Camara();
    const bool girando = camara.Girando();
    camara.Inicio();
    camara.SetGiro(girando);
    bucle_.Proyectar();
}

void MostradorNivel::NivelCompleto() {
    QTreeWidgetItem* entrada = p_.Arbol->EntradaNivel();
    if (!entrada)
        return;
    if (p_.Arbol->currentItem() == entrada)
        MostrarNivel(-1);
    else
        p_.Arbol->setCurrentItem(entrada);
}

void MostradorNivel::MostrarNivel(int32_t cuarto) {
    const NivelSubido* nivel = estado_.Nivel.get();
    if (!nivel || !nivel->Escena)
        return;
    const EscenaNivel& escena = *nivel->Escena;
    objeto_.Quitar();
    SoltarMesh();
    const OpcionesNivel opciones = p_.Ver->Opciones();
    const Esfera todo = escena.EsferaNivel(opciones);
    // The whole level opens where a player starts; without a Lara, framed round the rooms that
    // have any light (a room the data leaves black frames nothing one can see).
    Esfera enfoque = escena.EsferaIluminada(opciones);
    std::optional<InicioJugador> inicio;
    if (cuarto >= 0 && cuarto < escena.NumCuartos()) {
        enfoque = escena.EsferaCuarto(cuarto);
    } else {
        cuarto = -1;
        inicio = InicioEnLara(nivel->Objetos, size_t(escena.NumCuartos()), &escena);
    }
    CamaraVuelo& vuelo = p_.Controles->Vuelo();
    if (inicio) {
        vuelo.Situar(VectorDX(inicio->Ojo), inicio->Guinada, inicio->Cabeceo,
                     VectorDX(inicio->Pivote), todo);
        enfoque = {inicio->Pivote.x, inicio->Pivote.y, inicio->Pivote.z, DISTANCIA_DETRAS};
    } else {
        vuelo.Encuadrar(enfoque, todo, p_.Panel->Ancho(), p_.Panel->Alto());
    }
    EnVista vista;
    vista.Clase = Elegido::Nivel;
    vista.Indice = cuarto;
    vista.Centro = {enfoque.X, enfoque.Y, enfoque.Z};
    vista.Limite = enfoque;
    MostrarEnVista(&vista);
}

void MostradorNivel::EncuadrarSector(uint32_t cuarto, uint16_t x, uint16_t z) {
    const NivelSubido* nivel = estado_.Nivel.get();
    if (!nivel || !nivel->Escena || cuarto >= nivel->Logica.Cuartos.size())
        return;
    const trCuartoLogica& c = nivel->Logica.Cuartos[cuarto];
    const size_t s = size_t(x) * c.NumZ + z;
    if (s >= c.Sectores.size())
        return;
    const auto& y = c.Sectores[s].SueloS.Y;
    // Device axes: the level's y negated. A sector and its neighbours fill the view.
    EncuadrarEnNivel({PosicionSector(c.X, float(x) + 0.5f),
                      -float(int64_t{y[0]} + y[1] + y[2] + y[3]) / 4,
                      PosicionSector(c.Z, float(z) + 0.5f), float(LADO_SECTOR)});
}

void MostradorNivel::EncuadrarEnNivel(const Esfera& esfera) {
    if (!estado_.Nivel || !estado_.Nivel->Escena)
        return;
    if (!estado_.EnNivel())
        NivelCompleto();
    if (!estado_.EnNivel())
        return;
    p_.Controles->Vuelo().Encuadrar(esfera, estado_.Nivel->Escena->EsferaNivel(p_.Ver->Opciones()),
                                    p_.Panel->Ancho(), p_.Panel->Alto());
    bucle_.Redibujar();
}

void MostradorNivel::SeguirDestino(const PanelDetalles::Destino& destino) {
    NivelSubido* nivel = estado_.Nivel.get();
    if (!nivel)
        return;
    using T = PanelDetalles::Destino::Tipo;
    const trLogica& l = nivel->Logica;
    const size_t i = size_t(destino.Indice);
    // A marker's place, device axes; about a sector round it fills the view.
    auto encuadrar = [this](int32_t x, int32_t y, int32_t z, float radio) {
        EncuadrarEnNivel({float(x), float(YEnDispositivo(y)), float(z), radio});
    };
    switch (destino.Clase) {
    case T::Item: {
        if (i >= nivel->Objetos.Items.size())
            return;
        const trItem& it = nivel->Objetos.Items[i];
        const int32_t parte =
            nivel->Escena ? nivel->Escena->ParteDe({DuenioCara::Tipo::Item, destino.Indice}) : -1;
        if (parte >= 0)
            EncuadrarEnNivel(nivel->Escena->EsferaParte(parte));
        else
            encuadrar(it.X, it.Y, it.Z, 512); // an item the scene does not draw
        // After the framing: showing the level lets go of what was picked.
        p_.Detalles->ElegirItem(*nivel, destino.Indice);
        p_.Controles->SetParteElegida(p_.Detalles->ParteElegida());
        bucle_.Redibujar();
        break;
    }
    case T::Camara:
        if (i < l.Camaras.size())
            encuadrar(l.Camaras[i].X, l.Camaras[i].Y, l.Camaras[i].Z, LADO_SECTOR);
        break;
    case T::Vuelo:
        if (i < l.Secuencias.size() && !l.Secuencias[i].empty()) {
            const trCamaraVuelo& c = l.CamarasVuelo[l.Secuencias[i].front()];
            encuadrar(c.X, c.Y, c.Z, LADO_SECTOR);
        }
        break;
    case T::Grupo:
        if (!p_.Ver->ElegirSalasAlternas(destino.Indice))
            p_.Barra->showMessage(
                tr("El grupo alterno %1 no tiene salas en este nivel").arg(destino.Indice), 8000);
        break;
    }
}

void MostradorNivel::CambioOpcion() {
    const OpcionesNivel opciones = p_.Ver->Opciones();
    p_.Controles->SetOpciones(opciones);
    const NivelSubido* nivel = estado_.Nivel.get();
    if (estado_.EnNivel() && nivel)
        p_.Barra->SetNivelCompleto(nivel->Escena ? nivel->Escena->Contar() : EscenaNivel::Cuentas{},
                                   opciones, estado_.Vista.Mostrado()->Indice);
    bucle_.Redibujar();
}
