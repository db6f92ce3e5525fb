#include "TForm1.h"

#include "Encuadre.h"
#include "PanelGL.h"
#include "dxBufferTextura.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <new>

namespace {

// The layout as designed for a 1059 x 864 client area; on resize the panel takes the difference
// and the controls at its right move with its right edge.
constexpr int ANCHO_CLIENTE = 1059, ALTO_CLIENTE = 864;
constexpr QRect PANEL(8, 8, 817, 769);
constexpr QRect LABEL(840, 24, 37, 13);
constexpr QRect LISTA(840, 48, 153, 177);
constexpr QRect GRUPO(840, 240, 177, 73);
constexpr QRect RADIO1(848, 264, 89, 17);
constexpr QRect RADIO2(848, 280, 73, 25);
constexpr int ALTO_ENTRADA = 13;
// The object tree fills the free room below the render mode group, down to the panel's bottom.
constexpr QRect ARBOL(840, 320, 177, 457);
constexpr int ROL_CLASE = Qt::UserRole, ROL_INDICE = Qt::UserRole + 1;

} // namespace

void TForm1::LiberarTextura::operator()(IDirect3DTexture8* t) const {
    t->Release();
}

TForm1::TForm1(QWidget* padre) : QMainWindow(padre) {
    setObjectName("Form1");
    setWindowTitle("Visualizador de Prueba");
    QFont letra("MS Sans Serif");
    letra.setPixelSize(11);
    setFont(letra);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Button));
    setPalette(paleta);
    setAcceptDrops(true);

    ElegirArchivo = [this] {
        return QFileDialog::getOpenFileName(this, "Abrir Archivo de Tomb Raider 4", carpeta_,
                                            "Tomb Raider 4 (*.tr4)");
    };
    Avisar = [this](const QString& texto) { QMessageBox::warning(this, windowTitle(), texto); };

    CrearControles();
    CrearMenu();
    move(194, 111);
    resize(ANCHO_CLIENTE, ALTO_CLIENTE + menuBar()->sizeHint().height());
    FormCreate();
    Timer1->start();
}

TForm1::~TForm1() {
    Timer1->stop();
    Panel1->AlExponer = nullptr;
    Panel1->AlCambiarTamano = nullptr;
    seleccionado_ = nullptr;
    nivel_.reset();
    texturaInicio_.reset();
    dispositivo_.reset();
}

void TForm1::CrearControles() {
    auto* cliente = new QWidget(this);
    cliente->setObjectName("Cliente");
    // The panel keeps some room; the controls keep all of theirs.
    cliente->setMinimumSize(ANCHO_CLIENTE - PANEL.width() + 64, GRUPO.bottom() + 8);
    setCentralWidget(cliente);
    cliente->installEventFilter(this);

    Panel1 = new PanelGL;
    Panel1->setObjectName("Panel1");
    Panel1->setTitle("Panel1");
    Panel1Marco = QWidget::createWindowContainer(Panel1, cliente);
    Panel1Marco->setObjectName("Panel1Marco");
    Panel1Marco->setGeometry(PANEL);
    Panel1->resize(PANEL.size());
    Panel1->AlExponer = [this] { FormPaint(); };
    Panel1->AlCambiarTamano = [this] {
        Proyectar();
        FormPaint();
    };

    Label1 = new QLabel("Meshes", cliente);
    Label1->setObjectName("Label1");
    ListBox1 = new QListWidget(cliente);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setUniformItemSizes(true);
    // Arrow keys move the current row too; the picked mesh follows it either way.
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TForm1::ListBox1Click);

    RadioGroup1 = new QGroupBox("Render Mode", cliente);
    RadioGroup1->setObjectName("RadioGroup1");
    // Children of the client, laid over the frame, so that they exclude each other there.
    RadioButton1 = new QRadioButton("Texturizado", cliente);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton("Wireframe", cliente);
    RadioButton2->setObjectName("RadioButton2");

    QWidget::setTabOrder(Panel1Marco, ListBox1);
    QWidget::setTabOrder(ListBox1, RadioGroup1);
    QWidget::setTabOrder(RadioGroup1, RadioButton1);
    QWidget::setTabOrder(RadioButton1, RadioButton2);

    TreeView1 = new QTreeWidget(cliente);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderLabel(tr("Objetos"));
    TreeView1->setRootIsDecorated(true);
    TreeView1->setIndentation(12); // room for "Movible 457 · 18 meshes" in the narrow column
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TForm1::TreeView1Click);
    QWidget::setTabOrder(RadioButton2, TreeView1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TForm1::FormPaint);

    Acomodar();
}

