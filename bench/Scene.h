// The small fixed scene both sides draw, so that only what surrounds the
// drawing differs.
#pragma once

#include <windows.h>
#include <GL/gl.h>

inline void DrawScene(int frame) {
  glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(static_cast<float>(frame % 360), 0, 0, 1);
  glBegin(GL_TRIANGLES);
  glColor3f(1, 0, 0);
  glVertex2f(-0.6f, -0.5f);
  glColor3f(0, 1, 0);
  glVertex2f(0.6f, -0.5f);
  glColor3f(0, 0, 1);
  glVertex2f(0.0f, 0.6f);
  glEnd();
}
