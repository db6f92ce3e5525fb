#include "AnimarNivel.h"

#include "Ajustes.h"
#include "NivelSubido.h"
#include "PoseMovible.h"

#include <QAction>
#include <QMenu>

AnimarNivel::AnimarNivel(QMenu* ver, QObject* padre) : QObject(padre) {
    accion_ = ver->addAction(tr("Animar"));
    accion_->setObjectName("Animar1");
    accion_->setCheckable(true);
    accion_->setChecked(Ajustes().value("ver/animar", false).toBool());
    connect(accion_, &QAction::toggled, this, [this](bool si) {
        Ajustes().setValue("ver/animar", si);
        reloj_.invalidate();
        if (AlCambiar)
            AlCambiar();
    });
}

bool AnimarNivel::Activo() const {
    return accion_->isChecked();
}

void AnimarNivel::SetActivo(bool si) {
    accion_->setChecked(si);
}

void AnimarNivel::Aplicar(NivelSubido& nivel) {
    if (!nivel.Escena || !nivel.Dibujo)
        return;
    const EscenaNivel& escena = *nivel.Escena;
    DibujoEscena& dibujo = *nivel.Dibujo;
    // A frame the device refuses keeps the pose it had; the next tick tries again.
    if (!Activo()) {
        if (escena.Animada())
            (void)dibujo.Detener();
        return;
    }
    if (!reloj_.isValid())
        reloj_.start();
    (void)dibujo.Animar(nivel, double(reloj_.elapsed()) / 1000.0 * CUADROS_POR_SEGUNDO);
}