void TForm1::CrearMenu() {
    menuBar()->setObjectName("MainMenu1");
    Archivo1 = menuBar()->addMenu("Archivo");
    Archivo1->setObjectName("Archivo1");
    Abrir1 = Archivo1->addAction("Abrir", this, &TForm1::Abrir1Click);
    Abrir1->setObjectName("Abrir1");
    N1 = Archivo1->addSeparator();
    N1->setObjectName("N1");
    Salir1 = Archivo1->addAction("Salir", this, &TForm1::Salir1Click);
    Salir1->setObjectName("Salir1");
    Acerca1 = menuBar()->addMenu("Ayuda");
    Acerca1->setObjectName("Acerca1");
    Acerca2 = Acerca1->addAction("Acerca..");
    Acerca2->setObjectName("Acerca2");
}

void TForm1::Acomodar() {
    const QSize cliente = centralWidget()->size();
    const int ancho = std::max(1, cliente.width() - (ANCHO_CLIENTE - PANEL.width()));
    const int alto = std::max(1, cliente.height() - (ALTO_CLIENTE - PANEL.height()));
    Panel1Marco->setGeometry(PANEL.x(), PANEL.y(), ancho, alto);
    const int dx = ancho - PANEL.width();
    // The label grows with its caption, as the count may need.
    Label1->setGeometry(LABEL.translated(dx, 0));
    Label1->resize(std::max(LABEL.width(), Label1->sizeHint().width()), LABEL.height());
    ListBox1->setGeometry(LISTA.translated(dx, 0));
    RadioGroup1->setGeometry(GRUPO.translated(dx, 0));
    // Captions stay whole where the font is wider than the one designed for.
    for (auto [boton, lugar] : {std::pair{RadioButton1, RADIO1}, std::pair{RadioButton2, RADIO2}}) {
        boton->setGeometry(lugar.translated(dx, 0));
        boton->resize(std::max(lugar.width(), boton->sizeHint().width()), lugar.height());
    }
    TreeView1->setGeometry(ARBOL.x() + dx, ARBOL.y(), ARBOL.width(),
                           std::max(ALTO_ENTRADA * 4, ARBOL.height() + alto - PANEL.height()));
}

dxDevice8* TForm1::Dispositivo() const {
    return dispositivo_ && dispositivo_->GetDispositivo() ? dispositivo_.get() : nullptr;
}

void TForm1::Proyectar() {
    if (dxDevice8* d = Dispositivo())
        SetProyeccionVisor(*d, Panel1->Ancho(), Panel1->Alto());
}

void TForm1::FormCreate() {
    std::string motivo;
    const bool panel = Panel1->Iniciar(&motivo);
    d3d_.IniciarD3D();
    d3d_.CrearDispositivo(Panel1, 1, dispositivo_);
    if (dxDevice8* d = Dispositivo()) {
        d->SetColorFondo(0, 0, 0);
        Proyectar();
        texturaInicio_.reset(d->TexturaDeArchivo("Solido.bmp"));
        d->SetOjo(0, 0, 500);
        d->SetObjetivo(0, 0, 0);
        return;
    }
    if (panel)
        motivo = "el dispositivo de dibujo no se pudo crear (hace falta OpenGL 3.3)";
    sinDispositivo_ = QString("No se puede dibujar: %1.\nLos niveles se abren y se listan, pero "
                              "el panel no mostrará nada.")
                          .arg(QString::fromStdString(motivo));
}

