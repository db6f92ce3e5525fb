#include "ArchivosRecientes.h"

#include "Ajustes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

ArchivosRecientes::ArchivosRecientes(QMenu* menu, QObject* padre) : QObject(padre) {
    separador_ = menu->addSeparator();
    separador_->setObjectName("SeparadorRecientes");
    for (int i = 0; i < MAXIMO; ++i) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QString("Reciente%1").arg(i));
        connect(a, &QAction::triggered, this, [this, a] { emit Abrir(a->data().toString()); });
        acciones_.push_back(a);
    }
    rutas_ = Ajustes().value("archivos/recientes").toStringList();
    // A list written by hand or by another version may be longer.
    while (rutas_.size() > MAXIMO)
        rutas_.removeLast();
    Actualizar();
}

void ArchivosRecientes::Agregar(const QString& ruta) {
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    rutas_.removeAll(absoluta);
    rutas_.prepend(absoluta);
    while (rutas_.size() > MAXIMO)
        rutas_.removeLast();
    Actualizar();
    Recordar();
}

void ArchivosRecientes::Fallido(const QString& ruta) {
    if (QFileInfo::exists(ruta) || !rutas_.contains(ruta))
        return;
    rutas_.removeAll(ruta);
    Actualizar();
    Recordar();
}

void ArchivosRecientes::Actualizar() {
    for (int i = 0; i < MAXIMO; ++i) {
        QAction* a = acciones_[size_t(i)];
        const bool hay = i < rutas_.size();
        a->setVisible(hay);
        if (!hay)
            continue;
        const QString& ruta = rutas_[i];
        // A file name with an ampersand must not become an accelerator.
        a->setText(QString("&%1 %2").arg(i + 1).arg(QFileInfo(ruta).fileName().replace("&", "&&")));
        a->setData(ruta);
        a->setToolTip(QDir::toNativeSeparators(ruta));
        a->setStatusTip(QDir::toNativeSeparators(ruta));
    }
    // Without recent files the menu is just Abrir and Salir.
    separador_->setVisible(!rutas_.isEmpty());
}

void ArchivosRecientes::Recordar() const {
    Ajustes().setValue("archivos/recientes", rutas_);
}
