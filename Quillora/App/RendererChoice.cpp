#include "App/RendererChoice.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace RendererChoice {
namespace {

bool environmentSet(const char* name)
{
    return !qEnvironmentVariableIsEmpty(name);
}

// Whether the X server offers the extension; one round trip.
bool hasExtension(xcb_connection_t* connection, const char* name)
{
    const xcb_query_extension_cookie_t cookie =
        xcb_query_extension(connection, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
    return reply && reply->present;
}

// The renderer string of a throwaway OpenGL context; empty when none can
// be made.
QString openGlRenderer()
{
    QOpenGLContext context;
    if (!context.create())
        return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return {};
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = QString::fromLatin1(name ? name : "");
    context.doneCurrent();
    return renderer;
}

} // namespace

bool rendersInSoftware(const QString& glRenderer)
{
    return glRenderer.contains(QLatin1String("llvmpipe"), Qt::CaseInsensitive)
        || glRenderer.contains(QLatin1String("softpipe"), Qt::CaseInsensitive)
        || glRenderer.contains(QLatin1String("software rasterizer"), Qt::CaseInsensitive);
}

Decision decide()
{
    const QString chosen = qEnvironmentVariable("QUILLORA_RENDERER").trimmed().toLower();
    if (chosen == QLatin1String("software"))
        return {Renderer::software, QStringLiteral("QUILLORA_RENDERER=software")};
    if (chosen == QLatin1String("opengl"))
        return {Renderer::platformDefault, QStringLiteral("QUILLORA_RENDERER=opengl")};
    if (environmentSet("QT_QUICK_BACKEND") || environmentSet("QSG_RHI_BACKEND"))
        return {Renderer::platformDefault, QStringLiteral("Qt's own setting")};
    const QString gallium = qEnvironmentVariable("GALLIUM_DRIVER");
    if (qEnvironmentVariableIntValue("LIBGL_ALWAYS_SOFTWARE") != 0 || gallium == QLatin1String("llvmpipe")
        || gallium == QLatin1String("softpipe"))
        return {Renderer::software, QStringLiteral("OpenGL is set to render in software")};
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            xcb_connection_t* connection = x11->connection();
            if (connection && !hasExtension(connection, "DRI3") && !hasExtension(connection, "DRI2"))
                return {Renderer::software, QStringLiteral("no direct rendering on this X server")};
        }
    }
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QString renderer = openGlRenderer();
        if (rendersInSoftware(renderer))
            return {Renderer::software, QStringLiteral("OpenGL renders in software here (%1)").arg(renderer)};
    }
    return {Renderer::platformDefault, QStringLiteral("the platform's default")};
}

Decision apply()
{
    const Decision decision = decide();
    if (decision.renderer == Renderer::software)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return decision;
}

} // namespace RendererChoice
