#pragma once
#include "Lista_Mesh.h"

#include <cstdint>
#include <memory>

// Walks the level's mesh data words into a new list, one record per mesh in file order.
// 1 when a list was made (and set into lista); 0 for empty data, lista then untouched.
int LeerMeshes(const uint8_t* datos, uint32_t longitud, std::unique_ptr<Lista_Mesh>& lista);
