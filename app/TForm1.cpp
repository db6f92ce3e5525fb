#include "TForm1.h"

#include "AcercaDe.h"
#include "Ajustes.h"
#include "ArbolObjetos.h"
#include "ArmarElegido.h"
#include "BarraAnimacion.h"
#include "BarraEstado.h"
#include "ArchivosRecientes.h"
#include "ControlesVista.h"
#include "SitioDocks.h"
#include "DibujoEnsamblaje.h"
#include "Encuadre.h"
#include "EscrituraAtomica.h"
#include "ExportarGLTF.h"
#include "LugarInicial.h"
#include "PanelGL.h"
#include "InicioNivel.h"
#include "MenuApariencia.h"
#include "AnimarNivel.h"
#include "MatrizDispositivo.h"
#include "MenuVer.h"
#include "PanelDetalles.h"
#include "PanelDisparadores.h"
#include "PanelPaginas.h"
#include "PanelSonidos.h"
#include "ReproductorSonido.h"
#include "dxBufferTextura.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QDockWidget>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <new>

namespace {

// The window as designed, its client area 1059 x 864: the panel at the left, at the right the
// meshes' list, the render mode and the object tree, each as tall as its content wants.
constexpr int ANCHO_CLIENTE = 1059, ALTO_CLIENTE = 864;
constexpr int MARGEN = 8, ANCHO_PANEL = 817, ALTO_ENTRADA = 13;
constexpr int COLUMNA_X = 840, COLUMNA_Y = 24, ANCHO_COLUMNA = 177, LISTA_Y = 48, ALTO_LISTA = 177,
              ALTO_GRUPO = 73;
constexpr int MARGEN_DERECHO = ANCHO_CLIENTE - COLUMNA_X - ANCHO_COLUMNA;
// How long the status bar says what an export wrote.
constexpr int MENSAJE_EXPORTADO_MS = 15000;

} // namespace

void TForm1::LiberarTextura::operator()(IDirect3DTexture8* t) const {
    t->Release();
}

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
        return QFileDialog::getOpenFileName(this, tr("Abrir Archivo de Tomb Raider 4"), carpeta_,
                                            tr("Niveles de Tomb Raider (*.tr4 *.phd *.tr2)"));
    };
    ElegirDestino = [this](const QString& sugerido) {
        QString filtro;
        QString ruta = QFileDialog::getSaveFileName(
            this, tr("Exportar"), QDir(carpeta_).filePath(sugerido),
            tr("glTF binario (*.glb)") + ";;" + tr("glTF con archivos al lado (*.gltf)"), &filtro);
        // A name typed without its ending takes the one of the type chosen.
        if (!ruta.isEmpty() && !ExtensionGLTF(QFile::encodeName(ruta).toStdString()))
            ruta += filtro.contains("*.gltf") ? ".gltf" : ".glb";
        return ruta;
    };
    // The program's own title: the window's names the open file too.
    Avisar = [this](const QString& texto) {
        QMessageBox::warning(this, TituloPrograma(), texto);
    };

    CrearControles();
    barra_ = new BarraEstado(this);
    setStatusBar(barra_);
    paginas_ = new PanelPaginas(this);
    addDockWidget(Qt::RightDockWidgetArea, paginas_);
    paginas_->hide();
    detalles_ = new PanelDetalles(this);
    addDockWidget(Qt::RightDockWidgetArea, detalles_);
    detalles_->hide();
    disparadores_ = new PanelDisparadores(this);
    addDockWidget(Qt::RightDockWidgetArea, disparadores_);
    disparadores_->hide();
    docks_ = new SitioDocks(this);
    for (QDockWidget* d : std::initializer_list<QDockWidget*>{paginas_, detalles_, disparadores_})
        docks_->Agregar(d);
    disparadores_->AlElegir = [this](const trDisparador& d) {
        EncuadrarSector(d.Cuarto, d.X, d.Z);
    };
    detalles_->AlSeguir = [this](const PanelDetalles::Destino& d) { SeguirDestino(d); };
    sonido_ = new ReproductorSonido(this);
    // Once, in the status bar: a window without sound is still a viewer.
    connect(sonido_, &ReproductorSonido::Aviso, this,
            [this](const QString& texto) { barra_->showMessage(texto, 8000); });
    sonidos_ = new PanelSonidos(sonido_, this);
    addDockWidget(Qt::RightDockWidgetArea, sonidos_);
    sonidos_->hide();
    docks_->Agregar(sonidos_);
    CrearMenu();
    const QRect lugar = LugarInicial(
        QRect(194, 111, ANCHO_CLIENTE,
              ALTO_CLIENTE + menuBar()->sizeHint().height() + barra_->sizeHint().height()),
        screen()->availableGeometry(), MARCO_SUPUESTO);
    move(lugar.topLeft());
    resize(lugar.size());
    LeerAjustes();
    FormCreate();
    // Runs from the moment the window is on screen.
    Timer1->start();
    ActualizarTimer();
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
    vista_.Quitar();
    seleccionado_ = nullptr;
    nivel_.reset();
    texturaInicio_.reset();
    dispositivo_.reset();
}

