#pragma once
// The level's axes as a glTF model's. The level's y points down; glTF's up is +y and an asset's
// front +z. A level point (x, y, z) becomes (-x, -y, z) times the scale: a half turn about z, so
// nothing is mirrored and a front stays a front. Texture coordinates need nothing: glTF's origin
// is a page's top left, as the viewer's (UVEsquina).
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cstdint>

// A level point as a model point.
glm::vec3 PuntoEnModelo(const glm::vec3& nivel, float escala);

// A device-axes world matrix (an assembled piece's: the level's y negated) in the model's axes.
glm::mat4 EnModelo(const glm::mat4& mundo, float escala);

// A placement's turn about the level's y (RadianesGiro, right-handed in the level's axes) as the
// model's: the half turn about z between them makes it the same angle the other way about +y.
glm::quat GiroEnModelo(uint16_t angulo);
