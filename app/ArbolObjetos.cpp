#include "ArbolObjetos.h"
#include "TablaNombres.h"

#include "ArmarElegido.h"
#include "NivelAbierto.h"
#include "PoseMovible.h"

#include <QHeaderView>
#include <QLocale>

namespace {

constexpr int ROL_CLASE = Qt::UserRole, ROL_INDICE = Qt::UserRole + 1,
              ROL_ANIMACION = Qt::UserRole + 2, ROL_PRESTADAS = Qt::UserRole + 3;

QTreeWidgetItem* Entrada(QTreeWidgetItem* padre, const QString& texto, Elegido clase,
                         qlonglong indice) {
    auto* e = new QTreeWidgetItem(padre, {texto});
    e->setData(0, ROL_CLASE, int(clase));
    e->setData(0, ROL_INDICE, indice);
    return e;
}

} // namespace

ArbolObjetos::ArbolObjetos(QWidget* padre) : QTreeWidget(padre) {
    setHeaderLabel(tr("Objetos"));
    setRootIsDecorated(true);
    setIndentation(12); // room for "Movible 457 · 18 meshes" in the narrow column
    // An entry longer than the column scrolls into view rather than being cut short with "...".
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
}

void ArbolObjetos::AgregarAnimaciones(QTreeWidgetItem* padre, const NivelAbierto& nivel,
                                      size_t movible, int64_t prestadas) {
    const trMovible& m = nivel.Objetos.Movibles[movible];
    if (m.NumAnimaciones == 0)
        return;
    auto* grupo = new QTreeWidgetItem(padre, {tr("Animaciones (%1)").arg(m.NumAnimaciones)});
    const QLocale local;
    for (uint32_t i = m.Animacion; i < m.Animacion + m.NumAnimaciones; ++i) {
        const trAnimacion& a = nivel.Objetos.Animaciones.Animaciones[i];
        QTreeWidgetItem* e;
        if (a.Jugable()) {
            const uint32_t cuadros = a.Duracion() + 1;
            e = Entrada(grupo,
                        tr("%1 · %2 claves · %3 cuadros · %4 s · estado %5")
                            .arg(i)
                            .arg(a.Claves)
                            .arg(cuadros)
                            .arg(local.toString(cuadros / CUADROS_POR_SEGUNDO, 'f', 2))
                            .arg(a.Estado),
                        ::Elegido::Movible, qulonglong(movible));
            e->setData(0, ROL_ANIMACION, qlonglong(i));
            e->setData(0, ROL_PRESTADAS, qlonglong(prestadas));
        } else {
            // Listed, not played: the reason says why.
            e = new QTreeWidgetItem(grupo, {tr("%1 · no se puede ver").arg(i)});
            e->setForeground(0, palette().color(QPalette::Disabled, QPalette::Text));
        }
        QString ayuda = a.Jugable() ? e->text(0) : QString::fromStdString(TextoMotivo(a.Motivo));
        // Played all the same; going on from it loops it instead.
        if (a.Jugable() && a.SiguienteRoto())
            ayuda += tr("\nSe repite: %1").arg(QString::fromStdString(TextoMotivo(a.Enlace)));
        e->setToolTip(0, ayuda);
    }
}

