#include "MenuVer.h"

#include "Ajustes.h"
#include "AnimarNivel.h"
#include "ControlesVista.h"
#include "MenuApariencia.h"

#include <QActionGroup>
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
    // One choice among none, every group and each group of the open level. What an older
    // version remembered (every alternate room or none) is read when nothing newer was.
    menuSalas_ = ver_->addMenu(tr("Salas alternas"));
    menuSalas_->setObjectName("SalasAlternas1");
    grupoSalas_ = new QActionGroup(this);
    grupoSalas_->setExclusive(true);
    salas_ = a.contains("ver/salasAlternas")
                 ? a.value("ver/salasAlternas").toInt()
                 : (a.value("ver/alternos", false).toBool() ? TODAS : NINGUNA);
    if (salas_ < TODAS || salas_ > 255)
        salas_ = NINGUNA;
    auto entrada = [&](const QString& texto, const QString& nombre, int valor) {
        QAction* accion = menuSalas_->addAction(texto);
        accion->setObjectName(nombre);
        accion->setCheckable(true);
        accion->setData(valor);
        grupoSalas_->addAction(accion);
        return accion;
    };
    ninguna_ = entrada(tr("Ninguna"), "SalasNinguna1", NINGUNA);
    todas_ = entrada(tr("Todas"), "SalasTodas1", TODAS);
    menuSalas_->addSeparator();
    (salas_ == TODAS ? todas_ : ninguna_)->setChecked(true);
    connect(grupoSalas_, &QActionGroup::triggered, this, [this](QAction* accion) {
        salas_ = accion->data().toInt();
        Ajustes().setValue("ver/salasAlternas", salas_);
        Avisar(AlCambiarOpcion);
    });
    aguaTenida_ = conmutador(tr("Teñir el agua"), "AguaTenida1", "ver/aguaTenida", false);
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

void MenuVer::SetGruposAlternos(const std::vector<uint8_t>& grupos) {
    for (QAction* a : grupoSalas_->actions())
        if (a != ninguna_ && a != todas_) {
            grupoSalas_->removeAction(a);
            delete a;
        }
    QAction* elegida = salas_ == TODAS ? todas_ : ninguna_;
    for (uint8_t g : grupos) {
        QAction* accion = menuSalas_->addAction(tr("Grupo %1").arg(g));
        accion->setObjectName(QStringLiteral("SalasGrupo%1").arg(g));
        accion->setCheckable(true);
        accion->setData(int(g));
        grupoSalas_->addAction(accion);
        if (salas_ == int(g))
            elegida = accion;
    }
    elegida->setChecked(true);
}

bool MenuVer::ElegirSalasAlternas(int grupo) {
    for (QAction* a : grupoSalas_->actions())
        if (a->data().toInt() == grupo) {
            if (!a->isChecked())
                a->trigger();
            return true;
        }
    return false;
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
    const QAction* salas = grupoSalas_->checkedAction();
    const int eleccion = salas ? salas->data().toInt() : NINGUNA;
    o.Alternos = eleccion == TODAS;
    o.GrupoAlterno = int16_t(eleccion >= 0 ? eleccion : -1);
    o.AguaTenida = aguaTenida_->isChecked();
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
    a.setValue("ver/salasAlternas", salas_);
    a.setValue("ver/alternos", salas_ == TODAS); // for an older version
    a.setValue("ver/aguaTenida", aguaTenida_->isChecked());
    a.setValue("ver/animar", animar_->Activo());
    a.setValue("ver/sonido", sonido_->isChecked());
}
