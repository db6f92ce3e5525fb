#pragma once
// How a moveable's meshes hang from one another: the one walk of its mesh tree that the rest
// pose, the animation poses and the export all go through. Plain GLM, the level's axes in, the
// device's out; a frame's turns as CuaternionGiro (ConvencionesNivel) gives them.
#include "ConvencionesNivel.h"
#include "trObjetos.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <vector>

// Each mesh's world matrix in device axes (the level's y negated): the root at `raiz` turned by
// giros[0]; every other mesh at its offset from its parent, turned by the parent's turn and its
// own. A mesh without a turn in `giros` is unturned; one whose parent is not before it is a root.
void ColgarMeshes(const trMovible& movible, const std::vector<glm::quat>& giros,
                  const glm::vec3& raiz, std::vector<glm::mat4>& mundos);
