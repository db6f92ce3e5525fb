#pragma once
// Reading an export back as any other program would, through tinygltf: the tests check what a
// model holds, and draw it, from what a reader finds in it, not from what the writer meant.
#include "EscrituraAtomica.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <string>
#include <vector>

inline tinygltf::Model Leer(const ArchivoPorEscribir& glb) {
    tinygltf::TinyGLTF lector;
    tinygltf::Model m;
    std::string error, aviso;
    EXPECT_TRUE(lector.LoadBinaryFromMemory(&m, &error, &aviso, glb.Bytes.data(),
                                            unsigned(glb.Bytes.size())))
        << error << aviso;
    return m;
}

// A node's own matrix from its translation and rotation (the exporter writes no scale).
inline glm::mat4 Local(const tinygltf::Node& n) {
    glm::mat4 m(1.f);
    if (n.translation.size() == 3)
        m[3] = glm::vec4(n.translation[0], n.translation[1], n.translation[2], 1);
    if (n.rotation.size() == 4)
        m = m * glm::mat4_cast(glm::quat(float(n.rotation[3]), float(n.rotation[0]),
                                         float(n.rotation[1]), float(n.rotation[2])));
    return m;
}

// An accessor's values, every component of every element.
template <class T> std::vector<T> Datos(const tinygltf::Model& m, int accesor) {
    const tinygltf::Accessor& a = m.accessors[size_t(accesor)];
    const tinygltf::BufferView& v = m.bufferViews[size_t(a.bufferView)];
    const int componentes = tinygltf::GetNumComponentsInType(uint32_t(a.type));
    const T* p = reinterpret_cast<const T*>(m.buffers[size_t(v.buffer)].data.data() +
                                            v.byteOffset + a.byteOffset);
    return std::vector<T>(p, p + a.count * size_t(componentes));
}