void TForm1::CrearControles() {
    auto* cliente = new QWidget(this);
    cliente->setObjectName("Cliente");
    setCentralWidget(cliente);

    Panel1 = new PanelGL;
    Panel1->setObjectName("Panel1");
    Panel1->setTitle(tr("Panel1"));
    Panel1Marco = QWidget::createWindowContainer(Panel1, cliente);
    Panel1Marco->setObjectName("Panel1Marco");
    Panel1Marco->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Panel1Marco->setMinimumSize(64, 64);
    Panel1->AlExponer = [this] { FormPaint(); };
    Panel1->AlCambiarTamano = [this] {
        Proyectar();
        FormPaint();
    };
    controles_ = new ControlesVista(Panel1, this);
    connect(controles_, &ControlesVista::Clic, this, [this](float x, float y) { ElegirEn(x, y); });
    connect(controles_, &ControlesVista::PideNivelCompleto, this, &TForm1::NivelCompleto1Click);
    connect(controles_, &ControlesVista::Movida, this, &TForm1::Redibujar);
    connect(controles_, &ControlesVista::CambioMarcha, this, &TForm1::ActualizarTimer);
    connect(controles_, &ControlesVista::Pausado, this, [this](bool si) { ver_->SetPausado(si); });
    Panel1->AlInteractuar = [this](QEvent* evento) { return controles_->Interactuar(evento); };

    Label1 = new QLabel(tr("Meshes"), cliente);
    Label1->setObjectName("Label1");
    ListBox1 = new QListWidget(cliente);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setUniformItemSizes(true);
    ListBox1->setMinimumHeight(ALTO_ENTRADA * 4);
    // Arrow keys move the current row too; the picked mesh follows it either way.
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TForm1::ListBox1Click);

    RadioGroup1 = new QGroupBox(tr("Render Mode"), cliente);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioButton1 = new QRadioButton(tr("Texturizado"), RadioGroup1);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(tr("Wireframe"), RadioGroup1);
    RadioButton2->setObjectName("RadioButton2");
    // Two captions in a box of its designed size, where they always stood; wider where the
    // font needs it.
    for (auto [boton, lugar] : {std::pair{RadioButton1, QRect(8, 24, 89, 17)},
                                std::pair{RadioButton2, QRect(8, 40, 73, 25)}})
        boton->setGeometry(lugar.adjusted(0, 0, std::max(0, boton->sizeHint().width() - lugar.width()), 0));
    // Frames stand still while paused; a change of mode still shows.
    connect(RadioButton1, &QRadioButton::toggled, this, &TForm1::Redibujar);

    TreeView1 = new ArbolObjetos(cliente);
    TreeView1->setObjectName("TreeView1");
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TForm1::TreeView1Click);
    QWidget::setTabOrder(Panel1Marco, ListBox1);
    QWidget::setTabOrder(ListBox1, RadioButton1);
    QWidget::setTabOrder(RadioButton1, RadioButton2);
    QWidget::setTabOrder(RadioButton2, TreeView1);

    Animacion1 = new BarraAnimacion(cliente);
    Animacion1->setObjectName("Animacion1");
    connect(Animacion1, &BarraAnimacion::CambioPose, this, [this] {
        ActualizarTimer();
        Redibujar();
    });
    connect(Animacion1, &BarraAnimacion::CambioMeshes, this,
            [this](int64_t id) { MostrarMovible(vista_.Movible(), id, -1); });

    // The panel and the bar under it take what the column at the right leaves; the tree takes
    // what the list and the render mode leave of the column's height. At the designed size every
    // control stands where it always stood.
    auto* izquierda = new QVBoxLayout;
    izquierda->setSpacing(4);
    izquierda->addWidget(Panel1Marco, 1);
    izquierda->addWidget(Animacion1);
    auto* derecha = new QVBoxLayout;
    derecha->setContentsMargins(0, COLUMNA_Y - MARGEN, 0, 0);
    derecha->setSpacing(0);
    derecha->addWidget(Label1);
    derecha->addSpacing(std::max(0, LISTA_Y - COLUMNA_Y - Label1->sizeHint().height()));
    ListBox1->setMaximumHeight(ALTO_LISTA);
    derecha->addWidget(ListBox1);
    derecha->addSpacing(15);
    RadioGroup1->setMinimumHeight(ALTO_GRUPO);
    derecha->addWidget(RadioGroup1);
    derecha->addSpacing(7);
    derecha->addWidget(TreeView1, 1);
    auto* columna = new QWidget(cliente);
    columna->setObjectName("ColumnaDerecha");
    columna->setLayout(derecha);
    // As wide as designed, or as the captions need in a wider font.
    columna->setFixedWidth(std::max({ANCHO_COLUMNA, RadioGroup1->sizeHint().width(),
                                     RadioButton1->geometry().right() + MARGEN + 1,
                                     RadioButton2->geometry().right() + MARGEN + 1}));
    auto* fila = new QHBoxLayout(cliente);
    fila->setContentsMargins(MARGEN, MARGEN, MARGEN_DERECHO, MARGEN);
    fila->setSpacing(COLUMNA_X - MARGEN - ANCHO_PANEL);
    fila->addLayout(izquierda, 1);
    fila->addWidget(columna);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TForm1::FormPaint);
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

