#pragma once

#include <QByteArray>
#include <QStringList>

// Picks the Qt Quick scene graph before the first window is made.
//
// On an X server that renders OpenGL on the CPU (Xvfb, Xvnc and other virtual or remote
// displays: no direct-rendering extension, so Mesa falls back to llvmpipe), the OpenGL scene
// graph redraws and uploads the whole window for every change, 15 to 20 ms of CPU a frame for
// this window; a playing loop then costs a fifth of a core. The software scene graph repaints
// only what changed and starts in half the time, so it is chosen there. A GPU-backed server
// announces DRI3 or DRI2 (Mesa drivers, Xwayland with glamor) or NV-GLX (NVIDIA's driver).
// A backend the user picked (QT_QUICK_BACKEND, QSG_RHI_BACKEND) is left alone.
namespace SceneGraphBackend {

// Whether a display offering these X extensions renders OpenGL on the CPU.
bool rendersOpenGlInSoftware(const QStringList& extensions);
// Whether the backend is for the application to choose, given the environment's
// QT_QUICK_BACKEND and QSG_RHI_BACKEND.
bool userChoseBackend(const QByteArray& quickBackend, const QByteArray& rhiBackend);
// Chooses the software scene graph when the running X display renders OpenGL on the CPU.
// Call after the QGuiApplication is made and before any Qt Quick window; returns whether it did.
bool choose();

} // namespace SceneGraphBackend
