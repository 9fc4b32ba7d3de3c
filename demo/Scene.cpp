#include "Scene.h"

#include <cmath>

#include "opengllumo/Topengllumopanel.h"

#ifndef GL_MULTISAMPLE
#define GL_MULTISAMPLE 0x809D
#endif

namespace scene {

namespace {

const float kPi = 3.14159265f;

// Calls the display lists of a font whose first list draws character `first`.
void CallText(GLuint listBase, int first, const std::string& text) {
  glListBase(listBase - static_cast<GLuint>(first));
  glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
}

// NOTE: under Wine the bitmap list of a blank glyph does not move the raster
// position, so words ran together; a blank moves it here instead.
void CallBitmapText(const OpenGLLumoFont2D& font, int spaceWidth, const std::string& text) {
  size_t from = 0;
  while (from <= text.size()) {
    size_t blank = text.find(' ', from);
    if (blank == std::string::npos) blank = text.size();
    CallText(font.ListBase, font.FirstGlyph, text.substr(from, blank - from));
    if (blank < text.size()) glBitmap(0, 0, 0, 0, static_cast<GLfloat>(spaceWidth), 0, nullptr);
    from = blank + 1;
  }
}

}  // namespace

void SetUpState() {
  glClearColor(0.08f, 0.10f, 0.16f, 1.0f);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_NORMALIZE);
  glEnable(GL_MULTISAMPLE);
  const GLfloat position[] = {3.0f, 4.0f, 5.0f, 0.0f};
  const GLfloat specular[] = {0.9f, 0.9f, 0.9f, 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 40.0f);
}

void SetUpView(int w, int h) {
  if (w <= 0 || h <= 0) return;
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double nearPlane = 1.0, aspect = static_cast<double>(w) / h, halfHeight = 0.45;
  glFrustum(-halfHeight * aspect, halfHeight * aspect, -halfHeight, halfHeight, nearPlane, 50.0);
  glMatrixMode(GL_MODELVIEW);
}

void DrawSolid(float yaw, float pitch) {
  const int rings = 48, sides = 24;
  const float major = 1.0f, minor = 0.38f;
  glPushMatrix();
  glRotatef(pitch, 1, 0, 0);
  glRotatef(yaw, 0, 1, 0);
  glRotatef(60, 1, 0, 0);
  glColor3f(0.95f, 0.55f, 0.15f);
  for (int i = 0; i < rings; ++i) {
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= sides; ++j) {
      for (int k = 1; k >= 0; --k) {
        float u = (i + k) * 2 * kPi / rings, v = j * 2 * kPi / sides;
        float nx = std::cos(v) * std::cos(u), ny = std::cos(v) * std::sin(u), nz = std::sin(v);
        glNormal3f(nx, ny, nz);
        glVertex3f((major + minor * std::cos(v)) * std::cos(u),
                   (major + minor * std::cos(v)) * std::sin(u), minor * nz);
      }
    }
    glEnd();
  }
  glPopMatrix();
}

void DrawText3D(const OpenGLLumoFont3D& font, const std::string& text) {
  float width = 0;
  for (unsigned char c : text) {
    int i = c - font.FirstGlyph;
    if (i >= 0 && i < font.NumGlyphs) width += font.GlyphMetrics[i].gmfCellIncX;
  }
  glPushMatrix();
  glTranslatef(0.0f, -1.75f, 0.6f);
  glRotatef(-12, 1, 0, 0);
  glScalef(0.8f, 0.8f, 2.0f);
  glTranslatef(-width / 2, 0.0f, 0.0f);
  glColor3f(0.35f, 0.75f, 1.0f);
  CallText(font.ListBase, font.FirstGlyph, text);
  glPopMatrix();
}

void DrawOverlay(const OpenGLLumoFont2D& font, int spaceWidth, int w, int h, const std::string lines[],
                 int count) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, w, 0, h, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 0.6f);
  for (int i = 0; i < count; ++i) {
    glRasterPos2i(10, h - 22 - 20 * i);
    CallBitmapText(font, spaceWidth, lines[i]);
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

}  // namespace scene