QStringList TForm1::Recientes() const {
    return recientes_->Lista();
}

void TForm1::AbrirReciente(const QString& ruta) {
    if (!AbrirArchivo(ruta))
        recientes_->Fallido(ruta);
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
    ver_->AlCambiarOpcion = [this] { CambioOpcionNivel(); };
    ver_->AlCambiarFondo = [this] { AplicarFondo(); };
    ver_->Animar()->AlCambiar = [this] {
        ActualizarTimer();
        Redibujar();
    };
}

void TForm1::LeerAjustes() {
    QSettings a = Ajustes();
    carpeta_ = a.value("archivos/carpeta").toString();
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
    a.setValue("archivos/carpeta", carpeta_);
}

dxDevice8* TForm1::Dispositivo() const {
    return dispositivo_ && dispositivo_->GetDispositivo() ? dispositivo_.get() : nullptr;
}

void TForm1::Proyectar() {
    if (dxDevice8* d = Dispositivo())
        (void)SetProyeccionVisor(*d, Panel1->Ancho(), Panel1->Alto());
}

void TForm1::FormCreate() {
    std::string motivo;
    const bool panel = Panel1->Iniciar(&motivo);
    // Either failing leaves no device, which Dispositivo() below reports.
    (void)d3d_.IniciarD3D();
    (void)d3d_.CrearDispositivo(Panel1, 1, dispositivo_);
    if (dxDevice8* d = Dispositivo()) {
        AplicarFondo();
        Proyectar();
        texturaInicio_.reset(d->TexturaDeArchivo("Solido.bmp"));
        (void)d->SetOjo(0, 0, 500);
        (void)d->SetObjetivo(0, 0, 0);
        return;
    }
    if (panel)
        motivo =
            tr("el dispositivo de dibujo no se pudo crear (hace falta OpenGL 3.3)").toStdString();
    sinDispositivo_ = tr("No se puede dibujar: %1.\nLos niveles se abren y se listan, pero "
                         "el panel no mostrará nada.")
                          .arg(QString::fromStdString(motivo));
}

void TForm1::FormPaint() {
    controles_->Avanzar();
    dxDevice8* d = Dispositivo();
    if (EnNivel()) {
        if (!d || !Panel1->isExposed() || !nivel_ || !nivel_->Dibujo) {
            ContarCuadro(false);
            return;
        }
        // A frame the device fails is drawn again at the next tick; the panel has no other word.
        (void)controles_->Vuelo().Aplicar(*d, Panel1->Ancho(), Panel1->Alto());
        ver_->Animar()->Aplicar(*nivel_);
        (void)d->Limpiar(1);
        const OpcionesNivel opciones = Opciones();
        (void)nivel_->Dibujo->TenirAgua(opciones.AguaTenida);
        (void)nivel_->Dibujo->Dibujar(*d, opciones);
        if (opciones.Disparadores && nivel_->Capa)
            (void)nivel_->Capa->Dibujar(*d, opciones);
        if (opciones.Marcadores && nivel_->Marcadores)
            (void)nivel_->Marcadores->Dibujar(*d);
        (void)d->Presentar();
        ContarCuadro(controles_->Anda() || ver_->Animar()->Activo());
        return;
    }
    if (!d || !Panel1->isExposed()) {
        ContarCuadro(false);
        return;
    }
    if (objeto_ && nivel_ && nivel_->Meshes) {
        if (Animacion1->Posar(pose_))
            AplicarPose(*objeto_, pose_);
        (void)controles_->Camara().Aplicar(*d, Panel1->Ancho(), Panel1->Alto());
        // The mesh a click picked is outlined while the dock tells of it.
        (void)DibujarEnsamblaje(*d, *objeto_, nivel_->Buffers, controles_->Camara().Angulo(),
                                RadioButton1->isChecked(), RadioButton2->isChecked(),
                                detalles_->isVisible() ? detalles_->PiezaElegida() : -1);
        ContarCuadro(controles_->Camara().Girando() || Animacion1->Anda());
        return;
    }
    if (seleccionado_)
        (void)controles_->Camara().Aplicar(*d, Panel1->Ancho(), Panel1->Alto());
    (void)DibujarCuadro(*d, seleccionado_, controles_->Camara().Angulo(), RadioButton1->isChecked(),
                  RadioButton2->isChecked());
    ContarCuadro(seleccionado_ && controles_->Camara().Girando());
}

