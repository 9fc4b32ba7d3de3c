#include "Picture.h"

#include <windows.h>
#include <GL/gl.h>

#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

std::string WriteBackBufferPng(int w, int h, const std::string& path) {
  if (w <= 0 || h <= 0) return "the panel has no area to read";
  if (!wglGetCurrentContext()) return "no OpenGL context is current";
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 3);
  // Errors left by earlier calls are not this read's.
  while (glGetError() != GL_NO_ERROR) {
  }
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  if (GLenum e = glGetError()) return "glReadPixels failed with GL error " + std::to_string(e);
  // OpenGL's rows run bottom-up, PNG's top-down.
  stbi_flip_vertically_on_write(1);
  if (!stbi_write_png(path.c_str(), w, h, 3, pixels.data(), w * 3))
    return "cannot write " + path;
  return "";
}
