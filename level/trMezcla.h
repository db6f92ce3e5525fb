#pragma once
// How a face is put over what lies behind it, as the game draws it. An object texture's attribute
// says so for every face that uses it; a mesh face's extra word can make the face additive
// whatever its texture says (glows, flames, light beams on objects). Room faces have no such word.
#include "trNivel.h"

#include <cstdint>

enum class trMezcla : uint8_t {
    Opaca,   // drawn as it is
    Recorte, // texels of alpha 0 are not drawn: fences, foliage, windows
    Aditiva, // added to what is behind it, after the opaque faces, without writing depth
};

// `textura`: the object texture index the face names (a room face's low 15 bits); `extra`: a mesh
// face's extra word, 0 for a room face. An index the level lacks draws opaque, as it is drawn
// untextured. Attributes other than 1 and 2 are drawn opaque: nothing in the real levels uses them.
inline trMezcla MezclaCara(const trNivel& nivel, uint32_t textura, uint16_t extra = 0) {
    if (extra & 1u)
        return trMezcla::Aditiva;
    if (textura >= nivel.TexturasObjeto.size())
        return trMezcla::Opaca;
    switch (nivel.TexturasObjeto[textura].Atributo) {
    case 1:
        return trMezcla::Recorte;
    case 2:
        return trMezcla::Aditiva;
    default:
        return trMezcla::Opaca;
    }
}
