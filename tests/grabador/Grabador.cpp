#include "Grabador.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

std::string Hex(uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%x", v);
    return b;
}

std::string Real(float v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

std::string NombrePool(D3DPOOL p) {
    switch (p) {
    case D3DPOOL_DEFAULT:
        return "D3DPOOL_DEFAULT";
    case D3DPOOL_MANAGED:
        return "D3DPOOL_MANAGED";
    case D3DPOOL_SYSTEMMEM:
        return "D3DPOOL_SYSTEMMEM";
    }
    return std::to_string(p);
}

std::string NombreFormato(D3DFORMAT f) {
    switch (f) {
    case D3DFMT_UNKNOWN:
        return "D3DFMT_UNKNOWN";
    case D3DFMT_A8R8G8B8:
        return "D3DFMT_A8R8G8B8";
    case D3DFMT_X8R8G8B8:
        return "D3DFMT_X8R8G8B8";
    case D3DFMT_D16:
        return "D3DFMT_D16";
    }
    return std::to_string(f);
}

std::string NombreEstado(D3DRENDERSTATETYPE e, DWORD v) {
    switch (e) {
    case D3DRS_LIGHTING:
        return "D3DRS_LIGHTING, " + std::to_string(v);
    case D3DRS_FILLMODE: {
        const char* n[] = {"0", "D3DFILL_POINT", "D3DFILL_WIREFRAME", "D3DFILL_SOLID"};
        return std::string("D3DRS_FILLMODE, ") + (v < 4 ? n[v] : std::to_string(v).c_str());
    }
    case D3DRS_CULLMODE: {
        const char* n[] = {"0", "D3DCULL_NONE", "D3DCULL_CW", "D3DCULL_CCW"};
        return std::string("D3DRS_CULLMODE, ") + (v < 4 ? n[v] : std::to_string(v).c_str());
    }
    case D3DRS_ZWRITEENABLE:
        return "D3DRS_ZWRITEENABLE, " + std::to_string(v);
    case D3DRS_ALPHATESTENABLE:
        return "D3DRS_ALPHATESTENABLE, " + std::to_string(v);
    case D3DRS_ALPHABLENDENABLE:
        return "D3DRS_ALPHABLENDENABLE, " + std::to_string(v);
    case D3DRS_ALPHAREF:
        return "D3DRS_ALPHAREF, " + std::to_string(v);
    case D3DRS_ALPHAFUNC: {
        const char* n[] = {"0",           "D3DCMP_NEVER",    "D3DCMP_LESS",
                           "D3DCMP_EQUAL", "D3DCMP_LESSEQUAL", "D3DCMP_GREATER",
                           "D3DCMP_NOTEQUAL", "D3DCMP_GREATEREQUAL", "D3DCMP_ALWAYS"};
        return std::string("D3DRS_ALPHAFUNC, ") + (v < 9 ? n[v] : std::to_string(v).c_str());
    }
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND: {
        const char* n[] = {"0",
                           "D3DBLEND_ZERO",
                           "D3DBLEND_ONE",
                           "D3DBLEND_SRCCOLOR",
                           "D3DBLEND_INVSRCCOLOR",
                           "D3DBLEND_SRCALPHA",
                           "D3DBLEND_INVSRCALPHA"};
        return std::string(e == D3DRS_SRCBLEND ? "D3DRS_SRCBLEND, " : "D3DRS_DESTBLEND, ") +
               (v < 7 ? n[v] : std::to_string(v).c_str());
    }
    }
    return std::to_string(e) + ", " + std::to_string(v);
}

std::string NombreEtapa(D3DTEXTURESTAGESTATETYPE t, DWORD v) {
    const char* ops[] = {"0", "D3DTOP_DISABLE", "D3DTOP_SELECTARG1", "D3DTOP_SELECTARG2",
                         "D3DTOP_MODULATE"};
    const char* args[] = {"D3DTA_DIFFUSE", "D3DTA_CURRENT", "D3DTA_TEXTURE"};
    std::string valor = std::to_string(v);
    std::string tipo = std::to_string(t);
    switch (t) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
        tipo = t == D3DTSS_COLOROP ? "D3DTSS_COLOROP" : "D3DTSS_ALPHAOP";
        if (v < 5)
            valor = ops[v];
        break;
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
        tipo = t == D3DTSS_COLORARG1   ? "D3DTSS_COLORARG1"
               : t == D3DTSS_COLORARG2 ? "D3DTSS_COLORARG2"
               : t == D3DTSS_ALPHAARG1 ? "D3DTSS_ALPHAARG1"
                                       : "D3DTSS_ALPHAARG2";
        if (v < 3)
            valor = args[v];
        break;
    }
    return tipo + ", " + valor;
}

