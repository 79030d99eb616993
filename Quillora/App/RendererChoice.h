// Which scene graph draws the window.
//
// Qt Quick on OpenGL is the right choice with a GPU. Where OpenGL itself
// would run in software (Mesa's llvmpipe or softpipe: virtual machines,
// remote desktops, machines without a GPU driver), Qt Quick's own software
// renderer draws the same screen sooner and in a fraction of the memory:
// the screen is drawn without shader effects, so both look the same.
//
// How it is decided, first rule that applies:
//   QUILLORA_RENDERER=software or =opengl   the person's choice
//   QT_QUICK_BACKEND or QSG_RHI_BACKEND set  Qt's own settings are followed
//   LIBGL_ALWAYS_SOFTWARE set, or GALLIUM_DRIVER=llvmpipe/softpipe
//                                           software
//   an X server without DRI3 and DRI2       software (Mesa can only render
//                                           in software there; asking costs
//                                           one round trip, where creating a
//                                           GL context to read its renderer
//                                           would cost about 100 ms)
//   Wayland, and a GL context names llvmpipe or softpipe as its renderer
//                                           software (a Wayland compositor
//                                           offers no cheaper question; the
//                                           context is made and dropped
//                                           before the window's own)
//   otherwise                               Qt's default (OpenGL)
#pragma once

#include <QString>

namespace RendererChoice {

enum class Renderer { platformDefault, software };

struct Decision {
    Renderer renderer = Renderer::platformDefault;
    QString reason; // for the start-up trace
};

// After the QGuiApplication exists, before the first window.
Decision decide();
// Whether an OpenGL renderer string (GL_RENDERER) names a renderer that
// draws on the CPU.
bool rendersInSoftware(const QString& glRenderer);
// Decides and applies.
Decision apply();

} // namespace RendererChoice
