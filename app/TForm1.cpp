#include "TForm1.h"

#include "AcercaDe.h"
#include "Ajustes.h"
#include "AnimarNivel.h"
#include "AperturaNivel.h"
#include "ArbolObjetos.h"
#include "ArchivosRecientes.h"
#include "BarraAnimacion.h"
#include "BarraEstado.h"
#include "BucleDibujo.h"
#include "ClicEnPanel.h"
#include "DisposicionCliente.h"
#include "ExportacionVista.h"
#include "ExportarGLTF.h"
#include "LugarInicial.h"
#include "MenuApariencia.h"
#include "MenuVer.h"
#include "MostradorNivel.h"
#include "PanelDetalles.h"
#include "PanelDisparadores.h"
#include "PanelGL.h"
#include "PanelPaginas.h"
#include "PanelSonidos.h"
#include "ReproductorSonido.h"
#include "SitioDocks.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>

#include <array>

TForm1::TForm1(QWidget* padre) : QMainWindow(padre) {
    setObjectName("Form1");
    setWindowTitle(TituloPrograma());
    QFont letra("MS Sans Serif");
    letra.setPixelSize(11);
    setFont(letra);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Button));
    setPalette(paleta);
    setAcceptDrops(true);

    ElegirArchivo = [this] {
        return QFileDialog::getOpenFileName(this, tr("Abrir Archivo de Tomb Raider 4"),
                                            apertura_->Carpeta(),
                                            tr("Niveles de Tomb Raider (*.tr4 *.phd *.tr2)"));
    };
    ElegirDestino = [this](const QString& sugerido) {
        QString filtro;
        QString ruta = QFileDialog::getSaveFileName(
            this, tr("Exportar"), QDir(apertura_->Carpeta()).filePath(sugerido),
            tr("glTF binario (*.glb)") + ";;" + tr("glTF con archivos al lado (*.gltf)"), &filtro);
        // A name typed without its ending takes the one of the type chosen.
        if (!ruta.isEmpty() && !ExtensionGLTF(QFile::encodeName(ruta).toStdString()))
            ruta += filtro.contains("*.gltf") ? ".gltf" : ".glb";
        return ruta;
    };
    // The program's own title: the window's names the open file too.
    Avisar = [this](const QString& texto) { QMessageBox::warning(this, TituloPrograma(), texto); };

    CrearControles();
    barra_ = new BarraEstado(this);
    setStatusBar(barra_);
    CrearDocks();
    CrearMenu();
    CrearTrabajo();
    const QRect lugar =
        LugarInicial(QRect(194, 111, DisposicionCliente::ANCHO_CLIENTE,
                           DisposicionCliente::ALTO_CLIENTE + menuBar()->sizeHint().height() +
                               barra_->sizeHint().height()),
                     screen()->availableGeometry(), MARCO_SUPUESTO);
    move(lugar.topLeft());
    resize(lugar.size());
    LeerAjustes();
    FormCreate();
    // Runs from the moment the window is on screen.
    Timer1->start();
    bucle_->ActualizarTimer();
}

TForm1::~TForm1() {
    Timer1->stop();
    Panel1->AlExponer = nullptr;
    Panel1->AlCambiarTamano = nullptr;
    Panel1->AlInteractuar = nullptr;
    controles_->SetNivel(nullptr);
    paginas_->SetNivel(nullptr, nullptr);
    sonido_->SetNivel(nullptr);
    detalles_->Soltar(nullptr);
    disparadores_->SetLogica(nullptr);
    estado_.Vista.Quitar();
    estado_.Seleccionado = nullptr;
    estado_.Nivel.reset();
    bucle_->Soltar();
}