void TForm1::ContarCuadro(bool dibujado) {
    barra_->ContarCuadro(dibujado && Timer1->isActive());
}

void TForm1::ListBox1Click() {
    SoltarObjeto();
    if (EnNivel()) {
        const QSignalBlocker bloqueo(TreeView1);
        TreeView1->setCurrentItem(nullptr);
        controles_->Camara().Inicio();
        Proyectar();
    }
    const int fila = ListBox1->currentRow();
    seleccionado_ = nivel_ ? nivel_->Buffer(fila) : nullptr;
    const trMesh* mesh = seleccionado_ ? nivel_->Mesh(fila) : nullptr;
    if (mesh) {
        EnVista vista = EnVistaDeMesh(*mesh, fila);
        if (size_t(fila) < usosMesh_.size())
            vista.Objetos = usosMesh_[size_t(fila)];
        MostrarEnVista(&vista);
    } else {
        MostrarEnVista(nullptr);
    }
}

void TForm1::MostrarEnVista(const EnVista* vista) {
    controles_->Soltar();
    const bool nivelEntero = vista && nivel_ && vista->Clase == EnVista::Tipo::Nivel;
    controles_->SetNivel(nivelEntero ? nivel_->Escena.get() : nullptr);
    controles_->SetOpciones(Opciones());
    // A pick names a part of what was on show.
    detalles_->Soltar(nivel_.get());
    if (vista && nivel_ && vista->Clase == EnVista::Tipo::Nivel) {
        vista_.Mostrar(*vista);
        controles_->Camara().Quitar();
        barra_->SetNivelCompleto(nivel_->Escena ? nivel_->Escena->Contar() : EscenaNivel::Cuentas{},
                                 Opciones(), vista->Indice);
        paginas_->SetVista(nullptr);
        ActualizarTimer();
        Exportar1->setEnabled(true);
        Redibujar();
        return;
    }
    if (vista && nivel_) {
        vista_.Mostrar(*vista);
        controles_->Camara().Mostrar(vista->Centro, vista->Limite);
        // An object has no stored view of its own to start from: it is always framed to fit.
        if (ver_->AjustarAlMostrar() || vista->Clase != EnVista::Tipo::Mesh)
            controles_->Camara().Ajustar(Panel1->Ancho(), Panel1->Alto());
        barra_->SetVista(vista, *nivel_->Nivel,
                         nivel_->Texturas ? nivel_->Texturas->NumPaginas() : 0);
    } else {
        vista_.Quitar();
        controles_->Camara().Quitar();
        barra_->QuitarVista();
    }
    paginas_->SetVista(vista && nivel_ ? vista : nullptr);
    ActualizarTimer();
    Exportar1->setEnabled(vista_.Mostrado() != nullptr);
    Redibujar();
}

MenuApariencia* TForm1::Apariencia() const {
    return ver_->Apariencia();
}

OpcionesNivel TForm1::Opciones() const {
    return ver_->Opciones();
}

void TForm1::CambioOpcionNivel() {
    controles_->SetOpciones(Opciones());
    if (EnNivel() && nivel_)
        barra_->SetNivelCompleto(nivel_->Escena ? nivel_->Escena->Contar() : EscenaNivel::Cuentas{},
                                 Opciones(), vista_.Mostrado()->Indice);
    Redibujar();
}

void TForm1::NivelCompleto1Click() {
    if (!entradaNivel_)
        return;
    if (TreeView1->currentItem() == entradaNivel_)
        MostrarNivel(-1);
    else
        TreeView1->setCurrentItem(entradaNivel_);
}

