// Writes what the current context has drawn to a PNG file.
#pragma once

#include <string>

// Reads the back buffer (the drawing before the swap: a child window's GL
// content never reaches the screen under Wine) and writes it as a PNG.
// Returns an empty string, or what went wrong.
std::string WriteBackBufferPng(int w, int h, const std::string& path);
