#include "LotesGL.h"

#include "DispositivoGL.h"
#include "RecursosGL.h"
#include "SuperficieGL.h"

#include <cstddef>

namespace {

// As the device's program (ProgramaGL.cpp), with the world already in the vertices and the page
// read per vertex. Flat: a page is one face's, never a blend.
const char* const kVertices = R"(
layout(location = 0) in vec3 aPosicion;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aUV;
layout(location = 3) in uint aPagina;
uniform mat4 uVista;
uniform mat4 uProyeccion;
out vec4 vColor;
out vec2 vUV;
flat out uint vPagina;
void main() {
    vec4 p = uProyeccion * uVista * vec4(aPosicion, 1.0);
#ifdef CORREGIR_PROFUNDIDAD
    p.z = 2.0 * p.z - p.w;
#endif
    gl_Position = p;
    vColor = aColor;
    vUV = aUV;
    vPagina = aPagina;
}
)";

// The output is opaque, as the device draws its meshes; an additive run adds its colour.
const char* const kFragmentos = R"(
in vec4 vColor;
in vec2 vUV;
flat in uint vPagina;
uniform sampler2DArray uPaginas;
uniform uint uNumPaginas;
uniform int uModo;
uniform bool uRecorte;
out vec4 fColor;
void main() {
    if (uModo == 2) {
        fColor = vec4(1.0);
        return;
    }
    if (uModo == 4) {
        fColor = vec4(vColor.rgb, 1.0);
        return;
    }
    vec4 texel = vec4(1.0);
    if (uModo != 1 && vPagina < uNumPaginas)
        texel = texture(uPaginas, vec3(vUV, float(vPagina)));
    if (uRecorte && texel.a < 0.5 / 255.0)
        discard;
    fColor = vec4(uModo == 3 ? texel.rgb : texel.rgb * vColor.rgb, 1.0);
}
)";

GLuint Compilar(GLenum tipo, const std::string& fuente) {
    GLuint s = glCreateShader(tipo);
    const char* texto = fuente.c_str();
    glShaderSource(s, 1, &texto, nullptr);
    glCompileShader(s);
    GLint ok = GL_FALSE;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(s);
        return 0;
    }
    return s;
}

// What the device keeps applied and expects to find as it left it.
struct EstadoDispositivo {
    GLint programa = 0;
    GLint poligono[2] = {GL_FILL, GL_FILL};
    GLboolean cull = GL_FALSE;
    GLint cara = GL_BACK;
    GLboolean mezcla = GL_FALSE, profundidad = GL_TRUE, escribirZ = GL_TRUE;
    GLint origen = GL_ONE, destino = GL_ZERO;

    EstadoDispositivo() {
        glGetIntegerv(GL_CURRENT_PROGRAM, &programa);
        glGetIntegerv(GL_POLYGON_MODE, poligono);
        cull = glIsEnabled(GL_CULL_FACE);
        glGetIntegerv(GL_CULL_FACE_MODE, &cara);
        mezcla = glIsEnabled(GL_BLEND);
        profundidad = glIsEnabled(GL_DEPTH_TEST);
        glGetBooleanv(GL_DEPTH_WRITEMASK, &escribirZ);
        glGetIntegerv(GL_BLEND_SRC_RGB, &origen);
        glGetIntegerv(GL_BLEND_DST_RGB, &destino);
    }
    ~EstadoDispositivo() {
        glUseProgram(GLuint(programa));
        glPolygonMode(GL_FRONT_AND_BACK, GLenum(poligono[0]));
        (cull ? glEnable : glDisable)(GL_CULL_FACE);
        glCullFace(GLenum(cara));
        (mezcla ? glEnable : glDisable)(GL_BLEND);
        (profundidad ? glEnable : glDisable)(GL_DEPTH_TEST);
        glDepthMask(escribirZ);
        glBlendFunc(GLenum(origen), GLenum(destino));
    }
};

} // namespace

std::unique_ptr<ILotes8> CrearLotes8(IDirect3DDevice8* dispositivo) {
    auto* gl = dynamic_cast<DispositivoGL*>(dispositivo);
    if (!gl || !gl->Contexto()->Activar())
        return nullptr;
    return std::make_unique<LotesGL>(gl->Contexto());
}

LotesGL::LotesGL(std::shared_ptr<ContextoGL> contexto) : contexto_(std::move(contexto)) {}

LotesGL::~LotesGL() {
    if (!contexto_->Activar())
        return; // the device and its context are gone, and these names with them
    contexto_->Emitir();
    if (contexto_->texturaAplicada == paginas_)
        contexto_->texturaAplicada = 0;
    if (contexto_->vaoAplicado == vao_)
        contexto_->vaoAplicado = 0;
    glDeleteVertexArrays(1, &vao_);
    glDeleteBuffers(1, &buffer_);
    glDeleteTextures(1, &paginas_);
}