void TForm1::MostrarNivel(int32_t cuarto) {
    if (!nivel_ || !nivel_->Escena)
        return;
    const EscenaNivel& escena = *nivel_->Escena;
    objeto_.reset();
    vista_.SoltarMovible();
    Animacion1->SetMovible(nullptr, nullptr, -1);
    seleccionado_ = nullptr;
    {
        const QSignalBlocker bloqueo(ListBox1);
        ListBox1->setCurrentRow(-1);
    }
    const Esfera todo = escena.EsferaNivel(Opciones());
    // The whole level opens where a player starts; without a Lara, framed round the rooms that
    // have any light (a room the data leaves black frames nothing one can see).
    Esfera enfoque = escena.EsferaIluminada(Opciones());
    std::optional<InicioJugador> inicio;
    if (cuarto >= 0 && cuarto < escena.NumCuartos()) {
        enfoque = escena.EsferaCuarto(cuarto);
    } else {
        cuarto = -1;
        inicio = InicioEnLara(nivel_->Objetos, size_t(escena.NumCuartos()), &escena);
    }
    if (inicio) {
        controles_->Vuelo().Situar(VectorDX(inicio->Ojo), inicio->Guinada, inicio->Cabeceo, VectorDX(inicio->Pivote),
                                   todo);
        enfoque = {inicio->Pivote.x, inicio->Pivote.y, inicio->Pivote.z, DISTANCIA_DETRAS};
    } else {
        controles_->Vuelo().Encuadrar(enfoque, todo, Panel1->Ancho(), Panel1->Alto());
    }
    EnVista vista;
    vista.Clase = EnVista::Tipo::Nivel;
    vista.Indice = cuarto;
    vista.Centro = {enfoque.X, enfoque.Y, enfoque.Z};
    vista.Limite = enfoque;
    MostrarEnVista(&vista);
}

void TForm1::ActualizarTimer() {
    const bool enPantalla = isVisible() && !isMinimized();
    const bool anda = controles_->Anda() || (EnNivel() && ver_->Animar()->Activo()) ||
                      (!EnNivel() && objeto_ && Animacion1->Anda());
    if (enPantalla && anda) {
        if (!Timer1->isActive())
            Timer1->start();
    } else {
        Timer1->stop();
        barra_->ContarCuadro(false);
    }
}

