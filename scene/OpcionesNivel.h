#pragma once
// What the level view draws, chosen in the viewer's Ver menu or a command's options: the scene,
// its alternate rooms, the trigger tiles and markers all read it.
#include <cstdint>

struct OpcionesNivel {
    bool Estaticos = true;
    bool Items = true;
    // Every alternate group flipped: rooms with an alternate give way to it.
    bool Alternos = false;
    // With Alternos off, the one alternate group flipped (0-255); -1 none.
    int16_t GrupoAlterno = -1;
    bool Texturizado = true;
    bool Alambre = false;
    // Textures as painted, whatever light the rooms' vertex colours give (some rooms are black
    // in the data).
    bool LuzPlena = false;
    // False: every face drawn opaque, as the level was drawn before blend modes; what a frame
    // with them is measured against.
    bool Mezclas = true;
    // Trigger and kill sectors as tiles over the floor (CapaDisparadores; a device draws them
    // with DibujoDisparadores).
    bool Disparadores = false;
    // Cameras, sinks, flyby paths and sound sources as markers (CapaMarcadores; DibujoMarcadores).
    bool Marcadores = false;
    // Rooms flagged as water tinted blue-green (EscenaNivel::TenirAgua; the device loads the
    // changed colours with DibujoEscena::TenirAgua).
    bool AguaTenida = false;

    bool Volteado(uint8_t grupo) const { return Alternos || GrupoAlterno == grupo; }
};
