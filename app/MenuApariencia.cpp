#include "MenuApariencia.h"

#include "Ajustes.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

MenuApariencia::MenuApariencia(QMenu* ver, QObject* padre) : QObject(padre) {
    QMenu* luz = ver->addMenu(tr("Iluminación"));
    luz->setObjectName("Iluminacion1");
    luz_ = new QActionGroup(this);
    colores_ = luz->addAction(tr("Colores de los vértices"));
    colores_->setObjectName("ColoresVertices1");
    luzPlena_ = luz->addAction(tr("Luz plena"));
    luzPlena_->setObjectName("LuzPlena1");
    for (QAction* a : {colores_, luzPlena_}) {
        a->setCheckable(true);
        luz_->addAction(a);
    }

    QMenu* fondo = ver->addMenu(tr("Fondo"));
    fondo->setObjectName("Fondo1");
    fondo_ = new QActionGroup(this);
    negro_ = fondo->addAction(tr("Negro"));
    negro_->setObjectName("FondoNegro1");
    gris_ = fondo->addAction(tr("Gris"));
    gris_->setObjectName("FondoGris1");
    blanco_ = fondo->addAction(tr("Blanco"));
    blanco_->setObjectName("FondoBlanco1");
    for (QAction* a : {negro_, gris_, blanco_}) {
        a->setCheckable(true);
        fondo_->addAction(a);
    }

    const QSettings a = Ajustes();
    (a.value("ver/luzPlena", false).toBool() ? luzPlena_ : colores_)->setChecked(true);
    const int f = a.value("ver/fondo", 0).toInt();
    AccionFondo(f == 1 ? Fondo::Gris : f == 2 ? Fondo::Blanco : Fondo::Negro)->setChecked(true);

    connect(luz_, &QActionGroup::triggered, this, &MenuApariencia::Cambio);
    connect(fondo_, &QActionGroup::triggered, this, &MenuApariencia::Cambio);
}

QAction* MenuApariencia::AccionFondo(Fondo f) const {
    return f == Fondo::Gris ? gris_ : f == Fondo::Blanco ? blanco_ : negro_;
}

bool MenuApariencia::LuzPlena() const {
    return luzPlena_->isChecked();
}

MenuApariencia::Fondo MenuApariencia::ColorFondo() const {
    return gris_->isChecked() ? Fondo::Gris : blanco_->isChecked() ? Fondo::Blanco : Fondo::Negro;
}

void MenuApariencia::Componentes(Fondo fondo, int32_t& rojo, int32_t& verde, int32_t& azul) {
    const int32_t v = fondo == Fondo::Gris ? 128 : fondo == Fondo::Blanco ? 255 : 0;
    rojo = verde = azul = v;
}

void MenuApariencia::SetLuzPlena(bool si) {
    (si ? luzPlena_ : colores_)->setChecked(true);
    Cambio();
}

void MenuApariencia::SetFondo(Fondo fondo) {
    AccionFondo(fondo)->setChecked(true);
    Cambio();
}

void MenuApariencia::Cambio() {
    QSettings a = Ajustes();
    a.setValue("ver/luzPlena", LuzPlena());
    a.setValue("ver/fondo", int(ColorFondo()));
    if (AlCambiar)
        AlCambiar();
}