void TForm1::CrearControles() {
    Disponer(this);
    controles_ = new ControlesVista(Panel1, this);
    connect(controles_, &ControlesVista::Clic, this, [this](float x, float y) { ElegirEn(x, y); });
    connect(controles_, &ControlesVista::PideNivelCompleto, this, &TForm1::NivelCompleto1Click);
    connect(controles_, &ControlesVista::Movida, this, [this] { bucle_->Redibujar(); });
    connect(controles_, &ControlesVista::CambioMarcha, this, [this] { bucle_->ActualizarTimer(); });
    connect(controles_, &ControlesVista::Pausado, this, [this](bool si) { ver_->SetPausado(si); });
    Panel1->AlInteractuar = [this](QEvent* evento) { return controles_->Interactuar(evento); };

    // Arrow keys move the current row too; the picked mesh follows it either way.
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TForm1::ListBox1Click);
    // Frames stand still while paused; a change of mode still shows.
    connect(RadioButton1, &QRadioButton::toggled, this, [this] { bucle_->Redibujar(); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TForm1::TreeView1Click);
    connect(Animacion1, &BarraAnimacion::CambioPose, this, [this] {
        bucle_->ActualizarTimer();
        bucle_->Redibujar();
    });
    connect(Animacion1, &BarraAnimacion::CambioMeshes, this,
            [this](int64_t id) { mostrador_->MostrarMovible(estado_.Vista.Movible(), id, -1); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TForm1::FormPaint);
}

void TForm1::CrearDocks() {
    paginas_ = new PanelPaginas(this);
    detalles_ = new PanelDetalles(this);
    disparadores_ = new PanelDisparadores(this);
    sonido_ = new ReproductorSonido(this);
    // Once, in the status bar: a window without sound is still a viewer.
    connect(sonido_, &ReproductorSonido::Aviso, this,
            [this](const QString& texto) { barra_->showMessage(texto, 8000); });
    sonidos_ = new PanelSonidos(sonido_, this);
    const std::array<QDockWidget*, 4> docks{paginas_, detalles_, disparadores_, sonidos_};
    for (QDockWidget* d : docks) {
        addDockWidget(Qt::RightDockWidgetArea, d);
        d->hide();
    }
    docks_ = new SitioDocks(this);
    for (QDockWidget* d : docks)
        docks_->Agregar(d);
    disparadores_->AlElegir = [this](const trDisparador& d) {
        mostrador_->EncuadrarSector(d.Cuarto, d.X, d.Z);
    };
    detalles_->AlSeguir = [this](const PanelDetalles::Destino& d) { SeguirDestino(d); };
}

void TForm1::CrearMenu() {
    menuBar()->setObjectName("MainMenu1");
    Archivo1 = menuBar()->addMenu(tr("Archivo"));
    Archivo1->setObjectName("Archivo1");
    Abrir1 = Archivo1->addAction(tr("Abrir"), this, &TForm1::Abrir1Click);
    Abrir1->setObjectName("Abrir1");
    Abrir1->setShortcut(QKeySequence::Open);
    Exportar1 = Archivo1->addAction(tr("Exportar..."), this, &TForm1::Exportar1Click);
    Exportar1->setObjectName("Exportar1");
    Exportar1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    Exportar1->setEnabled(false);
    recientes_ = new ArchivosRecientes(Archivo1, this);
    connect(recientes_, &ArchivosRecientes::Abrir, this, &TForm1::AbrirReciente);
    N1 = Archivo1->addSeparator();
    N1->setObjectName("N1");
    Salir1 = Archivo1->addAction(tr("Salir"), this, &TForm1::Salir1Click);
    Salir1->setObjectName("Salir1");
    Salir1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    CrearMenuVer();
    Acerca1 = menuBar()->addMenu(tr("Ayuda"));
    Acerca1->setObjectName("Acerca1");
    Acerca2 = Acerca1->addAction(tr("Acerca.."), this, &TForm1::Acerca2Click);
    Acerca2->setObjectName("Acerca2");
}

void TForm1::CrearMenuVer() {
    ver_ = new MenuVer(menuBar(), controles_, RadioButton1, RadioButton2, detalles_, paginas_,
                       sonidos_, this);
    QAction* verDisparadores = disparadores_->toggleViewAction();
    verDisparadores->setObjectName("PanelDisparadores1");
    verDisparadores->setText(tr("Lista de disparadores"));
    ver_->AgregarPanel(verDisparadores);
    ver_->AlCambiarSonido = [this](bool si) { Animacion1->Sonidos = si ? sonido_ : nullptr; };
    Animacion1->Sonidos = ver_->Sonido() ? sonido_ : nullptr;
    ver_->AlNivelCompleto = [this] { NivelCompleto1Click(); };
    ver_->AlCambiarOpcion = [this] { mostrador_->CambioOpcion(); };
    ver_->AlCambiarFondo = [this] { bucle_->AplicarFondo(); };
    ver_->Animar()->AlCambiar = [this] {
        bucle_->ActualizarTimer();
        bucle_->Redibujar();
    };
}

void TForm1::CrearTrabajo() {
    bucle_ = std::make_unique<BucleDibujo>(BucleDibujo::Partes{.Ventana = this,
                                                               .Panel = Panel1,
                                                               .Reloj = Timer1,
                                                               .Controles = controles_,
                                                               .Ver = ver_,
                                                               .Animacion = Animacion1,
                                                               .Texturizado = RadioButton1,
                                                               .Alambre = RadioButton2,
                                                               .Detalles = detalles_,
                                                               .Barra = barra_},
                                           estado_);
    Panel1->AlExponer = [this] { FormPaint(); };
    Panel1->AlCambiarTamano = [this] {
        bucle_->Proyectar();
        FormPaint();
    };
    mostrador_ = std::make_unique<MostradorNivel>(MostradorNivel::Partes{.Controles = controles_,
                                                                         .Ver = ver_,
                                                                         .Panel = Panel1,
                                                                         .Lista = ListBox1,
                                                                         .Arbol = TreeView1,
                                                                         .Animacion = Animacion1,
                                                                         .Detalles = detalles_,
                                                                         .Paginas = paginas_,
                                                                         .Barra = barra_,
                                                                         .Exportar = Exportar1},
                                                  estado_, *bucle_);
    apertura_ = std::make_unique<AperturaNivel>(AperturaNivel::Partes{.Ventana = this,
                                                                      .Rotulo = Label1,
                                                                      .Lista = ListBox1,
                                                                      .Arbol = TreeView1,
                                                                      .Paginas = paginas_,
                                                                      .Sonido = sonido_,
                                                                      .Sonidos = sonidos_,
                                                                      .Disparadores = disparadores_,
                                                                      .Barra = barra_,
                                                                      .Recientes = recientes_,
                                                                      .Ver = ver_},
                                                TituloPrograma(), estado_, *mostrador_, *bucle_);
    exportacion_ = std::make_unique<ExportacionVista>(estado_, *barra_);
    clic_ = std::make_unique<ClicEnPanel>(ClicEnPanel::Partes{.Panel = Panel1,
                                                              .Controles = controles_,
                                                              .Ver = ver_,
                                                              .Detalles = detalles_,
                                                              .Docks = docks_},
                                          estado_, *bucle_);
}

QStringList TForm1::Recientes() const {
    return recientes_->Lista();
}

void TForm1::AbrirReciente(const QString& ruta) {
    if (!AbrirArchivo(ruta))
        recientes_->Fallido(ruta);
}

void TForm1::LeerAjustes() {
    QSettings a = Ajustes();
    apertura_->SetCarpeta(a.value("archivos/carpeta").toString());
    if (const QByteArray g = a.value("ventana/geometria").toByteArray(); !g.isEmpty())
        restoreGeometry(g);
    if (const QByteArray e = a.value("ventana/estado").toByteArray(); !e.isEmpty())
        restoreState(e);
    paginas_->setVisible(a.value("ver/paginas", false).toBool());
    detalles_->setVisible(a.value("ver/detalles", false).toBool());
    sonidos_->setVisible(a.value("ver/sonidos", false).toBool());
}

void TForm1::GuardarAjustes() const {
    QSettings a = Ajustes();
    a.setValue("ventana/geometria", saveGeometry());
    a.setValue("ventana/estado", saveState());
    a.setValue("ver/paginas", !paginas_->isHidden());
    a.setValue("ver/detalles", !detalles_->isHidden());
    a.setValue("ver/sonidos", !sonidos_->isHidden());
    ver_->Guardar(a);
    a.setValue("archivos/recientes", recientes_->Lista());
    a.setValue("archivos/carpeta", apertura_->Carpeta());
}

dxDevice8* TForm1::Dispositivo() const {
    return bucle_->Dispositivo();
}

void TForm1::FormCreate() {
    sinDispositivo_ = bucle_->Iniciar();
}

void TForm1::FormPaint() {
    bucle_->Dibujar();
}

void TForm1::ListBox1Click() {
    mostrador_->MostrarMesh();
}

void TForm1::TreeView1Click() {
    mostrador_->MostrarElegido();
}

void TForm1::NivelCompleto1Click() {
    mostrador_->NivelCompleto();
}

MenuApariencia* TForm1::Apariencia() const {
    return ver_->Apariencia();
}

OpcionesNivel TForm1::Opciones() const {
    return ver_->Opciones();
}

bool TForm1::ElegirEn(float x, float y) {
    return clic_->Elegir(x, y);
}

void TForm1::Acerca2Click() {
    auto* acerca = new AcercaDe(this);
    acerca->setAttribute(Qt::WA_DeleteOnClose);
    acerca->open();
}

void TForm1::Abrir1Click() {
    const QString ruta = ElegirArchivo ? ElegirArchivo() : QString();
    if (!ruta.isEmpty())
        AbrirArchivo(ruta);
}

bool TForm1::AbrirArchivo(const QString& ruta) {
    return apertura_->Abrir(ruta, Avisar);
}

void TForm1::Exportar1Click() {
    const QString sugerido = exportacion_->Sugerido();
    if (sugerido.isEmpty() || !ElegirDestino)
        return;
    const QString ruta = ElegirDestino(sugerido);
    if (!ruta.isEmpty())
        ExportarA(ruta);
}

bool TForm1::ExportarA(const QString& ruta) {
    return exportacion_->ExportarA(ruta, Avisar);
}

void TForm1::Salir1Click() {
    close();
}

QString TForm1::TituloPrograma() {
    return tr("Visualizador de Prueba");
}

void TForm1::paintEvent(QPaintEvent* evento) {
    QMainWindow::paintEvent(evento);
    FormPaint();
}

void TForm1::showEvent(QShowEvent* evento) {
    QMainWindow::showEvent(evento);
    if (!sinDispositivo_.isEmpty()) {
        // After the window is on screen, so that the message has a window to stand over.
        QTimer::singleShot(0, this, [this, aviso = sinDispositivo_] {
            if (Avisar)
                Avisar(aviso);
        });
        sinDispositivo_.clear();
    }
    bucle_->ActualizarTimer();
}

void TForm1::hideEvent(QHideEvent* evento) {
    QMainWindow::hideEvent(evento);
    bucle_->ActualizarTimer();
}

void TForm1::changeEvent(QEvent* evento) {
    QMainWindow::changeEvent(evento);
    if (evento->type() == QEvent::WindowStateChange && bucle_)
        bucle_->ActualizarTimer();
}

void TForm1::closeEvent(QCloseEvent* evento) {
    GuardarAjustes();
    QMainWindow::closeEvent(evento);
}

void TForm1::dragEnterEvent(QDragEnterEvent* evento) {
    if (!ArchivoSoltado(evento->mimeData()).isEmpty())
        evento->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* evento) {
    const QString ruta = ArchivoSoltado(evento->mimeData());
    if (ruta.isEmpty())
        return;
    evento->acceptProposedAction();
    AbrirArchivo(ruta);
}

void TForm1::SeguirDestino(const PanelDetalles::Destino& destino) {
    mostrador_->SeguirDestino(destino);
}
