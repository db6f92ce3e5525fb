#include "BucleDibujo.h"

#include "AnimarNivel.h"
#include "BarraAnimacion.h"
#include "BarraEstado.h"
#include "ControlesVista.h"
#include "DibujoEnsamblaje.h"
#include "Encuadre.h"
#include "EstadoVentana.h"
#include "MenuApariencia.h"
#include "MenuVer.h"
#include "PanelDetalles.h"
#include "PanelGL.h"
#include "dxBufferTextura.h"

#include <QRadioButton>
#include <QTimer>

void BucleDibujo::LiberarTextura::operator()(IDirect3DTexture8* t) const {
    t->Release();
}

BucleDibujo::BucleDibujo(const Partes& partes, EstadoVentana& estado)
    : p_(partes), estado_(estado) {}

BucleDibujo::~BucleDibujo() {
    Soltar();
}

QString BucleDibujo::Iniciar() {
    const Hecho panel = p_.Panel->Iniciar();
    std::string motivo = panel.Motivo();
    // Either failing leaves no device, which Dispositivo() below reports.
    (void)d3d_.IniciarD3D();
    (void)d3d_.CrearDispositivo(p_.Panel, 1, dispositivo_);
    if (dxDevice8* d = Dispositivo()) {
        AplicarFondo();
        Proyectar();
        texturaInicio_.reset(d->TexturaDeArchivo("Solido.bmp"));
        (void)d->SetOjo(0, 0, 500);
        (void)d->SetObjetivo(0, 0, 0);
        return {};
    }
    if (panel)
        motivo =
            tr("el dispositivo de dibujo no se pudo crear (hace falta OpenGL 3.3)").toStdString();
    return tr("No se puede dibujar: %1.\nLos niveles se abren y se listan, pero "
              "el panel no mostrará nada.")
        .arg(QString::fromStdString(motivo));
}

dxDevice8* BucleDibujo::Dispositivo() const {
    return dispositivo_ && dispositivo_->GetDispositivo() ? dispositivo_.get() : nullptr;
}

void BucleDibujo::Soltar() {
    texturaInicio_.reset();
    dispositivo_.reset();
}

void BucleDibujo::Proyectar() {
    if (dxDevice8* d = Dispositivo())
        (void)SetProyeccionVisor(*d, p_.Panel->Ancho(), p_.Panel->Alto());
}

void BucleDibujo::AplicarFondo() {
    int32_t rojo = 0, verde = 0, azul = 0;
    MenuApariencia::Componentes(p_.Ver->Apariencia()->ColorFondo(), rojo, verde, azul);
    if (dispositivo_)
        (void)dispositivo_->SetColorFondo(rojo, verde, azul);
}

void BucleDibujo::Dibujar() {
    ControlesVista& controles = *p_.Controles;
    PanelGL& panel = *p_.Panel;
    const NivelSubido* nivel = estado_.Nivel.get();
    controles.Avanzar();
    dxDevice8* d = Dispositivo();
    if (estado_.EnNivel()) {
        if (!d || !panel.isExposed() || !nivel || !nivel->Dibujo) {
            ContarCuadro(false);
            return;
        }
        // A frame the device fails is drawn again at the next tick; the panel has no other word.
        (void)controles.Vuelo().Aplicar(*d, panel.Ancho(), panel.Alto());
        p_.Ver->Animar()->Aplicar(*estado_.Nivel);
        (void)d->Limpiar(1);
        const OpcionesNivel opciones = p_.Ver->Opciones();
        (void)nivel->Dibujo->TenirAgua(opciones.AguaTenida);
        (void)nivel->Dibujo->Dibujar(*d, opciones);
        if (opciones.Disparadores && nivel->Capa)
            (void)nivel->Capa->Dibujar(*d, opciones);
        if (opciones.Marcadores && nivel->Marcadores)
            (void)nivel->Marcadores->Dibujar(*d);
        (void)d->Presentar();
        ContarCuadro(controles.Anda() || p_.Ver->Animar()->Activo());
        return;
    }
    if (!d || !panel.isExposed()) {
        ContarCuadro(false);
        return;
    }
    const bool texturizado = p_.Texturizado->isChecked(), alambre = p_.Alambre->isChecked();
    Navegacion& camara = controles.Camara();
    if (estado_.Objeto && nivel && nivel->Meshes) {
        Ensamblaje& objeto = *estado_.Objeto;
        if (p_.Animacion->Posar(pose_))
            AplicarPose(objeto, pose_);
        (void)camara.Aplicar(*d, panel.Ancho(), panel.Alto());
        // The mesh a click picked is outlined while the dock tells of it.
        (void)DibujarEnsamblaje(*d, objeto, nivel->Buffers, camara.Angulo(), texturizado, alambre,
                                p_.Detalles->isVisible() ? p_.Detalles->PiezaElegida() : -1);
        ContarCuadro(camara.Girando() || p_.Animacion->Anda());
        return;
    }
    if (estado_.Seleccionado)
        (void)camara.Aplicar(*d, panel.Ancho(), panel.Alto());
    (void)DibujarCuadro(*d, estado_.Seleccionado, camara.Angulo(), texturizado, alambre);
    ContarCuadro(estado_.Seleccionado && camara.Girando());
}

void BucleDibujo::ContarCuadro(bool dibujado) {
    p_.Barra->ContarCuadro(dibujado && p_.Reloj->isActive());
}

void BucleDibujo::ActualizarTimer() {
    const bool enPantalla = p_.Ventana->isVisible() && !p_.Ventana->isMinimized();
    const bool enNivel = estado_.EnNivel();
    const bool anda = p_.Controles->Anda() || (enNivel && p_.Ver->Animar()->Activo()) ||
                      (!enNivel && estado_.Objeto && p_.Animacion->Anda());
    if (enPantalla && anda) {
        if (!p_.Reloj->isActive())
            p_.Reloj->start();
    } else {
        p_.Reloj->stop();
        p_.Barra->ContarCuadro(false);
    }
}

void BucleDibujo::Redibujar() {
    // While the timer runs the next frame shows the change; drawing now too would turn faster.
    if (!p_.Reloj->isActive() && p_.Ventana->isVisible())
        Dibujar();
}
