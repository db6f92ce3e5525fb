#include "ProgramaGL.h"

#include <string>

namespace {

// Matrices arrive as Direct3D lays them out (row vectors); read column-major they are the
// transposes, so this product equals p * world * view * proj.
const char* const kVertices = R"(
layout(location = 0) in vec3 aPosicion;
layout(location = 1) in vec4 aDifuso;
layout(location = 2) in vec2 aUV;
layout(location = 3) in float aCapa;
uniform mat4 uMundo;
uniform mat4 uVista;
uniform mat4 uProyeccion;
out vec4 vDifuso;
out vec2 vUV;
flat out float vCapa;
void main() {
    vec4 p = uProyeccion * uVista * uMundo * vec4(aPosicion, 1.0);
#ifdef CORREGIR_PROFUNDIDAD
    p.z = 2.0 * p.z - p.w;
#endif
    gl_Position = p;
    vDifuso = aDifuso;
    vUV = aUV;
    vCapa = aCapa;
}
)";

const char* const kFragmentos = R"(
in vec4 vDifuso;
in vec2 vUV;
flat in float vCapa;
uniform sampler2DArray uTextura;
uniform int uArg1;
uniform int uArg2;
uniform int uAlfa1;
uniform int uAlfa2;
// D3DCMPFUNC - 1 (0 never ... 7 always) against uRefAlfa; 7 when the test is off.
uniform int uPruebaAlfa;
uniform float uRefAlfa;
// Blending reads the fragment's alpha; otherwise the surface keeps an opaque one.
uniform bool uMezcla;
out vec4 fColor;
vec4 Factor(int cual, vec4 difuso, vec4 texel) {
    return cual == 0 ? difuso : (cual == 1 ? texel : vec4(1.0));
}
bool Pasa(float a) {
    switch (uPruebaAlfa) {
    case 0: return false;
    case 1: return a < uRefAlfa;
    case 2: return a == uRefAlfa;
    case 3: return a <= uRefAlfa;
    case 4: return a > uRefAlfa;
    case 5: return a != uRefAlfa;
    case 6: return a >= uRefAlfa;
    }
    return true;
}
void main() {
    vec4 texel = texture(uTextura, vec3(vUV, vCapa));
    vec3 color = Factor(uArg1, vDifuso, texel).rgb * Factor(uArg2, vDifuso, texel).rgb;
    float alfa = Factor(uAlfa1, vDifuso, texel).a * Factor(uAlfa2, vDifuso, texel).a;
    if (uPruebaAlfa != 7 && !Pasa(alfa))
        discard;
    fColor = vec4(color, uMezcla ? alfa : 1.0);
}
)";

GLuint Compilar(GLenum tipo, const std::string& fuente, std::string* error) {
    GLuint s = glCreateShader(tipo);
    const char* texto = fuente.c_str();
    glShaderSource(s, 1, &texto, nullptr);
    glCompileShader(s);
    GLint ok = GL_FALSE;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        if (error) {
            char registro[1024] = {};
            glGetShaderInfoLog(s, sizeof registro, nullptr, registro);
            *error = registro;
        }
        glDeleteShader(s);
        return 0;
    }
    return s;
}

} // namespace

bool CrearProgramaGL(bool corregirProfundidad, ProgramaGL& programa, std::string* error) {
    std::string cabecera = "#version 330 core\n";
    if (corregirProfundidad)
        cabecera += "#define CORREGIR_PROFUNDIDAD\n";
    GLuint v = Compilar(GL_VERTEX_SHADER, cabecera + kVertices, error);
    GLuint f = v ? Compilar(GL_FRAGMENT_SHADER, cabecera + kFragmentos, error) : 0;
    if (!f) {
        glDeleteShader(v);
        return false;
    }
    GLuint p = glCreateProgram();
    glAttachShader(p, v);
    glAttachShader(p, f);
    glLinkProgram(p);
    glDeleteShader(v);
    glDeleteShader(f);
    GLint ok = GL_FALSE;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) {
        if (error) {
            char registro[1024] = {};
            glGetProgramInfoLog(p, sizeof registro, nullptr, registro);
            *error = registro;
        }
        glDeleteProgram(p);
        return false;
    }
    programa.nombre = p;
    programa.mundo = glGetUniformLocation(p, "uMundo");
    programa.vista = glGetUniformLocation(p, "uVista");
    programa.proyeccion = glGetUniformLocation(p, "uProyeccion");
    programa.arg1 = glGetUniformLocation(p, "uArg1");
    programa.arg2 = glGetUniformLocation(p, "uArg2");
    programa.alfa1 = glGetUniformLocation(p, "uAlfa1");
    programa.alfa2 = glGetUniformLocation(p, "uAlfa2");
    programa.pruebaAlfa = glGetUniformLocation(p, "uPruebaAlfa");
    programa.refAlfa = glGetUniformLocation(p, "uRefAlfa");
    programa.mezcla = glGetUniformLocation(p, "uMezcla");
    glUseProgram(p);
    glUniform1i(glGetUniformLocation(p, "uTextura"), 0);
    // Direct3D's defaults: alpha unused (stage alpha 1), no test, no blend.
    glUniform1i(programa.alfa1, FACTOR_UNO);
    glUniform1i(programa.alfa2, FACTOR_UNO);
    glUniform1i(programa.pruebaAlfa, 7);
    glUniform1f(programa.refAlfa, 0.f);
    glUniform1i(programa.mezcla, 0);
    return true;
}
