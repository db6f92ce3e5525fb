#include "ConvencionesNivel.h"

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 EnDispositivo(const glm::mat3& giro, const glm::vec3& posicion) {
    const glm::mat3 espejo(glm::vec3(1, 0, 0), glm::vec3(0, -1, 0), glm::vec3(0, 0, 1));
    glm::mat4 m(espejo * giro * espejo);
    m[3] = glm::vec4(espejo * posicion, 1);
    return m;
}

glm::mat3 GiroY(uint16_t angulo) {
    return glm::mat3(glm::rotate(glm::mat4(1.f), RadianesGiro<float>(angulo), {0, 1, 0}));
}

glm::quat CuaternionGiro(const trGiro& g) {
    return glm::angleAxis(g.Y, glm::vec3(0, 1, 0)) * glm::angleAxis(g.X, glm::vec3(1, 0, 0)) *
           glm::angleAxis(g.Z, glm::vec3(0, 0, 1));
}

bool PasoArbol(int32_t banderas, std::vector<int32_t>& pila, int32_t& padre) {
    bool sacado = true;
    if (banderas & 1) {
        if (pila.empty()) {
            sacado = false;
        } else {
            padre = pila.back();
            pila.pop_back();
        }
    }
    if (banderas & 2)
        pila.push_back(padre);
    return sacado;
}
