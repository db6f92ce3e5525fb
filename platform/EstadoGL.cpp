#include "EstadoGL.h"

namespace {

GLenum FactorMezcla(DWORD d3d) {
    switch (d3d) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

// At stage 0 "current" is the diffuse colour.
GLint Factor(DWORD argumento) {
    return argumento == D3DTA_TEXTURE ? FACTOR_TEXTURA : FACTOR_DIFUSO;
}

} // namespace

const TexturaGL* EstadoAplicadoGL::Aplicar(const EstadoPedido& pedido, ContextoGL& contexto,
                                           const ProgramaGL& programa) {
    if (programaAplicado_ != programa.nombre) {
        contexto.Emitir();
        glUseProgram(programa.nombre);
        programaAplicado_ = programa.nombre;
    }

    const GLenum modo = pedido.relleno == D3DFILL_WIREFRAME ? GL_LINE
                        : pedido.relleno == D3DFILL_POINT   ? GL_POINT
                                                            : GL_FILL;
    if (modo != modoPoligonoAplicado_) {
        contexto.Emitir();
        glPolygonMode(GL_FRONT_AND_BACK, modo);
        modoPoligonoAplicado_ = modo;
    }
    const int cullActivo = pedido.cull != D3DCULL_NONE;
    if (cullActivo != cullActivoAplicado_) {
        contexto.Emitir();
        (cullActivo ? glEnable : glDisable)(GL_CULL_FACE);
        cullActivoAplicado_ = cullActivo;
    }
    // Front faces are clockwise, so culling counter-clockwise ones culls the back.
    const GLenum cara = pedido.cull == D3DCULL_CW ? GL_FRONT : GL_BACK;
    if (cullActivo && cara != caraCullAplicada_) {
        contexto.Emitir();
        glCullFace(cara);
        caraCullAplicada_ = cara;
    }

    // Without a texture the stage passes the diffuse colour through.
    const TexturaGL* textura = contexto.textura;
    auto etapa = [textura](DWORD op, DWORD a1, DWORD a2, GLint& f1, GLint& f2, GLint apagada) {
        f1 = textura ? apagada : FACTOR_DIFUSO;
        f2 = FACTOR_UNO;
        if (!textura)
            return;
        switch (op) {
        case D3DTOP_SELECTARG1:
            f1 = Factor(a1);
            break;
        case D3DTOP_SELECTARG2:
            f1 = Factor(a2);
            break;
        case D3DTOP_MODULATE:
            f1 = Factor(a1);
            f2 = Factor(a2);
            break;
        }
    };
    GLint arg1 = FACTOR_DIFUSO, arg2 = FACTOR_UNO, alfa1 = FACTOR_UNO, alfa2 = FACTOR_UNO;
    etapa(pedido.opColor, pedido.argColor1, pedido.argColor2, arg1, arg2, FACTOR_DIFUSO);
    // A disabled alpha stage leaves the diffuse alpha, opaque for every vertex the viewer makes.
    etapa(pedido.opAlfa, pedido.argAlfa1, pedido.argAlfa2, alfa1, alfa2, FACTOR_DIFUSO);
    if (pedido.opAlfa == D3DTOP_DISABLE) {
        alfa1 = FACTOR_DIFUSO;
        alfa2 = FACTOR_UNO;
    }
    const TexturaGL* texturaEnUso = (arg1 == FACTOR_TEXTURA || arg2 == FACTOR_TEXTURA ||
                                     alfa1 == FACTOR_TEXTURA || alfa2 == FACTOR_TEXTURA)
                                        ? textura
                                        : nullptr;
    if (texturaEnUso && contexto.texturaAplicada != textura->Nombre()) {
        contexto.Emitir();
        glBindTexture(GL_TEXTURE_2D_ARRAY, textura->Nombre());
        contexto.texturaAplicada = textura->Nombre();
    }
    if (arg1 != arg1Aplicado_) {
        contexto.Emitir();
        glUniform1i(programa.arg1, arg1);
        arg1Aplicado_ = arg1;
    }
    if (arg2 != arg2Aplicado_) {
        contexto.Emitir();
        glUniform1i(programa.arg2, arg2);
        arg2Aplicado_ = arg2;
    }
    // Alpha is only read by the test and the blend; with neither it cannot change the picture.
    if (pedido.pruebaAlfa || pedido.mezclaAlfa) {
        if (alfa1 != alfa1Aplicado_) {
            contexto.Emitir();
            glUniform1i(programa.alfa1, alfa1);
            alfa1Aplicado_ = alfa1;
        }
        if (alfa2 != alfa2Aplicado_) {
            contexto.Emitir();
            glUniform1i(programa.alfa2, alfa2);
            alfa2Aplicado_ = alfa2;
        }
    }
    const GLint prueba = pedido.pruebaAlfa ? GLint(pedido.funcAlfa) - 1 : 7;
    if (prueba != pruebaAplicada_) {
        contexto.Emitir();
        glUniform1i(programa.pruebaAlfa, prueba);
        pruebaAplicada_ = prueba;
    }
    const float ref = float(pedido.refAlfa) / 255.f;
    if (prueba != 7 && ref != refAplicada_) {
        contexto.Emitir();
        glUniform1f(programa.refAlfa, ref);
        refAplicada_ = ref;
    }
    const int z = pedido.zEscritura ? 1 : 0;
    if (z != zEscrituraAplicada_) {
        contexto.Emitir();
        glDepthMask(z ? GL_TRUE : GL_FALSE);
        zEscrituraAplicada_ = z;
    }
    const int mezcla = pedido.mezclaAlfa ? 1 : 0;
    if (mezcla != mezclaAplicada_) {
        contexto.Emitir();
        (mezcla ? glEnable : glDisable)(GL_BLEND);
        glUniform1i(programa.mezcla, mezcla);
        mezclaAplicada_ = mezcla;
    }
    const GLenum origen = FactorMezcla(pedido.mezclaOrigen),
                 destino = FactorMezcla(pedido.mezclaDestino);
    if (mezcla && (origen != origenAplicado_ || destino != destinoAplicado_)) {
        contexto.Emitir();
        glBlendFunc(origen, destino);
        origenAplicado_ = origen;
        destinoAplicado_ = destino;
    }

    return texturaEnUso;
}

void EstadoAplicadoGL::AbrirEscrituraZ() {
    if (zEscrituraAplicada_ == 0) {
        glDepthMask(GL_TRUE);
        zEscrituraAplicada_ = 1;
    }
}