std::string NombrePrimitiva(D3DPRIMITIVETYPE p) {
    const char* n[] = {"0",
                       "D3DPT_POINTLIST",
                       "D3DPT_LINELIST",
                       "D3DPT_LINESTRIP",
                       "D3DPT_TRIANGLELIST",
                       "D3DPT_TRIANGLESTRIP",
                       "D3DPT_TRIANGLEFAN"};
    return p < 7 ? n[p] : std::to_string(p);
}

std::string NombreTransformacion(D3DTRANSFORMSTATETYPE t) {
    switch (t) {
    case D3DTS_VIEW:
        return "D3DTS_VIEW";
    case D3DTS_PROJECTION:
        return "D3DTS_PROJECTION";
    case D3DTS_WORLD:
        return "D3DTS_WORLD";
    }
    return std::to_string(t);
}

// Every recorded object counts itself in the log's census while it lives.
template <class Interfaz> class Grabado : public Interfaz {
  public:
    Grabado(std::shared_ptr<RegistroGrabador> registro, std::string nombre)
        : registro_(std::move(registro)), nombre_(std::move(nombre)) {
        ++registro_->Vivos;
    }
    ULONG AddRef() override { return ++referencias_; }
    ULONG Release() override {
        ULONG quedan = --referencias_;
        registro_->Llamadas.push_back(nombre_ + ".Release() -> " + std::to_string(quedan));
        if (quedan == 0)
            delete this;
        return quedan;
    }
    const std::string& Nombre() const { return nombre_; }

  protected:
    ~Grabado() override { --registro_->Vivos; }
    bool Anotar(const std::string& operacion, const std::string& argumentos) {
        registro_->Llamadas.push_back(nombre_ + "." + operacion + "(" + argumentos + ")");
        return registro_->Fallar.count(operacion) == 0;
    }
    std::shared_ptr<RegistroGrabador> registro_;
    std::string nombre_;

  private:
    ULONG referencias_ = 1;
};

class BufferGrabado final : public Grabado<IDirect3DVertexBuffer8> {
  public:
    BufferGrabado(std::shared_ptr<RegistroGrabador> r, std::string n, UINT largo)
        : Grabado(std::move(r), std::move(n)), datos_(largo, 0) {}
    HRESULT Lock(UINT desde, UINT cuanto, BYTE** datos, DWORD banderas) override {
        bool ok = Anotar("Lock", std::to_string(desde) + ", " + std::to_string(cuanto) + ", " +
                                     std::to_string(banderas));
        if (!ok || !datos || bloqueado_ || desde > datos_.size() || cuanto > datos_.size() - desde)
            return E_FAIL;
        bloqueado_ = true;
        *datos = datos_.data() + desde;
        return D3D_OK;
    }
    HRESULT Unlock() override {
        Anotar("Unlock", "");
        if (!bloqueado_)
            return D3DERR_INVALIDCALL;
        bloqueado_ = false;
        registro_->Contenido[nombre_] = datos_;
        return D3D_OK;
    }
    UINT GetLength() override { return UINT(datos_.size()); }

  private:
    std::vector<uint8_t> datos_;
    bool bloqueado_ = false;
};

class TexturaGrabada final : public Grabado<IDirect3DTexture8> {
  public:
    TexturaGrabada(std::shared_ptr<RegistroGrabador> r, std::string n, UINT ancho, UINT alto,
                   D3DFORMAT formato)
        : Grabado(std::move(r), std::move(n)), ancho_(ancho), alto_(alto), formato_(formato),
          pitch_(ancho * 4 + registro_->RellenoPitch), datos_(size_t(pitch_) * alto, 0) {}
    DWORD GetLevelCount() override { return 1; }
    HRESULT GetLevelDesc(UINT nivel, D3DSURFACE_DESC* d) override {
        if (nivel != 0 || !d)
            return D3DERR_INVALIDCALL;
        *d = {formato_, 0, D3DPOOL_MANAGED, ancho_, alto_};
        return D3D_OK;
    }
    HRESULT LockRect(UINT nivel, D3DLOCKED_RECT* r, const RECT* rect, DWORD banderas) override {
        bool ok = Anotar("LockRect", std::to_string(nivel) + ", " + (rect ? "rect" : "null") +
                                         ", " + std::to_string(banderas));
        if (!ok || nivel != 0 || !r || bloqueado_)
            return E_FAIL;
        bloqueado_ = true;
        r->Pitch = INT(pitch_);
        r->pBits = datos_.data();
        return D3D_OK;
    }
    HRESULT UnlockRect(UINT nivel) override {
        Anotar("UnlockRect", std::to_string(nivel));
        if (!bloqueado_)
            return D3DERR_INVALIDCALL;
        bloqueado_ = false;
        registro_->Contenido[nombre_] = datos_;
        return D3D_OK;
    }

