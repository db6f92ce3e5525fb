#include "PanelDisparadores.h"

#include "LeerSectores.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

bool EsDeMapa(uint8_t accion) {
    return accion == uint8_t(trTipoAccion::MapaAlterno) ||
           accion == uint8_t(trTipoAccion::AlternoEncendido) ||
           accion == uint8_t(trTipoAccion::AlternoApagado);
}

} // namespace

PanelDisparadores::PanelDisparadores(QWidget* padre) : QDockWidget(tr("Disparadores"), padre) {
    setObjectName("PanelDisparadores");
    auto* cuerpo = new QWidget(this);
    auto* columna = new QVBoxLayout(cuerpo);
    columna->setContentsMargins(2, 2, 2, 2);
    auto* filtros = new QHBoxLayout;
    tipo_ = new QComboBox(cuerpo);
    tipo_->setObjectName("FiltroTipo");
    tipo_->addItem(tr("Todos los tipos"), -1);
    for (int t = 0; t < NUM_TIPOS_DISPARADOR; ++t)
        tipo_->addItem(QString::fromUtf8(NombreDisparador(uint8_t(t))), t);
    accion_ = new QComboBox(cuerpo);
    accion_->setObjectName("FiltroAccion");
    accion_->addItem(tr("Todas las acciones"), -1);
    accion_->addItem(tr("Mapas alternos"), FILTRO_MAPAS);
    for (int a = 0; a < NUM_TIPOS_ACCION; ++a)
        accion_->addItem(QString::fromUtf8(NombreAccion(uint8_t(a))), a);
    filtros->addWidget(tipo_);
    filtros->addWidget(accion_);
    columna->addLayout(filtros);
    lista_ = new QTreeWidget(cuerpo);
    lista_->setObjectName("ListaDisparadores");
    lista_->setColumnCount(4);
    lista_->setHeaderLabels({tr("Cuarto"), tr("Sector"), tr("Tipo"), tr("Acciones")});
    lista_->setRootIsDecorated(false);
    lista_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    columna->addWidget(lista_);
    setWidget(cuerpo);
    connect(tipo_, &QComboBox::currentIndexChanged, this, [this] { Llenar(); });
    connect(accion_, &QComboBox::currentIndexChanged, this, [this] { Llenar(); });
    connect(lista_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* fila) {
        if (!fila || !logica_ || !AlElegir)
            return;
        const int i = fila->data(0, Qt::UserRole).toInt();
        if (i >= 0 && size_t(i) < logica_->Disparadores.size())
            AlElegir(logica_->Disparadores[size_t(i)]);
    });
}

void PanelDisparadores::SetLogica(const trLogica* logica) {
    logica_ = logica;
    Llenar();
}

void PanelDisparadores::Filtrar(int tipo, int accion) {
    tipo_->setCurrentIndex(std::max(0, tipo_->findData(tipo)));
    accion_->setCurrentIndex(std::max(0, accion_->findData(accion)));
}

int PanelDisparadores::IndiceDeFila(int fila) const {
    const QTreeWidgetItem* item = lista_->topLevelItem(fila);
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void PanelDisparadores::Llenar() {
    const QSignalBlocker bloqueo(lista_);
    lista_->clear();
    if (!logica_)
        return;
    const int tipo = tipo_->currentData().toInt(), accion = accion_->currentData().toInt();
    QList<QTreeWidgetItem*> filas;
    for (size_t i = 0; i < logica_->Disparadores.size(); ++i) {
        const trDisparador& d = logica_->Disparadores[i];
        if (tipo >= 0 && d.Tipo != tipo)
            continue;
        if (accion != -1) {
            bool tiene = false;
            for (const trAccion& a : d.Acciones)
                tiene = tiene || (accion == FILTRO_MAPAS ? EsDeMapa(a.Tipo) : a.Tipo == accion);
            if (!tiene)
                continue;
        }
        // "type, timer, mask: actions": the actions are what follows the first colon.
        const QString texto = QString::fromStdString(TextoDisparador(d));
        const qsizetype dospuntos = texto.indexOf(QStringLiteral(": "));
        auto* fila = new QTreeWidgetItem(
            {QString::number(d.Cuarto), tr("x %1, z %2").arg(d.X).arg(d.Z),
             QString::fromUtf8(NombreDisparador(d.Tipo)),
             dospuntos < 0 ? QString() : texto.mid(dospuntos + 2)});
        fila->setToolTip(3, texto);
        fila->setData(0, Qt::UserRole, int(i));
        filas << fila;
    }
    lista_->addTopLevelItems(filas);
}