bool LotesGL::Programa() {
    auto& p = contexto_->programaLotes;
    if (p.nombre)
        return true;
    // Whether the device maps Direct3D's depth with clip control or in its shader.
    while (glGetError() != GL_NO_ERROR) {
    }
    GLint recorte = GL_NEGATIVE_ONE_TO_ONE;
    glGetIntegerv(GL_CLIP_DEPTH_MODE, &recorte);
    while (glGetError() != GL_NO_ERROR) {
    }
    std::string cabecera = "#version 330 core\n";
    if (recorte != GL_ZERO_TO_ONE)
        cabecera += "#define CORREGIR_PROFUNDIDAD\n";
    const GLuint v = Compilar(GL_VERTEX_SHADER, cabecera + kVertices);
    const GLuint f = v ? Compilar(GL_FRAGMENT_SHADER, cabecera + kFragmentos) : 0;
    if (!f) {
        glDeleteShader(v);
        return false;
    }
    const GLuint programa = glCreateProgram();
    glAttachShader(programa, v);
    glAttachShader(programa, f);
    glLinkProgram(programa);
    glDeleteShader(v);
    glDeleteShader(f);
    GLint ok = GL_FALSE;
    glGetProgramiv(programa, GL_LINK_STATUS, &ok);
    if (!ok) {
        glDeleteProgram(programa);
        return false;
    }
    p.nombre = programa;
    p.vista = glGetUniformLocation(programa, "uVista");
    p.proyeccion = glGetUniformLocation(programa, "uProyeccion");
    p.modo = glGetUniformLocation(programa, "uModo");
    p.numPaginas = glGetUniformLocation(programa, "uNumPaginas");
    p.recorte = glGetUniformLocation(programa, "uRecorte");
    GLint actual = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &actual);
    glUseProgram(programa);
    glUniform1i(glGetUniformLocation(programa, "uPaginas"), 0);
    glUseProgram(GLuint(actual));
    return true;
}

HRESULT LotesGL::CargarPaginas(UINT numPaginas, const BYTE* texels) {
    if (numPaginas > 0 && !texels)
        return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    GLint maximo = 0;
    contexto_->Emitir();
    glGetIntegerv(GL_MAX_ARRAY_TEXTURE_LAYERS, &maximo);
    numPaginas_ = 0;
    if (numPaginas == 0)
        return D3D_OK;
    const UINT cargar = numPaginas < UINT(maximo) ? numPaginas : UINT(maximo);
    if (!paginas_)
        glGenTextures(1, &paginas_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, paginas_);
    // The device's pages are arrays on the same target: it binds its own again when it draws.
    contexto_->texturaAplicada = paginas_;
    MuestreoPaginasGL(); // as the device's own pages
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    while (glGetError() != GL_NO_ERROR) {
    }
    glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA8, 256, 256, GLsizei(cargar), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, texels);
    if (glGetError() != GL_NO_ERROR)
        return D3DERR_OUTOFVIDEOMEMORY;
    numPaginas_ = cargar;
    return D3D_OK;
}

HRESULT LotesGL::CargarVertices(const VerticeLote* vertices, UINT cantidad) {
    if (cantidad > 0 && !vertices)
        return D3DERR_INVALIDCALL;
    if (uint64_t{cantidad} * sizeof(VerticeLote) > uint64_t{INT32_MAX})
        return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    contexto_->Emitir();
    numVertices_ = 0;
    if (!vao_) {
        glGenVertexArrays(1, &vao_);
        glGenBuffers(1, &buffer_);
    }
    glBindVertexArray(vao_);
    contexto_->vaoAplicado = vao_;
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    while (glGetError() != GL_NO_ERROR) {
    }
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(uint64_t{cantidad} * sizeof(VerticeLote)), vertices,
                 GL_STATIC_DRAW);
    if (glGetError() != GL_NO_ERROR)
        return D3DERR_OUTOFVIDEOMEMORY;
    constexpr GLsizei PASO = sizeof(VerticeLote);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, PASO, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, PASO,
                          reinterpret_cast<void*>(offsetof(VerticeLote, Color)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, PASO,
                          reinterpret_cast<void*>(offsetof(VerticeLote, U)));
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 1, GL_UNSIGNED_INT, PASO,
                           reinterpret_cast<void*>(offsetof(VerticeLote, Pagina)));
    numVertices_ = cantidad;
    return D3D_OK;
}

HRESULT LotesGL::ActualizarVertices(UINT inicio, const VerticeLote* vertices, UINT cantidad) {
    if ((cantidad > 0 && !vertices) || uint64_t{inicio} + cantidad > numVertices_)
        return D3DERR_INVALIDCALL;
    if (cantidad == 0)
        return D3D_OK;
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    contexto_->Emitir();
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    while (glGetError() != GL_NO_ERROR) {
    }
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(uint64_t{inicio} * sizeof(VerticeLote)),
                    GLsizeiptr(uint64_t{cantidad} * sizeof(VerticeLote)), vertices);
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
}