  private:
    UINT ancho_, alto_;
    D3DFORMAT formato_;
    UINT pitch_;
    std::vector<uint8_t> datos_;
    bool bloqueado_ = false;
};

std::string NombreDe(IUnknown* objeto) {
    if (!objeto)
        return "null";
    if (auto* t = dynamic_cast<TexturaGrabada*>(objeto))
        return t->Nombre();
    if (auto* b = dynamic_cast<BufferGrabado*>(objeto))
        return b->Nombre();
    return "ajeno";
}

class DispositivoGrabador final : public Grabado<IDirect3DDevice8> {
  public:
    explicit DispositivoGrabador(std::shared_ptr<RegistroGrabador> r)
        : Grabado(std::move(r), "device") {}

    HRESULT Clear(DWORD n, const D3DRECT* rects, DWORD banderas, D3DCOLOR color, float z,
                  DWORD stencil) override {
        return Resultado("Clear", std::to_string(n) + ", " + (rects ? "rects" : "null") + ", " +
                                      std::to_string(banderas) + ", " + Hex(color) + ", " +
                                      Real(z) + ", " + std::to_string(stencil));
    }
    HRESULT Present(const RECT* a, const RECT* b, HWND c, const RGNDATA* d) override {
        auto n = [](const void* p) { return p ? std::string("ptr") : std::string("null"); };
        return Resultado("Present", n(a) + ", " + n(b) + ", " + n(c) + ", " + n(d));
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE t, const D3DMATRIX* m) override {
        if (m)
            registro_->Transformaciones.push_back({t, *m});
        return Resultado("SetTransform", NombreTransformacion(t));
    }
    HRESULT CreateVertexBuffer(UINT largo, DWORD uso, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** vb) override {
        std::string args = std::to_string(largo) + ", " + std::to_string(uso) + ", " + Hex(fvf) +
                           ", " + NombrePool(pool);
        if (registro_->Fallar.count("CreateVertexBuffer") || !vb || largo == 0)
            return Resultado("CreateVertexBuffer", args, E_FAIL);
        auto* nuevo = new BufferGrabado(registro_, "vb" + std::to_string(++buffers_), largo);
        *vb = nuevo;
        registro_->Llamadas.push_back("CreateVertexBuffer(" + args + ") -> " + nuevo->Nombre());
        return D3D_OK;
    }
    HRESULT CreateTexture(UINT ancho, UINT alto, UINT niveles, DWORD uso, D3DFORMAT formato,
                          D3DPOOL pool, IDirect3DTexture8** t) override {
        std::string args = std::to_string(ancho) + ", " + std::to_string(alto) + ", " +
                           std::to_string(niveles) + ", " + std::to_string(uso) + ", " +
                           NombreFormato(formato) + ", " + NombrePool(pool);
        if (registro_->Fallar.count("CreateTexture") || !t || ancho == 0 || alto == 0 ||
            ancho > 4096 || alto > 4096)
            return Resultado("CreateTexture", args, E_FAIL);
        auto* nueva = new TexturaGrabada(registro_, "tex" + std::to_string(++texturas_), ancho,
                                         alto, formato);
        *t = nueva;
        registro_->Llamadas.push_back("CreateTexture(" + args + ") -> " + nueva->Nombre());
        return D3D_OK;
    }
    HRESULT SetStreamSource(UINT n, IDirect3DVertexBuffer8* vb, UINT stride) override {
        // Only the size is kept: the source may be released before the next draw.
        verticesFuente_ = vb && stride ? uint64_t{vb->GetLength()} / stride : 0;
        return Resultado("SetStreamSource",
                         std::to_string(n) + ", " + NombreDe(vb) + ", " + std::to_string(stride));
    }
    HRESULT SetVertexShader(DWORD fvf) override { return Resultado("SetVertexShader", Hex(fvf)); }
    HRESULT SetRenderState(D3DRENDERSTATETYPE e, DWORD v) override {
        return Resultado("SetRenderState", NombreEstado(e, v));
    }
    HRESULT SetTextureStageState(DWORD etapa, D3DTEXTURESTAGESTATETYPE t, DWORD v) override {
        return Resultado("SetTextureStageState", std::to_string(etapa) + ", " + NombreEtapa(t, v));
    }
    HRESULT SetTexture(DWORD etapa, IDirect3DTexture8* t) override {
        return Resultado("SetTexture", std::to_string(etapa) + ", " + NombreDe(t));
    }
    HRESULT BeginScene() override { return Resultado("BeginScene", ""); }
    HRESULT EndScene() override { return Resultado("EndScene", ""); }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE p, UINT inicio, UINT cuantas) override {
        const uint64_t vertices = VerticesDe(p, cuantas);
        if (vertices > verticesFuente_ || inicio > verticesFuente_ - vertices)
            ++registro_->DibujosFueraDeRango;
        return Resultado("DrawPrimitive", NombrePrimitiva(p) + ", " + std::to_string(inicio) +
                                              ", " + std::to_string(cuantas));
    }

  private:
    HRESULT Resultado(const std::string& operacion, const std::string& args,
                      HRESULT siFalla = E_FAIL) {
        registro_->Llamadas.push_back(operacion + "(" + args + ")");
        if (siFalla != D3D_OK && registro_->Fallar.count(operacion))
            return siFalla;
        return D3D_OK;
    }
    static uint64_t VerticesDe(D3DPRIMITIVETYPE p, UINT cuantas) {
        switch (p) {
        case D3DPT_POINTLIST:
            return cuantas;
        case D3DPT_LINELIST:
            return 2 * uint64_t{cuantas};
        case D3DPT_LINESTRIP:
            return uint64_t{cuantas} + 1;
        case D3DPT_TRIANGLELIST:
            return 3 * uint64_t{cuantas};
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return uint64_t{cuantas} + 2;
        }
        return UINT64_MAX;
    }
    int buffers_ = 0, texturas_ = 0;
    uint64_t verticesFuente_ = 0;
};

