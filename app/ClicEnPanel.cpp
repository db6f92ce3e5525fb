#include "ClicEnPanel.h"

#include "BucleDibujo.h"
#include "ControlesVista.h"
#include "EstadoVentana.h"
#include "MenuVer.h"
#include "PanelDetalles.h"
#include "PanelGL.h"
#include "SitioDocks.h"

#include <algorithm>

bool ClicEnPanel::Elegir(float x, float y) {
    const EnVista* mostrado = estado_.Vista.Mostrado();
    NivelSubido* nivel = estado_.Nivel.get();
    if (!nivel || !mostrado)
        return false;
    ControlesVista& controles = *p_.Controles;
    PanelDetalles& detalles = *p_.Detalles;
    const int ancho = std::max(1, p_.Panel->width()), alto = std::max(1, p_.Panel->height());
    bool elegido = false;
    dxDevice8* d = bucle_.Dispositivo();
    if (estado_.EnNivel()) {
        // The camera of the frame on show; the level answers a click even where nothing draws.
        D3DXMATRIX vista, proyeccion;
        controles.Vuelo().Matrices(ancho, alto, vista, proyeccion);
        elegido = detalles.ElegirEnNivel(*nivel, vista, proyeccion, x, y, ancho, alto,
                                         p_.Ver->Opciones());
    } else if (d && estado_.Objeto && controles.Camara().HayObjetivo() && nivel->Meshes) {
        // An object's meshes.
        (void)controles.Camara().Aplicar(*d, p_.Panel->Ancho(), p_.Panel->Alto());
        const QString nombre =
            (mostrado->Clase == Elegido::Movible ? tr("Movible %1") : tr("Estático %1"))
                .arg(mostrado->Indice);
        elegido =
            detalles.ElegirEnObjeto(*nivel, *estado_.Objeto, controles.Camara().Angulo(), nombre,
                                    d->GetVista(), d->GetProyeccion(), x, y, ancho, alto);
    }
    controles.SetParteElegida(detalles.ParteElegida());
    if (elegido && estado_.EnNivel())
        p_.Docks->Abrir(&detalles);
    return elegido;
}
