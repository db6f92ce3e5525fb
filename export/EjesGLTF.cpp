#include "EjesGLTF.h"

#include "ConvencionesNivel.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstring>

glm::vec3 PuntoEnModelo(const glm::vec3& nivel, float escala) {
    return glm::vec3(-nivel.x, -nivel.y, nivel.z) * escala;
}

glm::mat4 EnModelo(const glm::mat4& mundo, float escala) {
    glm::mat4 m = mundo;
    // From the device's axes, the half turn about z is x negated.
    const glm::mat4 c = glm::scale(glm::mat4(1.f), glm::vec3(-1, 1, 1));
    m = c * m * c;
    m[3] = glm::vec4(glm::vec3(m[3]) * escala, 1);
    return m;
}

glm::quat GiroEnModelo(uint16_t angulo) {
    // In double, as the export always turned them.
    return glm::angleAxis(float(-RadianesGiro<double>(angulo)), glm::vec3(0, 1, 0));
}
