#include "BufferGLTF.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <limits>

int AgregarVista(tinygltf::Model& modelo, const void* bytes, size_t tamano, int objetivo) {
    auto& d = modelo.buffers[0].data;
    d.resize((d.size() + 3) & ~size_t(3));
    tinygltf::BufferView v;
    v.buffer = 0;
    v.byteOffset = d.size();
    v.byteLength = tamano;
    v.target = objetivo;
    const auto* b = static_cast<const uint8_t*>(bytes);
    d.insert(d.end(), b, b + tamano);
    modelo.bufferViews.push_back(v);
    return int(modelo.bufferViews.size() - 1);
}

int AgregarAccesor(tinygltf::Model& modelo, const std::vector<float>& valores, int tipo,
                   int componentes, bool limites, int objetivo) {
    tinygltf::Accessor a;
    a.bufferView = AgregarVista(modelo, valores.data(), valores.size() * sizeof(float), objetivo);
    a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    a.type = tipo;
    a.count = valores.size() / size_t(componentes);
    if (limites) {
        a.minValues.assign(size_t(componentes), std::numeric_limits<double>::infinity());
        a.maxValues.assign(size_t(componentes), -std::numeric_limits<double>::infinity());
        for (size_t i = 0; i < valores.size(); ++i) {
            auto& mn = a.minValues[i % size_t(componentes)];
            auto& mx = a.maxValues[i % size_t(componentes)];
            mn = std::min(mn, double(valores[i]));
            mx = std::max(mx, double(valores[i]));
        }
    }
    modelo.accessors.push_back(a);
    return int(modelo.accessors.size() - 1);
}

int AgregarIndices(tinygltf::Model& modelo, const std::vector<uint32_t>& indices, size_t vertices) {
    tinygltf::Accessor a;
    if (vertices <= 0xFFFF) {
        const std::vector<uint16_t> cortos(indices.begin(), indices.end());
        a.bufferView = AgregarVista(modelo, cortos.data(), cortos.size() * 2,
                                    TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
    } else {
        a.bufferView = AgregarVista(modelo, indices.data(), indices.size() * 4,
                                    TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    }
    a.type = TINYGLTF_TYPE_SCALAR;
    a.count = indices.size();
    modelo.accessors.push_back(a);
    return int(modelo.accessors.size() - 1);
}
