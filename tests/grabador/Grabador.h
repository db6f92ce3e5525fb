#pragma once
// A Direct3D 8 object and device that draw nothing and write every call, with its arguments,
// to a shared log in the order made. Tests read the log to check call sequences, read what was
// copied into buffers and textures, and name operations that must fail.
#include "d3d8.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct RegistroGrabador {
    // One line a call, e.g. "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)",
    // "CreateVertexBuffer(200, 0, 0x102, D3DPOOL_DEFAULT) -> vb1", "vb1.Lock(0, 200, 0)".
    std::vector<std::string> Llamadas;
    // Operation names ("CreateVertexBuffer", "Lock", "BeginScene", ...) that log and return E_FAIL.
    std::set<std::string> Fallar;
    // Extra bytes at the end of every texture row, to stand for a driver whose pitch is wider.
    int RellenoPitch = 0;

    // What each buffer or texture held when it was last unlocked, by name ("vb1", "tex2").
    std::map<std::string, std::vector<uint8_t>> Contenido;
    // Every SetTransform, in order.
    std::vector<std::pair<D3DTRANSFORMSTATETYPE, D3DMATRIX>> Transformaciones;
    // What the last CreateDevice was given.
    D3DPRESENT_PARAMETERS ParametrosDispositivo{};
    // Objects made and not yet released to zero.
    int Vivos = 0;
    // Draws that would read vertices past the end of the stream source, or with none set: on a
    // real driver each one reads memory it does not own.
    int DibujosFueraDeRango = 0;

    // Lines from the first one that starts with `desde` (all when empty), for shorter assertions.
    std::vector<std::string> Desde(const std::string& desde) const;
    void Limpiar() { Llamadas.clear(); }
};

// Both hand over one reference. The device made by the object shares its log.
IDirect3D8* CrearDirect3DGrabador(std::shared_ptr<RegistroGrabador> registro);
IDirect3DDevice8* CrearDispositivoGrabador(std::shared_ptr<RegistroGrabador> registro);
