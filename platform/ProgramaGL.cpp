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
out vec4 fColor;
vec3 Factor(int cual, vec3 difuso, vec3 texel) {
    return cual == 0 ? difuso : (cual == 1 ? texel : vec3(1.0));
}
void main() {
    vec3 texel = texture(uTextura, vec3(vUV, vCapa)).rgb;
    fColor = vec4(Factor(uArg1, vDifuso.rgb, texel) * Factor(uArg2, vDifuso.rgb, texel), 1.0);
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
    glUseProgram(p);
    glUniform1i(glGetUniformLocation(p, "uTextura"), 0);
    return true;
}
