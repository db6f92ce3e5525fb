#include "SitioDocks.h"

#include <QAction>
#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>

SitioDocks::SitioDocks(QMainWindow* ventana) : QObject(ventana), ventana_(ventana) {
    antes_ = ventana_->width();
    ventana_->installEventFilter(this);
}

bool SitioDocks::eventFilter(QObject* objeto, QEvent* evento) {
    // The width without docks, as the user leaves it: laid out with a dock in, the window's
    // least width may widen it before the dock's room is made.
    if (objeto == ventana_ && evento->type() == QEvent::Resize && !OtroAbierto(nullptr))
        antes_ = static_cast<QResizeEvent*>(evento)->size().width();
    return QObject::eventFilter(objeto, evento);
}

void SitioDocks::Agregar(QDockWidget* dock) {
    docks_.push_back(dock);
    // Only what the user does: a dock the window restores open already has its room.
    connect(dock->toggleViewAction(), &QAction::triggered, this,
            [this, dock](bool abierto) { Cambio(dock, abierto); });
}

void SitioDocks::Abrir(QDockWidget* dock) {
    if (!dock->isHidden())
        return;
    dock->show();
    Cambio(dock, true);
}

QDockWidget* SitioDocks::OtroAbierto(const QDockWidget* dock) const {
    for (QDockWidget* d : docks_)
        if (d != dock && !d->isHidden() && !d->isFloating() &&
            ventana_->dockWidgetArea(d) == Qt::RightDockWidgetArea)
            return d;
    return nullptr;
}

void SitioDocks::Cambio(QDockWidget* dock, bool abierto) {
    if (dock->isFloating() || ventana_->isMaximized() || ventana_->isFullScreen())
        return;
    // Once the window's layout has taken the dock in (or out).
    QTimer::singleShot(0, this, [this, dock, abierto] {
        // The column is there while another dock shows in it; it goes with the last. A dock
        // opened beside another shares its place as a tab: stacked, each was a thin strip.
        if (QDockWidget* otro = OtroAbierto(dock)) {
            if (abierto && !dock->isHidden() && !ventana_->tabifiedDockWidgets(otro).contains(dock)) {
                ventana_->tabifyDockWidget(otro, dock);
                dock->raise();
            }
            return;
        }
        // The window's least width as it stands now, with the dock in or out.
        ventana_->layout()->invalidate();
        ventana_->layout()->activate();
        if (!abierto) {
            // The window as wide as before the dock opened: what it took, and what its least
            // width with the dock in took beyond that.
            const int devuelto = ventana_->width() - antes_;
            if (tomado_ > 0 && devuelto > 0)
                ventana_->resize(ventana_->width() - devuelto, ventana_->height());
            tomado_ = 0;
            return;
        }
        if (tomado_ > 0 || dock->isHidden())
            return;
        const int ancho = dock->sizeHint().width();
        const QRect pantalla = ventana_->screen()->availableGeometry();
        const QRect marco = ventana_->frameGeometry();
        const int derecha = std::max(0, pantalla.right() - marco.right());
        const int izquierda = std::max(0, marco.left() - pantalla.left());
        int crece = std::min(ancho + dock->style()->pixelMetric(
                                         QStyle::PM_DockWidgetSeparatorExtent, nullptr, ventana_),
                             derecha + izquierda);
        if (crece > derecha)
            ventana_->move(ventana_->x() - (crece - derecha), ventana_->y());
        tomado_ = crece;
        ventana_->resize(std::max(ventana_->width(), antes_ + crece), ventana_->height());
        ventana_->resizeDocks({dock}, {ancho}, Qt::Horizontal);
    });
}
