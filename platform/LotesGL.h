#pragma once
// ILotes8 over OpenGL 3.3, on the context of a DispositivoGL.
#include "Lotes8.h"
#include "RecursosGL.h"

class LotesGL final : public ILotes8 {
  public:
    explicit LotesGL(std::shared_ptr<ContextoGL> contexto);
    ~LotesGL() override;
    LotesGL(const LotesGL&) = delete;
    LotesGL& operator=(const LotesGL&) = delete;

    [[nodiscard]] HRESULT CargarPaginas(UINT numPaginas, const BYTE* texels) override;
    [[nodiscard]] HRESULT CargarVertices(const VerticeLote* vertices, UINT cantidad) override;
    [[nodiscard]] HRESULT ActualizarVertices(UINT inicio, const VerticeLote* vertices,
                                             UINT cantidad) override;
    [[nodiscard]] HRESULT Dibujar(const D3DMATRIX& vista, const D3DMATRIX& proyeccion,
                                  const TramoLote* tramos, UINT numTramos, ModoLote modo,
                                  bool porPrimitiva) override;
    uint64_t TriangulosDibujados() const override { return triangulos_; }
    uint32_t LlamadasDibujo() const override { return llamadas_; }

  private:
    bool Programa();

    std::shared_ptr<ContextoGL> contexto_;
    GLuint paginas_ = 0, buffer_ = 0, vao_ = 0;
    UINT numPaginas_ = 0, numVertices_ = 0;
    uint64_t triangulos_ = 0;
    uint32_t llamadas_ = 0;
};