void TForm1::FormPaint() {
    angulo_ = AvanzarAngulo(angulo_);
    dxDevice8* d = Dispositivo();
    if (!d || !Panel1->isExposed())
        return;
    if (objeto_ && nivel_ && nivel_->Meshes) {
        EncuadrarEnsamblaje(*d, *objeto_, Panel1->Ancho(), Panel1->Alto());
        DibujarEnsamblaje(*d, *objeto_, *nivel_->Meshes, angulo_, RadioButton1->isChecked(),
                          RadioButton2->isChecked());
        return;
    }
    if (seleccionado_ && nivel_) {
        if (const trMesh* mesh = nivel_->Mesh(ListBox1->currentRow()))
            EncuadrarMesh(*d, *mesh);
    }
    DibujarCuadro(*d, seleccionado_, angulo_, RadioButton1->isChecked(), RadioButton2->isChecked());
}

void TForm1::ListBox1Click() {
    SoltarObjeto();
    seleccionado_ = nivel_ ? nivel_->Buffer(ListBox1->currentRow()) : nullptr;
}

void TForm1::Abrir1Click() {
    const QString ruta = ElegirArchivo ? ElegirArchivo() : QString();
    if (!ruta.isEmpty())
        AbrirArchivo(ruta);
}

void TForm1::Salir1Click() {
    close();
}

bool TForm1::AbrirArchivo(const QString& ruta) {
    std::unique_ptr<NivelAbierto> nuevo;
    std::string motivo;
    bool abierto = false;
    try {
        abierto = AbrirNivel(QFile::encodeName(ruta).constData(), Dispositivo(), nuevo, &motivo);
    } catch (const std::bad_alloc&) {
        // The new level is built apart, so running out of memory costs only the new level.
        nuevo.reset();
        motivo = "no hay memoria suficiente para abrirlo";
    }
    if (!abierto) {
        if (motivo.empty())
            motivo = "no se pudo leer";
        if (Avisar)
            Avisar(QString("No se pudo abrir el nivel \"%1\":\n%2.")
                       .arg(QDir::toNativeSeparators(ruta), QString::fromStdString(motivo)));
        return false;
    }
    // The selection points into the level being replaced.
    seleccionado_ = nullptr;
    SoltarObjeto();
    nivel_ = std::move(nuevo);
    carpeta_ = QFileInfo(ruta).absolutePath();

    const int cantidad = nivel_->Cantidad();
    Label1->setText(QString("Meshes: %1").arg(cantidad));
    Acomodar();
    ListBox1->clear();
    for (int i = 0; i < cantidad; ++i) {
        auto* entrada = new QListWidgetItem(QString("Objeto:%1").arg(i), ListBox1);
        entrada->setSizeHint(QSize(0, ALTO_ENTRADA));
    }
    LlenarObjetos();
    return true;
}