class Direct3DGrabador final : public Grabado<IDirect3D8> {
  public:
    explicit Direct3DGrabador(std::shared_ptr<RegistroGrabador> r) : Grabado(std::move(r), "d3d") {}
    HRESULT GetAdapterDisplayMode(UINT adaptador, D3DDISPLAYMODE* modo) override {
        registro_->Llamadas.push_back("GetAdapterDisplayMode(" + std::to_string(adaptador) + ")");
        if (registro_->Fallar.count("GetAdapterDisplayMode") || !modo)
            return E_FAIL;
        *modo = {640, 480, 60, D3DFMT_X8R8G8B8};
        return D3D_OK;
    }
    HRESULT CreateDevice(UINT adaptador, D3DDEVTYPE tipo, HWND ventana, DWORD comportamiento,
                         D3DPRESENT_PARAMETERS* pp, IDirect3DDevice8** d) override {
        registro_->Llamadas.push_back(
            "CreateDevice(" + std::to_string(adaptador) + ", " +
            (tipo == D3DDEVTYPE_HAL ? "D3DDEVTYPE_HAL" : std::to_string(tipo)) + ", " +
            (ventana ? "ventana" : "null") + ", " + Hex(comportamiento) + ")");
        if (registro_->Fallar.count("CreateDevice") || !pp || !d)
            return E_FAIL;
        registro_->ParametrosDispositivo = *pp;
        *d = new DispositivoGrabador(registro_);
        return D3D_OK;
    }
};

} // namespace

std::vector<std::string> RegistroGrabador::Desde(const std::string& desde) const {
    auto it = Llamadas.begin();
    if (!desde.empty())
        while (it != Llamadas.end() && it->rfind(desde, 0) != 0)
            ++it;
    return {it, Llamadas.end()};
}

IDirect3D8* CrearDirect3DGrabador(std::shared_ptr<RegistroGrabador> registro) {
    return new Direct3DGrabador(std::move(registro));
}

IDirect3DDevice8* CrearDispositivoGrabador(std::shared_ptr<RegistroGrabador> registro) {
    return new DispositivoGrabador(std::move(registro));
}
