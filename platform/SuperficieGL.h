#pragma once
// A place an OpenGL context draws into: the window's panel or an off-screen framebuffer. The
// device makes it current before it touches GL, draws into its framebuffer and presents by
// swapping it.
#include <cstdint>
#include <vector>

class SuperficieGL {
  public:
    virtual ~SuperficieGL() = default;
    // false when the context cannot be made current (it is then unusable).
    [[nodiscard]] virtual bool HacerActual() = 0;
    virtual void Intercambiar() = 0;
    // In pixels; both at least 1.
    virtual int Ancho() const = 0;
    virtual int Alto() const = 0;
    // The framebuffer object the device draws into (0 for a window's own).
    virtual uint32_t Framebuffer() const = 0;
};

// The colour target as 32-bit words 0xAARRGGBB, top row first, Ancho() words a row. Empty when
// the context cannot be made current.
std::vector<uint32_t> LeerPixeles(SuperficieGL& superficie);