void TForm1::Redibujar() {
    // While the timer runs the next frame shows the change; drawing now too would turn faster.
    if (!Timer1->isActive() && isVisible())
        FormPaint();
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

void TForm1::Exportar1Click() {
    const auto exportacion = vista_.Exportar();
    if (!exportacion || !ElegirDestino)
        return;
    const QString ruta = ElegirDestino(QString::fromStdString(exportacion->Nombre));
    if (!ruta.isEmpty())
        ExportarA(ruta);
}

bool TForm1::ExportarA(const QString& ruta) {
    const auto exportacion = vista_.Exportar();
    if (!exportacion || !nivel_)
        return false;
    std::string motivo;
    bool hecho = false;
    int escritos = 0;
    try {
        std::vector<ArchivoPorEscribir> archivos;
        hecho = ExportarGLTFEnMemoria(*nivel_, exportacion->Opciones, QFile::encodeName(ruta).toStdString(),
                                      archivos, &motivo) &&
                EscribirAtomico(archivos, &motivo);
        escritos = int(archivos.size());
    } catch (const std::bad_alloc&) {
        motivo = tr("no hay memoria suficiente").toStdString();
    }
    if (!hecho && Avisar)
        Avisar(tr("No se pudo exportar a \"%1\":\n%2.")
                   .arg(QDir::toNativeSeparators(ruta), QString::fromStdString(motivo)));
    if (!hecho) {
        barra_->clearMessage(); // an earlier export's word would read as this one's
        return false;
    }
    // Nothing else shows that the save dialog's choice was written, nor where a .gltf's pages
    // went. For a while: the message covers what is on show.
    const QFileInfo escrito(ruta);
    const QString carpeta = QDir::toNativeSeparators(escrito.absolutePath());
    barra_->showMessage(escritos > 1
                            ? tr("Exportado %1 en %2 (%3 archivos en total)")
                                  .arg(escrito.fileName(), carpeta, QString::number(escritos))
                            : tr("Exportado %1 en %2").arg(escrito.fileName(), carpeta),
                        MENSAJE_EXPORTADO_MS);
    return true;
}

void TForm1::Salir1Click() {
    close();
}

bool TForm1::AbrirArchivo(const QString& ruta) {
    std::unique_ptr<NivelSubido> nuevo;
    std::string motivo;
    bool abierto = false;
    try {
        abierto = AbrirNivel(QFile::encodeName(ruta).constData(), Dispositivo(), nuevo, &motivo);
    } catch (const std::bad_alloc&) {
        // The new level is built apart, so running out of memory costs only the new level.
        nuevo.reset();
        motivo = tr("no hay memoria suficiente para abrirlo").toStdString();
    }
    if (!abierto) {
        if (motivo.empty())
            motivo = tr("no se pudo leer").toStdString();
        if (Avisar)
            Avisar(tr("No se pudo abrir el nivel \"%1\":\n%2.")
                       .arg(QDir::toNativeSeparators(ruta), QString::fromStdString(motivo)));
        return false;
    }
    // The selection, what is on show and the pages dock point into the level being replaced.
    paginas_->SetNivel(nullptr, nullptr);
    sonido_->SetNivel(nullptr);
    MostrarEnVista(nullptr);
    seleccionado_ = nullptr;
    SoltarObjeto();
    nivel_ = std::move(nuevo);
    paginas_->SetNivel(nivel_->Texturas.get(), nivel_->Nivel.get());
    sonido_->SetNivel(nivel_->Nivel.get());
    sonidos_->Llenar();
    carpeta_ = QFileInfo(ruta).absolutePath();
    Ajustes().setValue("archivos/carpeta", carpeta_);
    recientes_->Agregar(ruta);
    barra_->SetNivel(ruta, QFileInfo(ruta).size(), nivel_->Nivel->Juego);
    NombrarArchivo(ruta);

    const int cantidad = nivel_->Cantidad();
    Label1->setText(tr("Meshes: %1").arg(cantidad));
    ListBox1->clear();
    for (int i = 0; i < cantidad; ++i) {
        auto* entrada = new QListWidgetItem(tr("Objeto:%1").arg(i), ListBox1);
        entrada->setSizeHint(QSize(0, ALTO_ENTRADA));
    }
    LlenarObjetos();
    // The level stays open: what the device refused is only missing from the panel, and the user
    // should hear why rather than take a bare panel for an empty level.
    const bool rechazado = FAILED(nivel_->Subida) ||
                           (nivel_->Dibujo && FAILED(nivel_->Dibujo->Subida()));
    // The level itself first, where a player starts; the list and the tree pick from there.
    NivelCompleto1Click();
    if (rechazado && Avisar)
        Avisar(tr("El nivel \"%1\" se abrió, pero OpenGL no aceptó todas sus páginas o meshes: "
                  "el panel puede mostrarlo incompleto.")
                   .arg(QDir::toNativeSeparators(ruta)));
    return true;
}

void TForm1::EncuadrarSector(uint32_t cuarto, uint16_t x, uint16_t z) {
    if (!nivel_ || !nivel_->Escena || cuarto >= nivel_->Logica.Cuartos.size())
        return;
    const trCuartoLogica& c = nivel_->Logica.Cuartos[cuarto];
    const size_t s = size_t(x) * c.NumZ + z;
    if (s >= c.Sectores.size())
        return;
    const auto& y = c.Sectores[s].SueloS.Y;
    // Device axes: the level's y negated. A sector and its neighbours fill the view.
    EncuadrarEnNivel({float(c.X) + 1024.0f * (float(x) + 0.5f),
                      -float(int64_t{y[0]} + y[1] + y[2] + y[3]) / 4,
                      float(c.Z) + 1024.0f * (float(z) + 0.5f), 1024.0f});
}

void TForm1::EncuadrarEnNivel(const Esfera& esfera) {
    if (!nivel_ || !nivel_->Escena)
        return;
    if (!EnNivel())
        NivelCompleto1Click();
    if (!EnNivel())
        return;
    controles_->Vuelo().Encuadrar(esfera, nivel_->Escena->EsferaNivel(Opciones()), Panel1->Ancho(),
                                  Panel1->Alto());
    Redibujar();
}

void TForm1::SeguirDestino(const PanelDetalles::Destino& destino) {
    if (!nivel_)
        return;
    using T = PanelDetalles::Destino::Tipo;
    const trLogica& l = nivel_->Logica;
    const size_t i = size_t(destino.Indice);
    // A marker's place, device axes; about a sector round it fills the view.
    auto encuadrar = [this](int32_t x, int32_t y, int32_t z, float radio) {
        EncuadrarEnNivel({float(x), -float(y), float(z), radio});
    };
    switch (destino.Clase) {
    case T::Item: {
        if (i >= nivel_->Objetos.Items.size())
            return;
        const trItem& it = nivel_->Objetos.Items[i];
        const int32_t parte =
            nivel_->Escena ? nivel_->Escena->ParteDe({DuenioCara::Tipo::Item, destino.Indice}) : -1;
        if (parte >= 0)
            EncuadrarEnNivel(nivel_->Escena->EsferaParte(parte));
        else
            encuadrar(it.X, it.Y, it.Z, 512); // an item the scene does not draw
        // After the framing: showing the level lets go of what was picked.
        detalles_->ElegirItem(*nivel_, destino.Indice);
        controles_->SetParteElegida(detalles_->ParteElegida());
        Redibujar();
        break;
    }
    case T::Camara:
        if (i < l.Camaras.size())
            encuadrar(l.Camaras[i].X, l.Camaras[i].Y, l.Camaras[i].Z, 1024);
        break;
    case T::Vuelo:
        if (i < l.Secuencias.size() && !l.Secuencias[i].empty()) {
            const trCamaraVuelo& c = l.CamarasVuelo[l.Secuencias[i].front()];
            encuadrar(c.X, c.Y, c.Z, 1024);
        }
        break;
    case T::Grupo:
        if (!ver_->ElegirSalasAlternas(destino.Indice))
            barra_->showMessage(
                tr("El grupo alterno %1 no tiene salas en este nivel").arg(destino.Indice), 8000);
        break;
    }
}

QString TForm1::TituloPrograma() {
    return tr("Visualizador de Prueba");
}

void TForm1::NombrarArchivo(const QString& ruta) {
    setWindowFilePath(QFileInfo(ruta).absoluteFilePath());
    // "[*]" in a title stands for the modified mark; a file named with it keeps it, doubled.
    const QString nombre = QFileInfo(ruta).fileName().replace("[*]", "[*][*]");
    setWindowTitle(tr("%1 — %2").arg(TituloPrograma(), nombre));
}

void TForm1::LlenarObjetos() {
    disparadores_->SetLogica(nivel_ ? &nivel_->Logica : nullptr);
    ver_->SetGruposAlternos(nivel_ ? ClasesAlternas(nivel_->Logica.Cuartos).Grupos()
                                   : std::vector<uint8_t>{});
    const ArbolObjetos::Usos usos = TreeView1->Llenar(nivel_.get());
    entradaNivel_ = TreeView1->EntradaNivel();
    for (int i = 0; i < ListBox1->count() && size_t(i) < usos.Textos.size(); ++i)
        ListBox1->item(i)->setToolTip(usos.Textos[size_t(i)].join("\n"));
    usosMesh_ = usos.Ids;
}

void TForm1::SoltarObjeto() {
    if (!objeto_)
        return;
    objeto_.reset();
    vista_.SoltarMovible();
    Animacion1->SetMovible(nullptr, nullptr, -1);
    {
        const QSignalBlocker bloqueo(TreeView1);
        TreeView1->setCurrentItem(nullptr);
    }
    // The object was framed for itself; a mesh starts again from the viewer's own view, turning
    // or paused as the user left it.
    const bool girando = controles_->Camara().Girando();
    controles_->Camara().Inicio();
    controles_->Camara().SetGiro(girando);
    Proyectar();
}

void TForm1::TreeView1Click() {
    const std::optional<ArbolObjetos::Eleccion> e = TreeView1->Elegido();
    if (!nivel_ || !nivel_->Meshes || !e)
        return; // a heading, or nothing
    if (e->Clase == EnVista::Tipo::Nivel) {
        MostrarNivel(int32_t(e->Indice));
        return;
    }
    if (e->Clase == EnVista::Tipo::Movible) {
        MostrarMovible(e->Indice, e->Prestadas, e->Animacion);
        return;
    }
    const trObjetos& objetos = nivel_->Objetos;
    if (e->Clase != EnVista::Tipo::Estatico || e->Indice < 0 ||
        size_t(e->Indice) >= objetos.Estaticos.size())
        return;
    vista_.SoltarMovible();
    Animacion1->SetMovible(nullptr, nullptr, -1);
    objeto_ = ArmarEstatico(objetos.Estaticos[size_t(e->Indice)], *nivel_->Meshes);
    EnVista vista;
    vista.Clase = EnVista::Tipo::Estatico;
    vista.Indice = int32_t(objetos.Estaticos[size_t(e->Indice)].Id);
    MostrarObjeto(vista);
}

void TForm1::MostrarMovible(int64_t indice, int64_t prestadas, int64_t animacion) {
    if (!nivel_ || !nivel_->Meshes || indice < 0 ||
        size_t(indice) >= nivel_->Objetos.Movibles.size())
        return;
    const trObjetos& objetos = nivel_->Objetos;
    const trMovible& propio = objetos.Movibles[size_t(indice)];
    std::string motivo;
    std::optional<trMovible> m = MovibleElegido(*nivel_, propio.Id, prestadas, motivo);
    if (!m) {
        m = propio;
        prestadas = -1;
    }
    // The same moveable worn the same way keeps its framing; a new animation just plays.
    if (!objeto_ || vista_.OtroMovible(indice, prestadas)) {
        vista_.SetMovible(indice, prestadas);
        objeto_ = ArmarMovible(*m, *nivel_->Meshes, nivel_->Articulaciones);
        Animacion1->SetMovible(nivel_.get(), &*m, prestadas);
        EnVista vista;
        vista.Clase = EnVista::Tipo::Movible;
        vista.Indice = int32_t(propio.Id);
        MostrarObjeto(vista);
    }
    if (animacion < 0 || !Animacion1->Elegir(uint32_t(animacion))) {
        // Back to the rest pose, framed as it was.
        Animacion1->Quitar();
        const Ensamblaje reposo = ArmarMovible(*m, *nivel_->Meshes, nivel_->Articulaciones);
        for (size_t i = 0; i < objeto_->Piezas.size() && i < reposo.Piezas.size(); ++i) {
            objeto_->Piezas[i].Mundo = reposo.Piezas[i].Mundo;
            objeto_->Piezas[i].Vertices = reposo.Piezas[i].Vertices;
        }
    }
    ActualizarTimer();
    Redibujar();
}

void TForm1::MostrarObjeto(EnVista vista) {
    for (const PiezaObjeto& p : objeto_->Piezas)
        if (const trMesh* m = nivel_->Mesh(p.Mesh))
            vista.Meshes.push_back(m);
    // The object turns about the vertical axis through its sphere's centre, so that sphere holds
    // it through the whole turn.
    vista.Centro = VectorDX(objeto_->Centro);
    vista.Limite = Esfera{objeto_->Centro.x, objeto_->Centro.y, objeto_->Centro.z, objeto_->Radio};
    // The list's mesh is no longer on show.
    seleccionado_ = nullptr;
    {
        const QSignalBlocker bloqueo(ListBox1);
        ListBox1->setCurrentRow(-1);
    }
    MostrarEnVista(&vista);
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
    ActualizarTimer();
}

void TForm1::hideEvent(QHideEvent* evento) {
    QMainWindow::hideEvent(evento);
    ActualizarTimer();
}

void TForm1::changeEvent(QEvent* evento) {
    QMainWindow::changeEvent(evento);
    if (evento->type() == QEvent::WindowStateChange)
        ActualizarTimer();
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

QString ArchivoSoltado(const QMimeData* datos) {
    if (!datos || !datos->hasUrls())
        return {};
    for (const QUrl& url : datos->urls()) {
        const QString ruta = url.toLocalFile();
        // The first three games' levels too; the file's version word says which game it is.
        for (const char* terminacion : {".tr4", ".phd", ".tr2"})
            if (!ruta.isEmpty() && ruta.endsWith(terminacion, Qt::CaseInsensitive))
                return ruta;
    }
    return {};
}

void TForm1::AplicarFondo() {
    int32_t rojo = 0, verde = 0, azul = 0;
    MenuApariencia::Componentes(ver_->Apariencia()->ColorFondo(), rojo, verde, azul);
    if (dispositivo_)
        (void)dispositivo_->SetColorFondo(rojo, verde, azul);
}

bool TForm1::ElegirEn(float x, float y) {
    const EnVista* mostrado = vista_.Mostrado();
    if (!nivel_ || !mostrado)
        return false;
    const int ancho = std::max(1, Panel1->width()), alto = std::max(1, Panel1->height());
    bool elegido = false;
    dxDevice8* d = Dispositivo();
    if (EnNivel()) {
        // The camera of the frame on show; the level answers a click even where nothing draws.
        D3DXMATRIX vista, proyeccion;
        controles_->Vuelo().Matrices(ancho, alto, vista, proyeccion);
        elegido = detalles_->ElegirEnNivel(*nivel_, vista, proyeccion, x, y, ancho, alto,
                                             Opciones());
    } else if (d && objeto_ && controles_->Camara().HayObjetivo() && nivel_->Meshes) {
        // An object's meshes; a mesh of the list is all there is to pick, so it picks nothing.
        (void)controles_->Camara().Aplicar(*d, Panel1->Ancho(), Panel1->Alto());
        const QString nombre = (mostrado->Clase == EnVista::Tipo::Movible ? tr("Movible %1")
                                                                          : tr("Estático %1"))
                                   .arg(mostrado->Indice);
        elegido = detalles_->ElegirEnObjeto(*nivel_, *objeto_, Angulo(), nombre, d->GetVista(),
                                            d->GetProyeccion(), x, y, ancho, alto);
    }
    // In the level, where clicks are for asking, the dock opens itself; an object's view keeps
    // its panel whole unless the dock was opened.
    controles_->SetParteElegida(detalles_->ParteElegida());
    if (elegido && EnNivel())
        docks_->Abrir(detalles_);
    return elegido;
}
