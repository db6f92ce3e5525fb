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
    if (seleccionado_ && nivel_) {
        if (const trMesh* mesh = nivel_->Mesh(ListBox1->currentRow()))
            EncuadrarMesh(*d, *mesh);
    }
    DibujarCuadro(*d, seleccionado_, angulo_, RadioButton1->isChecked(), RadioButton2->isChecked());
}

void TForm1::ListBox1Click() {
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
    return true;
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
