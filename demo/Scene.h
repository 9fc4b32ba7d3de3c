// What the demo draws: plain OpenGL 1.1, no state of its own.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <string>

struct OpenGLLumoFont3D;
struct OpenGLLumoFont2D;

namespace scene {

// Depth test, one light, coloured materials, multisampling where granted.
void SetUpState();
// Viewport and a perspective projection for a client area of w by h.
void SetUpView(int w, int h);
// A lit torus turned by yaw and pitch (degrees), centred on the origin.
void DrawSolid(float yaw, float pitch);
// One line of extruded outline text, centred, below the solid.
void DrawText3D(const OpenGLLumoFont3D& font, const std::string& text);
// Lines of bitmap text from the top left corner of a w by h client area; a
// blank advances spaceWidth pixels.
void DrawOverlay(const OpenGLLumoFont2D& font, int spaceWidth, int w, int h, const std::string lines[],
                 int count);

}  // namespace scene
