#pragma once
// The level scene on the device: its pages and vertices loaded once into batches, drawn in a few
// calls a frame, the picked part outlined, and the moving items' vertices sent again as they
// move.
#include "EscenaNivel.h"
#include "Lotes8.h"
#include "d3d8.h"

#include <cstdint>
#include <memory>
#include <vector>

class dxDevice8;
class PaginasNivel;
struct NivelAbierto;

class DibujoEscena {
  public:
    // Makes the batches the scene draws with: CrearLotes8 unless a test hands its own.
    using FabricaLotes = std::unique_ptr<ILotes8> (*)(IDirect3DDevice8* dispositivo);
    // `escena` must outlive what this makes. With a device that cannot draw batches (the
    // recorder) or a null one, nothing is loaded and every Dibujar says E_FAIL. A device that
    // refuses the pages or the vertices says so in Subida() and in every Dibujar.
    static std::unique_ptr<DibujoEscena> Crear(EscenaNivel& escena, const PaginasNivel* paginas,
                                               dxDevice8* dispositivo, FabricaLotes fabrica = nullptr);
    ~DibujoEscena();

    // The device's answer to the upload of pages and vertices: D3D_OK, or why they are not there.
    HRESULT Subida() const { return subida_; }

    // With the projection and camera the caller set; no clear, no present. E_FAIL for a scene
    // that cannot draw, Subida() when what it draws never reached the device: a picture without
    // the level is no picture of it.
    [[nodiscard]] HRESULT Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // The same picture with every triangle in a call of its own: the reference for the batches.
    [[nodiscard]] HRESULT DibujarPorPrimitiva(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // The same triangles as one call, all culled as one-sided ones: the floor a frame is
    // measured against.
    [[nodiscard]] HRESULT DibujarEnUnaLlamada(dxDevice8& dispositivo, const OpcionesNivel& opciones) const;
    // Of the last draw: triangles submitted and draw calls made.
    uint64_t TriangulosDibujados() const { return triangulos_; }
    uint32_t LlamadasDibujo() const { return llamadas_; }

    // Outlines part `parte` of the scene (-1: nothing) in the frames drawn from now on, over
    // everything.
    void Resaltar(int32_t parte);
    int32_t Resaltada() const { return resaltada_; }

    // The scene's items posed at game frame `cuadro` (EscenaNivel::Animar) and their vertices
    // sent to the device. D3D_OK, or the device's refusal of the new vertices (the frame then
    // draws the pose they had).
    [[nodiscard]] HRESULT Animar(const NivelAbierto& nivel, double cuadro);
    // The items back in the pose they were built in, on the device too.
    [[nodiscard]] HRESULT Detener();
    // The water rooms tinted or not (EscenaNivel::TenirAgua), on the device too; nothing is sent
    // when they are so already, so a frame may ask every time.
    [[nodiscard]] HRESULT TenirAgua(bool si);

  private:
    explicit DibujoEscena(EscenaNivel& escena) : escena_(escena) {}
    enum Via { LOTES, POR_PRIMITIVA, UNA_LLAMADA };
    [[nodiscard]] HRESULT DibujarCon(dxDevice8& dispositivo, const OpcionesNivel& opciones, Via via) const;
    [[nodiscard]] HRESULT SubirItems();
    // Vertices inicio.. of the scene's as they stand now, sent again.
    [[nodiscard]] HRESULT Subir(uint32_t inicio, const VerticeEscena* vertices, uint32_t cantidad);

    EscenaNivel& escena_;
    std::unique_ptr<ILotes8> lotes_, contorno_;
    int32_t resaltada_ = -1;
    uint32_t verticesContorno_ = 0;
    HRESULT subida_ = D3D_OK;
    mutable uint64_t triangulos_ = 0;
    mutable uint32_t llamadas_ = 0;
    std::vector<VerticeLote> borrador_; // reused: moving the items a frame must not allocate
};
