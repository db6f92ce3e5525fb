#include "MenuVer.h"

#include "Ajustes.h"
#include "AnimarNivel.h"
#include "ControlesVista.h"
#include "MenuApariencia.h"

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

MenuVer::MenuVer(QMenuBar* barra, ControlesVista* controles, QRadioButton* texturizado,
                 QRadioButton* alambre, QDockWidget* detalles, QDockWidget* paginas,
                 QDockWidget* sonidos, QObject* padre)
    : QObject(padre), ver_(barra->addMenu(tr("Ver"))), texturizado_(texturizado),
      alambreBoton_(alambre) {
    ver_->setObjectName("Ver1");
    // The keys belong to the panel (the list and the radio buttons keep theirs), so the menu
    // names them without taking them from the rest of the window.
    QAction* encuadrar =
        ver_->addAction(tr("Ajustar a la vista\tF"), this, [controles] { controles->Encuadrar(); });
    encuadrar->setObjectName("Encuadrar1");
    pausar_ = ver_->addAction(tr("Pausar el giro\tEspacio"), this,
                              [controles] { controles->AlternarGiro(); });
    pausar_->setObjectName("Pausar1");
    pausar_->setCheckable(true);
    QAction* inicio = ver_->addAction(tr("Vista inicial\tInicio"), this,
                                      [controles] { controles->VistaInicial(); });
    inicio->setObjectName("Inicio1");
    ver_->addSeparator();
    QAction* nivel =
        ver_->addAction(tr("Nivel completo"), this, [this] { Avisar(AlNivelCompleto); });
    nivel->setObjectName("NivelCompleto1");
    const QSettings a = Ajustes();
    auto conmutador = [&](const QString& texto, const char* nombre, const char* clave, bool valor) {
        QAction* accion = ver_->addAction(texto);
        accion->setObjectName(nombre);
        accion->setCheckable(true);
        accion->setChecked(a.value(clave, valor).toBool());
        connect(accion, &QAction::toggled, this, [this, clave](bool si) {
            Ajustes().setValue(clave, si);
            Avisar(AlCambiarOpcion);
        });
        return accion;
    };
    estaticos_ = conmutador(tr("Estáticos"), "Estaticos1", "ver/estaticos", true);
    items_ = conmutador(tr("Items"), "Items1", "ver/items", true);
    alternos_ = conmutador(tr("Cuartos alternos"), "Alternos1", "ver/alternos", false);
    disparadores_ = conmutador(tr("Disparadores"), "Disparadores1", "ver/disparadores", false);
    marcadores_ = conmutador(tr("Marcadores"), "Marcadores1", "ver/marcadores", false);
    animar_ = new AnimarNivel(ver_, this);
    // The render mode's other face: one choice, shown in both places.
    alambre_ = ver_->addAction(tr("Alambre"));
    alambre_->setObjectName("Alambre1");
    alambre_->setCheckable(true);
    connect(alambre_, &QAction::toggled, this,
            [this](bool si) { (si ? alambreBoton_ : texturizado_)->setChecked(true); });
    connect(alambreBoton_, &QRadioButton::toggled, this, [this](bool si) {
        const QSignalBlocker silencio(alambre_);
        alambre_->setChecked(si);
    });
    ver_->addSeparator();
    ajustarAlMostrar_ = ver_->addAction(tr("Ajustar al mostrar"));
    ajustarAlMostrar_->setObjectName("AjustarAlMostrar1");
    ajustarAlMostrar_->setCheckable(true);
    ajustarAlMostrar_->setChecked(a.value("ver/ajustarAlMostrar", false).toBool());
    connect(ajustarAlMostrar_, &QAction::toggled, this,
            [](bool si) { Ajustes().setValue("ver/ajustarAlMostrar", si); });
    // The sounds an animation's commands play at their frames.
    sonido_ = ver_->addAction(tr("Sonido"));
    sonido_->setObjectName("Sonido1");
    sonido_->setCheckable(true);
    sonido_->setChecked(a.value("ver/sonido", true).toBool());
    connect(sonido_, &QAction::toggled, this, [this](bool si) {
        Ajustes().setValue("ver/sonido", si);
        if (AlCambiarSonido)
            AlCambiarSonido(si);
    });
    ver_->addSeparator();
    apariencia_ = new MenuApariencia(ver_, this);
    apariencia_->AlCambiar = [this] {
        Avisar(AlCambiarFondo);
        Avisar(AlCambiarOpcion);
    };
    ver_->addSeparator();
    QAction* verDetalles = detalles->toggleViewAction();
    verDetalles->setObjectName("Detalles1");
    verDetalles->setText(tr("Detalles"));
    ver_->addAction(verDetalles);
    QAction* verSonidos = sonidos->toggleViewAction();
    verSonidos->setObjectName("Sonidos1");
    verSonidos->setText(tr("Sonidos"));
    ver_->addAction(verSonidos);
    // Last, where the whole-window test looks for it.
    QAction* verPaginas = paginas->toggleViewAction();
    verPaginas->setObjectName("Paginas1");
    verPaginas->setText(tr("Páginas de textura"));
    ver_->addAction(verPaginas);
}

void MenuVer::AgregarPanel(QAction* accion) {
    QAction* antes = nullptr;
    for (QAction* a : ver_->actions())
        if (a->objectName() == QLatin1String("Paginas1"))
            antes = a;
    ver_->insertAction(antes, accion);
}

OpcionesNivel MenuVer::Opciones() const {
    OpcionesNivel o;
    o.Estaticos = estaticos_->isChecked();
    o.Items = items_->isChecked();
    o.Alternos = alternos_->isChecked();
    o.Disparadores = disparadores_->isChecked();
    o.Marcadores = marcadores_->isChecked();
    o.Texturizado = texturizado_->isChecked();
    o.Alambre = alambreBoton_->isChecked();
    o.LuzPlena = apariencia_->LuzPlena();
    return o;
}

bool MenuVer::Sonido() const {
    return sonido_->isChecked();
}

bool MenuVer::AjustarAlMostrar() const {
    return ajustarAlMostrar_->isChecked();
}

void MenuVer::SetPausado(bool si) {
    pausar_->setChecked(si);
}

void MenuVer::Guardar(QSettings& a) const {
    a.setValue("ver/ajustarAlMostrar", ajustarAlMostrar_->isChecked());
    a.setValue("ver/estaticos", estaticos_->isChecked());
    a.setValue("ver/items", items_->isChecked());
    a.setValue("ver/alternos", alternos_->isChecked());
    a.setValue("ver/animar", animar_->Activo());
    a.setValue("ver/sonido", sonido_->isChecked());
}
