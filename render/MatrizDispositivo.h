#pragma once
// The level's matrices as the device takes them and back: glm's column-vector matrices hold the
// same 16 floats as the device's row-vector ones, so the crossing is a copy.
#include "d3dx8.h"

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstring>

inline D3DXMATRIX MatrizDX(const glm::mat4& m) {
    D3DXMATRIX d;
    std::memcpy(d.m, glm::value_ptr(m), sizeof d.m);
    return d;
}

inline glm::mat4 MatrizGLM(const D3DMATRIX& d) {
    return glm::make_mat4(&d.m[0][0]);
}

inline D3DXVECTOR3 VectorDX(const glm::vec3& v) {
    return {v.x, v.y, v.z};
}