void TForm1::LlenarObjetos() {
    const QSignalBlocker bloqueo(TreeView1);
    TreeView1->clear();
    if (!nivel_)
        return;
    const trObjetos& objetos = nivel_->Objetos;
    auto* movibles =
        new QTreeWidgetItem(TreeView1, {tr("Movibles (%1)").arg(objetos.Movibles.size())});
    auto* estaticos =
        new QTreeWidgetItem(TreeView1, {tr("Estáticos (%1)").arg(objetos.Estaticos.size())});
    std::vector<QStringList> usos(size_t(std::max(0, nivel_->Cantidad())));
    auto usar = [&](int32_t mesh, const QString& quien) {
        if (mesh >= 0 && size_t(mesh) < usos.size())
            usos[size_t(mesh)] << quien;
    };
    for (size_t i = 0; i < objetos.Movibles.size(); ++i) {
        const trMovible& m = objetos.Movibles[i];
        auto* e = new QTreeWidgetItem(movibles,
                                      {tr("Movible %1 · %2 meshes").arg(m.Id).arg(m.NumMeshes)});
        e->setData(0, ROL_CLASE, int(EnPantalla::Clase::Movible));
        e->setData(0, ROL_INDICE, qulonglong(i));
        for (size_t k = 0; k < m.Meshes.size(); ++k)
            usar(m.Meshes[k], tr("Movible %1, mesh %2 de %3").arg(m.Id).arg(k).arg(m.NumMeshes));
    }
    for (size_t i = 0; i < objetos.Estaticos.size(); ++i) {
        const trEstatico& s = objetos.Estaticos[i];
        auto* e = new QTreeWidgetItem(estaticos, {tr("Estático %1").arg(s.Id)});
        e->setData(0, ROL_CLASE, int(EnPantalla::Clase::Estatico));
        e->setData(0, ROL_INDICE, qulonglong(i));
        usar(s.Mesh, tr("Estático %1").arg(s.Id));
    }
    for (int i = 0; i < ListBox1->count() && size_t(i) < usos.size(); ++i)
        ListBox1->item(i)->setToolTip(usos[size_t(i)].join("\n"));
}

void TForm1::SoltarObjeto() {
    if (!objeto_)
        return;
    objeto_.reset();
    {
        const QSignalBlocker bloqueo(TreeView1);
        TreeView1->setCurrentItem(nullptr);
    }
    Proyectar();
}

void TForm1::TreeView1Click() {
    const QTreeWidgetItem* e = TreeView1->currentItem();
    if (!nivel_ || !nivel_->Meshes || !e || !e->data(0, ROL_CLASE).isValid())
        return; // a heading, or nothing
    const auto clase = EnPantalla::Clase(e->data(0, ROL_CLASE).toInt());
    const size_t i = e->data(0, ROL_INDICE).toULongLong();
    const trObjetos& objetos = nivel_->Objetos;
    EnPantalla mostrado;
    mostrado.Que = clase;
    if (clase == EnPantalla::Clase::Movible && i < objetos.Movibles.size()) {
        objeto_ = ArmarMovible(objetos.Movibles[i], *nivel_->Meshes);
        mostrado.Id = objetos.Movibles[i].Id;
    } else if (clase == EnPantalla::Clase::Estatico && i < objetos.Estaticos.size()) {
        objeto_ = ArmarEstatico(objetos.Estaticos[i], *nivel_->Meshes);
        mostrado.Id = objetos.Estaticos[i].Id;
    } else
        return;
    mostrado.Meshes = int32_t(objeto_->Piezas.size());
    mostrado.Caras = objeto_->Caras;
    mostrado.Centro = objeto_->Centro;
    mostrado.Radio = objeto_->Radio;
    objetoMostrado_ = mostrado;
    // The list's mesh is no longer on show.
    seleccionado_ = nullptr;
    const QSignalBlocker bloqueo(ListBox1);
    ListBox1->setCurrentRow(-1);
}

std::optional<TForm1::EnPantalla> TForm1::Mostrado() const {
    if (objeto_)
        return objetoMostrado_;
    if (!seleccionado_ || !nivel_ || !nivel_->Meshes)
        return {};
    const int fila = ListBox1->currentRow();
    const Ensamblaje mesh = ArmarMesh(fila, *nivel_->Meshes);
    EnPantalla e;
    e.Id = uint32_t(fila);
    e.Meshes = 1;
    e.Caras = mesh.Caras;
    e.Centro = mesh.Centro;
    e.Radio = mesh.Radio;
    return e;
}

bool TForm1::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == centralWidget() && evento->type() == QEvent::Resize)
        Acomodar();
    return QMainWindow::eventFilter(objeto, evento);
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
        if (!ruta.isEmpty() && ruta.endsWith(".tr4", Qt::CaseInsensitive))
            return ruta;
    }
    return {};
}
