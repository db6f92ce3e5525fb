#pragma once
#include "Lista_Mesh.h"
#include "trNivel.h"
#include "trObjetos.h"

// Reads every moveable and static of a parsed level, with its meshes named by their position in
// lista (null: no mesh is named). Never reads outside an array: what cannot be read is left out
// and the moveable marked incomplete. At most 65536 moveables, statics and items are read, 2^20
// static placements and 2^20 meshes over all moveables; counts of placed objects go by those.
// Always 1.
int LeerObjetos(const trNivel& nivel, const Lista_Mesh* lista, trObjetos& objetos);
