#pragma once
// How a step of the viewer's own code that may fail answers, above the Direct3D-shaped device
// (which keeps its HRESULTs): done, or not done with the reason in the user's words. The type is
// [[nodiscard]], so a caller that drops the answer does not build warning-free.
#include <string>
#include <utility>

class [[nodiscard]] Hecho {
  public:
    // Done.
    Hecho() = default;
    // Not done, and why: a short phrase, lowercase, that a message can end with.
    static Hecho Fallo(std::string motivo) {
        Hecho h;
        h.hecho_ = false;
        h.motivo_ = std::move(motivo);
        return h;
    }

    explicit operator bool() const { return hecho_; }
    const std::string& Motivo() const { return motivo_; }

  private:
    bool hecho_ = true;
    std::string motivo_;
};