HRESULT LotesGL::Dibujar(const D3DMATRIX& vista, const D3DMATRIX& proyeccion,
                         const TramoLote* tramos, UINT numTramos, ModoLote modo,
                         bool porPrimitiva) {
    triangulos_ = 0;
    llamadas_ = 0;
    if (numTramos > 0 && !tramos)
        return D3DERR_INVALIDCALL;
    // Nothing is drawn from past the vertices loaded.
    for (UINT i = 0; i < numTramos; ++i)
        if (uint64_t{tramos[i].Inicio} + tramos[i].Vertices > numVertices_)
            return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    contexto_->Emitir();
    if (!Programa())
        return D3DERR_NOTAVAILABLE;
    if (numTramos == 0 || numVertices_ == 0)
        return D3D_OK;
    const EstadoDispositivo estado;
    SuperficieGL& s = *contexto_->superficie;
    // The same target and viewport the device draws into, so its record of them stays true.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, s.Framebuffer());
    glViewport(0, 0, s.Ancho(), s.Alto());
    const auto& p = contexto_->programaLotes;
    glUseProgram(p.nombre);
    glUniformMatrix4fv(p.vista, 1, GL_FALSE, &vista.m[0][0]);
    glUniformMatrix4fv(p.proyeccion, 1, GL_FALSE, &proyeccion.m[0][0]);
    glUniform1i(p.modo, GLint(modo));
    const bool texturizado = modo == LOTE_TEXTURIZADO || modo == LOTE_LUZ_PLENA;
    glUniform1ui(p.numPaginas, texturizado ? numPaginas_ : 0);
    if (numPaginas_ > 0) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D_ARRAY, paginas_);
        contexto_->texturaAplicada = paginas_;
    }
    glBindVertexArray(vao_);
    contexto_->vaoAplicado = vao_;
    const bool lineas = modo == LOTE_ALAMBRE || modo == LOTE_CONTORNO;
    glPolygonMode(GL_FRONT_AND_BACK, lineas ? GL_LINE : GL_FILL);
    // Front faces are clockwise, as the device set once; one-sided faces cull the back.
    glCullFace(GL_BACK);
    if (modo == LOTE_CONTORNO)
        glDisable(GL_DEPTH_TEST);

    // Blend state is set once per change of mode, not per call.
    int mezclaAplicada = -1;
    auto poner = [&](MezclaLote m) {
        if (int(m) == mezclaAplicada)
            return;
        mezclaAplicada = int(m);
        glUniform1i(p.recorte, m != MEZCLA_OPACA);
        const bool aditiva = m == MEZCLA_ADITIVA;
        (aditiva ? glEnable : glDisable)(GL_BLEND);
        if (aditiva)
            glBlendFunc(GL_ONE, GL_ONE);
        glDepthMask(aditiva ? GL_FALSE : GL_TRUE);
    };
    auto dibujar = [&](UINT inicio, UINT vertices, bool dobleCara, MezclaLote mezcla) {
        poner(mezcla);
        (dobleCara ? glDisable : glEnable)(GL_CULL_FACE);
        if (!porPrimitiva) {
            glDrawArrays(GL_TRIANGLES, GLint(inicio), GLsizei(vertices));
            ++llamadas_;
        } else {
            for (UINT v = 0; v + 3 <= vertices; v += 3, ++llamadas_)
                glDrawArrays(GL_TRIANGLES, GLint(inicio + v), 3);
        }
        triangulos_ += vertices / 3;
    };
    // Runs that follow on in the buffer and are drawn alike go in one call; the additive ones
    // after all the others, over the depth those left.
    for (const bool aditivas : {false, true}) {
        UINT inicio = 0, vertices = 0;
        bool doble = false;
        MezclaLote mezcla = MEZCLA_OPACA;
        for (UINT i = 0; i < numTramos; ++i) {
            const TramoLote& t = tramos[i];
            const MezclaLote m = texturizado ? t.Mezcla : MEZCLA_OPACA;
            if (t.Vertices == 0 || (m == MEZCLA_ADITIVA) != aditivas)
                continue;
            if (vertices > 0 &&
                (t.Inicio != inicio + vertices || t.DobleCara != doble || m != mezcla)) {
                dibujar(inicio, vertices, doble, mezcla);
                vertices = 0;
            }
            if (vertices == 0) {
                inicio = t.Inicio;
                doble = t.DobleCara;
                mezcla = m;
            }
            vertices += t.Vertices - t.Vertices % 3;
        }
        if (vertices > 0)
            dibujar(inicio, vertices, doble, mezcla);
    }
    return D3D_OK;
}