ArbolObjetos::Usos ArbolObjetos::Llenar(const NivelAbierto* nivel) {
    const QSignalBlocker bloqueo(this);
    clear();
    entradaNivel_ = nullptr;
    Usos usos;
    if (!nivel)
        return usos;
    // A level of meshes alone (as tests and samples write them) has nothing to show whole.
    if (nivel->Escena && nivel->Escena->NumCuartos() > 0) {
        entradaNivel_ = new QTreeWidgetItem(this, {tr("Nivel")});
        entradaNivel_->setData(0, ROL_CLASE, int(::Elegido::Nivel));
        entradaNivel_->setData(0, ROL_INDICE, -1);
        const int32_t n = nivel->Escena->NumCuartos();
        auto* cuartos = new QTreeWidgetItem(entradaNivel_, {tr("Cuartos (%1)").arg(n)});
        for (int32_t i = 0; i < n; ++i)
            Entrada(cuartos, tr("Cuarto %1").arg(i), ::Elegido::Nivel, i);
    }
    const trObjetos& objetos = nivel->Objetos;
    // Lara as the game draws her, when the level holds both her skeleton and her body.
    int64_t esqueleto = -1, cuerpo = -1;
    for (size_t i = 0; i < objetos.Movibles.size(); ++i) {
        if (objetos.Movibles[i].Id == ID_LARA && esqueleto < 0)
            esqueleto = int64_t(i);
        if (objetos.Movibles[i].Id == objetos.CuerpoLara && cuerpo < 0)
            cuerpo = int64_t(i);
    }
    if (esqueleto >= 0 && cuerpo >= 0 && esqueleto != cuerpo) {
        bool prestadas = false;
        ConMeshesDe(objetos.Movibles[size_t(esqueleto)], objetos.Movibles[size_t(cuerpo)],
                    &prestadas);
        if (prestadas) {
            auto* lara = new QTreeWidgetItem(this, {tr("Lara")});
            lara->setData(0, ROL_CLASE, int(::Elegido::Movible));
            lara->setData(0, ROL_INDICE, qlonglong(esqueleto));
            lara->setData(0, ROL_PRESTADAS, qlonglong(objetos.CuerpoLara));
            lara->setToolTip(0, tr("Las animaciones del movible %1 con las meshes del movible %2")
                                    .arg(ID_LARA)
                                    .arg(objetos.CuerpoLara));
            AgregarAnimaciones(lara, *nivel, size_t(esqueleto), objetos.CuerpoLara);
        }
    }
    auto* movibles =
        new QTreeWidgetItem(this, {tr("Movibles (%1)").arg(objetos.Movibles.size())});
    auto* estaticos =
        new QTreeWidgetItem(this, {tr("Estáticos (%1)").arg(objetos.Estaticos.size())});
    usos.Textos.resize(size_t(std::max(0, nivel->Cantidad())));
    usos.Ids.resize(usos.Textos.size());
    auto usar = [&](int32_t mesh, const QString& quien, int32_t id) {
        if (mesh < 0 || size_t(mesh) >= usos.Textos.size())
            return;
        usos.Textos[size_t(mesh)] << quien;
        // Once per object, however many of its meshes this one is.
        auto& ids = usos.Ids[size_t(mesh)];
        if (ids.empty() || ids.back() != id)
            ids.push_back(id);
    };
    // The game's table of names, where it has one, follows the id.
    const TablaNombres& nombres = NombresDeJuego(objetos.Juego);
    auto conNombre = [](QString texto, const std::string& nombre) {
        return nombre.empty() ? texto : texto + QStringLiteral(" · ") + QString::fromStdString(nombre);
    };
    for (size_t i = 0; i < objetos.Movibles.size(); ++i) {
        const trMovible& m = objetos.Movibles[i];
        auto* e = Entrada(movibles,
                          conNombre(m.NumMeshes == 1
                                        ? tr("Movible %1 · 1 mesh").arg(m.Id)
                                        : tr("Movible %1 · %2 meshes").arg(m.Id).arg(m.NumMeshes),
                                    nombres.Movible(m.Id)),
                          ::Elegido::Movible, qulonglong(i));
        AgregarAnimaciones(e, *nivel, i, -1);
        for (size_t k = 0; k < m.Meshes.size(); ++k)
            usar(m.Meshes[k], tr("Movible %1, mesh %2 de %3").arg(m.Id).arg(k).arg(m.NumMeshes),
                 int32_t(m.Id));
    }
    for (size_t i = 0; i < objetos.Estaticos.size(); ++i) {
        const trEstatico& s = objetos.Estaticos[i];
        Entrada(estaticos, conNombre(tr("Estático %1").arg(s.Id), nombres.Estatico(s.Id)),
                ::Elegido::Estatico, qulonglong(i));
        usar(s.Mesh, tr("Estático %1").arg(s.Id), int32_t(s.Id));
    }
    return usos;
}

std::optional<ArbolObjetos::Eleccion> ArbolObjetos::Elegido() const {
    const QTreeWidgetItem* e = currentItem();
    if (!e || !e->data(0, ROL_CLASE).isValid())
        return {};
    Eleccion r;
    r.Clase = ::Elegido(e->data(0, ROL_CLASE).toInt());
    r.Indice = e->data(0, ROL_INDICE).toLongLong();
    if (e->data(0, ROL_ANIMACION).isValid())
        r.Animacion = e->data(0, ROL_ANIMACION).toLongLong();
    if (e->data(0, ROL_PRESTADAS).isValid())
        r.Prestadas = e->data(0, ROL_PRESTADAS).toLongLong();
    return r;
}

QTreeWidgetItem* ArbolObjetos::EntradaMovible(int64_t indice, int64_t prestadas) const {
    for (QTreeWidgetItemIterator it(const_cast<ArbolObjetos*>(this)); *it; ++it) {
        const QTreeWidgetItem* e = *it;
        if (e->data(0, ROL_CLASE).toInt() == int(::Elegido::Movible) &&
            e->data(0, ROL_INDICE).toLongLong() == indice && !e->data(0, ROL_ANIMACION).isValid() &&
            (e->data(0, ROL_PRESTADAS).isValid() ? e->data(0, ROL_PRESTADAS).toLongLong() : -1) ==
                prestadas)
            return *it;
    }
    return nullptr;
}
