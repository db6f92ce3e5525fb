#include "PanelSonidos.h"

#include "LeerSonidos.h"
#include "ReproductorSonido.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr int ROL_ID = Qt::UserRole;

} // namespace

PanelSonidos::PanelSonidos(ReproductorSonido* reproductor, QWidget* padre)
    : QDockWidget(tr("Sonidos"), padre), reproductor_(reproductor) {
    setObjectName("PanelSonidos");
    auto* cuerpo = new QWidget(this);
    auto* caja = new QVBoxLayout(cuerpo);
    resumen_ = new QLabel(cuerpo);
    resumen_->setWordWrap(true);
    lista_ = new QListWidget(cuerpo);
    lista_->setObjectName("ListaSonidos");
    caja->addWidget(resumen_);
    caja->addWidget(lista_);
    setWidget(cuerpo);
    // A click plays, and so does Enter on the entry the arrows reach. Activation is left alone:
    // a double click would play the sound twice.
    connect(lista_, &QListWidget::itemClicked, this, &PanelSonidos::Tocar);
    for (const int tecla : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(tecla), lista_, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, [this] { Tocar(lista_->currentItem()); });
    Llenar();
}

void PanelSonidos::Llenar() {
    lista_->clear();
    const trSonidos& s = reproductor_->Sonidos();
    const QLocale local;
    int nombrados = 0;
    for (uint32_t id = 0; id < s.Mapa.size(); ++id) {
        if (s.Mapa[id] < 0)
            continue;
        ++nombrados;
        const int32_t d = DetalleDeSonido(s, id);
        QStringList muestras;
        if (d >= 0)
            for (uint32_t m : MuestrasDeSonido(s, s.Detalles[size_t(d)]))
                muestras << QString::number(m);
        auto* e = new QListWidgetItem(
            muestras.isEmpty() ? tr("Sonido %1 · sin muestras").arg(id)
                               : tr("Sonido %1 · muestras %2").arg(id).arg(muestras.join(", ")),
            lista_);
        e->setData(ROL_ID, id);
        if (muestras.isEmpty())
            e->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    // Samples that cannot be heard are listed after the sounds, each with its reason.
    int legibles = 0;
    for (size_t i = 0; i < s.Muestras.size(); ++i) {
        const trMuestra& m = s.Muestras[i];
        legibles += m.Legible();
        if (m.Legible())
            continue;
        auto* e = new QListWidgetItem(tr("Muestra %1 · no se puede oír").arg(i), lista_);
        e->setToolTip(QString::fromStdString(m.Motivo));
        e->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    resumen_->setText(s.Mapa.empty() && s.Muestras.empty()
                          ? tr("El nivel no tiene sonidos.")
                          : tr("%1 sonidos · %2 muestras (%3 se pueden oír)")
                                .arg(local.toString(nombrados))
                                .arg(local.toString(qulonglong(s.MuestrasDeclaradas)))
                                .arg(local.toString(legibles)));
}

void PanelSonidos::Tocar(QListWidgetItem* entrada) {
    if (!entrada || !entrada->data(ROL_ID).isValid())
        return;
    reproductor_->Sonar(uint16_t(entrada->data(ROL_ID).toUInt()));
}
